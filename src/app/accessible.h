// What a screen reader learns of the main window and what it can do there: the holes, letters and
// panels are named from the game state, pressing a letter or a hole plays, and new status lines
// are carried to the reader as inserted text.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <string>

#include "state.h"

namespace gd {

// "Column 3, row 6: A, blue, yours" or "Column 3, row 6: empty"; a drop-row cell is
// "Above column 3: ...". Columns count 1 from the left, rows 1 from the top.
QString HoleAccessibleName(const GameState& s, int hole);
// "Letter 2: Q", with ", chosen" for the chosen one; "Letter 2: none" while it is away.
QString PieceAccessibleName(const GameState& s, int piece, bool chosen);
// The rack as a whole: "Your letters: A B C D E F G H".
QString RackAccessibleName(const GameState& s);

// A reader is told of every change of a name, so a name is set only when it changes.
void SetAccessibleName(QWidget* widget, const QString& name);

class MainWindow;
// Names the main window's holes, letters, rack, opponent panel, turn caption and light from the
// state, as its refresh shows them.
void NameMainWindowElements(MainWindow& window, const GameState& s);

// Makes the main window's holes, letters and status announcer known to the accessibility
// layer with their roles and press actions. Called once the window is built; installing again
// does nothing.
void InstallMainWindowAccessibility();

// What a reader is told of a change of the state: moves that landed on the board, new status
// lines (chat, refusals, results) and a new turn caption; for a full board without a word, the
// result line. Kept Qt-free of windows so the news can be checked on their own.
class GameNews {
  public:
    // The news since the previous call, oldest first; the first call only takes note.
    QStringList Since(const GameState& s);

  private:
    bool started_ = false;
    std::array<std::string, kBoardHoles> tags_{};
    std::size_t lines_ = 0;
    std::string caption_;
};

// Carries the news of the game to a screen reader: a reader hears text inserted here as it
// hears a live region. It paints nothing and lies under the status list.
class StatusAnnouncer : public QWidget {
    Q_OBJECT
  public:
    explicit StatusAnnouncer(QWidget* parent);
    const QString& Text() const { return text_; }
    // Announces what changed in `s` since the last call, if anything did.
    void Follow(const GameState& s);

  private:
    GameNews news_;
    QString text_;
};

}  // namespace gd
