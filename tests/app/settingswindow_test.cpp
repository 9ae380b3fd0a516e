// The settings window: opening, its handlers and checks, the photo preview and the ways out.
#include <QCheckBox>
#include <QRadioButton>

#include "app_fixture.h"
#include "providers.h"
#include "settingswindow.h"

namespace gd::test {
namespace {

struct SettingsWindowTest : PlayerWindowTest {
    std::unique_ptr<SettingsWindow> w;
    SettingsWindowTest() {
        for (const char* name : {"bricks.bmp", "Marble.bmp", "woody.bmp"})
            Picture(name);
    }
    void Open(const std::vector<PlayerProfile>& all = {}) {
        if (!all.empty()) Store(all);
        h.s.LocalPlayer = "Ann";
        w = std::make_unique<SettingsWindow>(h.s, h.sv, inet, hooks, folder);
        w->show();
    }
    PlayerProfile Stored() {
        PlayerProfile p;
        EXPECT_GT(FindProfile(profiles, "Ann", p), 0);
        return p;
    }
};

// Guards against a new profile opening with the wrong defaults, or sound events cut off.
TEST_F(SettingsWindowTest, OpeningForANewPlayer) {
    h.s.CurrentComputerSkill = 3;
    Open();
    const SettingsForm form = w->Form();
    // Shown and enabled: the current password, the photo address, the LAN list, "Delete".
    EXPECT_EQ((std::vector<bool>{!w->Text5()->isHidden(), w->Text1()->isEnabled(),
                                 w->List1()->isEnabled(), w->Command3()->isEnabled()}),
              std::vector<bool>(4, false));
    EXPECT_TRUE(w->Option2()->isChecked() && form.Check1 && w->Skill(2)->isChecked());
    EXPECT_EQ(form.List3Row, 1);  // "Marble"
    EXPECT_FALSE(w->Image1()->pixmap().isNull());
    EXPECT_EQ(h.s.CurrentComputerSkill, 2);
    EXPECT_EQ(form.Combo2Text, "sysmess.wav");
    w->SSTab1()->setCurrentIndex(1);
    Settle();
    QListWidget* events = w->List2();
    ASSERT_EQ(events->count(), kSoundEventCount);
    for (int row = 0; row < events->count(); ++row)
        EXPECT_TRUE(events->viewport()->rect().contains(events->visualItemRect(events->item(row))))
            << row;
}

// Guards against a stored profile shown wrongly, "Unknown" for a one-character location.
TEST_F(SettingsWindowTest, OpeningForAnExistingPlayerShowsTheRecord) {
    PlayerProfile p = NewProfile("Ann", "Secret");
    p.Location = "X";
    p.UseProxy = 1;
    p.ProxyAddress = "  cache.example.net ";
    p.UseStoredProtocol = 1;
    p.LanProtocol = kLanProviderThisComputer;
    p.Background = "woody";
    p.PhotoMode = 1;
    p.PictureUrl = "http://example.com/me.jpg";
    p.SoundFiles[0] = "ding.wav";
    p.ComputerSkill = 3;
    Open({NewProfile("Bob"), p});
    const SettingsForm form = w->Form();
    ASSERT_GE(form.List1Row, 0);
    EXPECT_EQ((std::vector<std::string>{form.Text2, form.Text3, form.List1[form.List1Row],
                                        form.Image1, form.Text1, form.Combo2Text}),
              (std::vector<std::string>{"Unknown", "cache.example.net", kLanProviderThisComputer,
                                        "woody.bmp", "http://example.com/me.jpg", "ding.wav"}));
    EXPECT_TRUE(form.Option21 && !form.Check1 && !w->Text5()->isHidden());
    EXPECT_TRUE(w->List1()->isEnabled() && w->Text1()->isEnabled() && w->Command3()->isEnabled());
    EXPECT_TRUE(w->Skill(3)->isChecked());
}

// Guards against the password in force being bypassed or lost on save.
TEST_F(SettingsWindowTest, TypingTheCurrentPasswordKeepsIt) {
    Open({NewProfile("Ann", "Secret")});
    QSignalSpy saved(w.get(), &SettingsWindow::saved);
    w->Command2Click();
    EXPECT_EQ(LastBox(h.prompt).second, "Need Password!");
    QTest::keyClicks(w->Text5(), "Secret");
    EXPECT_EQ(w->Text4()->text(), "Secret");
    QTest::mouseClick(w->Command2(), Qt::LeftButton);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Trim(Stored().Password), "Secret");
}

// Guards against photo URL, proxy and LAN checks off by one at their limits, and a refused
// save that writes the file or applies a refused proxy.
TEST_F(SettingsWindowTest, PhotoUrlProxyAndProtocolChecks) {
    Open();
    w->Option1()->click();
    EXPECT_TRUE(w->Text1()->isEnabled());
    w->Text1()->setText("http://a.b/");  // 11 characters
    w->Command2Click();
    EXPECT_NE(LastBox(h.prompt).first.find("full URL of the photo"), std::string::npos);
    w->Text1()->setText("http://a.b/c");
    w->Option21()->click();
    w->Text3()->setText(" ab ");
    w->Command2Click();
    EXPECT_NE(LastBox(h.prompt).first.find("did not enter a proxy address"), std::string::npos);
    EXPECT_TRUE(hooks.proxy.empty());
    w->Text3()->setText("abc");
    w->Check1()->click();
    EXPECT_TRUE(w->List1()->isEnabled());
    w->Command2Click();
    EXPECT_NE(LastBox(h.prompt).first.find("did not select a network protocal"), std::string::npos);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(dir.Has("players.dat"));
    w->List1()->setCurrentRow(0);
    w->Command2Click();
    EXPECT_FALSE(w->isVisible());
    const PlayerProfile p = Stored();
    EXPECT_EQ(
        (std::vector<std::string>{Trim(p.PictureUrl), Trim(p.ProxyAddress), Trim(p.LanProtocol)}),
        (std::vector<std::string>{"http://a.b/c", "abc", kLanProviderNetwork}));
    EXPECT_EQ((std::vector<int>{p.PhotoMode, p.UseProxy, p.UseStoredProtocol}),
              (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(hooks.proxy.back(), std::make_pair(true, std::string("abc")));
    EXPECT_EQ(hooks.backgrounds.back(), "Marble.bmp");
    EXPECT_EQ(CountProfiles(profiles), 2);  // and "Computer"
}

// Guards against sound handlers that edit the wrong event, refuse "None" or keep a bad choice.
TEST_F(SettingsWindowTest, SoundsAreChosenPerEventAndNoneIsAccepted) {
    Open();
    w->List2()->setCurrentRow(3);
    w->List2Click();
    EXPECT_EQ(w->Combo2()->currentText(), "dropped.wav");
    w->Combo2()->setCurrentIndex(0);
    w->Command6Click();
    EXPECT_TRUE(h.prompt.shown.empty());
    EXPECT_EQ(h.s.CurrentSoundFiles[3], "None");
    w->Combo2()->setEditText("ab");
    w->Command5Click();
    EXPECT_EQ(h.sound.played.back(), "ab");
    w->Command6Click();
    EXPECT_EQ(LastBox(h.prompt).second, "Select a Sound");
    w->Combo2()->setEditText("bell.wav");
    w->List2()->clearSelection();
    w->Command6Click();
    EXPECT_EQ(LastBox(h.prompt).second, "Select Event");
}

// Guards against a preview that follows the row's name while the save does not.
TEST_F(SettingsWindowTest, BoardPictureRowsPreviewTheFixedList) {
    Open();
    w->List3()->setCurrentRow(0);
    w->List3Click();
    EXPECT_EQ(w->Image1File(), "bricks.bmp");
    w->List3()->setCurrentRow(2);
    w->List3Click();
    EXPECT_EQ(w->Image1File(), "forest.bmp");  // the third of the fixed list, not "woody"
    w->Command2Click();
    EXPECT_EQ(Trim(Stored().Background), "woody");
    EXPECT_EQ(h.s.BackgroundFile, "woody.bmp");
}

// Guards against a preview that keeps the download or refuses a good address. (The addresses
// refused are the settings rules' test's.)
TEST_F(SettingsWindowTest, PhotoPreviewDownloadsShowsAndDeletes) {
    Open();
    w->Option1()->click();
    Picture("source.jpg", "JPG");
    inet.Answer("http://example.com/pics/me.jpg", dir.Read("source.jpg"));
    w->Text1()->setText(" http://example.com/pics/me.jpg ");
    w->Command1Click();
    EXPECT_TRUE(h.prompt.shown.empty());
    EXPECT_FALSE(w->Picture1()->pixmap().isNull());
    EXPECT_FALSE(dir.Has("me.jpg"));

    w->Text1()->setText("http://example.com/pics/gone.jpg");
    w->Command1Click();
    EXPECT_EQ(LastBox(h.prompt).second, "Preview Error");
    EXPECT_TRUE(w->Picture1()->pixmap().isNull());
}

// Guards against a cancelled new profile leaving the player stranded or saved, and an existing
// one asked about.
TEST_F(SettingsWindowTest, CancelOfANewProfileGoesBackToTheLogin) {
    Open();
    QSignalSpy back(w.get(), &SettingsWindow::backToLogin);
    h.prompt.answers = {false, false};  // asked at Cancel and at the close box: No
    w->CancelSettingsClick();
    w->close();
    EXPECT_EQ(h.prompt.shown.size(), 2u);
    EXPECT_TRUE(w->isVisible());
    h.prompt.answers = {true};
    w->CancelSettingsClick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(back.count(), 1);
    EXPECT_FALSE(dir.Has("players.dat"));
    h.prompt.shown.clear();
    Open({NewProfile("Ann")});
    QSignalSpy existing(w.get(), &SettingsWindow::backToLogin);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(h.prompt.shown.empty());
    EXPECT_EQ(existing.count(), 0);
}

}  // namespace
}  // namespace gd::test
