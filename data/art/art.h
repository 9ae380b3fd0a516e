// Shared helpers of the generator that paints the pictures and synthesises the sounds.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace gdart {

// Size of the main window's client area, which a board background fills.
constexpr int kWindowWidth = 618;
constexpr int kWindowHeight = 449;

// A small reproducible random source, so every build paints the same pictures.
class Random {
  public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1u) {}
    std::uint32_t Next();
    double Unit() { return (Next() >> 8) / 16777216.0; }  // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

  private:
    std::uint32_t state_;
};

// Smooth lattice noise in [0, 1] and its sum over octaves ("fractal" noise).
double Noise(double x, double y, std::uint32_t seed);
double Fractal(double x, double y, int octaves, std::uint32_t seed);

QColor Mix(const QColor& a, const QColor& b, double t);

// Every picture is painted at 1x and at 2x, for screens of twice the density; the 2x file takes
// the 1x file's name with "@2x" before the extension. An image made by Canvas has the
// density as its device pixel ratio, so painters draw on it in 1x coordinates.
constexpr int kScales[] = {1, 2};
QImage Canvas(int width, int height, int scale, QImage::Format format);
std::string ScaledName(const std::string& file, int scale);

// Window coordinates are given in twips, 15 to the pixel.
constexpr double Px(int twips) {
    return twips / 15.0;
}
QRectF TwipRect(int left, int top, int width, int height);

// Writes an image as an uncompressed 24-bit BMP; returns false on a write error.
bool SaveBmp24(const QImage& image, const std::string& path);

// The board backgrounds: each paints its own texture, then the common frame art.
struct Background {
    const char* file;
    void (*paintTexture)(QImage&);
    QColor panel;  // fill of the framed panels
    QColor light;  // bevel highlight
    QColor dark;   // bevel shadow
    QColor ink;    // "Menu" word and window marks
    // Opaque fill behind the window's dark-lettered labels (opponent panel, turn caption, "Send");
    // when not set, those sit on the translucent panel colour like everything else.
    QColor plate = QColor();
};
const std::vector<Background>& Backgrounds();
QImage PaintBackground(const Background& background, int scale);

// The smaller pictures, each as a PNG with transparency where it has none of its own.
QImage LetterTile(char letter, const QColor& base, const QColor& ink, int scale);
QImage BlankHole(int scale);
QImage PhotoNotAvailable(int scale);
QImage ComputerPlayer(int scale);
QImage Speaker(bool on, int scale);
QImage QuickHelp(int scale);
QImage Light(const QColor& colour, bool lit, int scale);
QImage Logo(int scale);

// The high-contrast tile set that goes with the high-contrast board: flat tiles in a shape of
// their colour's own, outlined, and holes with a light rim.
QImage ContrastTile(char letter, int colour, int scale);
QImage ContrastHole(int scale);

// The menu window's toolbar pictograms, 24 x 24: "computer", "lan", "internet", "stats",
// "user", "settings", "wordlist", "help", "about", "fullscreen", "exit".
const std::vector<const char*>& ToolNames();
QImage ToolIcon(const std::string& name, int scale);

// The program's icon, painted at `size` pixels square, and the same drawing as an SVG.
QImage Icon(int size);
std::string IconSvg();

// The event sounds: 16-bit mono PCM at kSampleRate.
constexpr int kSampleRate = 22050;
struct Sound {
    const char* file;
    std::vector<std::int16_t> (*make)();
};
const std::vector<Sound>& Sounds();
bool SaveWav(const std::vector<std::int16_t>& samples, const std::string& path);

}  // namespace gdart
