// The accessible names of the board and the rack, the interfaces that let a reader's press play
// through the window's own keyboard path, and the status announcer's text.
#include "accessible.h"

#include <QAccessibleWidget>
#include <QMetaObject>
#include <functional>

#include "board.h"
#include "computer_game.h"
#include "mainwindow.h"
#include "qtext.h"
#include "waiting.h"

namespace gd {

namespace {

// "A", or "" for an empty cell or anything that is not a letter.
QString Letter(const std::string& tag) {
    return LetterNumber(tag) >= 0 ? ToQ(tag).toUpper() : QString();
}

// Whose a letter is, told by its colour: the word that ended the game shows in yellow.
QString Owner(const GameState& s, Picture picture) {
    if (picture == Picture::Yellow) return "yellow, the word";
    if (picture != Picture::Blue && picture != Picture::Red) return "no colour";
    const bool mine = picture == PieceColourPicture(s.PieceColour);
    return QString(picture == Picture::Blue ? "blue" : "red") + (mine ? ", yours" : ", opponent's");
}

}  // namespace

QString HoleAccessibleName(const GameState& s, int hole) {
    const Cell& cell = s.Hole[hole];
    const QString where = hole >= kDropRowFirst
                              ? QString("Above column %1").arg(hole - kDropRowFirst + 1)
                              : QString("Column %1, row %2").arg(ColumnOf(hole)).arg(RowOf(hole));
    const QString letter = Letter(cell.Tag);
    if (letter.isEmpty()) return where + ": empty";
    return where + ": " + letter + ", " + Owner(s, cell.picture);
}

QString PieceAccessibleName(const GameState& s, int piece, bool chosen) {
    const Piece& p = s.Image[piece];
    const QString letter = p.visible ? Letter(p.Tag) : QString();
    return QString("Letter %1: %2").arg(piece + 1).arg(letter.isEmpty() ? "none" : letter) +
           (chosen ? ", chosen" : "");
}

QString RackAccessibleName(const GameState& s) {
    QStringList letters;
    for (const Piece& p : s.Image)
        letters << (p.visible && !Letter(p.Tag).isEmpty() ? Letter(p.Tag) : "none");
    return "Your letters: " + letters.join(' ');
}

void SetAccessibleName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

void NameMainWindowElements(MainWindow& w, const GameState& s) {
    for (int h = 0; h < kHoleCount; ++h)
        SetAccessibleName(w.Hole(h), HoleAccessibleName(s, h));
    for (int i = 0; i < kPieceCount; ++i)
        SetAccessibleName(w.Image(i), PieceAccessibleName(s, i, w.ChosenPiece() == i));
    SetAccessibleName(w.dragbar(), RackAccessibleName(s));
    // The opponent panel's values are read with their captions.
    for (int line = 1; line <= 6; ++line) {
        const QString caption = w.Label(line)->text().remove(':');
        SetAccessibleName(w.Label(line + 6), caption + ": " + w.Label(line + 6)->text());
    }
    SetAccessibleName(w.Label(13), "Turn: " + w.Label(13)->text());
    const char* lights[3] = {"off", "on", "red"};
    SetAccessibleName(w.light(), QString("Network light: ") + lights[int(s.light)]);
}

namespace {

// A hole or a letter of the rack: its name comes from the window's refresh, its press plays.
// The press runs after the reader's call has returned, as a click would, so that a drop that
// pauses or asks a question never holds the reader waiting.
class PlayElementAccessible : public QAccessibleWidget {
  public:
    using Press = std::function<void(MainWindow&)>;
    PlayElementAccessible(QWidget* w, QAccessible::Role role, QString hint, Press press)
        : QAccessibleWidget(w, role), hint_(std::move(hint)), press_(std::move(press)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) return hint_;
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        auto* window = qobject_cast<MainWindow*>(widget()->parentWidget());
        if (action != pressAction() || !window) return QAccessibleWidget::doAction(action);
        // As a click inside a wait is dropped, so is a press: the rules never run re-entrantly.
        QMetaObject::invokeMethod(
            window,
            [window, press = press_] {
                if (!Waits().Waiting()) press(*window);
            },
            Qt::QueuedConnection);
    }

  private:
    QString hint_;
    Press press_;
};

// The status announcer as a status bar whose text is the newest status lines.
class StatusAnnouncerAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit StatusAnnouncerAccessible(StatusAnnouncer* w)
        : QAccessibleWidget(w, QAccessible::StatusBar) {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return "Newest status";
        if (t == QAccessible::Value) return Text();
        return QAccessibleWidget::text(t);
    }

    // The text interface: read-only text without a cursor or selections.
    QString text(int start, int end) const override { return Text().mid(start, end - start); }
    int characterCount() const override { return int(Text().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    const QString& Text() const { return static_cast<StatusAnnouncer*>(widget())->Text(); }
};

QAccessibleInterface* PlayElement(MainWindow& window, QWidget* w) {
    for (int piece = 0; piece < kPieceCount; ++piece)
        if (w == window.Image(piece))
            return new PlayElementAccessible(w, QAccessible::Button, "Press to choose this letter",
                                             [piece](MainWindow& m) { m.ChoosePiece(piece); });
    for (int hole = 0; hole < kHoleCount; ++hole) {
        if (w != window.Hole(hole)) continue;
        const int column = hole % kColumns;
        return new PlayElementAccessible(
            w, QAccessible::Cell,
            QString("Press to drop the chosen letter in column %1").arg(column + 1),
            [column](MainWindow& m) {
                m.ChooseColumn(column);
                m.DropChosen();
            });
    }
    if (w == window.dragbar()) return new QAccessibleWidget(w, QAccessible::Grouping);
    return nullptr;
}

QAccessibleInterface* MainWindowFactory(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (className == QLatin1String("gd::MainWindow"))
        return new QAccessibleWidget(w, QAccessible::Window);
    if (className == QLatin1String("gd::StatusAnnouncer"))
        return new StatusAnnouncerAccessible(static_cast<StatusAnnouncer*>(w));
    auto* window = qobject_cast<MainWindow*>(w->parentWidget());
    if (className != QLatin1String("gd::ClickLabel") || !window) return nullptr;
    return PlayElement(*window, w);
}

}  // namespace

void InstallMainWindowAccessibility() {
    static const bool installed = (QAccessible::installFactory(MainWindowFactory), true);
    (void)installed;
}

QStringList GameNews::Since(const GameState& s) {
    QStringList news;
    for (int h = 0; h < kBoardHoles; ++h) {
        const Cell& cell = s.Hole[h];
        if (started_ && cell.Tag != tags_[h] && !Letter(cell.Tag).isEmpty()) {
            const bool mine = cell.picture == PieceColourPicture(s.PieceColour);
            const QString who =
                mine ? "You" : ToQ(s.SecondPlayer.empty() ? "Opponent" : s.SecondPlayer);
            news << QString("%1 played %2 in column %3.")
                        .arg(who, Letter(cell.Tag))
                        .arg(ColumnOf(h));
        }
        tags_[h] = cell.Tag;
    }
    const auto& lines = s.StatusText.lines;
    if (lines.size() < lines_) lines_ = 0;  // the list was cleared
    for (std::size_t i = lines_; started_ && i < lines.size(); ++i)
        if (!ToQ(lines[i]).trimmed().isEmpty()) news << ToQ(lines[i]);
    lines_ = lines.size();
    if (started_ && s.Label13 != caption_ && !s.Label13.empty()) {
        const bool drawn = s.GameOver && s.WinningWord.empty() && !BoardHasRoom(s);
        news << ToQ(drawn ? PlayMoreResultLine(s).text : s.Label13);
    }
    caption_ = s.Label13;
    started_ = true;
    return news;
}

StatusAnnouncer::StatusAnnouncer(QWidget* parent) : QWidget(parent) {
    setObjectName("StatusAnnouncer");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StatusAnnouncer::Follow(const GameState& s) {
    const QStringList news = news_.Since(s);
    if (news.isEmpty()) return;
    const QString old = text_;
    text_ = news.join('\n');
    QAccessibleTextUpdateEvent event(this, 0, old, text_);
    QAccessible::updateAccessibility(&event);
}

}  // namespace gd
