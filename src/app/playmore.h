// The game-over window `playmore`: the result line and the question whether to play again. It
// stays in front of the main window until it is answered.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace gd {

class Application;

class PlayMore : public QWidget {
    Q_OBJECT
  public:
    PlayMore(Application& app, QWidget* mainWindow);
    // Size and place over the main window, and the result line.
    void Load();

    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // The result line as high as its wrapped text, the question and buttons below it.
    void PlaceElements();

    Application& app_;
    QWidget* main_;
    QLabel* label1_;
    QLabel* label2_;
    QPushButton* command1_;
    QPushButton* command2_;
};

}  // namespace gd
