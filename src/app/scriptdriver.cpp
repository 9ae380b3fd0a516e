// The test script player: one step at a time, each when the program is ready for it.
#include "scriptdriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <cstdio>

#include "application.h"
#include "board.h"
#include "internet_play.h"
#include "internetwindows.h"
#include "mainwindow.h"
#include "playmore.h"
#include "qtext.h"
#include "waitingtransfer.h"

namespace gd {
namespace {

constexpr int kPollMs = 50;
constexpr qint64 kStepLimitMs = 60000;
constexpr qint64 kListRefreshMs = 1000;

qint64 Now() {
    return QDateTime::currentMSecsSinceEpoch();
}

QMessageBox* BoxTitled(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            if (title.isEmpty() || box->windowTitle() == title) return box;
    return nullptr;
}

QMessageBox::StandardButton ButtonNamed(const QString& name) {
    if (name == "Yes") return QMessageBox::Yes;
    if (name == "No") return QMessageBox::No;
    return QMessageBox::Ok;
}

}  // namespace

ScriptDriver::ScriptDriver(Application& app, QStringList steps)
    : app_(app), steps_(std::move(steps)) {
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &ScriptDriver::Poll);
}

ScriptDriver::~ScriptDriver() {
    PrintNewLines();  // the lines of the program's last moments
}

void ScriptDriver::Start() {
    stepStarted_ = Now();
    timer_.start();
}

void ScriptDriver::PrintNewLines() {
    const auto& lines = app_.state().StatusText.lines;
    for (; printed_ < static_cast<int>(lines.size()); ++printed_)
        std::printf("status: %s\n", lines[printed_].c_str());
    InetStart* room = app_.internetWindows().inetstart();
    if (!room) roomPrinted_ = 0;
    for (; room && roomPrinted_ < room->List2()->count(); ++roomPrinted_)
        std::printf("room: %s\n", qPrintable(room->List2()->item(roomPrinted_)->text()));
    std::fflush(stdout);
}

bool ScriptDriver::PressBox(const QString& button, const QString& title) {
    QMessageBox* box = BoxTitled(title);
    if (!box || !box->button(ButtonNamed(button))) return false;
    std::printf("box: %s: %s -> %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()),
                qPrintable(button));
    std::fflush(stdout);
    box->button(ButtonNamed(button))->click();
    return true;
}

bool ScriptDriver::Join(const QString& name) {
    InetStart* room = app_.internetWindows().inetstart();
    if (!room) {
        app_.PlayInternetGame();
        lastRefresh_ = Now();
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
    if (Now() - lastRefresh_ > kListRefreshMs) {
        lastRefresh_ = Now();
        room->Command4Click();
    }
    return false;
}

bool ScriptDriver::Drop(const QString& letter, int column) {
    GameState& s = app_.state();
    MainWindow* main = app_.mainWindow();
    if (!main || s.GameOver || s.CurrentPlayer != s.LocalPlayer || column < 0 ||
        column >= kColumns || LandingHole(s, column) < 0 || LetterNumber(FromQ(letter)) < 0)
        return false;
    // The rack's first piece becomes the scripted letter, then goes to the column's top hole.
    s.Image[0].Tag = FromQ(letter);
    s.Image[0].picture = PieceColourPicture(s.PieceColour);
    s.Image[0].visible = false;
    main->HoleDragDrop(kBoardHoles - kColumns + column, 0);
    return true;
}

bool ScriptDriver::Do(const QStringList& words, const QString& rest) {
    const QString& verb = words[0];
    if (verb == "wait") {
        const auto& lines = app_.state().StatusText.lines;
        for (int i = matched_; i < static_cast<int>(lines.size()); ++i)
            if (ToQ(lines[i]).contains(rest)) {
                matched_ = i + 1;
                return true;
            }
        return false;
    }
    if (verb == "box") return PressBox(words.value(1), rest.section(' ', 1));
    if (verb == "sleep") return Now() - stepStarted_ >= words.value(1).toInt();
    if (verb == "always") {
        rules_.push_back({words.value(1), rest.section(' ', 1)});
        return true;
    }
    // Everything else acts as the player would: not inside a tick, a request or a box.
    if (app_.tickGuard().busy || WaitingTransfer::Waiting() || BoxTitled("")) return false;
    if (verb == "host") {
        app_.internetWindows().ShowEnterWaitingRoom();
        JoinWaitRoom* w = app_.internetWindows().joinwaitroom();
        w->Option(1)->setChecked(true);
        w->Option1Click();
        const int option = words.value(1) == "2" ? 4 : words.value(1) == "10" ? 5 : 3;
        w->Option(words.value(1) == "15" ? 6 : option)->setChecked(true);
        w->Command1Click();
        return true;
    }
    if (verb == "join") return Join(rest);
    if (verb == "turn")
        return !app_.state().GameOver && app_.state().CurrentPlayer == app_.state().LocalPlayer;
    if (verb == "drop") return Drop(words.value(1), words.value(2).toInt());
    if (verb == "chat") {
        app_.mainWindow()->ChatText()->setText(rest);
        app_.ChatSend();
        return true;
    }
    if (verb == "playmore") {
        PlayMore* w = app_.playMore();
        if (!w || !w->isVisible()) return false;
        (words.value(1) == "yes" ? w->Command1() : w->Command2())->click();
        return true;
    }
    if (verb == "updates") {
        app_.CheckForUpdates();
        return true;
    }
    if (verb == "exit") {
        app_.Exit();
        return true;
    }
    std::printf("script: unknown step: %s\n", qPrintable(words.join(' ')));
    return true;
}

void ScriptDriver::Poll() {
    PrintNewLines();
    for (const Rule& rule : rules_)
        PressBox(rule.button, rule.title);
    // A step runs from a timer of its own: Qt never fires a timer again inside its own handler,
    // and a box that a step brings up must still see this poll.
    if (!stepQueued_) {
        stepQueued_ = true;
        QTimer::singleShot(0, this, &ScriptDriver::Step);
    }
}

void ScriptDriver::Step() {
    stepQueued_ = false;
    if (next_ >= steps_.size()) return;
    const QString line = steps_[next_].trimmed();
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || line.startsWith('#')) {
        ++next_;
        return;
    }
    // The step counts as done before it acts: a box it brings up is answered by a later step
    // while this one still waits inside the box.
    const int step = next_++;
    if (Do(words, line.section(' ', 1))) {
        std::printf("script: done %d: %s\n", step + 1, qPrintable(line));
        std::fflush(stdout);
        stepStarted_ = Now();
        return;
    }
    next_ = step;
    if (Now() - stepStarted_ > kStepLimitMs) {
        std::printf("script: stuck at %d: %s\n", step + 1, qPrintable(line));
        std::fflush(stdout);
        QCoreApplication::exit(3);
    }
}

}  // namespace gd
