// The menu window's toolbar pictograms.
#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include "art.h"

namespace gdart {

const std::vector<const char*>& ToolNames() {
    static const std::vector<const char*> names = {"computer", "lan",        "internet", "stats",
                                                   "user",     "settings",   "wordlist", "help",
                                                   "about",    "fullscreen", "exit",     "hint"};
    return names;
}

// In one hand so they share a style.
QImage ToolIcon(const std::string& name, int scale) {
    QImage image = Canvas(24, 24, scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 50);
    const QColor blue(40, 90, 200), red(200, 45, 40), green(30, 140, 60);
    p.setPen(QPen(ink, 1.4));
    if (name == "computer") {
        p.setBrush(QColor(80, 160, 230));
        p.drawRoundedRect(QRectF(3, 3, 18, 13), 2, 2);
        p.setBrush(ink);
        p.drawRect(QRectF(10, 16, 4, 3));
        p.drawRect(QRectF(6, 19, 12, 2));
    } else if (name == "lan") {
        p.setBrush(blue);
        p.drawRect(QRectF(2, 3, 8, 6));
        p.drawRect(QRectF(14, 3, 8, 6));
        p.drawRect(QRectF(8, 15, 8, 6));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(6, 9), QPointF(6, 12), QPointF(18, 12), QPointF(18, 9)}));
        p.drawLine(QPointF(12, 12), QPointF(12, 15));
    } else if (name == "internet") {
        p.setBrush(QColor(120, 190, 240));
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(8, 2.5, 8, 19));
        p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
        p.drawLine(QPointF(4.5, 7), QPointF(19.5, 7));
        p.drawLine(QPointF(4.5, 17), QPointF(19.5, 17));
    } else if (name == "stats") {
        p.setBrush(blue);
        p.drawRect(QRectF(3, 12, 4, 9));
        p.setBrush(red);
        p.drawRect(QRectF(10, 5, 4, 16));
        p.setBrush(green);
        p.drawRect(QRectF(17, 9, 4, 12));
    } else if (name == "user") {
        p.setBrush(QColor(230, 190, 150));
        p.drawEllipse(QRectF(8, 2.5, 8, 8));
        p.setBrush(blue);
        p.drawChord(QRectF(4, 12, 16, 18), 0, 180 * 16);
    } else if (name == "settings") {
        p.setBrush(QColor(150, 150, 160));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(12, 12);
            p.rotate(i * 45);
            p.drawRect(QRectF(-2, -11, 4, 5));
            p.restore();
        }
        p.drawEllipse(QRectF(5, 5, 14, 14));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(9.5, 9.5, 5, 5));
    } else if (name == "wordlist") {
        p.setBrush(QColor(160, 60, 40));
        p.drawRect(QRectF(4, 3, 16, 18));
        p.setBrush(QColor(250, 245, 230));
        p.drawRect(QRectF(7, 6, 10, 12));
        p.setPen(QPen(ink, 1));
        for (int y = 9; y <= 15; y += 3)
            p.drawLine(QPointF(9, y), QPointF(15, y));
    } else if (name == "help" || name == "about") {
        p.setBrush(name == "help" ? blue : green);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(2, 2, 20, 20));
        p.setPen(Qt::white);
        QFont font("DejaVu Sans");
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, name == "help" ? "?" : "i");
    } else if (name == "fullscreen") {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 5, 18, 14));
        p.setPen(QPen(ink, 2));
        p.drawLine(QPointF(6, 8), QPointF(10, 8));
        p.drawLine(QPointF(6, 8), QPointF(6, 11));
        p.drawLine(QPointF(18, 16), QPointF(14, 16));
        p.drawLine(QPointF(18, 16), QPointF(18, 13));
    } else if (name == "exit") {
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(4, 2.5, 11, 19));
        p.setPen(QPen(red, 2.2));
        p.drawLine(QPointF(12, 12), QPointF(21, 12));
        p.drawLine(QPointF(21, 12), QPointF(18, 9));
        p.drawLine(QPointF(21, 12), QPointF(18, 15));
    } else if (name == "hint") {
        // A lit bulb: rays, a glass lit from the upper left, a screw base.
        p.setPen(QPen(QColor(230, 160, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 0.8), QPointF(12, 2.4));
        p.drawLine(QPointF(3.2, 4.2), QPointF(4.4, 5.4));
        p.drawLine(QPointF(20.8, 4.2), QPointF(19.6, 5.4));
        p.drawLine(QPointF(1, 11), QPointF(2.6, 11));
        p.drawLine(QPointF(23, 11), QPointF(21.4, 11));
        QPainterPath glass;
        glass.moveTo(9, 17);
        glass.cubicTo(9, 14, 5, 13, 5, 10);
        glass.cubicTo(5, 6, 8.2, 3.5, 12, 3.5);
        glass.cubicTo(15.8, 3.5, 19, 6, 19, 10);
        glass.cubicTo(19, 13, 15, 14, 15, 17);
        glass.closeSubpath();
        QRadialGradient light(QPointF(10, 8), 10);
        light.setColorAt(0, QColor(255, 250, 200));
        light.setColorAt(1, QColor(250, 200, 40));
        p.setPen(QPen(ink, 1.4));
        p.setBrush(light);
        p.drawPath(glass);
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(8.8, 17, 6.4, 4), 1, 1);
        p.drawLine(QPointF(9, 19), QPointF(15, 19));
        p.setBrush(ink);
        p.drawEllipse(QRectF(10.8, 21, 2.4, 1.8));
    }
    return image;
}

}  // namespace gdart
