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
#include "lanwindows.h"
#include "mainwindow.h"
#include "playmore.h"
#include "qtext.h"

namespace gd {

namespace {
constexpr int kLineLimitMs = 20000;
constexpr int kThisComputerRow = 1;
}  // namespace

ScriptDriver::ScriptDriver(Application& app, const QString& file) : app_(app) {
    QFile in(file);
    if (in.open(QIODevice::ReadOnly | QIODevice::Text))
        lines_ = QTextStream(&in).readAll().split('\n', Qt::SkipEmptyParts);
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
    timer_.start();
    lineClock_.start();
}

void ScriptDriver::Step() {
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
    if (command == "turn")
        return s.LanGame && !s.GameOver && s.CurrentPlayer == s.LocalPlayer &&
               s.SecondPlayer != kWaitingForPlayer;
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
            QTreeWidgetItem* root = w->tvSessions()->topLevelItem(0);
            if (root && root->childCount() > 0) w->tvSessions()->setCurrentItem(root->child(0));
            w->Command1Click();
            if (app_.state().lantimer.Enabled) return true;
            w->close();  // nobody waiting yet: look again
            phase_ = 0;
            return false;
        }
    }
}

}  // namespace gd
