// The settings window's logic: what opening shows, and every check and message of its buttons.
#include <gtest/gtest.h>

#include "fakes.h"
#include "profile_helpers.h"
#include "settings.h"

namespace gd {
namespace {

using test::IntAt;
using test::NewProfile;
using test::Padded;
using test::ScriptedPrompter;
using test::TempFolder;
using test::TextAt;

const std::vector<std::string> kPictures{"bricks.bmp", "flowers.bmp", "forest.bmp",   "Marble.bmp",
                                         "steel.bmp",  "sunset.bmp",  "undersea.bmp", "woody.bmp"};
const std::vector<std::string> kProviders{"Local Network (TCP/IP)", "Modem Connection",
                                          "This Computer (Loopback)"};

struct SettingsTest : ::testing::Test {
    TempFolder dir;
    ProfileFile f{dir.path};
    GameState s;
    ScriptedPrompter prompt;
    test::RecordingPlayerHooks hooks;

    SettingsForm Open(const std::string& player) {
        s.LocalPlayer = player;
        return OpenSettings(s, f, kPictures, kProviders);
    }
    void Store(std::vector<PlayerProfile> profiles) {
        std::string bytes;
        for (const auto& p : profiles)
            bytes += EncodeProfile(p);
        dir.Write("players.dat", bytes);
    }
    bool Save(const SettingsForm& form) { return SaveSettings(s, prompt, hooks, f, form); }
    std::string Message() const { return prompt.shown.empty() ? "" : prompt.shown.back().text; }
    std::string Title() const { return prompt.shown.empty() ? "" : prompt.shown.back().title; }
    std::string Bytes() const { return dir.Read("players.dat"); }
};

// Guards against a new profile opening with the wrong defaults.
TEST_F(SettingsTest, OpeningForANewPlayerShowsTheDefaults) {
    s.CurrentComputerSkill = 3;
    const SettingsForm form = Open("Ann");
    EXPECT_EQ(form.Label15, "Ann");
    EXPECT_EQ(form.List3.size(), 8u);
    EXPECT_EQ(form.List3[3], "Marble");
    EXPECT_EQ(form.List3Row, 3);
    EXPECT_EQ(s.BackgroundFile, "Marble.bmp");
    EXPECT_EQ(form.List1, (std::vector<std::string>{"Local Network (TCP/IP)", "     ",
                                                    "This Computer (Loopback)"}));
    EXPECT_EQ(form.List1Row, -1);
    EXPECT_TRUE(form.Check1);
    EXPECT_FALSE(form.Text5Shown);
    EXPECT_FALSE(form.Option1);
    EXPECT_FALSE(form.DeleteEnabled);
    EXPECT_EQ(s.CurrentComputerSkill, 2);
    ASSERT_EQ(form.Combo2Items.size(), 9u);
    EXPECT_EQ(form.Combo2Items[0], "None");
    EXPECT_EQ(form.Combo2Items[8], "missed.wav");
    EXPECT_EQ(form.Combo2Text, "sysmess.wav");
}

TEST_F(SettingsTest, OpeningForAnExistingPlayerShowsTheRecord) {
    PlayerProfile p = NewProfile("Ann", "pass");
    p.Location = "Y";
    p.UseStoredProtocol = 1;
    p.LanProtocol = "This Computer (Loopback)";
    p.UseProxy = 1;
    p.ProxyAddress = "  cache.example.net ";
    p.Background = "woody";
    p.PhotoMode = 1;
    p.PictureUrl = "http://example.com/me.jpg";
    p.SoundFiles[0] = "ding.wav";
    p.ComputerSkill = 0;
    Store({NewProfile("Bob"), p});
    const SettingsForm form = Open("Ann");
    EXPECT_TRUE(form.DeleteEnabled);
    EXPECT_FALSE(form.Check1);
    EXPECT_EQ(form.List1Row, 2);
    EXPECT_TRUE(form.Option21);
    EXPECT_EQ(form.Text3, "cache.example.net");
    EXPECT_TRUE(form.Text5Shown);
    EXPECT_EQ(form.List3Row, 7);
    EXPECT_EQ(form.Image1, "woody.bmp");
    EXPECT_EQ(form.Text2, "Unknown");
    EXPECT_TRUE(form.Option1);
    EXPECT_EQ(form.Text1, "http://example.com/me.jpg");
    EXPECT_EQ(form.Combo2Text, "ding.wav");
    EXPECT_EQ(s.CurrentComputerSkill, 2);
}

// Guards against board rows built from the wrong part of the file name.
TEST(BoardPictures, RowsAreNamesUpToTheirExtension) {
    EXPECT_EQ(BoardPictureRows({"aqua.bmp", "Odd.BMP", "x.bmp.bmp"}),
              (std::vector<std::string>{"aqua", "Odd", "x"}));
    EXPECT_EQ(BoardPicturePreview(0), "bricks.bmp");
    EXPECT_EQ(BoardPicturePreview(7), "woody.bmp");
    EXPECT_EQ(BoardPicturePreview(8), "");
}

TEST_F(SettingsTest, NinthPictureFirstIsPreviewedAsBricksButSavedByItsName) {
    std::vector<std::string> pictures{"aqua.bmp"};
    pictures.insert(pictures.end(), kPictures.begin(), kPictures.end());
    s.LocalPlayer = "Ann";
    SettingsForm form = OpenSettings(s, f, pictures, kProviders);
    EXPECT_EQ(form.List3[0], "aqua");
    form.List3Row = 0;
    EXPECT_EQ(BoardPicturePreview(form.List3Row), "bricks.bmp");
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(TextAt(Bytes(), 1412, 10), Padded("aqua", 10));
    EXPECT_EQ(s.BackgroundFile, "aqua.bmp");
    EXPECT_EQ(hooks.backgrounds, (std::vector<std::string>{"aqua.bmp"}));
}

// Guards against sounds accepted or refused against the rules.
TEST_F(SettingsTest, AcceptThisSound) {
    SettingsForm form = Open("Ann");
    form.List2Row = 4;
    form.Combo2Text = "None";  // four characters: accepted
    AcceptThisSound(s, prompt, form);
    EXPECT_EQ(s.CurrentSoundFiles[4], "None");
    EXPECT_TRUE(prompt.shown.empty());
    form.Combo2Text = " ab ";
    AcceptThisSound(s, prompt, form);
    EXPECT_EQ(Message(), "Please select a sound file.");
    EXPECT_EQ(Title(), "Select a Sound");
    form.Combo2Text = "bell.wav";
    form.List2Row = -1;
    AcceptThisSound(s, prompt, form);
    EXPECT_EQ(Message(), "Please select an event to change sound for.");
    EXPECT_EQ(Title(), "Select Event");
}

TEST(BrowsedSound, RelativeInsideTheProgramsFolder) {
    EXPECT_EQ(BrowsedSoundName("/opt/gd/sounds/x.wav", "/opt/gd"), "sounds/x.wav");
    EXPECT_EQ(BrowsedSoundName("/opt/gd/x.wav", "/opt/gd/"), "x.wav");
    EXPECT_EQ(BrowsedSoundName("/opt/gdx/x.wav", "/opt/gd"), "/opt/gdx/x.wav");
}

// Guards against photo addresses let through to the download that must be refused.
TEST(PhotoPreview, ChecksTheAddressBeforeDownloading) {
    ScriptedPrompter prompt;
    EXPECT_FALSE(CheckPhotoPreview(prompt, "http://a.g"));  // 9 characters... with a dot: 10
    EXPECT_FALSE(CheckPhotoPreview(prompt, "http://x."));
    EXPECT_FALSE(CheckPhotoPreview(prompt, "http://example.com/me.png"));
    EXPECT_FALSE(CheckPhotoPreview(prompt, "ftp://example.com/me.jpg"));
    ASSERT_EQ(prompt.shown.size(), 4u);
    EXPECT_EQ(prompt.shown[0].title, "Invalid Request");
    EXPECT_EQ(prompt.shown[0].text,
              "You have not entered a valid internet address to a approved picture file.\n\n"
              "Valid picture formats are *.GIF, *.JPG, or *.BMP\n\n"
              "Please be sure to include the full URL. For example:\n"
              "http://www.example.com/photos/myphoto.jpg\n\nPlease try again.");
    EXPECT_EQ(CheckPhotoPreview(prompt, " HTTP://example.com/pics/Me.GIF "), "Me.GIF");
    EXPECT_EQ(prompt.shown.size(), 4u);
}

// Guards against passwords stored against the rule.
TEST_F(SettingsTest, NewPasswordsOfThreeAndTwelveCharacters) {
    SettingsForm form = Open("Ann");
    form.Text4 = "abc";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(TextAt(Bytes(), 25, 10), std::string(10, ' '));
    form = Open("Ann");
    form.Text4 = "abcdefghijkl";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(TextAt(Bytes(), 25, 10), "abcdefghij");
    EXPECT_EQ(Bytes().size(), 2 * kProfileRecordSize);
}

TEST_F(SettingsTest, PasswordInForceMustBeEnteredToSave) {
    Store({NewProfile("Ann", "Secret")});
    SettingsForm form = Open("Ann");
    ASSERT_TRUE(form.Text5Shown);
    form.Text5 = "Sec";
    EXPECT_FALSE(Save(form));
    EXPECT_EQ(Message(),
              "You have a previously selected password. This must be entered to alter your "
              "settings. Enter your current password.");
    EXPECT_EQ(Title(), "Need Password!");
    form.Text5 = "secret";
    EXPECT_FALSE(Save(form));
    EXPECT_EQ(Message(), "The current password you entered is incorrect. Please try again.");
    EXPECT_EQ(Title(), "Password Incorrect");
    // Typing the current password copies it into the new one, which keeps it.
    form.Text5 = form.Text4 = "Secret";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(TextAt(Bytes(), 25, 10), Padded("Secret", 10));
    form.Text4 = "";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(TextAt(Bytes(), 25, 10), std::string(10, ' '));
}

TEST_F(SettingsTest, PhotoUrlOfElevenIsRefusedAndTwelveAccepted) {
    SettingsForm form = Open("Ann");
    form.Option1 = true;
    form.Text1 = "http://a.b/c";  // 12
    form.Text1.pop_back();
    EXPECT_FALSE(Save(form));
    EXPECT_EQ(Message(),
              "You selected to display your photo. You must enter the full URL of the photo to "
              "display");
    EXPECT_EQ(Title(), "Settings Error");
    EXPECT_FALSE(dir.Has("players.dat"));
    form.Text1 = "http://a.b/c";
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(IntAt(Bytes(), 60), 1);
    EXPECT_EQ(s.CurrentPictureUrl, "http://a.b/c");
}

TEST_F(SettingsTest, ProxyOfTwoIsRefusedAndThreeAccepted) {
    SettingsForm form = Open("Ann");
    form.Option21 = true;
    form.Text3 = " ab ";
    EXPECT_FALSE(Save(form));
    EXPECT_EQ(Message(), "You selected to use a proxy server, but did not enter a proxy address!");
    EXPECT_EQ(Title(), "Settings Error!");
    EXPECT_TRUE(hooks.proxy.empty());
    // The background set before the failed check stays set.
    EXPECT_EQ(hooks.backgrounds.size(), 1u);
    form.Text3 = "abc";
    ASSERT_TRUE(Save(form));
    EXPECT_TRUE(s.ProxyFlag);
    EXPECT_EQ(s.CurrentProxyAddress, "abc");
    EXPECT_EQ(hooks.proxy.back(), std::make_pair(true, std::string("abc")));
    EXPECT_EQ(IntAt(Bytes(), 1422), 1);
    EXPECT_EQ(TextAt(Bytes(), 1424, 3), "abc");
}

TEST_F(SettingsTest, LanProtocolMustBeChosenWhenNotTicked) {
    Store({[] {
        PlayerProfile p = NewProfile("Ann");
        p.LanProtocol = "Kept Method";
        return p;
    }()});
    SettingsForm form = Open("Ann");
    form.Check1 = false;
    form.List1Row = 1;  // the five-blank modem row
    EXPECT_FALSE(Save(form));
    EXPECT_EQ(Message(), "You did not select a network protocal to use!");
    EXPECT_EQ(Title(), "Settings Error");
    form.List1Row = 2;
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(s.CurrentLanProtocol, "This Computer (Loopback)");
    EXPECT_EQ(IntAt(Bytes(), 1574), 1);
    // Ticking the box again keeps the stored method but clears the current one.
    form.Check1 = true;
    ASSERT_TRUE(Save(form));
    EXPECT_EQ(s.CurrentLanProtocol, "");
    EXPECT_EQ(IntAt(Bytes(), 1574), 0);
    EXPECT_EQ(TextAt(Bytes(), 1576, 24), "This Computer (Loopback)");
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
    EXPECT_EQ(TextAt(b, 35, 25), Padded("Bath", 25));
    EXPECT_EQ(IntAt(b, 1626), 5);
    EXPECT_EQ(IntAt(b, 1628), 4);
    EXPECT_EQ(IntAt(b, 1884), 3);
}

TEST_F(SettingsTest, AFailedWriteIsShownAndNothingElseHappens) {
    ProfileFile nowhere{dir.File("missing-folder")};
    SettingsForm form = Open("Ann");
    EXPECT_FALSE(SaveSettings(s, prompt, hooks, nowhere, form));
    EXPECT_EQ(Title(), "Settings Error");
    EXPECT_EQ(Message().rfind("The player profiles could not be written: ", 0), 0u);
}

// Guards against a deletion without the question or the password.
TEST_F(SettingsTest, DeletingAsksAndChecksThePassword) {
    Store({NewProfile("Ann", "Secret"), NewProfile("Computer")});
    SettingsForm form = Open("Ann");
    prompt.answers = {false};
    EXPECT_FALSE(DeleteSettingsProfile(prompt, f, form));
    EXPECT_EQ(Message(), "Are you sure you wish to delete user: Ann?");
    EXPECT_EQ(Title(), "Delete User?");
    prompt.answers = {true};
    form.Text5 = "abc";
    EXPECT_FALSE(DeleteSettingsProfile(prompt, f, form));
    EXPECT_EQ(Message(),
              "You have a previously selected password. This must be entered to delete your "
              "record. Enter your current password.");
    prompt.answers = {true};
    form.Text5 = "SECRET";
    EXPECT_FALSE(DeleteSettingsProfile(prompt, f, form));
    EXPECT_EQ(Message(), "The current password you entered is incorrect. Please try again.");
    EXPECT_EQ(Bytes().size(), 2 * kProfileRecordSize);
    prompt.answers = {true};
    form.Text5 = "Secret";
    EXPECT_TRUE(DeleteSettingsProfile(prompt, f, form));
    EXPECT_EQ(Bytes().size(), kProfileRecordSize);
}

TEST_F(SettingsTest, LeavingANewProfileAsksFirst) {
    SettingsForm form = Open("Ann");
    prompt.answers = {false, true};
    EXPECT_FALSE(ConfirmLeaveSettings(prompt, form, false));
    EXPECT_EQ(Message(),
              "Are you sure you wish to Cancel without saving new user settings?\n\n"
              "New user will not be saved. Cancel?");
    EXPECT_EQ(Title(), "Delete User?");
    EXPECT_TRUE(ConfirmLeaveSettings(prompt, form, true));
    EXPECT_EQ(Message(),
              "Are you sure you wish to Exit without saving new user settings?\n\n"
              "New user will not be saved. Exit Now?");
    form.DeleteEnabled = true;
    const auto shown = prompt.shown.size();
    EXPECT_TRUE(ConfirmLeaveSettings(prompt, form, false));
    EXPECT_EQ(prompt.shown.size(), shown);
}

}  // namespace
}  // namespace gd
