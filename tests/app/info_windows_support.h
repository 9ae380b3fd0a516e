// What the help, dictionary, quick help and about window tests share: the application object,
// letting window events arrive, and a program folder of the test's own as the current folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app_fixture.h"
#include "helpviewer.h"

namespace gd::test {

// Lets queued window-system events (activation, deferred deletes) arrive.
inline void SettleEvents() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

inline QString ShippedFile(const char* name) {
    return QString(GD_DATA_DIR) + "/" + name;
}

// The current folder is the program's folder: each test gets an empty one of its own, and the
// one help window of the run is closed on the way out so tests do not see each other's.
class InfoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QtApp();
        ASSERT_TRUE(folder.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
    }
    void TearDown() override {
        if (HelpViewer* viewer = OpenHelpViewer()) viewer->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        SettleEvents();
        QDir::setCurrent(previous);
    }
    // Puts the shipped help file into the program's folder under `name`.
    void InstallHelpFile(const QString& name = "GLYPHDROP.HLP") {
        ASSERT_TRUE(QFile::copy(ShippedFile("GLYPHDROP.HLP"), folder.filePath(name)));
    }

    QTemporaryDir folder;
    QString previous;
};

}  // namespace gd::test
