// Test runs only: plays a script of steps against the running program, as a player would, and
// prints every status line, waiting-room line and message box, so whole-program tests can drive two
// programs.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace gd {

class Application;

// One step a line; each waits until it can be done, then acts:
//   host MINUTES            enter the waiting room for a public game
//   join NAME               open the waiting room and join NAME's game once it is listed
//   drop LETTER COLUMN      on the local player's turn, drop LETTER into COLUMN (0..6)
//   turn                    until it is the local player's turn
//   chat TEXT               send a chat line
//   wait TEXT               until a later status line holds TEXT
//   box BUTTON TITLE        until a message box titled TITLE shows, then press Yes, No or OK
//   always BUTTON TITLE     from now on, press BUTTON in every box titled TITLE
//   playmore yes|no         answer the game-over window
//   sleep MS                let MS milliseconds pass
//   updates                 "Check For Updates"
//   exit                    the close button
// A step not done within a minute ends the program with status 3.
class ScriptDriver : public QObject {
    Q_OBJECT
  public:
    ScriptDriver(Application& app, QStringList steps);
    ~ScriptDriver() override;
    void Start();

  private:
    struct Rule {
        QString button, title;
    };
    void Poll();
    void Step();
    bool Do(const QStringList& words, const QString& rest);
    bool PressBox(const QString& button, const QString& title);
    bool Join(const QString& name);
    bool Drop(const QString& letter, int column);
    void PrintNewLines();

    Application& app_;
    QStringList steps_;
    int next_ = 0;
    bool stepQueued_ = false;
    int printed_ = 0;
    int roomPrinted_ = 0;
    int matched_ = 0;  // status lines before this one are used up by earlier waits
    qint64 stepStarted_ = 0;
    qint64 lastRefresh_ = 0;
    std::vector<Rule> rules_;
    QTimer timer_;
};

}  // namespace gd
