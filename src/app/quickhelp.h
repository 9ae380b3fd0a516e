// The quick help window `quickhelp`: the object of the game, how to play and the four word
// directions, with a way into the full help.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <string>

class QLabel;
class QPushButton;

namespace gd {

// The text of the "Word Direction" frame: a heading, an empty line, the four directions.
std::string WordDirectionText();

class QuickHelpWindow : public QWidget {
    Q_OBJECT
  public:
    // `logo` is the product logo; without one the window shows the name in text.
    explicit QuickHelpWindow(const QPixmap& logo = {}, QWidget* parent = nullptr);

    // "Open Full Help": the help contents, then the window closes.
    void Command2Click();
    // "Close Quick Help".
    void Command1Click();

    QLabel* ObjectText() const { return objectText_; }
    QLabel* HowToPlayText() const { return howToPlayText_; }
    QLabel* WordDirectionLabel() const { return directionText_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }

  private:
    QLabel* objectText_;
    QLabel* howToPlayText_;
    QLabel* directionText_;
    QPushButton* command1_;
    QPushButton* command2_;
};

// `Image9`: the window, not modal; one already open is only brought forward.
QuickHelpWindow* ShowQuickHelp(const QPixmap& logo = {});

// The illustration of the four reading directions on a small board.
QPixmap PaintWordDirections();

}  // namespace gd
