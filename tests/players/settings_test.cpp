// The settings window's logic: its name rules, and the checks and messages of saving and deleting.
#include <gtest/gtest.h>

#include <functional>

#include "login.h"
#include "profile_helpers.h"
#include "settings.h"

namespace gd {
namespace {

using test::Box;
using test::IntAt;
using test::LastBox;
using test::NewProfile;
using test::Padded;
using test::Records;

struct SettingsTest : test::PlayersTest {
    SettingsForm Open(const std::string& player) {
        s.LocalPlayer = player;
        return OpenSettings(s, f, {"Marble.bmp"}, {"This Computer (Loopback)"});
    }
    bool Save(const SettingsForm& form) { return SaveSettings(s, prompt, hooks, f, form); }
};

// Guards against names built from the wrong part of a file name or path.
TEST(SettingsNames, BoardRowsLanRowsAndBrowsedSounds) {
    EXPECT_EQ(BoardPictureRows({"aqua.bmp", "aqua@2x.bmp", "Odd.BMP", "x.bmp.bmp"}),
              (std::vector<std::string>{"aqua", "Odd", "x"}));
    const std::vector<std::string> rows{"a", "b", "c", "d", "e", "f", "g", "h", "zcontrast"};
    EXPECT_EQ(BoardPicturePreview(rows, 7), "woody.bmp");
    EXPECT_EQ(BoardPicturePreview(rows, 8), "zcontrast.bmp");
    EXPECT_EQ(BoardPicturePreview(rows, 9), "");
    EXPECT_EQ(LanProviderRows({"A modem link", "Local"}),
              (std::vector<std::string>{"     ", "Local"}));
    EXPECT_EQ(BrowsedSoundName("/opt/gd/sounds/x.wav", "/opt/gd"), "sounds/x.wav");
    EXPECT_EQ(BrowsedSoundName("/opt/gd/x.wav", "/opt/gd/"), "x.wav");
    EXPECT_EQ(BrowsedSoundName("/opt/gdx/x.wav", "/opt/gd"), "/opt/gdx/x.wav");
}

// Guards against photo addresses let through to the download that must be refused.
TEST(PhotoPreview, ChecksTheAddressBeforeDownloading) {
    test::ScriptedPrompter prompt;
    for (const char* url :
         {"http://a.g", "http://x.", "http://example.com/me.png", "ftp://example.com/me.jpg"}) {
        prompt.shown.clear();
        EXPECT_FALSE(CheckPhotoPreview(prompt, url)) << url;
        EXPECT_EQ(LastBox(prompt).second, "Invalid Request");
    }
    prompt.shown.clear();
    EXPECT_EQ(CheckPhotoPreview(prompt, " HTTP://example.com/pics/Me.GIF "), "Me.GIF");
    EXPECT_TRUE(prompt.shown.empty());
}

// Guards against passwords stored against the rule, or a profile changed or deleted without
// the one in force.
TEST_F(SettingsTest, NewPasswordsOfThreeAndTwelveCharacters) {
    SettingsForm form = Open("Ann");
    form.Text4 = "abc";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(Bytes().substr(25, 10), std::string(10, ' '));
    form = Open("Ann");
    form.Text4 = "abcdefghijkl";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(Bytes().substr(25, 10), "abcdefghij");
    EXPECT_EQ(Bytes().size(), 2 * kProfileRecordSize);
}

TEST_F(SettingsTest, PasswordInForceMustBeEnteredToSaveOrDelete) {
    Store({NewProfile("Ann", "Secret"), NewProfile("Computer")});
    SettingsForm form = Open("Ann");
    ASSERT_TRUE(form.Text5Shown);
    const std::vector<std::pair<std::string, std::function<bool()>>> actions{
        {"alter your settings", [&] { return Save(form); }}, {"delete your record", [&] {
                                                                  prompt.answers = {true};
                                                                  return DeleteSettingsProfile(
                                                                      prompt, f, form);
                                                              }}};
    for (const auto& [purpose, act] : actions) {
        form.Text5 = "Sec";
        EXPECT_FALSE(act());
        EXPECT_NE(LastBox(prompt).first.find("entered to " + purpose + "."), std::string::npos);
        form.Text5 = "secret";
        EXPECT_FALSE(act());
        EXPECT_EQ(LastBox(prompt).second, "Password Incorrect") << purpose;
        EXPECT_EQ(Bytes(), Records({NewProfile("Ann", "Secret"), NewProfile("Computer")}));
    }
    // Typing the current password copies it into the new one, which keeps it.
    form.Text5 = form.Text4 = "Secret";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(Bytes().substr(25, 10), Padded("Secret", 10));
    form.Text4 = "";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(Bytes().substr(25, 10), std::string(10, ' '));
    // Deleting asks first, then checks the password in force.
    Store({NewProfile("Ann", "Secret"), NewProfile("Computer")});
    prompt.answers = {false};
    EXPECT_FALSE(DeleteSettingsProfile(prompt, f, form));
    EXPECT_EQ(LastBox(prompt), Box("Are you sure you wish to delete user: Ann?", "Delete User?"));
    prompt.answers = {true};
    EXPECT_TRUE(DeleteSettingsProfile(prompt, f, form));
    EXPECT_EQ(Bytes().size(), kProfileRecordSize);
}

// Guards against a save that loses what the settings do not change, or fails silently.
TEST_F(SettingsTest, TickingNoLanMethodKeepsTheStoredOneButClearsTheCurrent) {
    PlayerProfile p = NewProfile("Ann");
    p.UseStoredProtocol = 1;
    p.LanProtocol = "This Computer (Loopback)";
    Store({p});
    SettingsForm form = Open("Ann");
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(s.CurrentLanProtocol, "This Computer (Loopback)");
    form.Check1 = true;
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(s.CurrentLanProtocol, "");
    EXPECT_EQ(IntAt(Bytes(), 1574), 0);
    EXPECT_EQ(Bytes().substr(1576, 24), "This Computer (Loopback)");
}

TEST_F(SettingsTest, SavingAnExistingProfileKeepsItsCountersAndSkill) {
    PlayerProfile p = NewProfile("Ann");
    p.Played = 5;
    p.Won = 4;
    Store({p, NewProfile("Computer")});
    SettingsForm form = Open("Ann");
    ChooseSkill(s, 3);
    form.Text2 = "  Bath ";
    ASSERT_TRUE(Save(form));
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 2 * kProfileRecordSize);
    EXPECT_EQ(b.substr(35, 25), Padded("Bath", 25));
    EXPECT_EQ(IntAt(b, 1626), 5);
    EXPECT_EQ(IntAt(b, 1628), 4);
    EXPECT_EQ(IntAt(b, 1884), 3);
}

// Guards against a player's results landing beside his record: a name field of single-byte
// letters from an older file, and a name longer than the field, are found again by every save
// and every result, which rewrite the record in place and keep the name's bytes.
TEST_F(SettingsTest, ANameIsFoundAgainAsItIsStored) {
    const std::string latin1(25, '\xE9');
    std::string shown;  // the same letters as the windows show them and hand them back
    for (int i = 0; i < 25; ++i)
        shown += "\xC3\xA9";
    Store({NewProfile(latin1), NewProfile("Computer")});
    ASSERT_EQ(AcceptLogin(s, prompt, hooks, f, shown, ""), LoginOutcome::LoggedIn);
    ASSERT_TRUE(Save(Open(shown)));
    ASSERT_TRUE(RecordGameResult(f, s.LocalPlayer, GameOutcome::Win).ok);
    EXPECT_EQ(Bytes().size(), 2 * kProfileRecordSize);
    EXPECT_EQ(Bytes().substr(0, 25), latin1);
    EXPECT_EQ(IntAt(Bytes(), 1626), 1);

    const std::string longName = "Wilhelmina Featherstonehaugh-Smythe";
    ASSERT_EQ(AcceptLogin(s, prompt, hooks, f, longName, ""), LoginOutcome::NewUser);
    ASSERT_TRUE(Save(Open(s.LocalPlayer)));
    ASSERT_TRUE(Save(Open(longName)));
    ASSERT_TRUE(RecordGameResult(f, longName, GameOutcome::Loss).ok);
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 3 * kProfileRecordSize);
    EXPECT_EQ(b.substr(2 * kProfileRecordSize, 25), longName.substr(0, 25));
    EXPECT_EQ(IntAt(b, 2 * kProfileRecordSize + 1626), 1);
    // A cut never splits a letter: the 25th byte here would be half of the "ë".
    EXPECT_EQ(StoredName(std::string(24, 'a') + "\xC3\xAB"), std::string(24, 'a'));
}

TEST_F(SettingsTest, AFailedWriteIsShown) {
    ProfileFile nowhere{dir.File("missing-folder")};
    EXPECT_FALSE(SaveSettings(s, prompt, hooks, nowhere, Open("Ann")));
    EXPECT_EQ(LastBox(prompt).second, "Settings Error");
    EXPECT_EQ(LastBox(prompt).first.rfind("The player profiles could not be written: ", 0), 0u);
}

}  // namespace
}  // namespace gd
