// A test-only driver for whole-program checks (`--drive FILE`): plays a scripted part through
// the real windows and handlers, one line at a time, waiting for the state a line needs.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace gd {

class Application;

// Lines: "host", "join" (LAN through the set-up windows, this computer), "turn" (wait for the
// local player's turn), "drop LETTER COLUMN", "chat TEXT", "see LINE" (a status line),
// "opponent NAME LOCATION", "over" (the game-over window), "yes", "box TITLE" (answer OK to the
// message box of that title), "quit". Each finished line is printed; a line that cannot finish
// within 20 seconds ends the program with exit code 3.
class ScriptDriver : public QObject {
  public:
    ScriptDriver(Application& app, const QString& file);

  private:
    void Step();
    // True when the line is done; false to try again on the next step.
    bool Run(const QStringList& words, const QString& rest);
    bool Host(bool join);

    Application& app_;
    QStringList lines_;
    int next_ = 0;
    int phase_ = 0;
    bool busy_ = false;  // progress inside a line of several windows
    QTimer timer_;
    QElapsedTimer lineClock_;
};

}  // namespace gd
