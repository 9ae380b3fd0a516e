// Logging in: the name list, the password box, the refusals and the current-player values.
#pragma once

#include <string>
#include <vector>

#include "player_hooks.h"
#include "profile.h"
#include "services.h"
#include "state.h"

namespace gd {

inline const std::string kLoginInstructions =
    "Enter or select your user name and enter your password if you have chosen to use one.\n\n"
    "New users, enter your name or a nick-name that you wish to be know as.";

// "Glyphdrop v1.1 - Login".
std::string LoginCaption(const GameState& s);
// The main window's caption once `LocalPlayer` is logged on.
std::string LoggedOnCaption(const GameState& s);

// The names the login lists: every record's trimmed name except "Computer".
std::vector<std::string> LoginNames(const ProfileFile& f);
// Whether the password box shows after `name` was selected: some record of that name has a
// password in force.
bool LoginPasswordShown(const ProfileFile& f, const std::string& name);

enum class LoginOutcome {
    Refused,   // a message was shown; the login window stays
    NewUser,   // `LocalPlayer` is set; the settings window creates the profile
    LoggedIn,  // the current-player values are set and the proxy applied
};

// The Accept button: refuses, hands a new name on, or logs the profile in.
LoginOutcome AcceptLogin(GameState& s, Prompter& prompt, PlayerHooks& hooks, const ProfileFile& f,
                         const std::string& nameText, const std::string& passwordText);

// Sets the current-player values from a logged-in profile.
void CopyCurrentPlayerValues(GameState& s, const PlayerProfile& p);
// The player is logged on, however he got there: he is `LocalPlayer`, and a skill given on the
// command line (1 to 3; 0 for none) replaces his profile's.
void LogOnPlayer(GameState& s, const std::string& player, int skillOverride);

}  // namespace gd
