// The menu tree, the toolbar and the menu window's placement over the main window.
#include "menuform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <functional>

#include "application.h"
#include "layout.h"

namespace gd {

namespace {

// The maker's pages behind the "&Web Links" entries.
const char* const kHomePage = "https://glyphdrop.example.org/";
const char* const kMailAddress = "mailto:support@glyphdrop.example.org";

// The commands with keys, by the caption of their menu entry. The keys leave the chat line's
// editing keys alone. The hint's Ctrl+H is the main window's own (it yields to the chat line).
struct KeyedCommand {
    const char* caption;
    QKeySequence key;
    void (Application::*run)();
};
const KeyedCommand kKeyedCommands[] = {
    {"Play Against Computer", QKeySequence(Qt::Key_F2), &Application::PlayAgainstComputer},
    {"Play Network (LAN) Game", QKeySequence(Qt::CTRL | Qt::Key_L), &Application::PlayNetworkGame},
    {"Play Internet Game", QKeySequence(Qt::CTRL | Qt::Key_I), &Application::PlayInternetGame},
    {"View Stats", QKeySequence(Qt::CTRL | Qt::Key_T), &Application::ViewStats},
    {"E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), &Application::Exit},
};

QKeySequence CommandKey(const char* caption) {
    for (const KeyedCommand& command : kKeyedCommands)
        if (QString(command.caption) == caption) return command.key;
    return {};
}

}  // namespace

void AddCommandKeys(QWidget& window, Application& app) {
    for (const KeyedCommand& command : kKeyedCommands) {
        auto* key = new QShortcut(command.key, &window);
        QObject::connect(key, &QShortcut::activated, &window,
                         [&app, run = command.run] { (app.*run)(); });
    }
}

MenuForm::MenuForm(Application& app, QWidget* mainWindow)
    : QMainWindow(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                  Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      main_(mainWindow) {
    setObjectName("menuform");
    BuildMenus();
    BuildToolbar();
    menuBar()->installEventFilter(this);
}

void MenuForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* caption, std::function<void()> command) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(CommandKey(caption));
        connect(action, &QAction::triggered, this, [command] { command(); });
        return action;
    };
    Application& a = app_;

    QMenu* game = bar->addMenu("&Game");
    game->setObjectName("mnuGame");
    add(game, "Play Network (LAN) Game", [&a] { a.PlayNetworkGame(); });
    add(game, "Play Internet Game", [&a] { a.PlayInternetGame(); });
    add(game, "Play Against Computer", [&a] { a.PlayAgainstComputer(); });
    QAction* hint = add(game, "&Hint", [&a] { a.Hint(); });
    hint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    hint->setShortcutContext(Qt::WindowShortcut);
    game->addSeparator();
    add(game, "View Stats", [&a] { a.ViewStats(); });
    game->addSeparator();
    add(game, "Change &User", [&a] { a.ChangeUser(); });
    game->addSeparator();
    add(game, "E&xit", [&a] { a.Exit(); });

    // Two top-level entries are commands themselves, with no menu below them.
    QAction* settings = bar->addAction("&Settings");
    connect(settings, &QAction::triggered, this, [&a] { a.Settings(); });
    QAction* dictionary = bar->addAction("&View Dictionary");
    connect(dictionary, &QAction::triggered, this, [&a] { a.ViewDictionary(); });

    QMenu* web = bar->addMenu("&Web Links");
    web->setObjectName("mnuWeb");
    add(web, "Check For Updates", [&a] { a.CheckForUpdates(); });
    web->addSeparator();
    add(web, "Glyphdrop Home Page", [&a] { a.OpenWebLink(kHomePage); });
    add(web, "E-Mail Glyphdrop", [&a] { a.OpenWebLink(kMailAddress); });

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("mnuHelp");
    QAction* contents = add(help, "Help Contents", [&a] { a.OpenHelpContents(); });
    contents->setShortcut(Qt::Key_F1);
    contents->setShortcutContext(Qt::WindowShortcut);
    add(help, "&Search Help For..", [&a] { a.OpenHelpSearch(); });
    add(help, "Frequently Asked Questions", [&a] { a.OpenHelpTopic(140); });
    help->addSeparator();
    add(help, "&About Glyphdrop", [&a] { a.AboutGlyphdrop(); });
    add(help, "&Obtaining Technical Support", [&a] { a.OpenHelpTopic(30); });
}

void MenuForm::BuildToolbar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName("Toolbar1");
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    setContextMenuPolicy(Qt::NoContextMenu);

    Application& a = app_;
    const struct {
        const char* tip;
        const char* icon;
        std::function<void()> command;
    } buttons[] = {
        {"Play Computer", "computer", [&a] { a.PlayAgainstComputer(); }},
        {"Hint", "hint", [&a] { a.Hint(); }},
        {"Lan Play", "lan", [&a] { a.PlayNetworkGame(); }},
        {"Internet Play", "internet", [&a] { a.PlayInternetGame(); }},
        {"View Player Stats", "stats", [&a] { a.ViewStats(); }},
        {"Change User", "user", [&a] { a.ChangeUser(); }},
        {"Settings", "settings", [&a] { a.Settings(); }},
        {"View Word List", "wordlist", [&a] { a.ViewDictionary(); }},
        {"Help", "help", [&a] { a.OpenHelpContents(); }},
        {"About Glyphdrop", "about", [&a] { a.AboutGlyphdrop(); }},
        {"Toggle Full Screen", "fullscreen", [&a] { a.ToggleFullScreen(); }},
        {"Exit", "exit", [&a] { a.Exit(); }},
    };
    bool first = true;
    for (const auto& button : buttons) {
        if (!first) toolbar_->addSeparator();
        first = false;
        QAction* action = toolbar_->addAction(app_.pictures().ToolIcon(button.icon), button.tip);
        action->setToolTip(button.tip);
        const auto command = button.command;
        connect(action, &QAction::triggered, this, [command] { command(); });
    }
}

void MenuForm::Load() {
    setWindowTitle(app_.Caption());
    setFixedSize(main_->width(), layout::kMenuHeight);
    move(main_->pos());
}

void MenuForm::TakeKeys() {
    QMenuBar* bar = menuBar();
    bar->setFocus();
    bar->setActiveAction(bar->actions().first());
}

void MenuForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool MenuForm::eventFilter(QObject* watched, QEvent* event) {
    // Escape in a dropped menu closes that menu and leaves the menu bar with the keys; Escape
    // there then closes the window, where the bar itself would only forget its place.
    if (watched == menuBar() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MenuForm::changeEvent(QEvent* event) {
    // Losing the activation closes the window; the close runs after the event that took the
    // activation away, so a command still running in this window finishes first.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (!isActiveWindow()) close();
        });
    QMainWindow::changeEvent(event);
}

void MenuForm::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        app_.MenuClosed(pos());
        // Closed by a key or by a command that opened no window of its own, the keys go back to
        // the main window, which a keyboard player could not otherwise reach.
        QTimer::singleShot(0, main_, [main = QPointer<QWidget>(main_)] {
            if (!main || !main->isVisible()) return;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                const Qt::WindowType type = w->windowType();
                if (w != main && w->isVisible() && type != Qt::Popup && type != Qt::ToolTip) return;
            }
            main->activateWindow();
        });
    }
    QMainWindow::closeEvent(event);
}

}  // namespace gd
