// Start-up, the real services, the windows' life and the menu's commands.
#include "application.h"

#include <pwd.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#include "about.h"
#include "computer_game.h"
#include "files.h"
#include "helpviewer.h"
#include "mainwindow.h"
#include "menuform.h"
#include "playmore.h"
#include "qtservices.h"
#include "quickhelp.h"
#include "text.h"
#include "wordlistwindow.h"

namespace gd {

QString ProgramFolder() {
    const QString home = qEnvironmentVariable("GLYPHDROP_HOME");
    return home.isEmpty() ? QCoreApplication::applicationDirPath() : home;
}

std::string UserLoginName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name)
        return pw->pw_name;
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? "Player" : FromQ(user);
}

Application::Application(AppOptions options, ServiceOverrides overrides)
    : options_(std::move(options)), pictures_(options_.home) {
    SoundPlayer* sound = overrides.sound;
    if (!sound) sound = (ownSound_ = std::make_unique<QtSoundPlayer>()).get();
    Pauser* pause = overrides.pause;
    if (!pause) {
        ownPause_ = std::make_unique<QtPauser>([this] {
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
    services_ = std::make_unique<Services>(Services{*sound, *pause, *random, *prompt, *this});

    lantimer_.setObjectName("lantimer");
    connect(&lantimer_, &QTimer::timeout, this, &Application::LanTimerTick);
}

Application::~Application() {
    lantimer_.stop();
    delete playMore_;
    delete menu_;
}

MenuForm* Application::menuForm() const {
    return menu_;
}
PlayMore* Application::playMore() const {
    return playMore_;
}

void Application::Start() {
    ChangeToAppFolder(FromQ(options_.home));
    state_.ProgramVersion = "1.1";
    state_.CurrentComputerSkill = options_.skill;
    // The player named at start logs straight on.
    LogOn(options_.player);
}

void Application::LogOn(const std::string& player) {
    state_.LocalPlayer = player;
    ShowMainWindow();
}

QString Application::Caption() const {
    return ToQ("Glyphdrop v" + state_.ProgramVersion + " - " + Trim(state_.LocalPlayer) +
               " Logged On");
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
    lantimer_.setInterval(state_.lantimer.Interval);
    if (state_.lantimer.Enabled && !lantimer_.isActive()) lantimer_.start();
    if (!state_.lantimer.Enabled && lantimer_.isActive()) lantimer_.stop();
}

void Application::LanTimerTick() {
    // A message box inside a tick runs its own event loop; the timer must not re-enter.
    if (inTick_) return;
    inTick_ = true;
    if (!gd::LanTimerTick(state_, *services_)) {
        // A LAN game reads its opponent's messages here.
    }
    inTick_ = false;
    Refresh();
}

bool Application::ConfirmLeaveInternetPlay() {
    const bool goOn = gd::ConfirmLeaveInternetPlay(state_, *services_);
    Refresh();
    return goOn;
}

void Application::EndProgram() {
    ending_ = true;
    lantimer_.stop();
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

// Commands whose windows come with their parts of the game do nothing until then.
void Application::PlayNetworkGame() {}
void Application::PlayInternetGame() {}
void Application::ViewStats() {}
void Application::ChangeUser() {}
void Application::Settings() {}
void Application::CheckForUpdates() {}

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
        main_->CentreOnScreen();
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

void Application::RecordGameResult(const std::string& /*name*/, GameOutcome /*outcome*/) {
    // The players' profile file records results once it exists.
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
