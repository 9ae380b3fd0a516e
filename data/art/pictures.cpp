// The small pictures: letter tiles, the empty hole, photos, loudspeaker, lights and logo.
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>

#include "art.h"

namespace gdart {
namespace {

QImage Transparent(int width, int height, int scale) {
    return Canvas(width, height, scale, QImage::Format_ARGB32_Premultiplied);
}

QFont BoldFont(double pixelSize, const char* family = "DejaVu Sans") {
    QFont font(family);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(true);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// The opponent photo's card: a soft vertical gradient; the thin frame is drawn last.
QImage PhotoCard(const QColor& top, const QColor& bottom, int scale) {
    QImage image = Transparent(103, 87, scale);
    QPainter p(&image);
    QLinearGradient back(0, 0, 0, 87);
    back.setColorAt(0, top);
    back.setColorAt(1, bottom);
    p.fillRect(QRectF(0, 0, 103, 87), back);
    return image;
}

void PhotoFrame(QPainter& p) {
    p.setPen(QColor(120, 126, 138));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 102, 86));
}

}  // namespace

QImage LetterTile(char letter, const QColor& base, const QColor& ink, int scale) {
    QImage image = Transparent(32, 32, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A soft shadow, then a domed tile lit from the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QRectF(2.5, 3.5, 28, 28));
    QRadialGradient dome(QPointF(11, 10), 20);
    dome.setColorAt(0, base.lighter(150));
    dome.setColorAt(0.55, base);
    dome.setColorAt(1, base.darker(150));
    p.setBrush(dome);
    p.setPen(QPen(base.darker(190), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 28, 28));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 4.5, 22, 22), 60 * 16, 90 * 16);

    const QString text = QString(QChar(letter)).toUpper();
    p.setFont(BoldFont(letter == 'm' || letter == 'w' ? 16 : 18));
    const QRectF box(1.5, 1.5, 28, 28);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(box.translated(0.8, 0.8), Qt::AlignCenter, text);
    p.setPen(ink);
    p.drawText(box, Qt::AlignCenter, text);
    return image;
}

QImage BlankHole(int scale) {
    QImage image = Transparent(32, 32, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A recess: dark at the top where the rim shades it, lighter towards the bottom.
    QLinearGradient depth(0, 2, 0, 30);
    depth.setColorAt(0, QColor(20, 24, 32, 235));
    depth.setColorAt(1, QColor(70, 78, 92, 225));
    p.setPen(Qt::NoPen);
    p.setBrush(depth);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.2));
    p.drawArc(QRectF(2, 2, 28, 28), 200 * 16, 140 * 16);  // lit lower rim
    p.setPen(QPen(QColor(0, 0, 0, 140), 1.2));
    p.drawArc(QRectF(2, 2, 28, 28), 20 * 16, 140 * 16);  // shaded upper rim
    return image;
}

QImage PhotoNotAvailable(int scale) {
    QImage image = PhotoCard(QColor(222, 226, 232), QColor(184, 190, 200), scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A plain head-and-shoulders outline.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 158, 170));
    p.drawEllipse(QRectF(37, 12, 29, 31));
    QPainterPath shoulders;
    shoulders.moveTo(20, 87);
    shoulders.cubicTo(20, 58, 36, 47, 51.5, 47);
    shoulders.cubicTo(67, 47, 83, 58, 83, 87);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.fillRect(QRectF(0, 62, 103, 18), QColor(255, 255, 255, 170));
    p.setPen(QColor(60, 66, 78));
    p.setFont(BoldFont(11));
    p.drawText(QRectF(0, 62, 103, 18), Qt::AlignCenter, "No Photo");
    PhotoFrame(p);
    return image;
}

QImage ComputerPlayer(int scale) {
    QImage image = PhotoCard(QColor(206, 224, 244), QColor(150, 178, 214), scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A friendly monitor with a face on its screen.
    p.setPen(QPen(QColor(50, 56, 70), 1.5));
    p.setBrush(QColor(90, 98, 116));
    p.drawRoundedRect(QRectF(18, 10, 67, 50), 6, 6);
    QLinearGradient screen(0, 15, 0, 55);
    screen.setColorAt(0, QColor(70, 170, 120));
    screen.setColorAt(1, QColor(30, 110, 80));
    p.setBrush(screen);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(24, 15, 55, 40), 3, 3);
    p.setBrush(QColor(220, 255, 230));
    p.drawEllipse(QRectF(37, 24, 7, 9));
    p.drawEllipse(QRectF(59, 24, 7, 9));
    p.setPen(QPen(QColor(220, 255, 230), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(38, 28, 27, 18), 200 * 16, 140 * 16);
    p.setPen(QPen(QColor(50, 56, 70), 1.5));
    p.setBrush(QColor(110, 118, 136));
    p.drawRect(QRectF(45, 60, 13, 8));
    p.drawRoundedRect(QRectF(30, 68, 43, 7), 3, 3);
    PhotoFrame(p);
    return image;
}

QImage Speaker(bool on, int scale) {
    QImage image = Transparent(30, 29, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(4, 11);
    body.lineTo(9, 11);
    body.lineTo(15, 5);
    body.lineTo(15, 24);
    body.lineTo(9, 18);
    body.lineTo(4, 18);
    body.closeSubpath();
    QLinearGradient metal(0, 5, 0, 24);
    metal.setColorAt(0, QColor(120, 130, 150));
    metal.setColorAt(1, QColor(50, 58, 74));
    p.setPen(QPen(QColor(30, 34, 44), 1));
    p.setBrush(metal);
    p.drawPath(body);
    if (on) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(40, 150, 80), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(12, 9.5, 8, 10), -50 * 16, 100 * 16);
        p.drawArc(QRectF(11, 5.5, 14, 18), -50 * 16, 100 * 16);
        p.drawArc(QRectF(10, 1.5, 20, 26), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(QColor(190, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 10), QPointF(27, 19));
        p.drawLine(QPointF(27, 10), QPointF(19, 19));
    }
    return image;
}

QImage QuickHelp(int scale) {
    QImage image = Transparent(30, 29, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient dome(QPointF(11, 10), 16);
    dome.setColorAt(0, QColor(120, 200, 255));
    dome.setColorAt(1, QColor(30, 100, 190));
    p.setPen(QPen(QColor(20, 60, 120), 1));
    p.setBrush(dome);
    p.drawEllipse(QRectF(2.5, 2, 25, 25));
    p.setFont(BoldFont(18));
    p.setPen(Qt::white);
    p.drawText(QRectF(2.5, 2, 25, 25), Qt::AlignCenter, "?");
    return image;
}

QImage Light(const QColor& colour, bool lit, int scale) {
    QImage image = Transparent(12, 12, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(4.5, 4.5), 7);
    glow.setColorAt(0, lit ? colour.lighter(170) : colour.lighter(115));
    glow.setColorAt(0.6, colour);
    glow.setColorAt(1, colour.darker(lit ? 160 : 200));
    p.setPen(QPen(QColor(20, 20, 20, 200), 0.8));
    p.setBrush(glow);
    p.drawEllipse(QRectF(1, 1, 10, 10));
    return image;
}

QImage Logo(int scale) {
    QImage image = Transparent(125, 44, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath word;
    word.addText(0, 0, BoldFont(26, "DejaVu Serif"), "Glyphdrop");
    // Scale the word to the picture, whatever the font's exact widths are.
    const QRectF bounds = word.boundingRect();
    const double fit = std::min(117 / bounds.width(), 34 / bounds.height());
    QTransform fitting;
    fitting.translate(62.5, 22);
    fitting.scale(fit, fit);
    fitting.translate(-bounds.center().x(), -bounds.center().y());
    word = fitting.map(word);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(word.translated(1.5, 1.5));
    QLinearGradient face(0, 6, 0, 38);
    face.setColorAt(0, QColor(255, 214, 90));
    face.setColorAt(1, QColor(214, 120, 20));
    p.setBrush(face);
    p.setPen(QPen(QColor(90, 40, 10), 1));
    p.drawPath(word);
    return image;
}

}  // namespace gdart
