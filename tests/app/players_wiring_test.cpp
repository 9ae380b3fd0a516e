// The program through its players' windows: the login, --player, --skill, deleting a profile
// and game results.

#include "app_fixture.h"
#include "settingswindow.h"

namespace gd::test {
namespace {

// A program folder with one word and `profiles`, started with these options.
struct ProgramStart : ::testing::Test {
    AppHarness h{{{"word", "a unit"}}, ""};
    void Start(const std::vector<PlayerProfile>& profiles, const std::string& player = "",
               int skill = 0) {
        if (!profiles.empty()) WriteProfiles(h.File("players.dat"), profiles);
        h.options.player = player;
        h.options.skill = skill;
        h.Start();
    }
};

// Guards against the program skipping the login, the login leading nowhere, or its proxy
// not reaching the transfer control.
TEST_F(ProgramStart, OpensAtTheLoginAndLogsOnWithTheProfilesProxy) {
    PlayerProfile p = NewProfile("Ann");
    p.UseProxy = 1;
    p.ProxyAddress = "cache.example.net:3128";
    Start({p});
    ASSERT_NE(h.app->loginWindow(), nullptr);
    h.LogIn("Ann");
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.inet.AccessType, kNamedProxy);
    EXPECT_EQ(h.inet.Proxy, "cache.example.net:3128");
}

TEST_F(ProgramStart, ClosingTheLoginEndsTheProgram) {
    Start({});
    h.app->loginWindow()->close();
    EXPECT_TRUE(h.app->ending());
}

// Guards against --player getting round a password, and --skill holding only when --player
// logs on by itself.
TEST_F(ProgramStart, PlayerOptionStopsAtAPasswordAndSkillHoldsThroughTheLogin) {
    Start({NewProfile("Bob", "Secret")}, "Bob", 1);
    ASSERT_NE(h.app->loginWindow(), nullptr);
    EXPECT_EQ(h.app->loginWindow()->Combo1()->currentText(), "Bob");
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    EXPECT_TRUE(h.prompt.shown.empty());
    h.app->loginWindow()->Text1()->setText("Secret");
    h.LogIn("Bob");
    ASSERT_NE(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.s().CurrentComputerSkill, 1);
}

// Saving the new profile on to the main window is the installed program's whole-program check.
TEST_F(ProgramStart, PlayerOptionWithANewNameOpensTheSettings) {
    Start({}, "Cara");
    ASSERT_NE(h.app->settingsWindow(), nullptr);
    EXPECT_EQ(h.app->settingsWindow()->Label15()->text(), "Cara");
}

TEST(PlayerCommands, DeletingTheProfileGoesBackToTheLogin) {
    AppHarness h;
    h.Start();
    h.app->Settings();
    h.prompt.answers = {true};
    QTest::mouseClick(h.app->settingsWindow()->Command3(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    ASSERT_NE(h.app->loginWindow(), nullptr);
    EXPECT_EQ(h.app->loginWindow()->Combo1()->count(), 0);
}

}  // namespace
}  // namespace gd::test
