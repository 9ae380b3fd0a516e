// Start-up, the real services, the windows' life and the menu's commands.
#include "application.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "about.h"
#include "computer_game.h"
#include "curl_transfer.h"
#include "files.h"
#include "helpviewer.h"
#include "login.h"
#include "loginwindow.h"
#include "mainwindow.h"
#include "menuform.h"
#include "nestedwait.h"
#include "playmore.h"
#include "qtext.h"
#include "qtservices.h"
#include "quickhelp.h"
#include "rules.h"
#include "settingswindow.h"
#include "singlewindow.h"
#include "statswindow.h"
#include "wordlistwindow.h"

namespace gd {

QString ProgramFolder() {
    const QString home = qEnvironmentVariable("GLYPHDROP_HOME");
    // Absolute, so that it still names the folder once that is the current folder.
    return QDir(home.isEmpty() ? QCoreApplication::applicationDirPath() : home).absolutePath();
}

Application::Application(AppOptions options, ServiceOverrides overrides)
    : options_(std::move(options)), pictures_(options_.home) {
    InstallNestedWaitGuard(*QCoreApplication::instance());
    Clock* clock = overrides.clock;
    if (!clock) clock = (ownClock_ = std::make_unique<QtClock>()).get();
    SoundPlayer* sound = overrides.sound;
    if (!sound) sound = (ownSound_ = std::make_unique<QtSoundPlayer>()).get();
    Pauser* pause = overrides.pause;
    if (!pause) {
        ownPause_ = std::make_unique<QtPauser>(*clock, [this] {
            Refresh();
            if (main_) main_->repaint();
        });
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
    inet_ = overrides.inet;
    if (!inet_) inet_ = (ownInet_ = std::make_unique<CurlTransfer>()).get();

    lantimer_ = std::make_unique<StateTimer>("lantimer", state_.lantimer, tickGuard_,
                                             [this] { LanTimerTick(); });
    inettimer_ = std::make_unique<StateTimer>("inettimer", state_.inettimer, tickGuard_,
                                              [this] { InetTimerTick(); });
}

Application::~Application() {
    lantimer_.reset();
    inettimer_.reset();
    delete playMore_;
    delete menu_;
    delete login_;
    delete settings_;
    delete stats_;
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
        login_ = new LoginWindow(state_, *services_, *this, profiles());
        login_->setAttribute(Qt::WA_DeleteOnClose);
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
    state_.LocalPlayer = player;
    // The skill given on the command line replaces the profile's, however the player logged on.
    if (options_.skill != 0) state_.CurrentComputerSkill = options_.skill;
    ShowMainWindow();
}

QString Application::Caption() const {
    return ToQ(LoggedOnCaption(state_));
}

void Application::ShowMainWindow() {
    if (!main_) {
        main_ = std::make_unique<MainWindow>(*this);
        InstallHelpKey(main_.get());
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

void Application::LanTimerTick() {
    // False when no computer game is in play: a LAN game will read its opponent's messages then.
    gd::LanTimerTick(state_, *services_);
    Refresh();
}

void Application::InetTimerTick() {
    // Internet play polls the game server here.
    Refresh();
}

bool Application::ConfirmLeaveInternetPlay() {
    const bool goOn = gd::ConfirmLeaveInternetPlay(state_, *services_);
    Refresh();
    return goOn;
}

void Application::EndProgram() {
    ending_ = true;
    state_.lantimer.Enabled = state_.inettimer.Enabled = false;
    lantimer_->Sync();
    inettimer_->Sync();
    if (playMore_) playMore_->close();
    if (menu_) menu_->close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void Application::ShowMenu() {
    if (!main_ || (menu_ && menu_->isVisible())) return;
    menu_ = new MenuForm(*this, main_.get());
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

// LAN and internet play and the update check are not built yet: their commands do nothing.
void Application::PlayNetworkGame() {}
void Application::PlayInternetGame() {}
void Application::CheckForUpdates() {}

void Application::ViewStats() {
    CloseMenu();
    ShowSingleWindow(stats_, [this] { return new StatsWindow(profiles()); });
}

void Application::ChangeUser() {
    ShowLogin();
    CloseMainWindow();
}

void Application::CloseMainWindow() {
    CloseMenu();
    if (playMore_) playMore_->close();
    if (main_) {
        main_->close();
        // Deleted once the event that led here (a menu click) is done with its window.
        main_.release()->deleteLater();
    }
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
    if (StartComputerGame(state_, *services_)) CloseMenu();
    Refresh();
}

void Application::Exit() {
    if (!ConfirmLeaveInternetPlay()) return;
    EndProgram();
}

void Application::OpenWebLink(const QString& address) {
    // A failing browser start is not reported.
    QDesktopServices::openUrl(QUrl(address));
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
    if (!playMore_) playMore_ = new PlayMore(*this, main_.get());
    playMore_->Load();
    playMore_->show();
    playMore_->raise();
    playMore_->activateWindow();
}

void Application::PlayMoreYes() {
    gd::PlayMoreYes(state_, *services_);
    if (playMore_) playMore_->close();
    Refresh();
}

void Application::PlayMoreNo() {
    gd::PlayMoreNo(state_);
    if (playMore_) playMore_->close();
    Refresh();
}

void Application::RecordGameResult(const std::string& name, GameOutcome outcome) {
    CountFinishedGame(state_, profiles(), name, outcome);
}

void Application::ApplyProxy(bool useProxy, const std::string& address) {
    ApplyProxySetting(*inet_, useProxy, address);
}

void Application::ShowBackground(const std::string& /*file*/) {
    if (main_) main_->LoadBackground();
}

void Application::SendLanMove(const std::string& /*message*/) {
    // LAN play sends the move here.
}

void Application::UploadMove(const std::string& /*move*/) {
    // Internet play posts the move here.
}

void Application::RepaintHole(int hole) {
    if (main_) main_->RepaintHole(hole);
}

}  // namespace gd
