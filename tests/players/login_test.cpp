// Logging in: refusals with their texts, passwords in force and the current-player values.
#include <gtest/gtest.h>

#include "fakes.h"
#include "login.h"
#include "profile_helpers.h"

namespace gd {
namespace {

using test::NewProfile;
using test::ScriptedPrompter;
using test::TempFolder;

struct LoginTest : ::testing::Test {
    TempFolder dir;
    ProfileFile f{dir.path};
    GameState s;
    ScriptedPrompter prompt;
    test::RecordingPlayerHooks hooks;

    void Store(std::vector<PlayerProfile> profiles) {
        std::string bytes;
        for (const auto& p : profiles)
            bytes += EncodeProfile(p);
        dir.Write("players.dat", bytes);
    }
    LoginOutcome Accept(const std::string& name, const std::string& password = "") {
        return AcceptLogin(s, prompt, hooks, f, name, password);
    }
    std::string LastMessage() const { return prompt.shown.empty() ? "" : prompt.shown.back().text; }
};

TEST(LoginTexts, CaptionsCarryTheVersion) {
    GameState s;
    EXPECT_EQ(LoginCaption(s), "Glyphdrop v1.1 - Login");
    s.LocalPlayer = " Ann ";
    EXPECT_EQ(LoggedOnCaption(s), "Glyphdrop v1.1 - Ann Logged On");
}

// Guards against refusals with the wrong text, or names let through that must not be.
TEST_F(LoginTest, RefusesShortNamesAndTheComputersName) {
    EXPECT_EQ(Accept(" A "), LoginOutcome::Refused);
    EXPECT_EQ(LastMessage(), "Please enter or select your user name.");
    EXPECT_EQ(prompt.shown.back().title, "Login Error");
    for (const char* name : {"computer", "Computer", " COMPUTER "}) {
        EXPECT_EQ(Accept(name), LoginOutcome::Refused);
        EXPECT_EQ(LastMessage(), "Sorry, that user name is reserved for the computer opponent.");
    }
    EXPECT_EQ(Accept("Al"), LoginOutcome::NewUser);
    EXPECT_EQ(s.LocalPlayer, "Al");
}

TEST_F(LoginTest, NewNameGoesToTheSettingsWithoutLoadingAnything) {
    Store({NewProfile("Ann", "pass")});
    s.BackgroundFile = "before.bmp";
    EXPECT_EQ(Accept(" ann "), LoginOutcome::NewUser);  // letter case makes another user
    EXPECT_EQ(s.LocalPlayer, "ann");
    EXPECT_EQ(s.BackgroundFile, "before.bmp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(hooks.proxy.empty());
}

// Guards against a password not asked for, or asked for when none is in force.
TEST_F(LoginTest, PasswordInForceMustMatchExactly) {
    Store({NewProfile("Ann", "Secret"), NewProfile("Bob", "ab")});
    EXPECT_EQ(Accept("Ann", "secret"), LoginOutcome::Refused);
    EXPECT_EQ(LastMessage(), "Invalid Password. Please Try Again");
    EXPECT_EQ(prompt.shown.back().title, "Login Error");
    EXPECT_EQ(Accept("Ann", " Secret "), LoginOutcome::LoggedIn);
    EXPECT_EQ(Accept("Bob", "anything"), LoginOutcome::LoggedIn);  // two characters: not in force
}

TEST_F(LoginTest, NameListLeavesOutOnlyTheExactComputer) {
    EXPECT_TRUE(LoginNames(f).empty());
    Store({NewProfile("Ann"), NewProfile("Computer"), NewProfile("computer")});
    EXPECT_EQ(LoginNames(f), (std::vector<std::string>{"Ann", "computer"}));
}

TEST_F(LoginTest, PasswordBoxShowsWhenAnyRecordOfTheNameHasOne) {
    Store({NewProfile("Ann"), NewProfile("Bob", "pass"), NewProfile("Ann", "word")});
    EXPECT_TRUE(LoginPasswordShown(f, "Ann"));
    EXPECT_TRUE(LoginPasswordShown(f, " Bob"));
    EXPECT_FALSE(LoginPasswordShown(f, "bob"));
}

// Guards against current-player values copied wrongly from the record.
TEST_F(LoginTest, LoginCopiesTheCurrentPlayerValues) {
    PlayerProfile p = NewProfile("Ann");
    p.Location = "York";
    p.PictureUrl = "http://a.b/c";  // 12 characters: no picture
    p.SoundFiles[3] = "drop.wav";
    p.Background = "woody";
    p.ComputerSkill = 7;
    p.UseProxy = 1;
    p.ProxyAddress = "proxy.example.net:3128";
    p.LanProtocol = "LAN";  // 3 characters: none
    Store({p});
    ASSERT_EQ(Accept(" Ann "), LoginOutcome::LoggedIn);
    EXPECT_EQ(s.LocalPlayer, "Ann");
    EXPECT_EQ(s.LocalLocation, test::Padded("York", 25));
    EXPECT_EQ(s.CurrentPictureUrl, "");
    EXPECT_EQ(s.CurrentSoundFiles[3], "drop.wav");
    EXPECT_EQ(s.CurrentSoundFiles[0], "sysmess.wav");
    EXPECT_EQ(s.BackgroundFile, "woody.bmp");
    EXPECT_EQ(s.CurrentComputerSkill, 2);
    EXPECT_TRUE(s.ProxyFlag);
    EXPECT_EQ(Trim(s.CurrentProxyAddress), "proxy.example.net:3128");
    EXPECT_EQ(s.CurrentLanProtocol, "");
    ASSERT_EQ(hooks.proxy.size(), 1u);
    EXPECT_EQ(hooks.proxy[0], std::make_pair(true, std::string("proxy.example.net:3128")));
}

TEST_F(LoginTest, LongerValuesAreTaken) {
    PlayerProfile p = NewProfile("Ann");
    p.PictureUrl = "http://a.b/cd";  // 13 characters
    p.ComputerSkill = 3;
    p.LanProtocol = "Local";
    Store({p});
    ASSERT_EQ(Accept("Ann"), LoginOutcome::LoggedIn);
    EXPECT_EQ(s.CurrentPictureUrl, "http://a.b/cd");
    EXPECT_EQ(s.CurrentComputerSkill, 3);
    EXPECT_EQ(s.CurrentLanProtocol, "Local");
    EXPECT_FALSE(s.ProxyFlag);
    EXPECT_EQ(s.CurrentProxyAddress, "");
    EXPECT_EQ(hooks.proxy.back(), std::make_pair(false, std::string()));
}

}  // namespace
}  // namespace gd
