// The eight board backgrounds: a texture each, under the frame art of the main window.
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

#include "art.h"
#include "contrast.h"

namespace gdart {
namespace {

// Places of the main window's elements, in twips as the window lays them out.
constexpr int kHoleLeft[7] = {2652, 3280, 3905, 4515, 5140, 5770, 6400};
constexpr int kHoleTop[6] = {852, 1480, 2110, 2740, 3372, 4005};  // top row first
constexpr int kPieceLeft[2] = {7470, 8010};
constexpr int kPieceTop[4] = {1650, 2190, 2730, 3270};
constexpr double kHoleSize = 32;

QColor Rgb(double r, double g, double b) {
    return QColor(std::clamp(static_cast<int>(r), 0, 255), std::clamp(static_cast<int>(g), 0, 255),
                  std::clamp(static_cast<int>(b), 0, 255));
}

QColor Scale(const QColor& c, double f) {
    return Rgb(c.red() * f, c.green() * f, c.blue() * f);
}

// Shades each pixel by its place in window coordinates, so a 2x picture samples the same
// texture twice as finely.
template <typename Shade>
void ForEachPixel(QImage& image, Shade shade) {
    const double scale = image.devicePixelRatio();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = shade(x / scale, y / scale).rgb();
    }
}

// ---- Textures ------------------------------------------------------------------------------

void Bricks(QImage& image) {
    constexpr int kBrickW = 44, kBrickH = 20, kMortar = 3;
    const QColor mortar(196, 188, 172);
    ForEachPixel(image, [&](double fx, double fy) {
        const int x = static_cast<int>(fx), y = static_cast<int>(fy);
        const int row = y / kBrickH;
        const int shifted = x + (row % 2) * (kBrickW / 2);
        const int column = shifted / kBrickW;
        const int bx = shifted % kBrickW, by = y % kBrickH;
        const double grain = Fractal(fx / 6.0, fy / 6.0, 3, 11);
        if (bx < kMortar || by < kMortar) return Scale(mortar, 0.85 + 0.25 * grain);
        Random tint(static_cast<std::uint32_t>(row * 977 + column * 131 + 5));
        const QColor brick =
            Rgb(150 + tint.Range(-18, 18), 72 + tint.Range(-12, 12), 52 + tint.Range(-10, 10));
        double light = 0.82 + 0.3 * grain + 0.08 * Noise(fx / 2.0, fy / 2.0, 3);
        if (by == kMortar) light *= 1.12;  // top edge catches the light
        if (by == kBrickH - 1) light *= 0.85;
        return Scale(brick, light);
    });
}

void Flowers(QImage& image) {
    ForEachPixel(image, [](double x, double y) {
        const double grass = Fractal(x / 40.0, y / 40.0, 4, 21);
        const double blade = Noise(x / 1.5, y / 7.0, 22);
        return Mix(QColor(178, 212, 140), QColor(104, 156, 88), 0.3 + 0.5 * grass + 0.2 * blade);
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor petals[] = {QColor(250, 250, 255), QColor(255, 190, 210), QColor(250, 230, 120),
                             QColor(200, 170, 240), QColor(255, 160, 130)};
    Random random(2024);
    for (int i = 0; i < 170; ++i) {
        const QPointF centre(random.Range(0, kWindowWidth), random.Range(0, kWindowHeight));
        const double radius = random.Range(5, 11);
        const QColor colour = petals[random.Next() % 5];
        const double turn = random.Range(0, 72);
        p.save();
        p.translate(centre);
        p.rotate(turn);
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 5; ++k) {
            p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 190));
            p.drawEllipse(QRectF(-radius * 0.35, -radius * 1.05, radius * 0.7, radius));
            p.rotate(72);
        }
        p.setBrush(QColor(240, 190, 40, 230));
        p.drawEllipse(QRectF(-radius * 0.28, -radius * 0.28, radius * 0.56, radius * 0.56));
        p.restore();
    }
}

void Forest(QImage& image) {
    ForEachPixel(image, [](double x, double y) {
        const double t = y / kWindowHeight;
        const double cloud = Fractal(x / 120.0, y / 40.0, 4, 31);
        return Mix(Mix(QColor(150, 196, 228), QColor(226, 236, 214), t), QColor(255, 255, 255),
                   std::max(0.0, cloud - 0.55) * 1.5);
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor layers[] = {QColor(140, 176, 160), QColor(92, 140, 104), QColor(52, 100, 62),
                             QColor(28, 66, 38)};
    Random random(77);
    for (int layer = 0; layer < 4; ++layer) {
        const double base = 170 + layer * 80;
        p.setPen(Qt::NoPen);
        p.setBrush(layers[layer]);
        p.drawRect(QRectF(0, base, kWindowWidth, kWindowHeight - base));
        for (double x = -20; x < kWindowWidth + 20; x += random.Range(14, 30)) {
            const double height = random.Range(60, 120) * (0.7 + 0.15 * layer);
            const double width = height * 0.42;
            for (int tier = 0; tier < 3; ++tier) {
                const double top = base - height + tier * height * 0.22;
                const double w = width * (0.55 + 0.25 * tier);
                const double bottom = top + height * 0.45;
                p.drawPolygon(QPolygonF(
                    {QPointF(x, top), QPointF(x + w / 2, bottom), QPointF(x - w / 2, bottom)}));
            }
            p.drawRect(QRectF(x - 1.5, base - height * 0.2, 3, height * 0.2));
        }
    }
}

void Marble(QImage& image) {
    ForEachPixel(image, [](double x, double y) {
        const double turbulence = Fractal(x / 110.0, y / 110.0, 6, 41);
        const double v = std::sin(x * 0.018 + y * 0.03 + 9 * turbulence);
        const double vein = std::pow(1 - std::fabs(v), 7);
        const double fine = std::pow(
            1 - std::fabs(std::sin(x * 0.05 - y * 0.02 + 14 * Fractal(x / 60.0, y / 60.0, 5, 43))),
            16);
        const double cloud = Fractal(x / 200.0, y / 200.0, 4, 47);
        QColor stone = Mix(QColor(238, 236, 230), QColor(214, 210, 204), cloud);
        stone = Mix(stone, QColor(128, 130, 140), 0.65 * vein);
        return Mix(stone, QColor(170, 160, 150), 0.35 * fine);
    });
}

void Steel(QImage& image) {
    ForEachPixel(image, [](double x, double y) {
        const double brush =
            Noise(x / 180.0, y * 1.7, 51) * 0.6 + Noise(x / 30.0, y * 3.1, 52) * 0.4;
        const double sheen = 0.5 + 0.5 * std::sin((x + y * 0.6) / 160.0);
        const double light = 0.78 + 0.16 * brush + 0.1 * sheen;
        return Scale(QColor(168, 176, 186), light);
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Plate seams with rivets along them.
    for (int seam : {160, 480}) {
        p.setPen(QPen(QColor(90, 96, 106, 150), 1));
        p.drawLine(QPointF(seam, 0), QPointF(seam, kWindowHeight));
        p.setPen(QPen(QColor(230, 234, 240, 120), 1));
        p.drawLine(QPointF(seam + 1, 0), QPointF(seam + 1, kWindowHeight));
    }
    for (int x : {150, 170, 470, 490}) {
        for (int y = 60; y < kWindowHeight; y += 90) {
            QRadialGradient rivet(QPointF(x - 1, y - 1), 4);
            rivet.setColorAt(0, QColor(240, 244, 248));
            rivet.setColorAt(1, QColor(100, 106, 118));
            p.setPen(Qt::NoPen);
            p.setBrush(rivet);
            p.drawEllipse(QPointF(x, y), 3.2, 3.2);
        }
    }
}

void Sunset(QImage& image) {
    constexpr double kHorizon = 318;
    const QPointF sun(420, kHorizon - 26);
    ForEachPixel(image, [&](double x, double y) {
        if (y < kHorizon) {
            const double t = y / kHorizon;
            QColor sky = t < 0.55
                             ? Mix(QColor(58, 42, 98), QColor(200, 90, 110), t / 0.55)
                             : Mix(QColor(200, 90, 110), QColor(252, 176, 84), (t - 0.55) / 0.45);
            const double streak = Fractal(x / 160.0, y / 14.0, 4, 61);
            sky = Mix(sky, QColor(255, 210, 170), std::max(0.0, streak - 0.58) * 1.6 * t);
            const double d = std::hypot(x - sun.x(), y - sun.y());
            return Mix(sky, QColor(255, 236, 170), std::exp(-d / 60.0) * 0.8);
        }
        const double t = (y - kHorizon) / (kWindowHeight - kHorizon);
        QColor sea = Mix(QColor(92, 60, 96), QColor(30, 26, 60), t);
        const double ripple = Noise(x / 40.0, y / 2.5, 62);
        const double glitter = std::exp(-std::fabs(x - sun.x()) / (30 + 60 * t)) * ripple;
        return Mix(sea, QColor(255, 190, 110), glitter * 0.9);
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(sun, 30);
    disc.setColorAt(0, QColor(255, 250, 220));
    disc.setColorAt(1, QColor(255, 200, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.setClipRect(QRectF(0, 0, kWindowWidth, kHorizon));
    p.drawEllipse(sun, 30, 30);
}

void Undersea(QImage& image) {
    ForEachPixel(image, [](double x, double y) {
        const double t = y / kWindowHeight;
        QColor water = Mix(QColor(52, 150, 190), QColor(12, 44, 96), t);
        // Light shafts from the surface, wavering with depth.
        const double shaft = std::pow(
            std::max(0.0, std::sin((x + y * 0.45) / 38.0 + 3 * Noise(x / 90.0, y / 90.0, 71))), 8);
        water = Mix(water, QColor(170, 230, 240), shaft * 0.25 * (1 - t));
        const double sandLine = 405 + 10 * std::sin(x / 70.0) + 8 * Noise(x / 30.0, 0, 72);
        if (y > sandLine) {
            const double grain = Fractal(x / 3.0, y / 3.0, 3, 73);
            return Mix(QColor(196, 176, 120), QColor(140, 120, 80), grain);
        }
        return water;
    });
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Random random(88);
    // Swaying weed along the sea floor.
    for (int i = 0; i < 26; ++i) {
        const double x = random.Range(0, kWindowWidth);
        const double height = random.Range(50, 130);
        QPainterPath weed;
        weed.moveTo(x, kWindowHeight);
        for (double h = 0; h <= height; h += 6)
            weed.lineTo(x + 7 * std::sin(h / 18.0 + x), kWindowHeight - 30 - h);
        p.setPen(QPen(QColor(40, 130 + static_cast<int>(random.Range(0, 50)), 70, 210),
                      random.Range(3, 6), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(weed);
    }
    for (int i = 0; i < 60; ++i) {
        const double r = random.Range(1.5, 6);
        p.setPen(QPen(QColor(220, 245, 255, 150), 1));
        p.setBrush(QColor(220, 245, 255, 40));
        p.drawEllipse(QPointF(random.Range(0, kWindowWidth), random.Range(0, 390)), r, r);
    }
}

void Woody(QImage& image) {
    constexpr int kPlank = 64;
    ForEachPixel(image, [](double x, double y) {
        const int plank = static_cast<int>(y) / kPlank;
        const int offset = plank * 173;
        const double inPlank = y - plank * kPlank;
        const double warp = 10 * Fractal((x + offset) / 140.0, y / 30.0, 4, 81);
        const double rings = std::sin((inPlank + warp) * 0.55 + std::sin((x + offset) / 90.0) * 2);
        const double grain = 0.5 + 0.5 * rings;
        const double fleck = Noise(x / 1.2, y / 8.0, 82);
        QColor wood = Mix(QColor(206, 156, 100), QColor(150, 98, 56), 0.65 * grain + 0.2 * fleck);
        if (inPlank < 2) wood = Scale(wood, 0.6);  // the seam between planks
        return wood;
    });
}

// The high-contrast board: an even dark ground, so nothing competes with the outlines.
void Contrast(QImage& image) {
    image.fill(QColor(contrast::kGround.r, contrast::kGround.g, contrast::kGround.b));
}

// ---- Frame art -----------------------------------------------------------------------------

// A raised (or sunken) bevel around a rectangle.
void Bevel(QPainter& p, const QRectF& r, const QColor& light, const QColor& dark, bool sunken,
           double width = 1.5) {
    const QColor top = sunken ? dark : light;
    const QColor bottom = sunken ? light : dark;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(top, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QPen(bottom, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

// A framed panel; a plate (behind the window's dark labels) is opaque where the board has one.
void Panel(QPainter& p, const QRectF& r, const Background& bg, bool sunken, int alpha = 170,
           bool plate = false) {
    QColor fill = plate && bg.plate.isValid() ? bg.plate : bg.panel;
    if (!(plate && bg.plate.isValid())) fill.setAlpha(alpha);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, 4, 4);
    Bevel(p, r.adjusted(1, 1, -1, -1), bg.light, bg.dark, sunken);
}

void Socket(QPainter& p, const QPointF& centre, const Background& bg) {
    QColor shade = bg.dark;
    shade.setAlpha(90);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(centre, 18, 18);
    p.setBrush(Qt::NoBrush);
    QColor rim = bg.light;
    rim.setAlpha(150);
    p.setPen(QPen(rim, 1.2));
    p.drawArc(QRectF(centre.x() - 18, centre.y() - 18, 36, 36), 200 * 16, 140 * 16);
}

void Caption(QPainter& p, const QRectF& r, const QString& text, const QColor& ink, int size) {
    QFont font("DejaVu Sans");
    font.setPixelSize(size);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 110));
    p.drawText(r.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(ink);
    p.drawText(r, Qt::AlignCenter, text);
}

void FrameArt(QImage& image, const Background& bg) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The borderless window draws its own edge.
    Bevel(p, QRectF(1, 1, kWindowWidth - 2, kWindowHeight - 2), bg.light, bg.dark, false, 2);
    Bevel(p, QRectF(4, 4, kWindowWidth - 8, kWindowHeight - 8), bg.light, bg.dark, true, 1);

    // "Menu" where the menu opens (MenuButton), and the logo's place below it.
    const QRectF menu = TwipRect(60, 30, 1995, 615).adjusted(4, 4, -4, -2);
    Panel(p, menu, bg, false, 200);
    Caption(p, menu, "Menu", bg.ink, 20);
    Panel(p, TwipRect(330, 660, 1875, 660).adjusted(-6, -3, 6, 3), bg, false, 120);

    // Minimise and close marks (MinButton, CloseButton) and the activity light's socket.
    const QPointF minimise = TwipRect(8310, 210, 345, 345).center() - QPointF(1, 0);
    const QPointF close = TwipRect(8610, 240, 345, 285).center() + QPointF(2, 0);
    for (const QPointF& c : {minimise, close})
        Panel(p, QRectF(c.x() - 8, c.y() - 8, 16, 16), bg, false, 220);
    p.setPen(QPen(bg.ink, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(minimise + QPointF(-4, 4), minimise + QPointF(4, 4));
    p.drawLine(close + QPointF(-4, -4), close + QPointF(4, 4));
    p.drawLine(close + QPointF(4, -4), close + QPointF(-4, 4));
    const QRectF light = TwipRect(8985, 120, 180, 180);
    p.setPen(QPen(bg.dark, 1.2));
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(light.center(), 7.5, 7.5);

    // A shelf for the quick-help and sound buttons (Image9, soundbutton).
    Panel(p, TwipRect(7485, 570, 1080, 435).adjusted(-5, -4, 5, 4), bg, false, 150);

    // The board: a framed panel with a socket behind each hole and guides above the columns.
    const double boardLeft = Px(kHoleLeft[0]) - 11, boardRight = Px(kHoleLeft[6]) + kHoleSize + 7;
    const double boardTop = Px(kHoleTop[0]) - 11, boardBottom = Px(kHoleTop[5]) + kHoleSize + 10;
    const QRectF board(boardLeft, boardTop, boardRight - boardLeft, boardBottom - boardTop);
    Panel(p, board.adjusted(-3, -3, 3, 3), bg, false, 70);
    Panel(p, board, bg, true, 105);
    for (int left : kHoleLeft) {
        for (int top : kHoleTop)
            Socket(p, QPointF(Px(left) + kHoleSize / 2, Px(top) + kHoleSize / 2), bg);
        const double cx = Px(left) + kHoleSize / 2;
        QColor guide = bg.ink;
        guide.setAlpha(80);
        p.setPen(Qt::NoPen);
        p.setBrush(guide);
        p.drawPolygon(QPolygonF({QPointF(cx - 6, 30), QPointF(cx + 6, 30), QPointF(cx, 37)}));
    }

    // The piece area (dragbar) with sockets for the eight letters, and the turn caption's plate.
    const QRectF pieces = TwipRect(7020, 1110, 1875, 2985);
    Panel(p, pieces, bg, false, 120);
    Caption(p, QRectF(pieces.left(), pieces.top() + 6, pieces.width(), 18), "Your Letters", bg.ink,
            11);
    for (int left : kPieceLeft)
        for (int top : kPieceTop)
            Socket(p, QPointF(Px(left) + 16, Px(top) + 16), bg);
    Panel(p, TwipRect(7245, 4320, 1395, 285).adjusted(-5, -3, 5, 3), bg, true, 190, true);

    // The opponent panel (captions and counts) and the photo frame below it.
    Panel(p, QRectF(10, 122, 146, 186), bg, false, 175, true);
    const QRectF photo = TwipRect(510, 4950, 1545, 1305);
    Panel(p, photo.adjusted(-6, -6, 6, 6), bg, false, 170);
    Bevel(p, photo.adjusted(-1, -1, 1, 1), bg.light, bg.dark, true, 1.5);

    // The status list and the chat line with its send button.
    Panel(p, TwipRect(2520, 4890, 6045, 840).adjusted(-4, -4, 4, 4), bg, true, 200);
    Panel(p, QRectF(Px(2580) - 6, Px(6060) - 5, Px(7590) - Px(2580) + 2, 30), bg, true, 200);
    Panel(p, QRectF(Px(7590) - 2, Px(5985) - 2, 68, 32), bg, false, 200, true);
}

}  // namespace

namespace {
QColor Ink() {
    return QColor(contrast::kInk.r, contrast::kInk.g, contrast::kInk.b);
}
}  // namespace

const std::vector<Background>& Backgrounds() {
    static const std::vector<Background> backgrounds = {
        {"bricks.bmp", Bricks, QColor(240, 226, 206), QColor(255, 240, 220), QColor(70, 34, 24),
         QColor(92, 36, 22)},
        {"flowers.bmp", Flowers, QColor(246, 250, 236), QColor(255, 255, 255), QColor(50, 96, 46),
         QColor(44, 92, 40)},
        {"forest.bmp", Forest, QColor(232, 242, 226), QColor(255, 255, 245), QColor(20, 50, 26),
         QColor(24, 70, 34)},
        {"Marble.bmp", Marble, QColor(250, 249, 246), QColor(255, 255, 255), QColor(100, 100, 112),
         QColor(60, 62, 80)},
        {"steel.bmp", Steel, QColor(232, 236, 242), QColor(252, 254, 255), QColor(60, 66, 78),
         QColor(34, 44, 66)},
        {"sunset.bmp", Sunset, QColor(255, 238, 222), QColor(255, 250, 236), QColor(70, 36, 70),
         QColor(110, 44, 60)},
        {"undersea.bmp", Undersea, QColor(226, 244, 250), QColor(240, 255, 255), QColor(10, 40, 80),
         QColor(16, 60, 110)},
        {"woody.bmp", Woody, QColor(250, 236, 214), QColor(255, 246, 228), QColor(84, 50, 24),
         QColor(96, 54, 20)},
        {contrast::kBoardFile, Contrast, QColor(0, 0, 0), Ink(), QColor(150, 150, 160), Ink(),
         QColor(contrast::kPlate.r, contrast::kPlate.g, contrast::kPlate.b)},
    };
    return backgrounds;
}

QImage PaintBackground(const Background& background, int scale) {
    QImage image = Canvas(kWindowWidth, kWindowHeight, scale, QImage::Format_RGB32);
    background.paintTexture(image);
    FrameArt(image, background);
    return image;
}

}  // namespace gdart
