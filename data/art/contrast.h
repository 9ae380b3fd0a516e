// The colours of the high-contrast board and its tiles. Plain numbers without Qt, so the colour
// checks read the very values the generator paints with.
#pragma once

namespace gdart::contrast {

struct Rgb {
    int r, g, b;
};

// The board's ground, and the letters and outlines drawn on it.
constexpr Rgb kGround{10, 10, 14};
constexpr Rgb kInk{255, 255, 255};
// The plates behind the window's own dark labels.
constexpr Rgb kPlate{255, 255, 255};

// The two players' tiles and the tiles of a finished word, in the order blue, red, yellow of
// the ordinary sets. The players' pair is blue and orange, far apart in lightness as well as
// hue, so it holds under every common colour blindness; each colour also has its own shape.
struct Tile {
    const char* file;  // prefix of the tile files: "zcontrast_blue_a.png"
    Rgb base;
    Rgb letter;
};
constexpr Tile kTiles[3] = {
    {"zcontrast_blue_", {0, 70, 210}, {255, 255, 255}},
    {"zcontrast_red_", {255, 150, 30}, {0, 0, 0}},
    {"zcontrast_yel_", {255, 240, 110}, {0, 0, 0}},
};

// The board picture's file; its tiles are its name, "_" and the ordinary tile name. It sorts
// after the eight classic boards, so they keep their places in the settings' list.
constexpr const char* kBoardFile = "zcontrast.bmp";

}  // namespace gdart::contrast
