// The main window: its elements at their places, its load step, and its event handlers.
#include "mainwindow.h"

#include <QCloseEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <utility>

#include "accessible.h"
#include "application.h"
#include "board.h"
#include "files.h"
#include "layout.h"
#include "menuform.h"
#include "qtext.h"
#include "rules.h"
#include "singlewindow.h"

namespace gd {

namespace {

constexpr int kStatusLineHeight = 13;
const char* const kPieceTip = "Click, hold, and drag to desired location.";

// The piece index carried by a drag of ours, or -1 for anything else.
int DraggedPiece(const QMimeData* mime) {
    if (!mime || !mime->hasFormat(kPieceMimeType)) return -1;
    bool ok = false;
    const int piece = mime->data(kPieceMimeType).toInt(&ok);
    return ok && piece >= 0 && piece < kPieceCount ? piece : -1;
}

QFont SmallFont(bool bold = false) {
    QFont f("DejaVu Sans", 1, bold ? QFont::Bold : QFont::Normal);
    f.setPixelSize(11);
    return f;
}

// The label's font, smaller by whole pixels until its text fits the label's width.
void FitFontToText(QLabel* label, int largestPixels) {
    QFont f = label->font();
    for (int pixels = largestPixels; pixels >= 7; --pixels) {
        f.setPixelSize(pixels);
        if (QFontMetrics(f).horizontalAdvance(label->text()) <= label->contentsRect().width())
            break;
    }
    label->setFont(f);
}

// The mark above the chosen column: a small light arrow pointing down into it, outlined dark so
// that it shows on every background.
QPixmap ColumnMark(const QSize& size) {
    QPixmap mark(size);
    mark.fill(Qt::transparent);
    QPainter paint(&mark);
    paint.setRenderHint(QPainter::Antialiasing);
    paint.setPen(QPen(QColor(20, 20, 20), 1.5));
    paint.setBrush(QColor(255, 214, 0));
    const qreal w = size.width(), h = size.height();
    paint.drawPolygon(QPolygonF({QPointF(1, 1), QPointF(w - 1, 1), QPointF(w / 2, h - 1)}));
    return mark;
}

// The digit 1..9 of a key of the main keyboard or the keypad, or 0 for any other key.
int KeyDigit(const QKeyEvent& event) {
    return event.key() >= Qt::Key_1 && event.key() <= Qt::Key_9 ? event.key() - Qt::Key_0 : 0;
}

bool IsDropKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
           event.key() == Qt::Key_Space;
}

// Keys held with Ctrl, Alt or Meta belong to the shortcuts, not to play.
bool IsPlainKey(const QKeyEvent& event) {
    return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

MainWindow::MainWindow(Application& app) : app_(app), s_(app.state()) {
    setObjectName("main");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAcceptDrops(true);
    setFont(SmallFont());
    resize(layout::kMainSize);
    Build();
    BuildKeys();
}

ClickLabel* MainWindow::MakeLabel(const char* name, const QRect& place) {
    auto* label = new ClickLabel(this);
    label->setObjectName(name);
    label->setGeometry(place);
    return label;
}

void MainWindow::Build() {
    using namespace layout;
    // Before any element exists, so that no element is first presented without its role.
    InstallMainWindowAccessibility();
    main1_ = new BackgroundArt(this);
    main1_->setObjectName("main1");
    main1_->setGeometry(rect());

    // Lies under the holes, so that the holes still receive drops and clicks.
    board_ = new QWidget(this);
    board_->setObjectName("Board");
    board_->setGeometry(HoleRect(0).united(HoleRect(kHoleCount - 1)));

    blank_ = MakeLabel("Blank", HoleRect(3).translated(0, HoleRect(0).height() + 2));
    blank_->hide();  // the empty-hole reference is not part of play
    for (int i = 0; i < kHoleCount; ++i) {
        hole_[i] = MakeLabel(qPrintable(QString("Hole%1").arg(i)), HoleRect(i));
        hole_[i]->setProperty("index", i);
    }

    // dragbar lies under the pieces, so a press reaches the piece and a drag leaving it
    // passes over the bar.
    dragbar_ = MakeLabel("dragbar", kDragbar);
    for (int i = 0; i < kPieceCount; ++i) {
        ClickLabel* piece = MakeLabel(qPrintable(QString("Image%1").arg(i + 1)), PieceRect(i));
        piece->setToolTip(kPieceTip);
        connect(piece, &ClickLabel::pressed, this, [this, i] { StartPieceDrag(i); });
        image_[i] = piece;
    }

    const char* captions[6] = {"Player ID", "From", "Played:", "Won:", "Lost:", "Tied:"};
    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, QColor(30, 35, 60));
    for (int line = 0; line < 6; ++line) {
        label_[line] =
            MakeLabel(qPrintable(QString("Label%1").arg(line + 1)), PanelCaptionRect(line));
        label_[line]->setText(captions[line]);
        label_[line]->setFont(SmallFont(true));
        label_[line]->setPalette(ink);
        label_[line + 6] =
            MakeLabel(qPrintable(QString("Label%1").arg(line + 7)), PanelValueRect(line));
        label_[line + 6]->setPalette(ink);
    }
    label_[12] = MakeLabel("Label13", kLabel13);
    label_[12]->setAlignment(Qt::AlignCenter);
    label_[12]->setPalette(ink);

    picture1_ = MakeLabel("Picture1", kPicture1);
    picture1_->setAlignment(Qt::AlignCenter);
    picture1_->setAccessibleName("Opponent's picture");
    label_[13] = new QLabel("Downloading Picture", picture1_);
    label_[13]->setObjectName("Label14");
    label_[13]->setGeometry(0, picture1_->height() / 2 - 8, picture1_->width(), 16);
    label_[13]->setAlignment(Qt::AlignCenter);
    label_[13]->hide();

    statusText_ = new QListWidget(this);
    statusText_->setObjectName("StatusText");
    statusText_->setGeometry(kStatusText);
    statusText_->setUniformItemSizes(true);
    statusText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statusText_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    statusText_->setStyleSheet("QListWidget { border: 1px solid #404040; background: white; }");
    statusAnnouncer_ = new StatusAnnouncer(this);
    statusAnnouncer_->setGeometry(kStatusText);
    statusAnnouncer_->stackUnder(statusText_);

    chatText_ = new QLineEdit(this);
    chatText_->setObjectName("ChatText");
    chatText_->setGeometry(kChatText);
    chatText_->setAcceptDrops(false);  // a letter dropped here goes back like anywhere else
    chatText_->setMaxLength(int(kMaxLanChat));  // what one LAN message carries
    auto* send = MakeLabel("SendButton", kSendButton);
    connect(send, &ClickLabel::clicked, this, &MainWindow::SendButtonClick);
    connect(chatText_, &QLineEdit::returnPressed, this, &MainWindow::ChatTextEnter);
    sendButton_ = send;
    sendButton_->setText("Send");
    sendButton_->setAlignment(Qt::AlignCenter);
    sendButton_->setFont(SmallFont(true));
    sendButton_->setToolTip("Click to send message.");
    sendButton_->setPalette(ink);
    send->SetCommand("Send");
    chatText_->setAccessibleName("Chat message");
    statusText_->setAccessibleName("Game messages");

    auto* sound = MakeLabel("soundbutton", kSoundButton);
    sound->setToolTip("Click here to toggle sound on or off.");
    connect(sound, &ClickLabel::clicked, this, &MainWindow::soundbuttonClick);
    soundbutton_ = sound;
    sound->SetCommand("Sound on or off");

    auto* help = MakeLabel("Image9", kImage9);
    help->setToolTip("Click Here For Quick Help.");
    help->setPixmap(app_.pictures().Named("quickhelp"));
    connect(help, &ClickLabel::clicked, this, &MainWindow::Image9Click);
    image9_ = help;
    help->SetCommand("Quick help");

    image10_ = MakeLabel("Image10", kImage10);
    image10_->setPixmap(app_.pictures().Named("logo"));
    image10_->setAlignment(Qt::AlignCenter);
    image10_->setAccessibleName("Glyphdrop");

    auto* minimise = MakeLabel("MinButton", kMinButton);
    connect(minimise, &ClickLabel::clicked, this, &MainWindow::MinButtonClick);
    minButton_ = minimise;
    minimise->SetCommand("Minimise");

    auto* close = MakeLabel("CloseButton", kCloseButton);
    close->setToolTip("Click here to exit.");
    connect(close, &ClickLabel::clicked, this, &MainWindow::CloseButtonClick);
    closeButton_ = close;
    close->SetCommand("Exit");

    auto* menu = MakeLabel("MenuButton", kMenuButton);
    menu->setMouseTracking(true);
    menu->setEnabled(false);  // until the window is active
    connect(menu, &ClickLabel::clicked, this, &MainWindow::MenuButtonClick);
    connect(menu, &ClickLabel::mouseMoved, this, &MainWindow::MenuButtonMouseMove);
    menuButton_ = menu;
    menu->SetCommand("Menu");

    light_ = MakeLabel("light", kLight);

    // The marks of the chosen letter and column lie over everything and let the mouse through.
    pieceMarker_ = MakeLabel("PieceMarker", PieceRect(0).adjusted(-2, -2, 2, 2));
    pieceMarker_->setStyleSheet("#PieceMarker { border: 2px solid #ffd600; }");
    const QRect dropCell = HoleRect(kDropRowFirst);
    columnMarker_ = MakeLabel("ColumnMarker", QRect(0, dropCell.bottom() + 2, 14, 12));
    columnMarker_->setPixmap(ColumnMark(columnMarker_->size()));
    for (QLabel* marker : {pieceMarker_, columnMarker_}) {
        marker->setAttribute(Qt::WA_TransparentForMouseEvents);
        marker->hide();
    }
}

void MainWindow::BuildKeys() {
    // The piece area and the board take the keys of play, each in its own handler; the chat line
    // is never watched, so that everything typed there is text.
    for (QWidget* area : {static_cast<QWidget*>(dragbar_), board_}) {
        area->setFocusPolicy(Qt::StrongFocus);
        area->installEventFilter(this);
    }
    setTabOrder(dragbar_, board_);
    setTabOrder(board_, chatText_);
    setTabOrder(chatText_, sendButton_);
    setTabOrder(sendButton_, statusText_);
    QWidget* rest[] = {statusText_, soundbutton_, image9_, menuButton_, minButton_, closeButton_};
    for (size_t i = 1; i < std::size(rest); ++i)
        setTabOrder(rest[i - 1], rest[i]);
    dragbar_->setFocus();

    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &MainWindow::MenuKeyPress);
    AddCommandKeys(*this, app_);
}

void MainWindow::Load() {
    CentreWindow(*this);
    main1_->setGeometry(0, 0, width(), height());
    setWindowTitle(app_.Caption());
    ChangeToAppFolder(FromQ(app_.folder()));
    image10_->setToolTip(ToQ("Glyphdrop v" + s_.ProgramVersion));
    LoadBackground();
    LoadMainWindow(s_, app_.services());
    Refresh();
}

void MainWindow::LoadBackground() {
    if (s_.BackgroundFile.empty()) s_.BackgroundFile = "Marble.bmp";
    main1_->SetPicture(Pictures::LoadFile(s_.BackgroundFile));
    app_.pictures().UseTilesOf(s_.BackgroundFile);
}

void MainWindow::ShowCell(QLabel* label, Picture picture, const std::string& tag) {
    // Above the board only letters show: an emptied drop cell goes back to the board's art.
    if (label->property("index").toInt() >= kDropRowFirst && picture == Picture::Blank)
        picture = Picture::None;
    // Only a changed cell is redrawn, so a refresh after every event stays cheap.
    const QString shown = app_.pictures().TileSet() + QString::number(int(picture)) + ToQ(tag);
    if (label->property("shown").toString() == shown) return;
    label->setProperty("shown", shown);
    label->setPixmap(app_.pictures().ForCell(picture, tag));
}

void MainWindow::RepaintHole(int hole) {
    ShowCell(hole_[hole], s_.Hole[hole].picture, s_.Hole[hole].Tag);
    hole_[hole]->repaint();
}

void MainWindow::Refresh() {
    for (int h = 0; h < kHoleCount; ++h)
        ShowCell(hole_[h], s_.Hole[h].picture, s_.Hole[h].Tag);
    ShowCell(blank_, s_.Blank.picture, s_.Blank.Tag);
    for (int i = 0; i < kPieceCount; ++i) {
        ShowCell(image_[i], s_.Image[i].picture, s_.Image[i].Tag);
        image_[i]->setVisible(s_.Image[i].visible);
    }
    const std::string* values[7] = {&s_.Label7,  &s_.Label8,  &s_.Label9, &s_.Label10,
                                    &s_.Label11, &s_.Label12, &s_.Label13};
    for (int n = 0; n < 7; ++n)
        label_[6 + n]->setText(ToQ(*values[n]));
    // The turn caption's narrow panel: a long caption ("Waiting for Player") is set smaller.
    FitFontToText(label_[12], SmallFont().pixelSize());

    RefreshPhoto();
    Pictures& pics = app_.pictures();
    const char* lights[3] = {"offlight", "onlight", "redlight"};
    light_->setPixmap(pics.Named(lights[int(s_.light)]));
    soundbutton_->setPixmap(pics.Named(s_.SoundButtonOn ? "soundon" : "soundoff"));
    RefreshStatusText();
    NameMainWindowElements(*this, s_);
    statusAnnouncer_->Follow(s_);
}

void MainWindow::RefreshPhoto() {
    // The computer's turn timer refreshes many times a second: a picture is decoded and scaled
    // only when another one is to show.
    const std::pair<PhotoPicture, int> wanted{s_.Picture1, s_.Picture1Serial};
    if (photoShown_ == wanted) return;
    photoShown_ = wanted;
    Pictures& pics = app_.pictures();
    QPixmap photo;
    if (s_.Picture1 == PhotoPicture::File)
        photo.loadFromData(reinterpret_cast<const uchar*>(s_.Picture1Data.data()),
                           static_cast<uint>(s_.Picture1Data.size()));
    if (s_.Picture1 == PhotoPicture::PcPlayer) photo = pics.Named("pcplayer");
    if (s_.Picture1 == PhotoPicture::File && s_.Picture1Data.empty()) {
        picture1_->clear();  // emptied while a photo downloads, and after a failed download
        return;
    }
    if (photo.isNull()) photo = pics.Named("photona");
    // Scaled to the label's size in the screen's own pixels, so it stays sharp at 2x.
    const qreal ratio = picture1_->devicePixelRatioF();
    QPixmap fitted =
        photo.scaled(picture1_->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(ratio);
    picture1_->setPixmap(fitted);
}

void MainWindow::RefreshStatusText() {
    const StatusList& list = s_.StatusText;
    const int count = static_cast<int>(list.lines.size());
    bool changed = false;
    if (statusText_->count() > count) {
        statusText_->clear();
        changed = true;
    }
    for (int i = statusText_->count(); i < count; ++i) {
        auto* item = new QListWidgetItem(ToQ(list.lines[i]), statusText_);
        item->setSizeHint(QSize(0, kStatusLineHeight));
        changed = true;
    }
    // Scroll and selection follow the list only when it changed, so a player who scrolled back
    // keeps his place until the next line arrives.
    if (!changed) return;
    if (list.selected >= 0 && list.selected < count) statusText_->setCurrentRow(list.selected);
    statusText_->verticalScrollBar()->setValue(list.topIndex);
    // Shown at once, so a line written before a long wait (a request, a pause) is seen.
    statusText_->repaint();
}

int MainWindow::HoleAt(const QPoint& position) const {
    QWidget* target = childAt(position);
    for (int h = 0; h < kHoleCount; ++h)
        if (target == hole_[h]) return h;
    return -1;
}

void MainWindow::HoleDragDrop(int hole, int piece) {
    app_.match().HoleDragDrop(hole, piece);
    app_.Refresh();
}

void MainWindow::ChoosePiece(int piece) {
    if (piece < 0 || piece >= kPieceCount) return;
    chosenPiece_ = piece;
    ShowChoice();
}

void MainWindow::ChooseColumn(int column) {
    if (column < 0 || column >= kColumns) return;
    chosenColumn_ = column;
    ShowChoice();
}

void MainWindow::ShowChoice() {
    if (chosenPiece_ >= 0)
        pieceMarker_->move(layout::PieceRect(chosenPiece_).topLeft() - QPoint(2, 2));
    pieceMarker_->setVisible(chosenPiece_ >= 0);
    if (chosenColumn_ >= 0) {
        const QRect top = layout::HoleRect(kBoardHoles - kColumns + chosenColumn_);
        columnMarker_->move(top.center().x() - columnMarker_->width() / 2 + 1, columnMarker_->y());
    }
    columnMarker_->setVisible(chosenColumn_ >= 0);
}

bool MainWindow::RackKeyPress(const QKeyEvent& event) {
    if (!IsPlainKey(event)) return false;
    const bool columnNext = std::exchange(digitChosePiece_, false);
    const int digit = KeyDigit(event);
    const int piece = std::max(chosenPiece_, 0);
    if (digit && columnNext) {
        ChooseColumn(digit - 1);
    } else if (digit) {
        ChoosePiece(digit - 1);
        digitChosePiece_ = digit <= kPieceCount;
    } else if (event.key() == Qt::Key_Left || event.key() == Qt::Key_Right) {
        // Through the pieces in their order, Image1 to Image8.
        ChoosePiece(std::clamp(piece + (event.key() == Qt::Key_Left ? -1 : 1), 0, kPieceCount - 1));
    } else if (event.key() == Qt::Key_Up || event.key() == Qt::Key_Down) {
        // The pieces lie two to a line.
        const int moved = piece + (event.key() == Qt::Key_Up ? -2 : 2);
        if (moved >= 0 && moved < kPieceCount) ChoosePiece(moved);
    } else if (IsDropKey(event)) {
        DropChosen();
    } else {
        return false;
    }
    return true;
}

bool MainWindow::BoardKeyPress(const QKeyEvent& event) {
    if (!IsPlainKey(event)) return false;
    digitChosePiece_ = false;
    const int digit = KeyDigit(event);
    if (digit) {
        ChooseColumn(digit - 1);
    } else if (event.key() == Qt::Key_Left || event.key() == Qt::Key_Right) {
        const int column = chosenColumn_ < 0 ? kColumns / 2 : chosenColumn_;
        ChooseColumn(std::clamp(column + (event.key() == Qt::Key_Left ? -1 : 1), 0, kColumns - 1));
    } else if (IsDropKey(event)) {
        DropChosen();
    } else {
        return false;
    }
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool rack = watched == dragbar_, board = watched == board_;
    if ((rack || board) && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        return rack ? RackKeyPress(key) : BoardKeyPress(key);
    }
    // Coming to the piece area or the board with nothing chosen there chooses the first letter
    // or the middle column, so the keys always have something to move from.
    if (rack && event->type() == QEvent::FocusIn && chosenPiece_ < 0) ChoosePiece(0);
    if (board && event->type() == QEvent::FocusIn && chosenColumn_ < 0) ChooseColumn(kColumns / 2);
    return QWidget::eventFilter(watched, event);
}

void MainWindow::MenuKeyPress() {
    app_.ShowMenu();
    if (MenuForm* menu = app_.menuForm()) menu->TakeKeys();
}

void MainWindow::DropChosen() {
    if (chosenPiece_ < 0 || chosenColumn_ < 0) return;
    // Picked up as a drag picks it up over the drag bar, then dropped onto the column's top
    // board hole, so the drop rules see exactly what a drag gives them.
    dragbarDragOver(chosenPiece_);
    HoleDragDrop(kBoardHoles - kColumns + chosenColumn_, chosenPiece_);
}

void MainWindow::OtherDragDrop() {
    CancelPieceDrag(s_, app_.services());
    app_.Refresh();
}

void MainWindow::dragbarDragOver(int piece) {
    if (!s_.Image[piece].visible) return;
    s_.Image[piece].visible = false;
    app_.Refresh();
}

void MainWindow::StartPieceDrag(int piece) {
    auto* mime = new QMimeData;
    mime->setData(kPieceMimeType, QByteArray::number(piece));
    auto* drag = new QDrag(image_[piece]);
    drag->setMimeData(mime);
    const QPixmap picture = image_[piece]->pixmap();
    if (!picture.isNull()) {
        drag->setPixmap(picture);
        drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    }
    // The drag begins over dragbar, which lies over the whole piece area; a quick flick may
    // leave the area before the first move event reaches the window.
    if (dragbar_->geometry().contains(image_[piece]->geometry().center())) dragbarDragOver(piece);
    // Released outside the window, the letter goes back as from any other element.
    if (drag->exec(Qt::MoveAction) == Qt::IgnoreAction) OtherDragDrop();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedPiece(event->mimeData()) >= 0) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    const int piece = DraggedPiece(event->mimeData());
    if (piece < 0) return;
    event->acceptProposedAction();
    if (childAt(event->position().toPoint()) == dragbar_) dragbarDragOver(piece);
}

void MainWindow::dropEvent(QDropEvent* event) {
    const int piece = DraggedPiece(event->mimeData());
    if (piece < 0) return;
    event->acceptProposedAction();
    const int hole = HoleAt(event->position().toPoint());
    if (hole >= 0)
        HoleDragDrop(hole, piece);
    else
        OtherDragDrop();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) menuButton_->setEnabled(isActiveWindow());
    QWidget::changeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    main1_->setGeometry(0, 0, width(), height());
    QWidget::resizeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Only the user's close command asks; a close by the program itself goes through.
    if (event->spontaneous() && !app_.ending() && !app_.ConfirmLeave()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::soundbuttonClick() {
    SoundButtonClick(s_, app_.services());
    app_.Refresh();
}

void MainWindow::MinButtonClick() {
    showMinimized();
}

void MainWindow::CloseButtonClick() {
    app_.Exit();
}

void MainWindow::MenuButtonClick() {
    app_.ToggleMenu();
}

void MainWindow::MenuButtonMouseMove() {
    app_.ShowMenu();
}

void MainWindow::SendButtonClick() {
    if (app_.SendChat(FromQ(chatText_->text()))) chatText_->clear();
}

void MainWindow::ChatTextEnter() {
    if (!chatText_->text().isEmpty()) SendButtonClick();
}

void MainWindow::Image9Click() {
    app_.ShowQuickHelp();
}

void MainWindow::ShowDownloading(bool shown) {
    app_.Refresh();
    picture1_->repaint();
    label_[13]->setVisible(shown);
    label_[13]->repaint();
}

}  // namespace gd
