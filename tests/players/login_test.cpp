// Logging in: new names, passwords in force and the current-player values.
#include <gtest/gtest.h>

#include "login.h"
#include "profile_helpers.h"

namespace gd {
namespace {

using test::NewProfile;

struct LoginTest : test::PlayersTest {
    LoginOutcome Accept(const std::string& name, const std::string& password = "") {
        return AcceptLogin(s, prompt, hooks, f, name, password);
    }
};

// Guards against a new name that loads anything, or a password not asked for or asked for
// when none is in force. The refusals are tested through the login window.
TEST_F(LoginTest, NewNamesAndPasswordsInForce) {
    Store({NewProfile("Ann", "Secret"), NewProfile("Bob", "ab"), NewProfile("Cara", " abc ")});
    s.BackgroundFile = "before.bmp";
    EXPECT_EQ(Accept(" ann "), LoginOutcome::NewUser);  // letter case makes another user
    EXPECT_EQ(s.LocalPlayer, "ann");
    EXPECT_EQ(Accept("Al"), LoginOutcome::NewUser);  // two characters are a name
    EXPECT_EQ(s.LocalPlayer, "Al");
    EXPECT_EQ(s.BackgroundFile, "before.bmp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(hooks.proxy.empty());
    EXPECT_EQ(Accept("Ann", " Secret "), LoginOutcome::LoggedIn);
    EXPECT_EQ(Accept("Bob", "anything"), LoginOutcome::LoggedIn);  // two characters: not in force
    EXPECT_EQ(Accept("Cara", "ab"), LoginOutcome::Refused);        // three characters are in force
}

// Guards against the password box hidden for a name that has a password in force.
TEST_F(LoginTest, PasswordBoxShowsWhenAnyRecordOfTheNameHasOne) {
    Store({NewProfile("Ann"), NewProfile("Bob", "pass"), NewProfile("Ann", "word")});
    EXPECT_TRUE(LoginPasswordShown(f, "Ann"));
    EXPECT_TRUE(LoginPasswordShown(f, " Bob"));
    EXPECT_FALSE(LoginPasswordShown(f, "bob"));
}

// Guards against current-player values copied wrongly from the record, at their limits.
TEST_F(LoginTest, LoginCopiesTheCurrentPlayerValues) {
    PlayerProfile ann = NewProfile("Ann");
    ann.Location = "York";
    ann.PictureUrl = "http://a.b/c";  // 12 characters: no picture
    ann.SoundFiles[3] = "drop.wav";
    ann.Background = "woody";
    ann.ComputerSkill = 7;
    ann.UseProxy = 1;
    ann.ProxyAddress = "proxy.example.net:3128";
    ann.LanProtocol = "LAN";  // 3 characters: none
    PlayerProfile bob = NewProfile("Bob");
    bob.PictureUrl = "http://a.b/cd";
    bob.ComputerSkill = 3;
    bob.LanProtocol = "Local";
    Store({ann, bob});
    const auto current = [this] {
        return std::vector<std::string>{s.LocalPlayer,
                                        s.LocalLocation,
                                        s.CurrentPictureUrl,
                                        s.CurrentSoundFiles[0],
                                        s.CurrentSoundFiles[3],
                                        s.BackgroundFile,
                                        std::to_string(s.CurrentComputerSkill),
                                        s.ProxyFlag ? "proxy" : "direct",
                                        Trim(s.CurrentProxyAddress),
                                        s.CurrentLanProtocol};
    };
    ASSERT_EQ(Accept(" Ann "), LoginOutcome::LoggedIn);
    EXPECT_EQ(current(), (std::vector<std::string>{"Ann", test::Padded("York", 25), "",
                                                   "sysmess.wav", "drop.wav", "woody.bmp", "2",
                                                   "proxy", "proxy.example.net:3128", ""}));
    ASSERT_EQ(Accept("Bob"), LoginOutcome::LoggedIn);
    EXPECT_EQ(current(), (std::vector<std::string>{"Bob", test::Padded("Leeds", 25),
                                                   "http://a.b/cd", "sysmess.wav", "dropped.wav",
                                                   "Marble.bmp", "3", "direct", "", "Local"}));
    EXPECT_EQ(hooks.proxy, (std::vector<std::pair<bool, std::string>>{
                               {true, "proxy.example.net:3128"}, {false, ""}}));
}

}  // namespace
}  // namespace gd
