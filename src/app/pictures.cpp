// Loading the pictures beside the program and painting the ones that are missing.
#include "pictures.h"

#include <QGuiApplication>
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

// An empty picture of w x h at the screen's density.
QPixmap Transparent(int w, int h) {
    const int scale = Pictures::ScreenScale();
    QPixmap pm(w * scale, h * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    return pm;
}

// "dir/name.ext" as "dir/name@2x.ext".
std::string TwiceName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "@2x";
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

// The picture at `path` with device pixel ratio `ratio`; null when missing or unreadable.
QPixmap Read(const std::string& path, int ratio) {
    QPixmap pm;
    if (!FileExists(path)) return pm;
    QImageReader reader(ToQ(path));
    // A damaged file must not cost a huge allocation: refuse pictures beyond a sane size.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 8000 || size.height() > 8000)) return pm;
    QImage image = reader.read();
    if (image.isNull()) return pm;
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

// A plain stand-in for a picture file that is missing: a framed face with a word on it, or a
// lamp for the lights, at the size of the element that shows it; a toolbar icon's shows its
// initial.
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
    const QString tool = name.startsWith("tool_") ? name.mid(5, 1).toUpper() : QString();
    Face face{"", tool.isEmpty() ? QSize(30, 29) : QSize(24, 24), "?"};
    for (const Face& f : faces)
        if (name == f.name) face = f;
    QPixmap pm = Transparent(face.size.width(), face.size.height());
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(QColor(235, 235, 240));
    const QRect area(QPoint(0, 0), face.size);
    p.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    QFont f("DejaVu Sans", 1, QFont::Bold);
    f.setPixelSize(face.size.height() > 40 ? 13 : 10);
    p.setFont(f);
    p.setPen(QColor(40, 45, 70));
    p.drawText(area, Qt::AlignCenter, tool.isEmpty() ? QString(face.text) : tool);
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
    QPixmap pm = LoadFile(FromQ(folder_ + "/" + file));
    if (pm.isNull() || pm.devicePixelRatio() < ScreenScale()) missing_.append(file);
    if (pm.isNull()) pm = paint();
    cache_.insert(file, pm);
    return pm;
}

void Pictures::UseTilesOf(const std::string& boardFile) {
    const QString board = ToQ(boardFile);
    const QString own = board.left(board.lastIndexOf('.')) + "_";
    tiles_ = FileExists(FindFileNoCase(FromQ(folder_ + "/" + own + "blank.png"))) ? own : "";
}

QPixmap Pictures::ForCell(Picture picture, const std::string& tag) {
    if (picture == Picture::None) return QPixmap();
    const int n = LetterNumber(tag);
    if (picture == Picture::Blank || n < 0) return FromFileOr(tiles_ + "blank.png", PaintEmptyHole);
    const char letter = static_cast<char>('a' + n);
    return FromFileOr(tiles_ + ColourPrefix(picture) + "_" + QChar(letter) + ".png",
                      [&] { return PaintLetterTile(picture, letter); });
}

QPixmap Pictures::Named(const QString& name) {
    return FromFileOr(name + ".png", [name] { return PaintStandIn(name); });
}

QIcon Pictures::ToolIcon(const QString& name) {
    const QString file = "tool_" + name + ".png";
    return QIcon(FromFileOr(file, [file] { return PaintStandIn(file); }));
}

QPixmap Pictures::LoadFile(const std::string& file) {
    const std::string one = FindFileNoCase(file);
    if (ScreenScale() == 2) {
        // The twin of the very file found: a player's own picture in his folder is not shown
        // as the shipped picture's twin of the same name.
        const std::string twice = FindFileNoCase(TwiceName(file));
        if (!FileExists(one) || ToQ(twice).section('/', 0, -2) == ToQ(one).section('/', 0, -2)) {
            const QPixmap pm = Read(twice, 2);
            if (!pm.isNull()) return pm;
        }
    }
    return Read(one, 1);
}

int Pictures::ScreenScale() {
    return qGuiApp && qGuiApp->devicePixelRatio() >= 1.5 ? 2 : 1;
}

}  // namespace gd
