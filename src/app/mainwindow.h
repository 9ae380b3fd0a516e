// The borderless main window `main`: the board, the piece area, the opponent panel, the status
// list, the chat line and the small image buttons. It shows the game state and forwards events.
#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <array>
#include <optional>
#include <utility>

#include "state.h"
#include "widgets.h"

namespace gd {

class Application;
class StatusAnnouncer;

// The drag format of a piece of the piece area: its index 0..7 as text.
inline constexpr const char* kPieceMimeType = "application/x-glyphdrop-piece";

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(Application& app);

    // The load step: place, caption, background, then the state's own steps (welcome lines,
    // sound, colour, photo, dictionary, an empty board).
    void Load();
    // Shows the state: board, pieces, panel, turn caption, status list, sound button, light.
    void Refresh();
    // Shows one hole at once, before a pause.
    void RepaintHole(int hole);
    // `main1` shows `BackgroundFile`, as at load and when the settings choose another one.
    void LoadBackground();
    // `Label14` "Downloading Picture", shown or hidden at once, over the photo as it is now.
    void ShowDownloading(bool shown);

    // Handlers behind the events.
    void HoleDragDrop(int hole, int piece);
    // A piece released over anything but a hole.
    void OtherDragDrop();
    // A piece dragged over `dragbar`: the dragged piece is hidden.
    void dragbarDragOver(int piece);
    void StartPieceDrag(int piece);
    void soundbuttonClick();
    void MinButtonClick();
    void CloseButtonClick();
    void MenuButtonClick();
    void MenuButtonMouseMove();
    void Image9Click();
    // The chat line: the send button, and Enter in a chat box that holds something.
    void SendButtonClick();
    void ChatTextEnter();

    // Keyboard play: a chosen letter of the piece area and a chosen column, dropped as a drag
    // onto the column's top hole would drop it. Out-of-range choices are ignored.
    void ChoosePiece(int piece);
    void ChooseColumn(int column);
    void DropChosen();
    int ChosenPiece() const { return chosenPiece_; }    // 0..7, or -1 when none
    int ChosenColumn() const { return chosenColumn_; }  // 0..6, or -1 when none
    // The keys of the piece area and of the board while they have the focus; true when the
    // key was theirs.
    bool RackKeyPress(const QKeyEvent& event);
    bool BoardKeyPress(const QKeyEvent& event);
    // F10: the menu window, with its menu bar taking the keys.
    void MenuKeyPress();

    // The hole (0..48) under a point of the window, or -1.
    int HoleAt(const QPoint& position) const;

    // Elements, for the application and the tests.
    QLabel* Hole(int i) const { return hole_[i]; }
    QLabel* Image(int i) const { return image_[i]; }
    QLabel* Blank() const { return blank_; }
    QLabel* dragbar() const { return dragbar_; }
    // The focusable piece area (`dragbar`, under the pieces) and board (under the holes).
    QWidget* Rack() const { return dragbar_; }
    QWidget* Board() const { return board_; }
    // What shows the chosen letter (a frame around it) and the chosen column (a mark above it).
    QLabel* PieceMarker() const { return pieceMarker_; }
    QLabel* ColumnMarker() const { return columnMarker_; }
    QLabel* Label(int n) const { return label_[n - 1]; }  // Label1..Label14
    QLabel* Picture1() const { return picture1_; }
    QListWidget* StatusText() const { return statusText_; }
    StatusAnnouncer* statusAnnouncer() const { return statusAnnouncer_; }
    QLineEdit* ChatText() const { return chatText_; }
    QLabel* SendButton() const { return sendButton_; }
    QLabel* soundbutton() const { return soundbutton_; }
    QLabel* Image9() const { return image9_; }
    QLabel* Image10() const { return image10_; }
    QLabel* MinButton() const { return minButton_; }
    QLabel* CloseButton() const { return closeButton_; }
    QLabel* MenuButton() const { return menuButton_; }
    QLabel* light() const { return light_; }
    BackgroundArt* main1() const { return main1_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build();
    void BuildKeys();
    void ShowChoice();
    ClickLabel* MakeLabel(const char* name, const QRect& place);
    void RefreshPhoto();
    void RefreshStatusText();
    void ShowCell(QLabel* label, Picture picture, const std::string& tag);

    Application& app_;
    GameState& s_;
    BackgroundArt* main1_ = nullptr;
    std::array<QLabel*, kHoleCount> hole_{};
    std::array<QLabel*, kPieceCount> image_{};
    std::array<QLabel*, 14> label_{};
    QLabel* blank_ = nullptr;
    QLabel* dragbar_ = nullptr;
    QWidget* board_ = nullptr;
    QLabel* pieceMarker_ = nullptr;
    QLabel* columnMarker_ = nullptr;
    QLabel* picture1_ = nullptr;
    QListWidget* statusText_ = nullptr;
    StatusAnnouncer* statusAnnouncer_ = nullptr;
    QLineEdit* chatText_ = nullptr;
    QLabel* sendButton_ = nullptr;
    QLabel* soundbutton_ = nullptr;
    QLabel* image9_ = nullptr;
    QLabel* image10_ = nullptr;
    QLabel* minButton_ = nullptr;
    QLabel* closeButton_ = nullptr;
    QLabel* menuButton_ = nullptr;
    QLabel* light_ = nullptr;
    int chosenPiece_ = -1;
    int chosenColumn_ = -1;
    // The last key chose the letter by its digit, so a digit now chooses the column.
    bool digitChosePiece_ = false;
    // What Picture1 shows, with the photo's serial; none before the first refresh.
    std::optional<std::pair<PhotoPicture, int>> photoShown_;
};

}  // namespace gd
