// A test-only driver for whole-program checks (`--drive FILE`): plays a scripted part through
// the real windows and handlers, one line at a time, waiting for the state a line needs.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

namespace gd {

class Application;

// Lines: "host", "join" (LAN through the set-up windows, this computer), "enter MINUTES" (the
// internet waiting room, a public game), "pick NAME" (join NAME's internet game once listed),
// "turn" (wait for the local player's turn), "drop LETTER COLUMN", "chat TEXT", "see LINE" (a
// status line), "wait TEXT" (a later status line holding TEXT), "opponent NAME LOCATION", "over"
// (the game-over window), "yes", "no", "box TITLE" (answer OK to the message box of that title),
// "always BUTTON TITLE" (from now on press Yes, No or OK in every box of that title, also inside
// a line), "computer" (play against the computer), "sleep MS", "updates", "quit". Each finished
// line and each new status line, internet waiting-room line, answered box and game-over result
// ("result: ") is printed, and
// "board: " with the board, whose move it is and the opponent's seat whenever one of them
// changes; a line that cannot finish within 20 seconds ends the program with exit code 3.
class ScriptDriver : public QObject {
  public:
    ScriptDriver(Application& app, const QString& file);
    ~ScriptDriver() override;

  private:
    void Step();
    // True when the line is done; false to try again on the next step.
    bool Run(const QStringList& words, const QString& rest);
    bool Host(bool join);
    bool Pick(const QString& name);
    void PressBoxes();
    void PrintNewLines();
    std::string BoardLine() const;

    Application& app_;
    QStringList lines_;
    int next_ = 0;
    int phase_ = 0;
    bool busy_ = false;  // progress inside a line of several windows
    QTimer timer_;
    QElapsedTimer lineClock_;
    // Boxes are answered from a timer of their own: Qt never fires a timer again while its own
    // handler waits inside a box that a line brought up.
    QTimer boxTimer_;
    struct Rule {
        QString button, title;
    };
    std::vector<Rule> rules_;
    int printed_ = 0, roomPrinted_ = 0;
    int waited_ = 0;  // status lines before this one were used by earlier "wait" lines
    qint64 lastRefresh_ = -1;
    std::string boardPrinted_;
    QString resultPrinted_;
};

}  // namespace gd
