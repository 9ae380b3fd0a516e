// What the window tests share: one QApplication, a program folder written by the test, and an
// application started with recording and scripted services in place of the real ones.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragMoveEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "fake_transfer.h"
#include "fakes.h"
#include "loginwindow.h"
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

// Lets queued window-system events (activation, moves, deferred deletes) arrive.
inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

inline QString ShippedFile(const char* name) {
    return QString(GD_DATA_DIR) + "/" + name;
}

// The visible window of this kind, if any.
template <typename Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

// Whether `label` shows all of its text: the text, wrapped as the label wraps it, fits inside
// it, the label lies inside its window and no other element covers it.
inline ::testing::AssertionResult ShowsWholeText(const QLabel* label) {
    const QString name = label->objectName() + " \"" + label->text().left(30) + "\"";
    const QRect inside = label->contentsRect();
    QSize needed;
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
        QTextDocument page;
        page.setDocumentMargin(0);
        page.setDefaultFont(label->font());
        page.setHtml(label->text());
        if (label->wordWrap()) page.setTextWidth(inside.width());
        needed = page.size().toSize();
    } else {
        const int wrap = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
        needed = label->fontMetrics()
                     .boundingRect(0, 0, inside.width(), 1 << 20, wrap, label->text())
                     .size();
    }
    if (needed.height() > inside.height() || needed.width() > inside.width())
        return ::testing::AssertionFailure()
               << name.toStdString() << " needs " << needed.width() << "x" << needed.height()
               << ", has " << inside.width() << "x" << inside.height();
    const QWidget* window = label->window();
    const QRect onWindow(label->mapTo(window, QPoint(0, 0)), label->size());
    if (!window->rect().contains(onWindow))
        return ::testing::AssertionFailure() << name.toStdString() << " reaches out of its window";
    for (const QWidget* other : window->findChildren<QWidget*>()) {
        // A background as large as the window lies under everything.
        if (other == label || !other->isVisible() || other->isAncestorOf(label) ||
            label->isAncestorOf(other) || other->size() == window->size())
            continue;
        if (QRect(other->mapTo(window, QPoint(0, 0)), other->size()).intersects(onWindow))
            return ::testing::AssertionFailure()
                   << name.toStdString() << " is covered by " << other->objectName().toStdString();
    }
    return ::testing::AssertionSuccess();
}

struct AppHarness {
    RecordingSound sound;
    CountingPauser pause;
    ScriptedRandom random;
    ScriptedPrompter prompt;
    FakeTransfer inet;
    QTemporaryDir home;
    AppOptions options;
    std::unique_ptr<Application> app;

    // A program folder with the given words (none: no "wordlist.dic" at all) and, unless the
    // name is empty, a profile without a password for the player, who then logs straight on.
    explicit AppHarness(const DictEntries& words = {{"word", "a unit of language"},
                                                    {"able", "having the skill"}},
                        const std::string& player = "Ann") {
        QtApp();
        if (!words.empty()) WriteWordList(File("wordlist.dic"), words);
        if (!player.empty()) WriteProfiles(File("players.dat"), {NewProfile(player)});
        options.player = player;
        options.home = home.path();
    }
    ~AppHarness() {
        app.reset();
        Settle();
    }
    std::string File(const char* name) const { return home.filePath(name).toStdString(); }
    // Starts the program, made here from `options` unless the test made its own.
    void Start() {
        if (!app)
            app = std::make_unique<Application>(
                options, ServiceOverrides{&sound, &pause, &random, &prompt, &inet});
        app->Start();
        Settle();
    }
    GameState& s() { return app->state(); }
    MainWindow& main() { return *app->mainWindow(); }
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
    // Logs on through the login window with this name.
    void LogIn(const QString& name) {
        app->loginWindow()->Combo1()->setEditText(name);
        app->loginWindow()->Command1Click();
        Settle();
    }
    QPoint Centre(QWidget* w) { return w->geometry().center(); }
    // Drags piece `piece` out over `dragbar` (when `overDragbar`) and releases it over `target`.
    void DragAndDrop(int piece, QWidget* target, bool overDragbar = true) {
        QMimeData mime;
        mime.setData(kPieceMimeType, QByteArray::number(piece));
        QDragEnterEvent enter(Centre(main().Image(piece)), Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&main(), &enter);
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
        Settle();
        QDir::setCurrent(previous);
    }
    // Puts the shipped help file into the program's folder under `name`.
    void InstallHelpFile(const QString& name = "GLYPHDROP.HLP") {
        ASSERT_TRUE(QFile::copy(ShippedFile("GLYPHDROP.HLP"), folder.filePath(name)));
    }
    QTemporaryDir folder;
    QString previous;
};

// For the login, settings and statistics windows: a folder, fakes and hooks of their own.
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
        Settle();
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
