// The settings window's decisions: what its elements show at opening, and every check and
// message of its buttons, as functions the window calls.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "player_hooks.h"
#include "profile.h"
#include "services.h"
#include "state.h"

namespace gd {

// The sound events as the list of events shows them; row n edits `CurrentSoundFiles[n]`.
inline const std::array<std::string, kSoundEventCount> kSoundEventNames{"Incoming System Message",
                                                                        "Incoming Chat Message",
                                                                        "Chat Message Sent",
                                                                        "Your Game Piece Drop",
                                                                        "Opponents Game Piece Drop",
                                                                        "Game Ready To Play Notice",
                                                                        "Game Over",
                                                                        "Game Play Error"};

inline const std::string kPhotoUrlExample = "http://www.example.com/photos/myphoto.jpg";
inline const std::string kPhotoUrlError =
    "You have not entered a valid internet address to a approved picture file.\n\n"
    "Valid picture formats are *.GIF, *.JPG, or *.BMP\n\n"
    "Please be sure to include the full URL. For example:\n" +
    kPhotoUrlExample + "\n\nPlease try again.";

// The elements of the settings window, by their names.
struct SettingsForm {
    // "Player Profiles"
    std::string Label15;      // the name being edited
    bool Text5Shown = false;  // Label14 and Text5: a password is in force
    std::string Text5;        // current password
    std::string Text4;        // new password
    std::string Text2;        // location
    bool Option1 = false;     // show the photo; Option2 otherwise
    std::string Text1;        // photo URL
    // "Game Settings"
    int List2Row = 0;  // the event whose sound is edited, -1 for none
    std::vector<std::string> Combo2Items;
    std::string Combo2Text;
    std::vector<std::string> List3;  // board pictures
    int List3Row = -1;
    std::string Image1;  // the board picture previewed
    // "Connections"
    std::vector<std::string> List1;  // LAN connection methods
    int List1Row = -1;
    bool Check1 = true;     // no stored LAN method
    bool Option21 = false;  // use a proxy
    std::string Text3;      // proxy address
    // Below the tabs.
    bool DeleteEnabled = false;  // the profile exists
};

// The rows of the board picture list: each file's name up to its first ".bmp"; a name whose
// extension has another letter case is cut before its last four characters. A board's 2x
// picture (NAME@2x.bmp) is not a row of its own.
std::vector<std::string> BoardPictureRows(const std::vector<std::string>& bmpFiles);
// The rows of the LAN method list: a modem provider is shown as five blanks.
std::vector<std::string> LanProviderRows(const std::vector<std::string>& providers);

// Fills the window for `LocalPlayer` and sets the current-player values that opening sets.
SettingsForm OpenSettings(GameState& s, const ProfileFile& f,
                          const std::vector<std::string>& bmpFiles,
                          const std::vector<std::string>& lanProviders);

// A click on board picture row `row` of `rows`: the picture previewed. The first eight rows show
// the eight classic boards by place; a row past them (a board added later, such as the
// high-contrast one, which sorts last) shows its own picture; "" for no row.
std::string BoardPicturePreview(const std::vector<std::string>& rows, int row);
// The skill options: 1 "Beginner", 2 "Normal", 3 "Master".
void ChooseSkill(GameState& s, int skill);
// "Accept This Sound": the event of `form.List2Row` gets `form.Combo2Text`.
void AcceptThisSound(GameState& s, Prompter& prompt, const SettingsForm& form);
// The name a browsed sound file is kept as: relative to the program's folder when inside it.
std::string BrowsedSoundName(const std::string& chosenPath, const std::string& appFolder);

// "Preview": checks the photo URL; the local file name to download to, or nothing after the
// message was shown.
std::optional<std::string> CheckPhotoPreview(Prompter& prompt, const std::string& text1);
// A file name that can be shown as a photo (".GIF", ".JPG" or ".BMP" in any case).
bool IsPictureFileName(const std::string& name);

// "Save this profile": every check in order, then the write. True when the profile was
// written; the window then shows the main window and closes.
bool SaveSettings(GameState& s, Prompter& prompt, PlayerHooks& hooks, const ProfileFile& f,
                  const SettingsForm& form);
// "Delete this profile": the question, the password checks and the removal. True when the
// profile was removed; the window then shows the login and closes.
bool DeleteSettingsProfile(Prompter& prompt, const ProfileFile& f, const SettingsForm& form);
// "Cancel" (or the close box when `closeBox`): true when the window may close. A new profile
// asks first; the login is then shown again.
bool ConfirmLeaveSettings(Prompter& prompt, const SettingsForm& form, bool closeBox);

}  // namespace gd
