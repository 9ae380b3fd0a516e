// The program's way through its players' windows: the start at the login, the --player start,
// the menu and toolbar entries for settings, statistics and changing user, and game results.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app_fixture.h"
#include "loginwindow.h"
#include "settingswindow.h"
#include "statswindow.h"

namespace gd::test {
namespace {

// The program started with "--player NAME" in the harness's folder.
void StartWithPlayerOption(AppHarness& h, const std::string& name) {
    AppOptions options;
    options.player = name;
    options.home = h.home.path();
    h.app = std::make_unique<Application>(
        options, ServiceOverrides{&h.sound, &h.pause, &h.random, &h.prompt, &h.inet});
    h.Start();
}

PlayerProfile WithPassword(const std::string& name, const std::string& password) {
    PlayerProfile p = NewProfile(name);
    p.Password = password;
    return p;
}

// Guards against the program skipping the login, or the login leading nowhere.
TEST(ProgramStart, OpensAtTheLoginAndLogsOn) {
    AppHarness h({{"word", "a unit"}}, "");
    h.WriteProfile(NewProfile("Ann"));
    h.Start();
    LoginWindow* login = h.app->loginWindow();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    login->Combo1()->setEditText("Ann");
    login->Command1Click();
    AppHarness::Settle();
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.main().windowTitle(), "Glyphdrop v1.1 - Ann Logged On");
    EXPECT_EQ(h.app->loginWindow(), nullptr);
}

TEST(ProgramStart, ClosingTheLoginEndsTheProgram) {
    AppHarness h({{"word", "a unit"}}, "");
    h.Start();
    h.app->loginWindow()->close();
    EXPECT_TRUE(h.app->ending());
}

// Guards against --player getting round a password.
TEST(ProgramStart, PlayerOptionStopsAtAPasswordInForce) {
    AppHarness h({{"word", "a unit"}}, "");
    h.WriteProfile(WithPassword("Bob", "Secret"));
    StartWithPlayerOption(h, "Bob");
    ASSERT_NE(h.app->loginWindow(), nullptr);
    EXPECT_EQ(h.app->loginWindow()->Combo1()->currentText(), "Bob");
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    EXPECT_TRUE(h.prompt.shown.empty());
}

TEST(ProgramStart, PlayerOptionWithANewNameOpensTheSettings) {
    AppHarness h({{"word", "a unit"}}, "");
    StartWithPlayerOption(h, "Cara");
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

TEST(ProgramStart, LoginAppliesTheProfilesProxy) {
    AppHarness h({{"word", "a unit"}}, "");
    PlayerProfile p = NewProfile("Ann");
    p.UseProxy = 1;
    p.ProxyAddress = "cache.example.net:3128";
    h.WriteProfile(p);
    h.Start();
    h.app->loginWindow()->Combo1()->setEditText("Ann");
    h.app->loginWindow()->Command1Click();
    EXPECT_EQ(h.inet.AccessType, kNamedProxy);
    EXPECT_EQ(h.inet.Proxy, "cache.example.net:3128");
}

// Guards against menu entries and toolbar buttons that do nothing.
TEST(PlayerCommands, SettingsFromTheMenuAndTheToolbar) {
    for (const char* caption : {"&Settings", "Settings"}) {
        AppHarness h;
        h.Start();
        h.RunMenuCommand(caption);
        ASSERT_NE(h.app->settingsWindow(), nullptr) << caption;
        EXPECT_TRUE(h.app->settingsWindow()->Command3()->isEnabled());
        h.app->settingsWindow()->Command2Click();
        AppHarness::Settle();
        EXPECT_EQ(h.app->settingsWindow(), nullptr);
        EXPECT_TRUE(h.main().isVisible());
    }
}

TEST(PlayerCommands, ViewStatsFromTheMenuAndTheToolbar) {
    for (const char* caption : {"View Stats", "View Player Stats"}) {
        AppHarness h;
        h.Start();
        h.RunMenuCommand(caption);
        StatsWindow* stats = h.app->statsWindow();
        ASSERT_NE(stats, nullptr) << caption;
        ASSERT_EQ(stats->List1()->count(), 1);
        EXPECT_EQ(stats->List1()->item(0)->text().left(4), "Ann ");
    }
}

TEST(PlayerCommands, ChangeUserGoesBackToTheLogin) {
    for (const char* caption : {"Change &User", "Change User"}) {
        AppHarness h;
        h.Start();
        h.RunMenuCommand(caption);
        EXPECT_EQ(h.app->mainWindow(), nullptr) << caption;
        ASSERT_NE(h.app->loginWindow(), nullptr);
        EXPECT_TRUE(h.app->loginWindow()->isVisible());
        EXPECT_TRUE(h.s().StatusText.lines.empty());
        // The next login opens the main window anew.
        h.app->loginWindow()->Combo1()->setEditText("Ann");
        h.app->loginWindow()->Command1Click();
        AppHarness::Settle();
        ASSERT_NE(h.app->mainWindow(), nullptr);
        EXPECT_EQ(h.s().StatusText.lines.back(), "Welcome Ann.   Click Menu to begin play.");
    }
}

TEST(PlayerCommands, DeletingTheProfileGoesBackToTheLogin) {
    AppHarness h;
    h.Start();
    h.app->Settings();
    h.prompt.answers = {true};
    h.app->settingsWindow()->Command3Click();
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
    ProfileFile profiles{h.home.path().toStdString()};
    const std::vector<PlayerProfile> all = ReadProfiles(profiles);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Played, 0);
    EXPECT_EQ(all[1].Played, 1);
    EXPECT_EQ(all[1].Tied, 1);
}

}  // namespace
}  // namespace gd::test
