// The program's icon: one drawing, painted as PNGs of any size and written as an SVG.
#include <QFont>
#include <QPainterPath>
#include <QTransform>
#include <cstdio>

#include "art.h"

namespace gdart {
namespace {

// The drawing lives on a 64 x 64 grid: a blue board whose holes are empty above a yellow
// piece and, on the bottom row, the four letters of a word.
constexpr double kGrid = 64;
const QColor kBoard(42, 92, 196);
const QColor kBoardEdge(20, 44, 110);
const QColor kHole(14, 24, 52);
const QColor kRed(206, 44, 44);
const QColor kYellow(246, 204, 40);

struct Disc {
    double x, y;  // centre
    QColor fill;
    char letter;  // 0: none
    QColor ink;
};

std::vector<Disc> Discs() {
    std::vector<Disc> discs;
    const double step = 14, first = 11;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) {
            const bool piece = row == 2 && column == 1;
            discs.push_back(
                {first + step * column, first + step * row, piece ? kYellow : kHole, 0, Qt::black});
        }
    const char word[] = "DROP";
    for (int column = 0; column < 4; ++column) {
        const bool red = column % 2 == 0;
        discs.push_back({first + step * column, first + step * 3, red ? kRed : kYellow,
                         word[column], red ? QColor(255, 255, 255) : QColor(70, 44, 0)});
    }
    return discs;
}

constexpr double kRadius = 6;

// The letter's outline, centred on the disc, so that PNG and SVG need no font to agree.
QPainterPath Letter(const Disc& disc) {
    QFont font("DejaVu Sans");
    font.setPixelSize(100);
    font.setBold(true);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QString(QChar(disc.letter)));
    const QRectF bounds = glyph.boundingRect();
    const double scale = 6.4 / bounds.height();
    QTransform place;
    place.translate(disc.x, disc.y);
    place.scale(scale, scale);
    place.translate(-bounds.center().x(), -bounds.center().y());
    return place.map(glyph);
}

QPainterPath Board() {
    QPainterPath board;
    board.addRoundedRect(QRectF(1, 1, kGrid - 2, kGrid - 2), 10, 10);
    return board;
}

std::string Hex(const QColor& c) {
    return c.name().toStdString();
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string PathData(const QPainterPath& path) {
    std::string d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement) d += i ? "ZM" : "M";
        if (e.type == QPainterPath::LineToElement) d += "L";
        if (e.type == QPainterPath::CurveToElement) d += "C";
        if (e.type == QPainterPath::CurveToDataElement) d += " ";
        d += Number(e.x) + " " + Number(e.y);
    }
    return d + "Z";
}

}  // namespace

QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    p.setPen(QPen(kBoardEdge, 2));
    p.setBrush(kBoard);
    p.drawPath(Board());
    for (const Disc& disc : Discs()) {
        p.setPen(Qt::NoPen);
        p.setBrush(disc.fill);
        p.drawEllipse(QPointF(disc.x, disc.y), kRadius, kRadius);
        if (!disc.letter) continue;
        p.setBrush(disc.ink);
        p.drawPath(Letter(disc));
    }
    return image;
}

std::string IconSvg() {
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
        "viewBox=\"0 0 64 64\">\n";
    svg += "  <path d=\"" + PathData(Board()) + "\" fill=\"" + Hex(kBoard) + "\" stroke=\"" +
           Hex(kBoardEdge) + "\" stroke-width=\"2\"/>\n";
    for (const Disc& disc : Discs()) {
        svg += "  <circle cx=\"" + Number(disc.x) + "\" cy=\"" + Number(disc.y) + "\" r=\"" +
               Number(kRadius) + "\" fill=\"" + Hex(disc.fill) + "\"/>\n";
        if (disc.letter)
            svg += "  <path d=\"" + PathData(Letter(disc)) + "\" fill=\"" + Hex(disc.ink) +
                   "\" fill-rule=\"evenodd\"/>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace gdart
