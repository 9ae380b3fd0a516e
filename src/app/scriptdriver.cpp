// The test-only script driver: each line runs the handlers a player's clicks would run.
#include "scriptdriver.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "application.h"
#include "board.h"
#include "internet_play.h"
#include "internetwindows.h"
#include "lanwindows.h"
#include "mainwindow.h"
#include "playmore.h"
#include "qtext.h"

namespace gd {

namespace {
constexpr int kLineLimitMs = 20000;
constexpr int kThisComputerRow = 1;
constexpr qint64 kListRefreshMs = 1000;

QMessageBox::StandardButton ButtonNamed(const QString& name) {
    if (name == "Yes") return QMessageBox::Yes;
    if (name == "No") return QMessageBox::No;
    return QMessageBox::Ok;
}
}  // namespace

ScriptDriver::ScriptDriver(Application& app, const QString& file) : app_(app) {
    QFile in(file);
    if (in.open(QIODevice::ReadOnly | QIODevice::Text))
        lines_ = QTextStream(&in).readAll().split('\n', Qt::SkipEmptyParts);
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
    timer_.start();
    lineClock_.start();
    boxTimer_.setInterval(50);
    connect(&boxTimer_, &QTimer::timeout, this, [this] { PressBoxes(); });
    boxTimer_.start();
}

ScriptDriver::~ScriptDriver() {
    PrintNewLines();  // the lines of the program's last moments
}

// The board (holes 0..41, "." for empty), whose move it is and where the opponent sits, so
// that a check can compare what two programs showed after every move.
std::string ScriptDriver::BoardLine() const {
    const GameState& s = app_.state();
    Match& match = app_.match();
    std::string board;
    for (int h = 0; h < kBoardHoles; ++h)
        board += s.Hole[h].Tag == kEmptyMarker ? '.' : s.Hole[h].Tag[0];
    const char* turn = !match.seat() || match.Waiting()   ? "none"
                       : !match.InPlay()                  ? "over"
                       : s.CurrentPlayer == s.LocalPlayer ? "mine"
                                                          : "theirs";
    const OpponentSeat* seat = match.seat();
    const char* where = !seat                      ? "none"
                        : seat == &app_.computer() ? "computer"
                        : seat == &app_.internet() ? "internet"
                                                   : "lan";
    return board + " " + turn + " " + where;
}

void ScriptDriver::PrintNewLines() {
    if (const std::string board = BoardLine(); board != boardPrinted_) {
        boardPrinted_ = board;
        std::printf("board: %s\n", board.c_str());
    }
    const PlayMore* more = app_.playMore();
    const QString result = more && more->isVisible() ? more->Label1()->text() : QString();
    if (result != resultPrinted_ && !result.isEmpty())
        std::printf("result: %s\n", qPrintable(result));
    resultPrinted_ = result;
    const auto& lines = app_.state().StatusText.lines;
    for (; printed_ < static_cast<int>(lines.size()); ++printed_)
        std::printf("status: %s\n", lines[printed_].c_str());
    InetStart* room = app_.internetWindows().inetstart();
    if (!room) roomPrinted_ = 0;
    for (; room && roomPrinted_ < room->List2()->count(); ++roomPrinted_)
        std::printf("room: %s\n", qPrintable(room->List2()->item(roomPrinted_)->text()));
    std::fflush(stdout);
}

void ScriptDriver::PressBoxes() {
    PrintNewLines();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box || !box->isVisible()) continue;
        for (const Rule& rule : rules_) {
            QAbstractButton* button = box->button(ButtonNamed(rule.button));
            if (box->windowTitle() != rule.title || !button) continue;
            std::printf("box: %s: %s -> %s\n", qPrintable(rule.title), qPrintable(box->text()),
                        qPrintable(rule.button));
            std::fflush(stdout);
            button->click();
            break;
        }
    }
}

void ScriptDriver::Step() {
    PrintNewLines();
    // A line that waits inside (a listing, a pause) must not have the next step run meanwhile.
    if (busy_) return;
    if (next_ >= lines_.size()) return timer_.stop();
    busy_ = true;
    const QString line = lines_[next_].trimmed();
    const QStringList words = line.split(' ');
    const QString rest = line.section(' ', 1);
    const bool done = Run(words, rest);
    busy_ = false;
    if (done) {
        std::printf("step %d: %s\n", next_ + 1, qPrintable(line));
        std::fflush(stdout);
        ++next_;
        phase_ = 0;
        lineClock_.restart();
    } else if (lineClock_.elapsed() > kLineLimitMs) {
        std::printf("FAIL step %d: %s\n", next_ + 1, qPrintable(line));
        std::fflush(stdout);
        timer_.stop();
        QCoreApplication::exit(3);
    }
}

bool ScriptDriver::Run(const QStringList& words, const QString& rest) {
    GameState& s = app_.state();
    MainWindow* main = app_.mainWindow();
    if (!main || !main->isVisible()) return false;
    const QString& command = words[0];
    if (command == "host" || command == "join") return Host(command == "join");
    if (command == "turn") return app_.match().InPlay() && s.CurrentPlayer == s.LocalPlayer;
    if (command == "enter") {
        app_.internetWindows().ShowEnterWaitingRoom();
        JoinWaitRoom* w = app_.internetWindows().joinwaitroom();
        w->Option(1)->click();
        const QString minutes = words.value(1);
        w->Option(minutes == "2" ? 4 : minutes == "10" ? 5 : minutes == "15" ? 6 : 3)->click();
        w->Command1Click();
        return true;
    }
    if (command == "pick") return Pick(rest);
    if (command == "wait") {
        const auto& lines = s.StatusText.lines;
        for (int i = waited_; i < static_cast<int>(lines.size()); ++i)
            if (ToQ(lines[i]).contains(rest)) {
                waited_ = i + 1;
                return true;
            }
        return false;
    }
    if (command == "always") {
        rules_.push_back({words.value(1), rest.section(' ', 1)});
        return true;
    }
    if (command == "sleep") return lineClock_.elapsed() >= words.value(1).toInt();
    if (command == "computer") {
        app_.PlayAgainstComputer();
        return true;
    }
    if (command == "updates") {
        app_.CheckForUpdates();
        return true;
    }
    if (command == "no") {
        app_.playMore()->Command2()->click();
        return true;
    }
    if (command == "drop") {
        // The first piece is given the scripted letter, then dropped onto the column's top hole.
        Piece& piece = s.Image[0];
        piece.Tag = FromQ(words.value(1));
        piece.picture = PieceColourPicture(s.PieceColour);
        piece.visible = false;
        main->HoleDragDrop(kBoardHoles - kColumns + words.value(2).toInt(), 0);
        return true;
    }
    if (command == "chat") {
        main->ChatText()->setText(rest);
        main->SendButtonClick();
        return true;
    }
    if (command == "see") {
        const auto& lines = s.StatusText.lines;
        return std::find(lines.begin(), lines.end(), FromQ(rest)) != lines.end();
    }
    if (command == "opponent")
        return s.Label7 == FromQ(words.value(1)) && s.Label8 == FromQ(words.value(2));
    if (command == "over") return app_.playMore() && app_.playMore()->isVisible();
    if (command == "yes") {
        app_.playMore()->Command1()->click();
        return true;
    }
    if (command == "box") {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->windowTitle() != rest) return false;
        box->accept();
        return true;
    }
    if (command == "quit") {
        app_.Exit();
        return true;
    }
    return false;
}

// Joining a listed internet game: the waiting room opens, and is refreshed until NAME shows.
bool ScriptDriver::Pick(const QString& name) {
    InetStart* room = app_.internetWindows().inetstart();
    if (!room) {
        app_.PlayInternetGame();
        lastRefresh_ = lineClock_.elapsed();
        return false;
    }
    for (int i = 0; i < room->List1()->count(); ++i) {
        QListWidgetItem* item = room->List1()->item(i);
        if (ToQ(ReadWaitingListLine(FromQ(item->text())).name) != name) continue;
        room->List1()->setCurrentItem(item);
        item->setSelected(true);
        room->Command1Click();
        return true;
    }
    if (lineClock_.elapsed() - lastRefresh_ > kListRefreshMs) {
        lastRefresh_ = lineClock_.elapsed();
        room->Command4Click();
    }
    return false;
}

// Hosting or joining through the three set-up windows, one window per step.
bool ScriptDriver::Host(bool join) {
    switch (phase_) {
        case 0:
            app_.PlayNetworkGame();
            if (!app_.provider()) return false;
            app_.provider()->lstProviders()->setCurrentRow(kThisComputerRow);
            app_.provider()->btnOKClick();
            phase_ = app_.netSelectPlay() ? 1 : 0;
            return false;
        case 1:
            (join ? app_.netSelectPlay()->Option2() : app_.netSelectPlay()->Option1())
                ->setChecked(true);
            app_.netSelectPlay()->Command1Click();
            phase_ = 2;
            return !join;
        default: {
            SelectWaiting* w = app_.selectWaiting();
            if (!w) return false;
            // The list follows the network: wait for a waiting player to show.
            QTreeWidgetItem* root = w->tvSessions()->topLevelItem(0);
            QTreeWidgetItem* first = root && root->childCount() > 0 ? root->child(0) : nullptr;
            if (!first || first->data(0, Qt::UserRole).toString().isEmpty()) return false;
            w->tvSessions()->setCurrentItem(first);
            w->Command1Click();
            if (app_.state().lantimer.Enabled) return true;
            w->close();  // nobody waiting yet: look again
            phase_ = 0;
            return false;
        }
    }
}

}  // namespace gd
