// Small element kinds of the windows: a label that reports clicks, presses and mouse movement,
// and the background container that paints the board's art.
#pragma once

#include <QLabel>
#include <QPixmap>

namespace gd {

// A picture or transparent label that acts as a button: `clicked` on release over it,
// `pressed` the moment the button goes down, `mouseMoved` on any movement over it.
// A label made a command (`SetCommand`) is also a keyboard button: it takes Tab focus, draws a
// focus frame, clicks on Space or Enter, and presents itself to accessibility as a push button
// whose press action clicks. Other labels (pictures, captions, board cells) take no focus.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent) : QLabel(parent) {}
    // Makes this label a command, named `name` for accessibility (empty: its text or tool tip).
    void SetCommand(const QString& name = QString());
    bool IsCommand() const { return command_; }
    // The name it is announced by: its accessible name, else its text, else its tool tip.
    QString CommandName() const;
    // Installs the accessibility factory that presents commands as push buttons; once per
    // program, before the first window is shown (repeated calls do nothing).
    static void InstallAccessibility();

  signals:
    void clicked();
    void pressed();
    void mouseMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool command_ = false;
};

// `main1`: covers the whole client area with the background picture, stretched, and draws the
// frames and captions of the board art over it. A null picture leaves a plain background.
class BackgroundArt : public QWidget {
    Q_OBJECT
  public:
    explicit BackgroundArt(QWidget* parent) : QWidget(parent) {}
    void SetPicture(const QPixmap& picture);
    bool HasPicture() const { return !picture_.isNull(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace gd
