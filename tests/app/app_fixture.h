// What the window tests share: one QApplication, a program folder written by the test, and an
// application started with recording and scripted services in place of the real ones.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "fake_transfer.h"
#include "fakes.h"
#include "mainwindow.h"
#include "menuform.h"
#include "profile_helpers.h"

namespace gd::test {

// One QApplication for the whole test program. It is never destroyed: tearing it down among
// the exit handlers crashes inside Qt's own globals.
inline QApplication& QtApp() {
    static int argc = 1;
    static char name[] = "app_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

inline void WriteWordList(const QString& path, const DictEntries& words) {
    WriteDictionary(path.toStdString(), words);
}

// Counts pauses and lets a test look at the windows while the game waits.
struct WatchingPauser : CountingPauser {
    std::function<void()> during;
    void Pause() override {
        CountingPauser::Pause();
        if (during) during();
    }
};

struct AppHarness {
    RecordingSound sound;
    WatchingPauser pause;
    ScriptedRandom random;
    ScriptedPrompter prompt;
    FakeTransfer inet;
    QTemporaryDir home;
    std::unique_ptr<Application> app;

    // A program folder with the given words (none: no "wordlist.dic" at all).
    explicit AppHarness(const std::vector<std::pair<std::string, std::string>>& words =
                            {{"word", "a unit of language"}, {"able", "having the skill"}},
                        const std::string& player = "Ann") {
        QtApp();
        if (!words.empty()) WriteWordList(home.filePath("wordlist.dic"), words);
        // The player has a profile without a password, so the start logs straight on.
        if (!player.empty()) WriteProfile(NewProfile(player));
        AppOptions options;
        options.player = player;
        options.home = home.path();
        app = std::make_unique<Application>(
            options, ServiceOverrides{&sound, &pause, &random, &prompt, &inet});
    }
    // Appends a record to "players.dat" of the program's folder.
    void WriteProfile(const PlayerProfile& p) {
        QFile file(home.filePath("players.dat"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        const std::string record = EncodeProfile(p);
        file.write(record.data(), qint64(record.size()));
    }
    void Start() {
        app->Start();
        Settle();
    }
    ~AppHarness() {
        app.reset();
        Settle();
    }
    GameState& s() { return app->state(); }
    MainWindow& main() { return *app->mainWindow(); }
    // Lets queued window-system events (activation, moves, deferred deletes) arrive.
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    // A game in play between Ann and Bob, Ann to move, with these eight letters dealt.
    void StartPlay(const std::string& letters = "abcdefgh") {
        GameState& st = s();
        st.FirstPlayer = st.CurrentPlayer = st.LocalPlayer;
        st.SecondPlayer = "Bob";
        st.GameOver = false;
        for (int i = 0; i < kPieceCount; ++i) {
            st.Image[i].picture = Picture::Blue;
            st.Image[i].Tag = std::string(1, letters.at(i));
            st.Image[i].visible = true;
        }
        app->Refresh();
    }
    // Opens the menu window and runs its entry or toolbar button with this caption or tool tip.
    void RunMenuCommand(const QString& caption) {
        app->ShowMenu();
        Settle();
        MenuForm* menu = app->menuForm();
        ASSERT_TRUE(menu);
        QAction* found = nullptr;
        for (QAction* top : menu->menuBar()->actions()) {
            if (top->text() == caption) found = top;
            if (top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == caption) found = a;
        }
        for (QAction* a : menu->Toolbar1()->actions())
            if (!a->isSeparator() && a->toolTip() == caption) found = a;
        ASSERT_TRUE(found) << caption.toStdString();
        found->trigger();
        Settle();
    }
    QPoint Centre(QWidget* w) { return w->geometry().center(); }
    // A drag of ours entering the window over piece `piece`, as a press on the piece starts it.
    void EnterDrag(const QMimeData& mime, int piece) {
        QDragEnterEvent enter(Centre(main().Image(piece)), Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&main(), &enter);
    }
    // Drags piece `piece` out over `dragbar` (when `overDragbar`) and releases it over `target`.
    void DragAndDrop(int piece, QWidget* target, bool overDragbar = true) {
        QMimeData mime;
        mime.setData(kPieceMimeType, QByteArray::number(piece));
        EnterDrag(mime, piece);
        if (overDragbar) {
            QDragMoveEvent move(Centre(main().dragbar()), Qt::MoveAction, &mime, Qt::LeftButton,
                                Qt::NoModifier);
            QCoreApplication::sendEvent(&main(), &move);
        }
        const QPoint at = target->mapTo(&main(), target->rect().center());
        QDropEvent drop(at, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&main(), &drop);
    }
};

inline QString ShippedFile(const char* name) {
    return QString(GD_DATA_DIR) + "/" + name;
}

// For the windows that need no application: the current folder is the program's folder, an
// empty one of each test's own; every window of the test is closed on the way out.
class InfoWindowTest : public ::testing::Test {
  protected:
    InfoWindowTest() { QtApp(); }
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        AppHarness::Settle();
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
