// The high-contrast tiles and holes: flat, outlined and told apart by shape as well as colour.
#include "contrast.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "art.h"

namespace gdart {
namespace {

QColor Colour(const contrast::Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

// Blue tiles are round, orange ones square and a finished word's tiles eight-sided, so a
// player who cannot tell the colours apart still tells the tiles apart.
QPainterPath TileShape(int colour, const QRectF& r) {
    QPainterPath shape;
    if (colour == 0) {
        shape.addEllipse(r);
    } else if (colour == 1) {
        shape.addRoundedRect(r, 3, 3);
    } else {
        const double cut = r.width() * 0.29;
        shape.addPolygon(
            QPolygonF({r.topLeft() + QPointF(cut, 0), r.topRight() - QPointF(cut, 0),
                       r.topRight() + QPointF(0, cut), r.bottomRight() - QPointF(0, cut),
                       r.bottomRight() - QPointF(cut, 0), r.bottomLeft() + QPointF(cut, 0),
                       r.bottomLeft() - QPointF(0, cut), r.topLeft() + QPointF(0, cut)}));
        shape.closeSubpath();
    }
    return shape;
}

}  // namespace

QImage ContrastTile(char letter, int colour, int scale) {
    const contrast::Tile& tile = contrast::kTiles[colour];
    QImage image = Canvas(32, 32, scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A light outline around the flat face keeps every tile clear of the dark ground.
    p.setPen(QPen(Colour(contrast::kInk), 2));
    p.setBrush(Colour(tile.base));
    p.drawPath(TileShape(colour, QRectF(1.5, 1.5, 29, 29)));
    QFont font("DejaVu Sans");
    font.setPixelSize(letter == 'm' || letter == 'w' ? 17 : 20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Colour(tile.letter));
    p.drawText(QRectF(1.5, 1.5, 29, 29), Qt::AlignCenter, QString(QChar(letter)).toUpper());
    return image;
}

QImage ContrastHole(int scale) {
    QImage image = Canvas(32, 32, scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QColor rim = Colour(contrast::kInk);
    rim.setAlpha(200);
    p.setPen(QPen(rim, 1.5));
    p.setBrush(Colour(contrast::kGround));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    return image;
}

}  // namespace gdart
