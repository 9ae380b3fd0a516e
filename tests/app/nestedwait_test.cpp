// Guards against a window being deleted under a handler that waits: every menu and toolbar
// command runs with a data file missing, so real message boxes (nested event loops) come up
// while the menu window loses the activation and closes.
#include <QDialog>
#include <QMenuBar>
#include <QTimer>

#include "app_fixture.h"
#include "nestedwait.h"

namespace gd::test {
namespace {

// Commands that leave the program or the machine are run elsewhere.
bool Skipped(const QString& caption) {
    return caption.contains("Exit") || caption.contains("E&xit") || caption.contains("Home Page") ||
           caption.contains("E-Mail");
}

std::vector<QString> Commands(MenuForm& menu) {
    std::vector<QString> captions;
    for (QAction* top : menu.menuBar()->actions()) {
        if (!top->menu()) captions.push_back(top->text());
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                if (!a->isSeparator()) captions.push_back(a->text());
    }
    for (QAction* a : menu.Toolbar1()->actions())
        if (!a->isSeparator()) captions.push_back(a->toolTip());
    return captions;
}

class CommandsWithAFileMissing : public ::testing::TestWithParam<const char*> {};

TEST_P(CommandsWithAFileMissing, NoWindowIsDeletedUnderAWaitingHandler) {
    AppHarness h;
    QFile::copy(ShippedFile("GLYPHDROP.HLP"), h.home.filePath("GLYPHDROP.HLP"));
    QFile::remove(h.home.filePath(GetParam()));
    // The real message boxes, each answered by closing it as soon as it is up.
    AppOptions options;
    options.player = "Ann";
    options.home = h.home.path();
    h.app.reset();
    h.app = std::make_unique<Application>(
        options, ServiceOverrides{&h.sound, &h.pause, &h.random, nullptr, &h.inet});
    QTimer answer;
    int boxes = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++boxes;
            box->reject();
        }
    });
    answer.start(5);
    h.Start();
    if (!h.app->mainWindow()) h.app->LogOn("Ann");  // without "players.dat" Ann is new
    h.app->ShowMenu();
    Settle();
    ASSERT_TRUE(h.app->menuForm());
    for (const QString& caption : Commands(*h.app->menuForm())) {
        if (Skipped(caption)) continue;
        if (!h.app->mainWindow()) h.app->LogOn("Ann");
        h.RunMenuCommand(caption);
        EXPECT_FALSE(NestedWait::Active()) << caption.toStdString();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != h.app->mainWindow()) w->close();
        Settle();
    }
    if (QString(GetParam()) == "wordlist.dic") {
        EXPECT_GT(boxes, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(DataFiles, CommandsWithAFileMissing,
                         ::testing::Values("wordlist.dic", "GLYPHDROP.HLP", "players.dat",
                                           "Marble.bmp"));

}  // namespace
}  // namespace gd::test
