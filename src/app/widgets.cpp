// Click labels and the painted background of the main window.
#include "widgets.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "layout.h"

namespace gd {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed();
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void BackgroundArt::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

namespace {

// A darkened, rounded panel that keeps the elements readable on any background.
void Panel(QPainter& p, const QRect& r, int alpha = 110) {
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(QColor(0, 0, 0, alpha));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
}

void Caption(QPainter& p, const QRect& r, const QString& text, int pixelSize) {
    QFont f("DejaVu Sans", 1, QFont::Bold);
    f.setPixelSize(pixelSize);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(r.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(QColor(255, 255, 255));
    p.drawText(r, Qt::AlignCenter, text);
}

}  // namespace

void BackgroundArt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull()) {
        p.drawPixmap(rect(), picture_);
    } else {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(70, 90, 120));
        g.setColorAt(1, QColor(35, 45, 65));
        p.fillRect(rect(), g);
    }
    p.setRenderHint(QPainter::Antialiasing);
    using namespace layout;
    // The art is drawn for the window's own size; a maximised window shows it at the top left.
    const QRect board(HoleRect(35).left() - 8, HoleRect(35).top() - 8,
                      HoleRect(6).right() - HoleRect(35).left() + 17,
                      HoleRect(6).bottom() - HoleRect(35).top() + 17);
    Panel(p, board, 140);
    Panel(p, kDragbar.adjusted(8, 8, -8, 0));
    Panel(p, QRect(4, PanelCaptionRect(0).top() - 6, 168, 160));
    Panel(p, kMenuButton.adjusted(0, 0, 0, 0), 90);
    Caption(p, kMenuButton, "Menu", 24);
    Panel(p, kMinButton.adjusted(1, 1, -1, -1), 130);
    Panel(p, kCloseButton.adjusted(1, 0, -1, 0), 130);
    Caption(p, kMinButton.adjusted(0, -4, 0, -4), "_", 14);
    Caption(p, kCloseButton, "x", 14);
}

}  // namespace gd
