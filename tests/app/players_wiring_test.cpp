// The program through its players' windows: the login, --player, menu commands, game results.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app_fixture.h"
#include "loginwindow.h"
#include "settingswindow.h"
#include "statswindow.h"

namespace gd::test {
namespace {

// A program folder with one word and `profiles`, started without "--player" or with it.
struct ProgramStart : ::testing::Test {
    AppHarness h{{{"word", "a unit"}}, ""};
    void Start(const std::vector<PlayerProfile>& profiles, const std::string& player = "",
               int skill = 0) {
        for (const auto& p : profiles)
            h.WriteProfile(p);
        AppOptions options;
        options.player = player;
        options.skill = skill;
        options.home = h.home.path();
        h.app = std::make_unique<Application>(
            options, ServiceOverrides{&h.sound, &h.pause, &h.random, &h.prompt, &h.inet});
        h.Start();
    }
};

void LogIn(AppHarness& h, const QString& name) {
    h.app->loginWindow()->Combo1()->setEditText(name);
    h.app->loginWindow()->Command1Click();
    AppHarness::Settle();
}

// Guards against the program skipping the login, the login leading nowhere, or its proxy
// not reaching the transfer control.
TEST_F(ProgramStart, OpensAtTheLoginAndLogsOnWithTheProfilesProxy) {
    PlayerProfile p = NewProfile("Ann");
    p.UseProxy = 1;
    p.ProxyAddress = "cache.example.net:3128";
    Start({p});
    ASSERT_NE(h.app->loginWindow(), nullptr);
    EXPECT_TRUE(h.app->loginWindow()->isVisible());
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    LogIn(h, "Ann");
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.main().windowTitle(), "Glyphdrop v1.1 - Ann Logged On");
    EXPECT_EQ(h.app->loginWindow(), nullptr);
    EXPECT_EQ(h.inet.AccessType, kNamedProxy);
    EXPECT_EQ(h.inet.Proxy, "cache.example.net:3128");
}

TEST_F(ProgramStart, ClosingTheLoginEndsTheProgram) {
    Start({});
    h.app->loginWindow()->close();
    EXPECT_TRUE(h.app->ending());
}

// Guards against --player getting round a password, or not creating a new profile.
TEST_F(ProgramStart, PlayerOptionStopsAtAPasswordInForce) {
    Start({NewProfile("Bob", "Secret")}, "Bob");
    ASSERT_NE(h.app->loginWindow(), nullptr);
    EXPECT_EQ(h.app->loginWindow()->Combo1()->currentText(), "Bob");
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    EXPECT_TRUE(h.prompt.shown.empty());
}

// Guards against --skill holding only when --player logs on by itself, and not through the
// login window.
TEST_F(ProgramStart, SkillOptionHoldsForALoginThroughTheWindow) {
    Start({NewProfile("Ann")}, "", 3);
    LogIn(h, "Ann");
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.s().CurrentComputerSkill, 3);
}

TEST_F(ProgramStart, SkillOptionHoldsWhenThePlayerOptionStopsAtAPassword) {
    Start({NewProfile("Bob", "Secret")}, "Bob", 1);
    h.app->loginWindow()->Text1()->setText("Secret");
    LogIn(h, "Bob");
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.s().CurrentComputerSkill, 1);
}

TEST_F(ProgramStart, PlayerOptionWithANewNameOpensTheSettings) {
    Start({}, "Cara");
    SettingsWindow* settings = h.app->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->Label15()->text(), "Cara");
    settings->Command2Click();
    AppHarness::Settle();
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.main().windowTitle(), "Glyphdrop v1.1 - Cara Logged On");
    ProfileFile profiles{h.home.path().toStdString()};
    EXPECT_EQ(ListProfileNames(profiles), std::vector<std::string>{"Cara"});
    EXPECT_EQ(CountProfiles(profiles), 2);  // and "Computer"
}

// Guards against menu entries and toolbar buttons that do nothing: each, from the menu and
// from the toolbar, opens its window anew and the player can go on from there.
TEST(PlayerCommands, MenuEntriesAndToolbarButtonsOpenTheirWindows) {
    AppHarness h;
    h.Start();
    for (const char* caption : {"&Settings", "Settings"}) {
        h.RunMenuCommand(caption);
        ASSERT_NE(h.app->settingsWindow(), nullptr) << caption;
        EXPECT_TRUE(h.app->settingsWindow()->Command3()->isEnabled());
        h.app->settingsWindow()->Command2Click();
        AppHarness::Settle();
        EXPECT_EQ(h.app->settingsWindow(), nullptr);
        EXPECT_TRUE(h.main().isVisible());
    }
    for (const char* caption : {"View Stats", "View Player Stats"}) {
        h.RunMenuCommand(caption);
        ASSERT_NE(h.app->statsWindow(), nullptr) << caption;
        EXPECT_EQ(h.app->statsWindow()->List1()->item(0)->text().left(4), "Ann ");
        h.app->statsWindow()->close();
        AppHarness::Settle();
        EXPECT_EQ(h.app->statsWindow(), nullptr);
    }
    for (const char* caption : {"Change &User", "Change User"}) {
        h.RunMenuCommand(caption);
        EXPECT_EQ(h.app->mainWindow(), nullptr) << caption;
        ASSERT_NE(h.app->loginWindow(), nullptr);
        EXPECT_TRUE(h.app->loginWindow()->isVisible());
        EXPECT_TRUE(h.s().StatusText.lines.empty());
        LogIn(h, "Ann");  // opens the main window anew
        ASSERT_NE(h.app->mainWindow(), nullptr);
        EXPECT_EQ(h.s().StatusText.lines.back(), "Welcome Ann.   Click Menu to begin play.");
    }
}

TEST(PlayerCommands, DeletingTheProfileGoesBackToTheLogin) {
    AppHarness h;
    h.Start();
    h.app->Settings();
    h.prompt.answers = {true};
    QTest::mouseClick(h.app->settingsWindow()->Command3(), Qt::LeftButton);
    AppHarness::Settle();
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    ASSERT_NE(h.app->loginWindow(), nullptr);
    EXPECT_EQ(h.app->loginWindow()->Combo1()->count(), 0);
}

// Guards against results of games against the computer counted on the wrong profile.
TEST(GameResults, ComputerGamesCountOnTheComputersRecord) {
    AppHarness h;
    h.WriteProfile(NewProfile(kComputerName));
    h.Start();
    h.app->RecordGameResult(kComputerName, GameOutcome::Tie);
    const std::vector<PlayerProfile> all = ReadProfiles(ProfileFile{h.home.path().toStdString()});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Played, 0);
    EXPECT_EQ(all[1].Played, 1);
    EXPECT_EQ(all[1].Tied, 1);
}

}  // namespace
}  // namespace gd::test
