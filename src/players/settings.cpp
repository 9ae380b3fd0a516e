// The settings window's opening, checks and messages, step by step.
#include "settings.h"

#include "wordlist.h"

namespace gd {
namespace {

const std::array<std::string, 8> kFixedBoardPreviews{"bricks.bmp",   "flowers.bmp", "forest.bmp",
                                                     "marble.bmp",   "steel.bmp",   "sunset.bmp",
                                                     "undersea.bmp", "woody.bmp"};

int FirstRow(const std::vector<std::string>& rows, const std::string& wanted, bool trimRows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if ((trimRows ? Trim(rows[i]) : rows[i]) == wanted) return static_cast<int>(i);
    return -1;
}

std::string RowText(const std::vector<std::string>& rows, int row) {
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[row] : "";
}

// At opening, a record of the player being edited shows itself in the window.
void ShowRecord(GameState& s, SettingsForm& form, const PlayerProfile& p) {
    form.DeleteEnabled = true;
    if (p.UseStoredProtocol == 1) {
        form.Check1 = false;
        const int row = FirstRow(form.List1, Trim(p.LanProtocol), true);
        if (row >= 0) form.List1Row = row;
    }
    form.Option21 = p.UseProxy == 1;
    form.Text3 = form.Option21 ? Trim(p.ProxyAddress) : "";
    form.Text5Shown = PasswordInForce(p.Password);
    const std::string background = Trim(p.Background);
    const int row = FirstRow(form.List3, background, false);
    if (row >= 0) form.List3Row = row;
    form.Image1 = background + ".bmp";
    const std::string location = Trim(p.Location);
    form.Text2 = location.size() > 1 ? location : "Unknown";
    form.Option1 = p.PhotoMode == 1;
    form.Text1 = form.Option1 ? Trim(p.PictureUrl) : "";
    for (int i = 0; i < kSoundEventCount; ++i)
        s.CurrentSoundFiles[i] = Trim(p.SoundFiles[i]);
    s.CurrentComputerSkill = p.ComputerSkill == 1 || p.ComputerSkill == 3 ? p.ComputerSkill : 2;
}

bool CheckCurrentPassword(Prompter& prompt, const SettingsForm& form, const std::string& stored,
                          const std::string& purpose) {
    if (!form.Text5Shown) return true;
    if (Trim(form.Text5).size() < 4) {
        prompt.Message("You have a previously selected password. This must be entered to " +
                           purpose + ". Enter your current password.",
                       "Need Password!");
        return false;
    }
    if (!PasswordMatches(form.Text5, stored)) {
        prompt.Message("The current password you entered is incorrect. Please try again.",
                       "Password Incorrect");
        return false;
    }
    return true;
}

bool Written(Prompter& prompt, const ProfileWrite& write) {
    if (!write.ok)
        prompt.Message("The player profiles could not be written: " + write.error,
                       "Settings Error");
    return write.ok;
}

}  // namespace

std::vector<std::string> BoardPictureRows(const std::vector<std::string>& bmpFiles) {
    std::vector<std::string> rows;
    for (const auto& name : bmpFiles) {
        // "Marble@2x.bmp" is Marble's picture for screens of twice the density, not a board.
        if (name.find("@2x.") != std::string::npos) continue;
        const auto at = name.find(".bmp");
        if (at != std::string::npos)
            rows.push_back(name.substr(0, at));
        else if (name.size() >= 4)
            rows.push_back(name.substr(0, name.size() - 4));
    }
    return rows;
}

std::vector<std::string> LanProviderRows(const std::vector<std::string>& providers) {
    std::vector<std::string> rows;
    for (const auto& name : providers)
        rows.push_back(UpperAscii(name).find("MODEM") != std::string::npos ? "     " : name);
    return rows;
}

SettingsForm OpenSettings(GameState& s, const ProfileFile& f,
                          const std::vector<std::string>& bmpFiles,
                          const std::vector<std::string>& lanProviders) {
    SettingsForm form;
    form.List3 = BoardPictureRows(bmpFiles);
    const int marble = FirstRow(form.List3, "Marble", false);
    form.List3Row = marble >= 0 ? marble : (form.List3.empty() ? -1 : 0);
    s.BackgroundFile = RowText(form.List3, form.List3Row) + ".bmp";
    form.Image1 = s.BackgroundFile;

    form.List1 = LanProviderRows(lanProviders);
    form.Label15 = s.LocalPlayer;
    form.Text5Shown = false;

    form.List2Row = 0;
    s.CurrentSoundFiles = kDefaultSoundFiles;
    s.CurrentComputerSkill = 2;

    form.Option1 = false;
    form.Text1.clear();
    form.Check1 = true;
    form.Combo2Items = {"None"};
    form.DeleteEnabled = false;

    if (f.Exists()) {
        for (const auto& p : ReadProfiles(f))
            if (NameMatches(p.PlayerName, s.LocalPlayer)) ShowRecord(s, form, p);
    }
    for (const auto& file : s.CurrentSoundFiles)
        form.Combo2Items.push_back(file);
    form.Combo2Text = s.CurrentSoundFiles[0];
    return form;
}

std::string BoardPicturePreview(const std::vector<std::string>& rows, int row) {
    if (row >= 0 && row < static_cast<int>(kFixedBoardPreviews.size()))
        return kFixedBoardPreviews[row];
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[row] + ".bmp" : "";
}

void ChooseSkill(GameState& s, int skill) {
    s.CurrentComputerSkill = skill;
}

void AcceptThisSound(GameState& s, Prompter& prompt, const SettingsForm& form) {
    if (Trim(form.Combo2Text).size() < 4) {
        prompt.Message("Please select a sound file.", "Select a Sound");
        return;
    }
    if (form.List2Row < 0 || form.List2Row >= kSoundEventCount) {
        prompt.Message("Please select an event to change sound for.", "Select Event");
        return;
    }
    s.CurrentSoundFiles[form.List2Row] = form.Combo2Text;
}

std::string BrowsedSoundName(const std::string& chosenPath, const std::string& appFolder) {
    std::string folder = appFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::string prefix = folder == "/" ? folder : folder + "/";
    if (chosenPath.size() > prefix.size() && chosenPath.compare(0, prefix.size(), prefix) == 0)
        return chosenPath.substr(prefix.size());
    return chosenPath;
}

bool IsPictureFileName(const std::string& name) {
    const std::string upper = UpperAscii(name);
    return upper.find(".GIF") != std::string::npos || upper.find(".JPG") != std::string::npos ||
           upper.find(".BMP") != std::string::npos;
}

std::optional<std::string> CheckPhotoPreview(Prompter& prompt, const std::string& text1) {
    const std::string url = Trim(text1);
    const bool valid = url.size() >= 10 && IsPictureFileName(url) &&
                       UpperAscii(url).find("HTTP://") != std::string::npos;
    if (!valid) {
        prompt.Message(kPhotoUrlError, "Invalid Request");
        return std::nullopt;
    }
    return url.substr(url.rfind('/') + 1);
}

bool SaveSettings(GameState& s, Prompter& prompt, PlayerHooks& hooks, const ProfileFile& f,
                  const SettingsForm& form) {
    const std::string name = Trim(form.Label15);
    PlayerProfile working;
    int record = 0;
    if (f.Exists()) record = FindProfile(f, name, working);
    // A new record starts blank, its reserved fields zero.
    if (record == 0) working = PlayerProfile{};

    if (!CheckCurrentPassword(prompt, form, working.Password, "alter your settings")) return false;

    // A found record keeps its name's bytes, whatever encoding an older file used.
    if (record == 0) working.PlayerName = name;
    const std::string password = Trim(form.Text4);
    working.Password = password.size() >= 4 ? password : "";
    working.Location = Trim(form.Text2);

    if (!form.Option1) {
        working.PhotoMode = 2;
        working.PictureUrl = "";
        s.CurrentPictureUrl.clear();
    } else {
        working.PhotoMode = 1;
        const std::string url = Trim(form.Text1);
        if (url.size() < 12) {
            prompt.Message(
                "You selected to display your photo. You must enter the full URL of the photo to "
                "display",
                "Settings Error");
            return false;
        }
        working.PictureUrl = url;
        s.CurrentPictureUrl = url;
    }

    for (int i = 0; i < kSoundEventCount; ++i)
        working.SoundFiles[i] = Trim(s.CurrentSoundFiles[i]);

    const std::string background = RowText(form.List3, form.List3Row);
    s.BackgroundFile = background + ".bmp";
    working.Background = Trim(background);
    hooks.ShowBackground(s.BackgroundFile);

    if (form.Option21) {
        working.UseProxy = 1;
        const std::string proxy = Trim(form.Text3);
        if (proxy.size() < 3) {
            prompt.Message("You selected to use a proxy server, but did not enter a proxy address!",
                           "Settings Error!");
            return false;
        }
        working.ProxyAddress = proxy;
        s.ProxyFlag = true;
        s.CurrentProxyAddress = proxy;
    } else {
        s.ProxyFlag = false;
        s.CurrentProxyAddress.clear();
        working.UseProxy = 0;
        working.ProxyAddress = "";
    }
    hooks.ApplyProxy(s.ProxyFlag, s.CurrentProxyAddress);

    working.ComputerSkill = static_cast<std::int16_t>(s.CurrentComputerSkill);

    if (form.Check1) {
        working.UseStoredProtocol = 0;
        s.CurrentLanProtocol.clear();
    } else {
        working.UseStoredProtocol = 1;
        const std::string protocol = Trim(RowText(form.List1, form.List1Row));
        working.LanProtocol = protocol;
        if (protocol.size() < 4) {
            prompt.Message("You did not select a network protocal to use!", "Settings Error");
            return false;
        }
        s.CurrentLanProtocol = protocol;
    }

    return Written(prompt, SaveProfile(f, working, record));
}

bool DeleteSettingsProfile(Prompter& prompt, const ProfileFile& f, const SettingsForm& form) {
    const std::string name = Trim(form.Label15);
    if (!prompt.YesNo("Are you sure you wish to delete user: " + name + "?", "Delete User?"))
        return false;
    PlayerProfile working;
    const std::string stored = FindProfile(f, name, working) > 0 ? Trim(working.Password) : "";
    if (!CheckCurrentPassword(prompt, form, stored, "delete your record")) return false;
    return Written(prompt, DeleteProfile(f, name));
}

bool ConfirmLeaveSettings(Prompter& prompt, const SettingsForm& form, bool closeBox) {
    if (form.DeleteEnabled) return true;
    const std::string verb = closeBox ? "Exit" : "Cancel";
    const std::string ask = closeBox ? "Exit Now?" : "Cancel?";
    return prompt.YesNo("Are you sure you wish to " + verb +
                            " without saving new user settings?\n\nNew user will not be saved. " +
                            ask,
                        "Delete User?");
}

}  // namespace gd
