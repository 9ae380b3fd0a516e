// The login window: its texts, the name list, the password box, refusals and both ways out.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "loginwindow.h"
#include "player_windows_support.h"

namespace gd::test {
namespace {

struct LoginWindowTest : PlayerWindowTest {
    std::unique_ptr<LoginWindow> Open() {
        auto w = std::make_unique<LoginWindow>(h.s, h.sv, hooks, profiles);
        w->show();
        return w;
    }
    void Choose(LoginWindow& w, const QString& name) {
        w.Combo1()->setCurrentIndex(w.Combo1()->findText(name));
        w.Combo1Click();
    }
};

TEST_F(LoginWindowTest, OpensWithCaptionInstructionsAndNames) {
    Store({NewProfile("Ann"), NewProfile("Computer"), NewProfile("computer")});
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "Glyphdrop v1.1 - Login");
    EXPECT_EQ(w->Label2()->text(),
              "Enter or select your user name and enter your password if you have chosen to use "
              "one.\n\nNew users, enter your name or a nick-name that you wish to be know as.");
    ASSERT_EQ(w->Combo1()->count(), 2);
    EXPECT_EQ(w->Combo1()->itemText(0), "Ann");
    EXPECT_EQ(w->Combo1()->itemText(1), "computer");
    EXPECT_EQ(QDir::currentPath(), QDir(folder).canonicalPath());
}

// Guards against refusals that close the window or show the wrong text.
TEST_F(LoginWindowTest, RefusalsKeepTheWindowOpen) {
    auto w = Open();
    QSignalSpy in(w.get(), &LoginWindow::loggedIn);
    QSignalSpy added(w.get(), &LoginWindow::newUser);
    w->Combo1()->setEditText("A");
    QTest::mouseClick(w->Command1(), Qt::LeftButton);
    EXPECT_EQ(LastMessage(), "Please enter or select your user name.");
    EXPECT_EQ(LastTitle(), "Login Error");
    w->Combo1()->setEditText("COMPUTER");
    QTest::mouseClick(w->Command1(), Qt::LeftButton);
    EXPECT_EQ(LastMessage(), "Sorry, that user name is reserved for the computer opponent.");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(in.count() + added.count(), 0);
}

TEST_F(LoginWindowTest, PasswordInForceIsAskedFor) {
    Store({NewProfile("Ann", "Secret"), NewProfile("Bob")});
    auto w = Open();
    QSignalSpy in(w.get(), &LoginWindow::loggedIn);
    Choose(*w, "Bob");
    EXPECT_TRUE(w->Text1()->isHidden());
    Choose(*w, "Ann");
    EXPECT_FALSE(w->Text1()->isHidden());
    EXPECT_FALSE(w->Label1()->isHidden());
    // A typed name leaves the box as it is.
    w->Combo1()->setEditText("Bob");
    EXPECT_FALSE(w->Text1()->isHidden());
    Choose(*w, "Ann");
    w->Text1()->setText("secret");
    w->Command1Click();
    EXPECT_EQ(LastMessage(), "Invalid Password. Please Try Again");
    EXPECT_EQ(in.count(), 0);
    w->Text1()->setText("Secret");
    w->Command1Click();
    EXPECT_EQ(in.count(), 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(h.s.LocalPlayer, "Ann");
    EXPECT_EQ(h.s.BackgroundFile, "Marble.bmp");
    ASSERT_EQ(hooks.proxy.size(), 1u);
    EXPECT_FALSE(hooks.proxy[0].first);
}

TEST_F(LoginWindowTest, NewNameGoesToTheSettings) {
    Store({NewProfile("Ann")});
    auto w = Open();
    QSignalSpy added(w.get(), &LoginWindow::newUser);
    QSignalSpy quit(w.get(), &LoginWindow::closedByUser);
    w->Combo1()->setEditText("  ann ");
    w->Command1Click();
    EXPECT_EQ(added.count(), 1);
    EXPECT_EQ(h.s.LocalPlayer, "ann");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(quit.count(), 0);
}

TEST_F(LoginWindowTest, CloseBoxEndsTheProgram) {
    auto w = Open();
    QSignalSpy quit(w.get(), &LoginWindow::closedByUser);
    w->close();
    EXPECT_EQ(quit.count(), 1);
}

}  // namespace
}  // namespace gd::test
