// What the login, settings and statistics window tests share: one QApplication, a program
// folder of the test's own, the rules' fakes, a scripted transfer control and recording hooks.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <string>
#include <utility>
#include <vector>

#include "fake_transfer.h"
#include "fakes.h"
#include "profile_helpers.h"

namespace gd::test {

// Never destroyed: tearing it down among the exit handlers crashes inside Qt's own globals.
inline QApplication& PlayersQtApp() {
    static int argc = 1;
    static char name[] = "player_windows_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Lets queued window-system events (activation, deferred deletes) arrive.
inline void SettlePlayerWindows() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

struct PlayerWindowTest : ::testing::Test {
    TempFolder dir;
    Harness h;
    FakeTransfer inet;
    RecordingPlayerHooks hooks;
    ProfileFile profiles{dir.path};
    QString folder = QString::fromStdString(dir.path);
    QString previous = QDir::currentPath();

    PlayerWindowTest() { PlayersQtApp(); }
    ~PlayerWindowTest() override {
        SettlePlayerWindows();
        QDir::setCurrent(previous);
    }
    void Store(const std::vector<PlayerProfile>& all) {
        std::string bytes;
        for (const auto& p : all)
            bytes += EncodeProfile(p);
        dir.Write("players.dat", bytes);
    }
    // A small picture file of `format` ("BMP", "GIF", "JPG") in the program's folder.
    void Picture(const std::string& name, const char* format = "BMP") {
        QImage image(20, 16, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        ASSERT_TRUE(image.save(QString::fromStdString(dir.File(name)), format));
    }
    std::string LastMessage() const {
        return h.prompt.shown.empty() ? "" : h.prompt.shown.back().text;
    }
    std::string LastTitle() const {
        return h.prompt.shown.empty() ? "" : h.prompt.shown.back().title;
    }
};

}  // namespace gd::test
