// The quick help window and its illustration of the word directions.
#include "quickhelp.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "helpviewer.h"
#include "singlewindow.h"

namespace gd {
namespace {

const char* kObjectText =
    "The object of Glyphdrop is to be the first player to create a four letter word by dropping "
    "a selected letter into an empty space on the game board. The first player to complete a "
    "four letter word wins!";

const char* kHowToPlayText =
    "You may play Glyphdrop several ways. Run your mouse over the word Menu to activate the games "
    "menu system. Under the 'Game' heading, select to play against a LAN opponent, an Internet "
    "opponent or play against the computer. When it is your turn, click and hold a letter from "
    "your game piece area. Now drag the selected letter to the column in which you wish to drop "
    "it, then release the mouse button. Your letter will be dropped into place.";

const char* kKeysText =
    "Tab moves between your letters, the board and the chat line. On your letters, 1 to 8 or the "
    "arrow keys choose a letter and a second digit (1 to 7) the column; on the board, Left and "
    "Right choose the column. Enter or Space drops the letter. F10 opens the menu, Escape closes "
    "it; F2 plays the computer, and Ctrl+H gives a hint against it.";

QGroupBox* Frame(const QString& caption, QLabel* text) {
    auto* frame = new QGroupBox(caption);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(text);
    return frame;
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = 9, spread = 0.45;
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(to.x() - head * std::cos(angle - spread), to.y() - head * std::sin(angle - spread));
    tip.lineTo(to.x() - head * std::cos(angle + spread), to.y() - head * std::sin(angle + spread));
    tip.closeSubpath();
    p.fillPath(tip, colour);
}

}  // namespace

std::string WordDirectionText() {
    return std::string("Words can be created in four directions:") + "\n\n" +
           "Vertical - Top to Bottom" + "\n" + "Horizonal - Left to Right" + "\n" +
           "Diagonal - Left to Right - Up" + "\n" + "Diagonal - Left to Right - Down";
}

QPixmap PaintWordDirections() {
    constexpr int cell = 22, cells = 5, margin = 8;
    const int side = cells * cell + 2 * margin;
    QPixmap picture(side, side);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(190, 190, 200));
    p.setBrush(QColor(235, 238, 245));
    for (int r = 0; r < cells; ++r)
        for (int c = 0; c < cells; ++c)
            p.drawEllipse(QRectF(margin + c * cell + 3, margin + r * cell + 3, cell - 6, cell - 6));
    auto centre = [&](int c, int r) {
        return QPointF(margin + (c + 0.5) * cell, margin + (r + 0.5) * cell);
    };
    Arrow(p, centre(0, 0), centre(0, 3), QColor(40, 90, 200));   // top to bottom
    Arrow(p, centre(1, 4), centre(4, 4), QColor(200, 50, 50));   // left to right
    Arrow(p, centre(1, 3), centre(4, 0), QColor(30, 140, 70));   // lower left to upper right
    Arrow(p, centre(1, 0), centre(4, 3), QColor(200, 140, 20));  // upper left to lower right
    return picture;
}

QuickHelpWindow::QuickHelpWindow(const QPixmap& logo, QWidget* parent) : QWidget(parent) {
    setObjectName("quickhelp");
    setWindowTitle("Glyphdrop - Quick Help");
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* logoLabel = new QLabel;
    logoLabel->setObjectName("logo");
    if (logo.isNull()) {
        logoLabel->setText("<b><font size=\"+3\">Glyphdrop</font></b>");
    } else {
        logoLabel->setPixmap(logo);
    }

    objectText_ = new QLabel(kObjectText);
    howToPlayText_ = new QLabel(kHowToPlayText);
    auto* keysText = new QLabel(kKeysText);
    keysText->setObjectName("keysText");
    // Built when the window loads, as the other two texts are fixed.
    directionText_ = new QLabel(QString::fromStdString(WordDirectionText()));
    objectText_->setObjectName("objectText");
    howToPlayText_->setObjectName("howToPlayText");
    directionText_->setObjectName("directionText");

    auto* illustration = new QLabel;
    illustration->setObjectName("illustration");
    illustration->setPixmap(PaintWordDirections());

    auto* hint = new QLabel("See full help (F1) for more details,");
    hint->setObjectName("hint");
    command2_ = new QPushButton("Open Full Help");
    command2_->setObjectName("Command2");
    command1_ = new QPushButton("Close Quick Help");
    command1_->setObjectName("Command1");

    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(Frame("Word Direction", directionText_), 1);
    directionRow->addWidget(illustration, 0, Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint);
    buttons->addStretch();
    buttons->addWidget(command2_);
    buttons->addWidget(command1_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logoLabel, 0, Qt::AlignHCenter);
    layout->addWidget(Frame("Object Of Game", objectText_));
    layout->addWidget(Frame("How To Play", howToPlayText_));
    layout->addWidget(Frame("Playing By Keyboard", keysText));
    layout->addLayout(directionRow);
    layout->addLayout(buttons);
    setFixedWidth(600);

    connect(command2_, &QPushButton::clicked, this, &QuickHelpWindow::Command2Click);
    connect(command1_, &QPushButton::clicked, this, &QuickHelpWindow::Command1Click);
    InstallHelpKey(this);
}

void QuickHelpWindow::Command2Click() {
    ShowHelpContents();
    close();
}

void QuickHelpWindow::Command1Click() {
    close();
}

QuickHelpWindow* ShowQuickHelp(const QPixmap& logo) {
    static QPointer<QuickHelpWindow> window;
    return ShowSingleWindow(window, [&] { return new QuickHelpWindow(logo); });
}

}  // namespace gd
