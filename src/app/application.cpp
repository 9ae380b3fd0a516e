// Start-up, the real services, the windows' life and the menu's commands.
#include "application.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>
#include <cstdio>

#include "about.h"
#include "curl_transfer.h"
#include "files.h"
#include "helpviewer.h"
#include "hint.h"
#include "internet_play.h"
#include "internetwindows.h"
#include "lanwindows.h"
#include "login.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "menuform.h"
#include "playmore.h"
#include "qtext.h"
#include "qtservices.h"
#include "quickhelp.h"
#include "rules.h"
#include "settingswindow.h"
#include "singlewindow.h"
#include "statswindow.h"
#include "waitingtransfer.h"
#include "wordlistwindow.h"

namespace gd {

QString InstalledFilesFolder() {
    const QDir folder(QCoreApplication::applicationDirPath() + "/" + GLYPHDROP_BIN_TO_DATA);
    return folder.exists() ? folder.canonicalPath() : QString();
}

namespace {

// Each player of the machine has his own profiles: the folder is readable by him alone. It has
// the name of the shipped files' folder; earlier versions spelt it "Glyphdrop".
QString PlayerDataFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = data + "/glyphdrop";
    if (!MoveOldDataFolder(FromQ(data + "/Glyphdrop"), FromQ(folder)))
        std::fprintf(stderr,
                     "glyphdrop: some files stay in %s/Glyphdrop: they could not be moved\n",
                     qPrintable(data));
    if (!QDir(folder).exists() && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

}  // namespace

QString ProgramFolder() {
    QString home = qEnvironmentVariable("GLYPHDROP_HOME");
    if (home.isEmpty())
        home = InstalledFilesFolder().isEmpty() ? QCoreApplication::applicationDirPath()
                                                : PlayerDataFolder();
    // Absolute, so that it still names the folder once that is the current folder.
    return QDir(home).absolutePath();
}

Application::Application(AppOptions options, ServiceOverrides overrides)
    : options_(std::move(options)), pictures_(options_.home) {
    UseProgramFolders({FromQ(options_.home), FromQ(options_.readOnly)});
    Clock* clock = overrides.clock;
    if (!clock) clock = (ownClock_ = std::make_unique<SystemClock>()).get();
    SoundPlayer* sound = overrides.sound;
    if (!sound) sound = (ownSound_ = std::make_unique<QtSoundPlayer>()).get();
    Pauser* pause = overrides.pause;
    if (!pause) {
        ownPause_ = std::make_unique<QtPauser>(
            *clock,
            [this] {
                Refresh();
                if (main_) main_->repaint();
            },
            1000 / options_.timeScale);
        pause = ownPause_.get();
    }
    RandomSource* random = overrides.random;
    if (!random) random = (ownRandom_ = std::make_unique<ClockRandom>()).get();
    Prompter* prompt = overrides.prompt;
    if (!prompt)
        prompt =
            (ownPrompt_ = std::make_unique<QtPrompter>([this] { return DialogParent(); })).get();
    services_ =
        std::make_unique<Services>(Services{*sound, *pause, *random, *prompt, *this, *clock});
    HttpTransfer* inner = overrides.inet;
    if (!inner) inner = (ownInet_ = std::make_unique<CurlTransfer>()).get();
    // Every request waits for its answer with the windows painting and the light shown.
    waitingInet_ = std::make_unique<WaitingTransfer>(*inner, [this] { Refresh(); });
    inet_ = waitingInet_.get();
    results_ = std::make_unique<ProfileResults>(state_, profiles());
    match_ = std::make_unique<Match>(state_, *services_, *results_);
    computer_ = std::make_unique<ComputerSeat>(state_, *services_, *match_);
    internetWindows_ = std::make_unique<InternetWindows>(*this);
    internet_ = std::make_unique<InternetPlay>(state_, *services_, *match_, *inet_,
                                               *internetWindows_, profiles(), FromQ(options_.home));
    internet_->ServerAddress = options_.server;
    lan_ = std::make_unique<LanController>(state_, *services_, *match_, profiles());

    // Each timer ticks the seat it drives: the computer or the LAN peer, the game server.
    const auto tick = [this](const TimerState& timer) {
        return [this, &timer] {
            match_->Tick(timer);
            Refresh();
        };
    };
    lantimer_ = std::make_unique<StateTimer>("lantimer", state_.lantimer, tick(state_.lantimer));
    inettimer_ =
        std::make_unique<StateTimer>("inettimer", state_.inettimer, tick(state_.inettimer));
    lantimer_->SetTimeScale(options_.timeScale);
    inettimer_->SetTimeScale(options_.timeScale);
}

Application::~Application() {
    lantimer_.reset();
    inettimer_.reset();
    lan_.reset();  // an orderly leave while the event loop's sockets still exist
    // The windows still open go with their holders.
}

MainWindow* Application::mainWindow() const {
    return main_;
}

MenuForm* Application::menuForm() const {
    return menu_;
}
PlayMore* Application::playMore() const {
    return playMore_;
}
LoginWindow* Application::loginWindow() const {
    return login_;
}
SettingsWindow* Application::settingsWindow() const {
    return settings_;
}
StatsWindow* Application::statsWindow() const {
    return stats_;
}
ProfileFile Application::profiles() const {
    return ProfileFile{FromQ(options_.home)};
}

void Application::Start() {
    ChangeToAppFolder(FromQ(options_.home));
    state_.ProgramVersion = kProgramVersion;
    if (options_.player.empty())
        ShowLogin();
    else
        StartAs(options_.player);
}

void Application::StartAs(const std::string& player) {
    // A password in force is asked for by the login window, never skipped.
    if (LoginPasswordShown(profiles(), player)) {
        ShowLogin(player);
        return;
    }
    switch (AcceptLogin(state_, services_->prompt, *this, profiles(), player, "")) {
        case LoginOutcome::Refused:
            ShowLogin(player);
            return;
        case LoginOutcome::NewUser:
            ShowSettings();
            return;
        case LoginOutcome::LoggedIn:
            LogOn(state_.LocalPlayer);
            return;
    }
}

void Application::ShowLogin(const std::string& name) {
    // A login window that has closed may still wait for its deletion.
    if (!login_ || !login_->isVisible()) {
        login_.Hold(new LoginWindow(state_, *services_, *this, profiles()));
        connect(login_, &LoginWindow::loggedIn, this, [this] { LogOn(state_.LocalPlayer); });
        connect(login_, &LoginWindow::newUser, this, [this] { ShowSettings(); });
        connect(login_, &LoginWindow::closedByUser, this, [this] { EndProgram(); });
    }
    if (!name.empty()) login_->Combo1()->setEditText(ToQ(name));
    BringForward(login_);
}

void Application::ShowSettings() {
    ShowSingleWindow(settings_, [this] {
        auto* w = new SettingsWindow(state_, *services_, *inet_, *this, options_.home);
        connect(w, &SettingsWindow::saved, this, [this] { ShowMainWindow(); });
        connect(w, &SettingsWindow::backToLogin, this, [this] { ChangeUser(); });
        connect(w, &SettingsWindow::helpRequested, this,
                [this](int topic) { OpenHelpTopic(topic); });
        return w;
    });
}

void Application::LogOn(const std::string& player) {
    LogOnPlayer(state_, player, options_.skill);
    internet_->UserEmail = MakeUserEmail(player, FromQ(QSysInfo::machineHostName()));
    ShowMainWindow();
}

QString Application::Caption() const {
    return ToQ(LoggedOnCaption(state_));
}

void Application::ShowMainWindow() {
    if (!main_) {
        main_.Hold(new MainWindow(*this));
        InstallHelpKey(main_);
        InstallHintKey();
        main_->Load();
    }
    main_->setWindowTitle(Caption());
    main_->show();
    main_->raise();
    main_->activateWindow();
    Refresh();
}

QWidget* Application::DialogParent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    return main_ && main_->isVisible() ? main_.get() : nullptr;
}

void Application::Refresh() {
    if (main_) main_->Refresh();
    lantimer_->Sync();
    inettimer_->Sync();
}

bool Application::ConfirmLeave() {
    const bool goOn = match_->ConfirmLeave();
    Refresh();
    return goOn;
}

void Application::EndProgram() {
    ending_ = true;
    match_->Leave(GameEnd::ProgramEnding);
    state_.lantimer.Enabled = state_.inettimer.Enabled = false;
    lantimer_->Sync();
    inettimer_->Sync();
    internetWindows_->CloseAll();
    if (playMore_) playMore_->close();
    if (menu_) menu_->close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void Application::ShowMenu() {
    if (!main_ || (menu_ && menu_->isVisible())) return;
    menu_.Hold(new MenuForm(*this, main_));
    menu_->Load();
    menu_->show();
    menu_->raise();
    menu_->activateWindow();
}

void Application::ToggleMenu() {
    if (menu_ && menu_->isVisible()) {
        menu_->hide();
        menu_->close();
    } else {
        ShowMenu();
    }
}

void Application::CloseMenu() {
    if (menu_) menu_->close();
}

void Application::MenuClosed(const QPoint& position) {
    if (!main_ || !main_->isVisible()) return;
    if (main_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    main_->move(position);
}

// "Play Network (LAN) Game": internet play ends first (after asking), then a new LAN root and
// the connection-method window.
void Application::PlayNetworkGame() {
    if (!ConfirmLeave()) return;
    CloseMenu();
    lan_->NewLanRoot(MakeLanRoot(options_.lan));
    const bool fresh = !provider_;
    ShowSingleWindow(provider_, [this] { return new Provider(*this); });
    if (fresh) provider_->Load();
}

Provider* Application::provider() const {
    return provider_;
}
NetSelectPlay* Application::netSelectPlay() const {
    return netSelectPlay_;
}
SelectWaiting* Application::selectWaiting() const {
    return selectWaiting_;
}

void Application::LanWindowDone(QWidget* window, LanNext next) {
    if (next == LanNext::Stay) return;
    window->close();
    if (next == LanNext::ShowNetSelectPlay) {
        const bool fresh = !netSelectPlay_;
        ShowSingleWindow(netSelectPlay_, [this] { return new NetSelectPlay(*this); });
        if (fresh) netSelectPlay_->Load();
    } else if (next == LanNext::ShowSelectWaiting) {
        // Loaded before it shows: the listing takes its time-out first.
        if (!selectWaiting_) {
            selectWaiting_.Hold(new SelectWaiting(*this));
            selectWaiting_->Load();
        }
        BringForward(selectWaiting_);
    }
    Refresh();
}

bool Application::SendChat(const std::string& chatText) {
    const bool emptied = match_->Chat(chatText);
    Refresh();
    return emptied;
}

void Application::PlayInternetGame() {
    internet_->PlayInternetGame();
    Refresh();
}

void Application::CheckForUpdates() {
    internet_->CheckForUpdates();
    Refresh();
}

void Application::ViewStats() {
    CloseMenu();
    ShowSingleWindow(stats_, [this] { return new StatsWindow(profiles()); });
}

void Application::ChangeUser() {
    // The game in play is left as at the program's end, so that it is not left running without
    // its window and timers.
    if (!ConfirmLeave()) return;
    match_->Leave();
    ShowLogin();
    CloseMainWindow();
}

void Application::CloseMainWindow() {
    CloseMenu();
    if (playMore_) playMore_->close();
    // Deleted once the event that led here (a menu click) is done with its window.
    main_.Close();
    UnloadMainWindow(state_);
    Refresh();
}

void Application::Settings() {
    CloseMenu();
    ShowSettings();
}

void Application::ViewDictionary() {
    ShowWordList(services_->prompt);
    CloseMenu();
}

void Application::OpenHelpContents() {
    ShowHelpContents();
}
void Application::OpenHelpSearch() {
    ShowHelpSearch();
}
void Application::OpenHelpTopic(int contextNumber) {
    ShowHelpTopic(contextNumber);
}
void Application::AboutGlyphdrop() {
    ShowAbout(state_.ProgramVersion, pictures_.Named("logo"));
}
void Application::ShowQuickHelp() {
    gd::ShowQuickHelp(pictures_.Named("logo"));
}

void Application::PlayAgainstComputer() {
    if (computer_->Start()) CloseMenu();
    Refresh();
}

void Application::Exit() {
    if (!ConfirmLeave()) return;
    EndProgram();
}

void Application::OpenWebLink(const QString& address) {
    // A failing browser start is not reported.
    QDesktopServices::openUrl(QUrl(address));
}

void Application::InstallHintKey() {
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), main_);
    key->setContext(Qt::WindowShortcut);
    // The key is the chat line's own while the player types in it.
    connect(key, &QShortcut::activated, this, [this] {
        if (main_ && !main_->ChatText()->hasFocus()) Hint();
    });
}

void Application::Hint() {
    CloseMenu();
    const std::optional<MoveAdvice> advice = AskForHint(*match_, state_);
    if (advice && main_) {
        main_->ChoosePiece(advice->piece);
        main_->ChooseColumn(advice->column);
    }
    Refresh();
}

void Application::ToggleFullScreen() {
    if (!main_) return;
    if (main_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        main_->showNormal();
        CentreWindow(*main_);
    } else {
        main_->showMaximized();
    }
}

void Application::ShowPlayMore() {
    if (!main_) return;
    if (!playMore_) playMore_.Hold(new PlayMore(*this, main_));
    playMore_->Load();
    playMore_->show();
    playMore_->raise();
    playMore_->activateWindow();
}

void Application::PlayMoreYes() {
    match_->PlayAgain();
    if (playMore_) playMore_->close();
    Refresh();
}

void Application::PlayMoreNo() {
    match_->Decline();
    if (playMore_) playMore_->close();
    Refresh();
}

void Application::ApplyProxy(bool useProxy, const std::string& address) {
    ApplyProxySetting(*inet_, useProxy, address);
    ApplyProxySetting(waitingInet_->inner(), useProxy, address);
}

void Application::ShowBackground(const std::string& /*file*/) {
    if (main_) {
        main_->LoadBackground();
        main_->Refresh();  // the board may bring tiles of its own
    }
}

void Application::RepaintHole(int hole) {
    if (main_) main_->RepaintHole(hole);
}

}  // namespace gd
