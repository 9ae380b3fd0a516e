// The login's decisions, kept apart from the window so that tests can drive them.
#include "login.h"

#include "wordlist.h"

namespace gd {

std::string LoginCaption(const GameState& s) {
    return "Glyphdrop v" + s.ProgramVersion + " - Login";
}

std::string LoggedOnCaption(const GameState& s) {
    return "Glyphdrop v" + s.ProgramVersion + " - " + Trim(s.LocalPlayer) + " Logged On";
}

std::vector<std::string> LoginNames(const ProfileFile& f) {
    if (!f.Exists()) return {};
    return ListProfileNames(f);
}

bool LoginPasswordShown(const ProfileFile& f, const std::string& name) {
    bool shown = false;
    if (!f.Exists()) return shown;
    // Every record is looked at: a later record of the same name can show the box too.
    for (const auto& p : ReadProfiles(f))
        if (NameMatches(p.PlayerName, name) && PasswordInForce(p.Password)) shown = true;
    return shown;
}

LoginOutcome AcceptLogin(GameState& s, Prompter& prompt, PlayerHooks& hooks, const ProfileFile& f,
                         const std::string& nameText, const std::string& passwordText) {
    const std::string name = Trim(nameText);
    if (name.size() < 2) {
        prompt.Message("Please enter or select your user name.", "Login Error");
        return LoginOutcome::Refused;
    }
    if (UpperAscii(name) == "COMPUTER") {
        prompt.Message("Sorry, that user name is reserved for the computer opponent.",
                       "Login Error");
        return LoginOutcome::Refused;
    }
    PlayerProfile working;
    if (!f.Exists() || FindProfile(f, name, working) == 0) {
        s.LocalPlayer = StoredName(name);
        return LoginOutcome::NewUser;
    }
    if (PasswordInForce(working.Password) && !PasswordMatches(passwordText, working.Password)) {
        prompt.Message("Invalid Password. Please Try Again", "Login Error");
        return LoginOutcome::Refused;
    }
    CopyCurrentPlayerValues(s, working);
    hooks.ApplyProxy(s.ProxyFlag, Trim(s.CurrentProxyAddress));
    return LoginOutcome::LoggedIn;
}

void CopyCurrentPlayerValues(GameState& s, const PlayerProfile& p) {
    s.LocalPlayer = Trim(p.PlayerName);
    s.BackgroundFile = Trim(p.Background) + ".bmp";
    const std::string protocol = Trim(p.LanProtocol);
    s.CurrentLanProtocol = protocol.size() > 3 ? protocol : "";
    for (int i = 0; i < kSoundEventCount; ++i)
        s.CurrentSoundFiles[i] = Trim(p.SoundFiles[i]);
    s.CurrentComputerSkill = p.ComputerSkill >= 1 && p.ComputerSkill <= 3 ? p.ComputerSkill : 2;
    s.LocalLocation = p.Location;
    const std::string url = Trim(p.PictureUrl);
    s.CurrentPictureUrl = url.size() > 12 ? url : "";
    s.ProxyFlag = p.UseProxy == 1;
    s.CurrentProxyAddress = s.ProxyFlag ? p.ProxyAddress : "";
}

void LogOnPlayer(GameState& s, const std::string& player, int skillOverride) {
    s.LocalPlayer = player;
    if (skillOverride != 0) s.CurrentComputerSkill = skillOverride;
}

}  // namespace gd
