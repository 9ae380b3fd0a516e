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
};
const std::vector<Background>& Backgrounds();
QImage PaintBackground(const Background& background);

// The smaller pictures, each as a PNG with transparency where it has none of its own.
QImage LetterTile(char letter, const QColor& base, const QColor& ink);
QImage BlankHole();
QImage PhotoNotAvailable();
QImage ComputerPlayer();
QImage Speaker(bool on);
QImage QuickHelp();
QImage Light(const QColor& colour, bool lit);
QImage Logo();
// The toolbar's "Hint" button, 24 x 24 like the program's own toolbar pictograms.
QImage HintBulb();

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
