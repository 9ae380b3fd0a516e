// Small element kinds of the windows: a label that reports clicks, presses and mouse movement,
// and the background container that paints the board's art.
#pragma once

#include <QLabel>
#include <QPixmap>

namespace gd {

// A picture or transparent label that acts as a button: `clicked` on release over it,
// `pressed` the moment the button goes down, `mouseMoved` on any movement over it.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent) : QLabel(parent) {}

  signals:
    void clicked();
    void pressed();
    void mouseMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
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
