// The settings window: what opening shows, the element handlers, each check with its message,
// the photo preview, and the ways out to the main window or back to the login.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "player_windows_support.h"
#include "providers.h"
#include "settingswindow.h"

namespace gd::test {
namespace {

struct SettingsWindowTest : PlayerWindowTest {
    SettingsWindowTest() {
        for (const char* name : {"bricks.bmp", "Marble.bmp", "woody.bmp"})
            Picture(name);
    }
    std::unique_ptr<SettingsWindow> Open(const std::string& player = "Ann") {
        h.s.LocalPlayer = player;
        auto w = std::make_unique<SettingsWindow>(h.s, h.sv, inet, hooks, folder);
        w->show();
        return w;
    }
    PlayerProfile Stored(const std::string& name) {
        PlayerProfile p;
        EXPECT_GT(FindProfile(profiles, name, p), 0);
        return p;
    }
};

TEST_F(SettingsWindowTest, OpeningForANewPlayer) {
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "Settings");
    ASSERT_EQ(w->SSTab1()->count(), 3);
    EXPECT_EQ(w->SSTab1()->tabText(0), "Player Profiles");
    EXPECT_EQ(w->SSTab1()->tabText(1), "Game Settings");
    EXPECT_EQ(w->SSTab1()->tabText(2), "Connections");
    EXPECT_EQ(w->Label15()->text(), "Ann");
    EXPECT_TRUE(w->Text5()->isHidden());
    EXPECT_TRUE(w->Option2()->isChecked());
    EXPECT_FALSE(w->Text1()->isEnabled());
    ASSERT_EQ(w->List3()->count(), 3);
    EXPECT_EQ(w->List3()->currentItem()->text(), "Marble");
    EXPECT_EQ(w->Image1File(), "Marble.bmp");
    EXPECT_FALSE(w->Image1()->pixmap().isNull());
    EXPECT_EQ(w->List1()->count(), static_cast<int>(ListLanProviders().size()));
    EXPECT_TRUE(w->Check1()->isChecked());
    EXPECT_FALSE(w->List1()->isEnabled());
    EXPECT_FALSE(w->Command3()->isEnabled());
    EXPECT_TRUE(w->Skill(2)->isChecked());
    EXPECT_EQ(w->List2()->count(), 8);
    EXPECT_EQ(w->List2()->item(6)->text(), "Game Over");
    EXPECT_EQ(w->Combo2()->itemText(0), "None");
    EXPECT_EQ(w->Combo2()->currentText(), "sysmess.wav");
}

TEST_F(SettingsWindowTest, OneCharacterLocationShowsAsUnknown) {
    PlayerProfile p = NewProfile("Ann", "Secret");
    p.Location = "X";
    p.UseProxy = 1;
    p.ProxyAddress = "cache.example.net";
    p.UseStoredProtocol = 1;
    p.LanProtocol = kLanProviderThisComputer;
    p.ComputerSkill = 3;
    Store({p});
    auto w = Open();
    EXPECT_EQ(w->Text2()->text(), "Unknown");
    EXPECT_FALSE(w->Text5()->isHidden());
    EXPECT_TRUE(w->Option21()->isChecked());
    EXPECT_EQ(w->Text3()->text(), "cache.example.net");
    EXPECT_FALSE(w->Check1()->isChecked());
    EXPECT_TRUE(w->List1()->isEnabled());
    EXPECT_EQ(w->List1()->currentItem()->text(), QString::fromStdString(kLanProviderThisComputer));
    EXPECT_TRUE(w->Skill(3)->isChecked());
    EXPECT_TRUE(w->Command3()->isEnabled());
}

// Guards against the password in force being bypassed or lost on save.
TEST_F(SettingsWindowTest, TypingTheCurrentPasswordKeepsIt) {
    Store({NewProfile("Ann", "Secret")});
    auto w = Open();
    QSignalSpy saved(w.get(), &SettingsWindow::saved);
    w->Command2Click();
    EXPECT_EQ(LastTitle(), "Need Password!");
    QTest::keyClicks(w->Text5(), "Secret");
    EXPECT_EQ(w->Text4()->text(), "Secret");
    QTest::mouseClick(w->Command2(), Qt::LeftButton);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Trim(Stored("Ann").Password), "Secret");
}

TEST_F(SettingsWindowTest, PhotoUrlAndProxyAndProtocolChecks) {
    auto w = Open();
    w->Option1()->click();
    EXPECT_TRUE(w->Text1()->isEnabled());
    w->Text1()->setText("http://a.b/");
    w->Command2Click();
    EXPECT_EQ(LastMessage(),
              "You selected to display your photo. You must enter the full URL of the photo to "
              "display");
    EXPECT_EQ(LastTitle(), "Settings Error");
    w->Text1()->setText("http://a.b/c");
    w->Option21()->click();
    w->Text3()->setText("ab");
    w->Command2Click();
    EXPECT_EQ(LastMessage(),
              "You selected to use a proxy server, but did not enter a proxy address!");
    EXPECT_EQ(LastTitle(), "Settings Error!");
    w->Text3()->setText("abc");
    w->Check1()->click();
    EXPECT_TRUE(w->List1()->isEnabled());
    w->Command2Click();
    EXPECT_EQ(LastMessage(), "You did not select a network protocal to use!");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(dir.Has("players.dat"));
    w->List1()->setCurrentRow(0);
    w->Command2Click();
    EXPECT_FALSE(w->isVisible());
    const PlayerProfile p = Stored("Ann");
    EXPECT_EQ(Trim(p.PictureUrl), "http://a.b/c");
    EXPECT_EQ(Trim(p.ProxyAddress), "abc");
    EXPECT_EQ(Trim(p.LanProtocol), kLanProviderNetwork);
    EXPECT_EQ(hooks.proxy.back(), std::make_pair(true, std::string("abc")));
    EXPECT_EQ(hooks.backgrounds.back(), "Marble.bmp");
    EXPECT_EQ(CountProfiles(profiles), 2);  // and "Computer"
}

// Guards against the sound checks refusing a valid choice.
TEST_F(SettingsWindowTest, NoneIsAcceptedAsASound) {
    auto w = Open();
    w->List2()->setCurrentRow(3);
    w->List2Click();
    EXPECT_EQ(w->Combo2()->currentText(), "dropped.wav");
    w->Combo2()->setCurrentIndex(0);
    w->Command6Click();
    EXPECT_TRUE(h.prompt.shown.empty());
    EXPECT_EQ(h.s.CurrentSoundFiles[3], "None");
    w->Combo2()->setEditText("ab");
    w->Command6Click();
    EXPECT_EQ(LastMessage(), "Please select a sound file.");
    w->Command5Click();
    EXPECT_EQ(h.sound.played.back(), "ab");
}

TEST_F(SettingsWindowTest, BrowsedSoundIsNamedRelativeToTheProgramsFolder) {
    auto w = Open();
    w->chooseSoundFile = [this](const QString&) { return folder + "/sounds/bell.wav"; };
    w->Command4Click();
    EXPECT_EQ(w->Combo2()->currentText(), "sounds/bell.wav");
    w->chooseSoundFile = [](const QString&) { return QString(); };
    w->Command4Click();
    EXPECT_EQ(w->Combo2()->currentText(), "sounds/bell.wav");
}

TEST_F(SettingsWindowTest, BoardPictureRowsPreviewTheFixedList) {
    auto w = Open();
    w->List3()->setCurrentRow(0);
    w->List3Click();
    EXPECT_EQ(w->Image1File(), "bricks.bmp");
    w->List3()->setCurrentRow(2);
    w->List3Click();
    EXPECT_EQ(w->Image1File(), "forest.bmp");  // the third of the fixed list, not "woody"
    w->Command2Click();
    EXPECT_EQ(Trim(Stored("Ann").Background), "woody");
    EXPECT_EQ(h.s.BackgroundFile, "woody.bmp");
}

// Guards against a preview that keeps the download or refuses a good address.
TEST_F(SettingsWindowTest, PhotoPreviewDownloadsShowsAndDeletes) {
    auto w = Open();
    w->Option1()->click();
    w->Text1()->setText("example.com/me.jpg");
    w->Command1Click();
    EXPECT_EQ(LastTitle(), "Invalid Request");
    EXPECT_TRUE(inet.requests.empty());

    Picture("source.jpg", "JPG");
    inet.Answer("http://example.com/pics/me.jpg", dir.Read("source.jpg"));
    h.prompt.shown.clear();
    w->Text1()->setText(" http://example.com/pics/me.jpg ");
    w->Command1Click();
    EXPECT_TRUE(h.prompt.shown.empty());
    EXPECT_FALSE(w->Picture1()->pixmap().isNull());
    EXPECT_FALSE(dir.Has("me.jpg"));

    w->Text1()->setText("http://example.com/pics/gone.jpg");
    w->Command1Click();
    EXPECT_EQ(LastTitle(), "Preview Error");
    EXPECT_TRUE(w->Picture1()->pixmap().isNull());
}

TEST_F(SettingsWindowTest, PreviewNeverOverwritesTheProfiles) {
    Store({NewProfile("Ann")});
    const std::string before = dir.Read("players.dat");
    auto w = Open();
    w->Option1()->click();
    inet.Answer("http://example.com/players.dat.bmp", "x");
    w->Text1()->setText("http://example.com/x.bmp/../players.dat");
    w->Command1Click();
    EXPECT_EQ(LastTitle(), "Preview Error");
    EXPECT_EQ(dir.Read("players.dat"), before);
}

// Guards against a cancelled new profile leaving the player stranded or saved.
TEST_F(SettingsWindowTest, CancelOfANewProfileGoesBackToTheLogin) {
    auto w = Open();
    QSignalSpy back(w.get(), &SettingsWindow::backToLogin);
    h.prompt.answers = {false};
    w->CancelSettingsClick();
    EXPECT_EQ(LastMessage(),
              "Are you sure you wish to Cancel without saving new user settings?\n\n"
              "New user will not be saved. Cancel?");
    EXPECT_TRUE(w->isVisible());
    h.prompt.answers = {false};
    w->close();
    EXPECT_EQ(LastMessage(),
              "Are you sure you wish to Exit without saving new user settings?\n\n"
              "New user will not be saved. Exit Now?");
    EXPECT_TRUE(w->isVisible());
    h.prompt.answers = {true};
    w->CancelSettingsClick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(back.count(), 1);
    EXPECT_FALSE(dir.Has("players.dat"));
}

TEST_F(SettingsWindowTest, AnExistingProfileClosesWithoutAsking) {
    Store({NewProfile("Ann")});
    auto w = Open();
    QSignalSpy back(w.get(), &SettingsWindow::backToLogin);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(h.prompt.shown.empty());
    EXPECT_EQ(back.count(), 0);
}

TEST_F(SettingsWindowTest, DeletingGoesBackToTheLogin) {
    Store({NewProfile("Ann"), NewProfile("Computer")});
    auto w = Open();
    QSignalSpy back(w.get(), &SettingsWindow::backToLogin);
    h.prompt.answers = {true};
    QTest::mouseClick(w->Command3(), Qt::LeftButton);
    EXPECT_EQ(back.count(), 1);
    EXPECT_EQ(ListProfileNames(profiles), std::vector<std::string>{});
    EXPECT_EQ(CountProfiles(profiles), 1);
}

TEST_F(SettingsWindowTest, HelpTopicFollowsTheTab) {
    auto w = Open();
    QSignalSpy help(w.get(), &SettingsWindow::helpRequested);
    for (int tab = 0; tab < 3; ++tab) {
        w->SSTab1()->setCurrentIndex(tab);
        w->Command7Click();
    }
    ASSERT_EQ(help.count(), 3);
    EXPECT_EQ(help[0][0].toInt(), 90);
    EXPECT_EQ(help[1][0].toInt(), 100);
    EXPECT_EQ(help[2][0].toInt(), 110);
}

}  // namespace
}  // namespace gd::test
