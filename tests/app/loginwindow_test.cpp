// The login window: its caption, the name list, the password box, refusals and both ways out.

#include "loginwindow.h"
#include "app_fixture.h"

namespace gd::test {
namespace {

struct LoginWindowTest : PlayerWindowTest {
    std::unique_ptr<LoginWindow> w;
    std::unique_ptr<QSignalSpy> in, added;
    void Open(const std::vector<PlayerProfile>& all = {}) {
        if (!all.empty()) Store(all);
        w = std::make_unique<LoginWindow>(h.s, h.sv, hooks, profiles);
        in = std::make_unique<QSignalSpy>(w.get(), &LoginWindow::loggedIn);
        added = std::make_unique<QSignalSpy>(w.get(), &LoginWindow::newUser);
        w->show();
    }
    void Choose(const QString& name) {
        w->Combo1()->setCurrentIndex(w->Combo1()->findText(name));
        w->Combo1Click();
    }
};

// Guards against a login that lists the computer, or opens outside the program's folder.
TEST_F(LoginWindowTest, OpensWithTheNamesButTheComputers) {
    Open({NewProfile("Ann"), NewProfile("Computer"), NewProfile("computer")});
    ASSERT_EQ(w->Combo1()->count(), 2);
    EXPECT_EQ(w->Combo1()->itemText(0) + w->Combo1()->itemText(1), "Anncomputer");
    EXPECT_EQ(QDir::currentPath(), QDir(folder).canonicalPath());
}

// Guards against refusals with the wrong text or that close the window, and a password box
// that does not follow the chosen name.
TEST_F(LoginWindowTest, RefusalsKeepTheWindowOpenUntilThePasswordIsRight) {
    Open({NewProfile("Ann", "Secret"), NewProfile("Bob")});
    const std::string reserved = "Sorry, that user name is reserved for the computer opponent.";
    const std::vector<std::vector<std::string>> refused{
        {"computer", "", reserved},
        {"Computer", "", reserved},
        {" COMPUTER ", "", reserved},
        {"Ann", "secret", "Invalid Password. Please Try Again"}};
    for (const auto& c : refused) {
        w->Combo1()->setEditText(QString::fromStdString(c[0]));
        w->Text1()->setText(QString::fromStdString(c[1]));
        QTest::mouseClick(w->Command1(), Qt::LeftButton);
        EXPECT_EQ(LastBox(h.prompt), Box(c[2], "Login Error")) << c[0];
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(in->count() + added->count(), 0);
    Choose("Bob");
    EXPECT_TRUE(w->Text1()->isHidden());
    Choose("Ann");
    EXPECT_FALSE(w->Text1()->isHidden());
    EXPECT_FALSE(w->Label1()->isHidden());
    w->Combo1()->setEditText("Bob");  // a typed name leaves the box as it is
    EXPECT_FALSE(w->Text1()->isHidden());
    Choose("Ann");
    w->Text1()->setText("Secret");
    w->Command1Click();
    EXPECT_EQ(in->count(), 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(h.s.LocalPlayer, "Ann");
    EXPECT_EQ(h.s.BackgroundFile, "Marble.bmp");
    EXPECT_EQ(hooks.proxy, (std::vector<std::pair<bool, std::string>>{{false, ""}}));
}

// Guards against a new name leading to the wrong next window. (The close box ending the
// program is the players' wiring test's.)
TEST_F(LoginWindowTest, NewNameGoesToTheSettings) {
    Open({NewProfile("Ann")});
    w->Combo1()->setEditText("  ann ");
    w->Command1Click();
    EXPECT_EQ(added->count(), 1);
    EXPECT_EQ(h.s.LocalPlayer, "ann");
    EXPECT_FALSE(w->isVisible());
}

}  // namespace
}  // namespace gd::test
