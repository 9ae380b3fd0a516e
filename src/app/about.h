// The about window `about`: the program's name, version and notices. It closes as soon as
// another window takes the activation.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <string>

class QLabel;
class QPushButton;

namespace gd {

class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    // `version` is ProgramVersion; `logo` the product logo (the name in text without one).
    explicit AboutWindow(const std::string& version, const QPixmap& logo = {},
                         QWidget* parent = nullptr);

    // Load: centred on the screen, caption with the version.
    void Load();
    // "OK".
    void Command1Click();
    // The technical support line: help topic 30.
    void Label3Click();

    QPushButton* Command1() const { return command1_; }
    QLabel* Label3() const { return label3_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    std::string version_;
    QPushButton* command1_;
    QLabel* label3_;
};

// "&About Glyphdrop": the window, not modal; one already open is only brought forward.
AboutWindow* ShowAbout(const std::string& version, const QPixmap& logo = {});

}  // namespace gd
