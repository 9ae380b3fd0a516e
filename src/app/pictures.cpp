// Loading the pictures beside the program and painting the ones that are missing.
#include "pictures.h"

#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <functional>

#include "board.h"
#include "files.h"
#include "qtext.h"

namespace gd {

namespace {

constexpr int kTile = 32;

QColor TileColour(Picture colour) {
    switch (colour) {
        case Picture::Blue:
            return QColor(40, 90, 200);
        case Picture::Red:
            return QColor(200, 45, 40);
        case Picture::Yellow:
            return QColor(240, 200, 40);
        default:
            return QColor(128, 128, 128);
    }
}

QString ColourPrefix(Picture colour) {
    switch (colour) {
        case Picture::Blue:
            return "blue";
        case Picture::Red:
            return "red";
        case Picture::Yellow:
            return "yel";
        default:
            return "";
    }
}

QPixmap Transparent(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// A plain stand-in for a picture file that is missing: a framed face with a word on it, or a
// lamp for the lights, at the size of the element that shows it.
QPixmap PaintStandIn(const QString& name) {
    if (name.endsWith("light")) {
        QPixmap pm = Transparent(12, 12);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor lamp = name == "onlight"    ? QColor(40, 200, 60)
                            : name == "redlight" ? QColor(220, 40, 30)
                                                 : QColor(90, 90, 90);
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(lamp);
        p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
        return pm;
    }
    struct Face {
        const char* name;
        QSize size;
        const char* text;
    };
    static const Face faces[] = {
        {"photona", {103, 87}, "No Photo"}, {"pcplayer", {103, 87}, "Computer"},
        {"soundon", {30, 29}, "On"},        {"soundoff", {30, 29}, "Off"},
        {"logo", {125, 44}, "Glyphdrop"},   {"quickhelp", {30, 29}, "?"},
    };
    Face face{"", {30, 29}, "?"};
    for (const Face& f : faces)
        if (name == f.name) face = f;
    QPixmap pm = Transparent(face.size.width(), face.size.height());
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(QColor(235, 235, 240));
    p.drawRoundedRect(QRectF(pm.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    QFont f("DejaVu Sans", 1, QFont::Bold);
    f.setPixelSize(face.size.height() > 40 ? 13 : 10);
    p.setFont(f);
    p.setPen(QColor(40, 45, 70));
    p.drawText(pm.rect(), Qt::AlignCenter, face.text);
    return pm;
}

// The toolbar's pictograms, 24 x 24, in one hand so they share a style.
QPixmap PaintToolIcon(const QString& name) {
    QPixmap pm = Transparent(24, 24);
    QPainter p(&pm);
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
        p.setFont(QFont("DejaVu Sans", 11, QFont::Bold));
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
    }
    return pm;
}

QPixmap PaintLetterTile(Picture colour, char letter) {
    QPixmap pm = Transparent(kTile, kTile);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = TileColour(colour);
    QLinearGradient g(0, 0, 0, kTile);
    g.setColorAt(0, base.lighter(135));
    g.setColorAt(1, base.darker(125));
    p.setPen(QPen(base.darker(170), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, kTile - 3, kTile - 3), 5, 5);
    QFont f("DejaVu Sans", 1, QFont::Bold);
    f.setPixelSize(19);
    p.setFont(f);
    p.setPen(colour == Picture::Yellow ? QColor(70, 40, 0) : QColor(255, 255, 255));
    p.drawText(QRect(0, 0, kTile, kTile), Qt::AlignCenter, QString(QChar(letter)).toUpper());
    return pm;
}

QPixmap PaintEmptyHole() {
    QPixmap pm = Transparent(kTile, kTile);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(kTile / 2.0, kTile / 2.0 - 3), kTile / 2.0);
    g.setColorAt(0, QColor(20, 20, 28));
    g.setColorAt(0.8, QColor(45, 45, 55));
    g.setColorAt(1, QColor(90, 90, 100));
    p.setPen(QPen(QColor(200, 200, 210, 160), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(2.5, 2.5, kTile - 5, kTile - 5));
    return pm;
}

}  // namespace

Pictures::Pictures(QString folder) : folder_(std::move(folder)) {}

QPixmap Pictures::FromFileOr(const QString& file, const std::function<QPixmap()>& paint) {
    auto it = cache_.constFind(file);
    if (it != cache_.constEnd()) return *it;
    const std::string path = FindFileNoCase(FromQ(folder_ + "/" + file));
    QPixmap pm;
    if (FileExists(path)) pm.load(ToQ(path));
    if (pm.isNull()) pm = paint();
    cache_.insert(file, pm);
    return pm;
}

QPixmap Pictures::ForCell(Picture picture, const std::string& tag) {
    if (picture == Picture::None) return QPixmap();
    const int n = LetterNumber(tag);
    if (picture == Picture::Blank || n < 0) return FromFileOr("blank.png", PaintEmptyHole);
    const char letter = static_cast<char>('a' + n);
    return FromFileOr(ColourPrefix(picture) + "_" + QChar(letter) + ".png",
                      [&] { return PaintLetterTile(picture, letter); });
}

QPixmap Pictures::Named(const QString& name) {
    return FromFileOr(name + ".png", [name] { return PaintStandIn(name); });
}

QIcon Pictures::ToolIcon(const QString& name) {
    return QIcon(FromFileOr("tool_" + name + ".png", [name] { return PaintToolIcon(name); }));
}

QPixmap Pictures::LoadFile(const std::string& file) {
    const std::string path = FindFileNoCase(file);
    QPixmap pm;
    if (!FileExists(path)) return pm;
    QImageReader reader(ToQ(path));
    // A damaged file must not cost a huge allocation: refuse pictures beyond a sane size.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 8000 || size.height() > 8000)) return pm;
    const QImage image = reader.read();
    if (!image.isNull()) pm = QPixmap::fromImage(image);
    return pm;
}

}  // namespace gd
