// The high-contrast board's colours, checked as a reader with weak sight or a colour blindness
// sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "contrast.h"

namespace {

using gdart::contrast::Rgb;
using Linear = std::array<double, 3>;
using Matrix = std::array<Linear, 3>;

double ToLinear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Linear ToLinear(const Rgb& c) {
    return {ToLinear(c.r), ToLinear(c.g), ToLinear(c.b)};
}

double Luminance(const Linear& c) {
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
}

// The contrast ratio of the web's accessibility guidelines; 7 is their highest level for text.
double ContrastRatio(const Rgb& a, const Rgb& b) {
    const double la = Luminance(ToLinear(a)), lb = Luminance(ToLinear(b));
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How a colour looks with full protanopia, deuteranopia or tritanopia (the simulation of
// Machado, Oliveira and Fernandes, 2009, severity 1), or with normal sight.
Linear Seen(const Linear& c, const Matrix& m) {
    Linear out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2], 0.0, 1.0);
    return out;
}
const Matrix kVisions[] = {
    {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
    {{{0.152286, 1.052583, -0.204868},
      {0.114503, 0.786281, 0.099216},
      {-0.003882, -0.048116, 1.051998}}},
    {{{0.367322, 0.860646, -0.227968},
      {0.280085, 0.672501, 0.047413},
      {-0.011820, 0.042940, 0.968881}}},
    {{{1.255528, -0.076749, -0.178779},
      {-0.078411, 0.930809, 0.147602},
      {0.004733, 0.691367, 0.303900}}},
};

// CIELAB under daylight (D65), where a distance of about 2 is just noticeable.
Linear Lab(const Linear& c) {
    const double x = (0.4124 * c[0] + 0.3576 * c[1] + 0.1805 * c[2]) / 0.95047;
    const double y = Luminance(c);
    const double z = (0.0193 * c[0] + 0.1192 * c[1] + 0.9505 * c[2]) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double Distance(const Linear& a, const Linear& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Guards against letters that a reader with weak sight cannot make out: on the ground and on
// every tile the letters keep a contrast of at least 7 to 1.
TEST(HighContrastColours, LettersStandOutFromTheirGround) {
    using namespace gdart::contrast;
    EXPECT_GE(ContrastRatio(kGround, kInk), 7);
    for (const Tile& tile : kTiles) {
        SCOPED_TRACE(tile.file);
        EXPECT_GE(ContrastRatio(tile.base, tile.letter), 7);
    }
}

// Guards against a pair of tiles a colour-blind player cannot tell apart: the two players'
// colours and a finished word's stay clearly apart, pair by pair, in every vision.
TEST(HighContrastColours, TilesStayApartForTheCommonColourBlindnesses) {
    using gdart::contrast::kTiles;
    for (const Matrix& vision : kVisions)
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b) {
                const double apart = Distance(Lab(Seen(ToLinear(kTiles[a].base), vision)),
                                              Lab(Seen(ToLinear(kTiles[b].base), vision)));
                EXPECT_GE(apart, 20) << kTiles[a].file << " and " << kTiles[b].file << " in vision "
                                     << (&vision - kVisions);
            }
}

}  // namespace
