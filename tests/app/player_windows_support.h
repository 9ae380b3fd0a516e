// Shared by the login, settings and statistics window tests: own folder, fakes and hooks.
#pragma once

#include <QDir>
#include <QImage>

#include "app_fixture.h"

namespace gd::test {

struct PlayerWindowTest : ::testing::Test {
    TempFolder dir;
    Harness h;
    FakeTransfer inet;
    RecordingPlayerHooks hooks;
    ProfileFile profiles{dir.path};
    QString folder = QString::fromStdString(dir.path);
    QString previous = QDir::currentPath();

    PlayerWindowTest() { QtApp(); }
    ~PlayerWindowTest() override {
        AppHarness::Settle();
        QDir::setCurrent(previous);
    }
    void Store(const std::vector<PlayerProfile>& all) { dir.Write("players.dat", Records(all)); }
    // A small picture file of `format` ("BMP", "GIF", "JPG") in the program's folder.
    void Picture(const std::string& name, const char* format = "BMP") {
        QImage image(20, 16, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        ASSERT_TRUE(image.save(QString::fromStdString(dir.File(name)), format));
    }
};

}  // namespace gd::test
