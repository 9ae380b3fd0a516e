// Where the elements of the windows sit, in twips as the layout is drawn, and the conversion to
// pixels at 96 dots per inch.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

namespace gd::layout {

constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
inline QRect Twips(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// The main window's client area: 9270 x 6735 twips.
inline const QSize kMainSize(Px(9270), Px(6735));

inline const QRect kMenuButton = Twips(60, 30, 1995, 615);
inline const QRect kImage10 = Twips(330, 660, 1875, 660);
inline const QRect kImage9 = Twips(7485, 570, 450, 435);
inline const QRect kSoundButton = Twips(8115, 570, 450, 435);
inline const QRect kMinButton = Twips(8310, 210, 345, 345);
inline const QRect kCloseButton = Twips(8610, 240, 345, 285);
inline const QRect kLight = Twips(8985, 120, 180, 180);
inline const QRect kDragbar = Twips(7020, 1110, 1875, 2985);
inline const QRect kPicture1 = Twips(510, 4950, 1545, 1305);
inline const QRect kLabel13 = Twips(7245, 4320, 1395, 285);
inline const QRect kStatusText = Twips(2520, 4890, 6045, 840);
inline const QRect kChatText = Twips(2580, 6060, 4860, 285);
inline const QRect kSendButton = Twips(7590, 5985, 960, 435);

// The board: column left edges, row top edges (row 0 at the bottom, then the drop row).
constexpr int kHoleTwips = 480;
constexpr std::array<int, 7> kColumnLeft{2652, 3280, 3905, 4515, 5140, 5770, 6400};
constexpr std::array<int, 7> kRowTop{4005, 3372, 2740, 2110, 1480, 855, 150};
inline QRect HoleRect(int hole) {
    return Twips(kColumnLeft[hole % 7], kRowTop[hole / 7], kHoleTwips, kHoleTwips);
}

// The piece area: two columns of four, Image1/Image2 on the first line.
constexpr std::array<int, 2> kPieceLeft{7470, 8010};
constexpr std::array<int, 4> kPieceTop{1650, 2190, 2730, 3270};
inline QRect PieceRect(int piece) {
    return Twips(kPieceLeft[piece % 2], kPieceTop[piece / 2], kHoleTwips, kHoleTwips);
}

// The opponent panel: captions Label1..Label6 on the left, values Label7..Label12 beside them.
constexpr int kPanelFirstTop = 2010, kPanelLastTop = 4140, kPanelLineHeight = 285;
inline int PanelTop(int line) {
    return kPanelFirstTop + line * (kPanelLastTop - kPanelFirstTop) / 5;
}
inline QRect PanelCaptionRect(int line) {
    return Twips(180, PanelTop(line), 960, kPanelLineHeight);
}
inline QRect PanelValueRect(int line) {
    return Twips(1140, PanelTop(line), 1140, kPanelLineHeight);
}

// The menu window: 1000 twips high over the top of the main window.
constexpr int kMenuHeight = Px(1000);

// The game-over window: its size and its place over the main window.
inline const QSize kPlayMoreSize(Px(6555), Px(1215));
inline const QPoint kPlayMoreOffset(Px(2280), Px(4710));

}  // namespace gd::layout
