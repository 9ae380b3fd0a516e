// The running program: owns the one game state and the services, opens the windows, runs the
// main window's timers and carries out the menu's commands.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "computer_game.h"
#include "lan_controller.h"
#include "match.h"
#include "pictures.h"
#include "player_hooks.h"
#include "profile.h"
#include "protocol.h"
#include "services.h"
#include "session.h"
#include "singlewindow.h"
#include "state.h"
#include "statetimer.h"
#include "stats.h"
#include "transfer.h"

namespace gd {

class InternetPlay;
class InternetWindows;
class LoginWindow;
class WaitingTransfer;
class MainWindow;
class MenuForm;
class NetSelectPlay;
class PlayMore;
class Provider;
class SelectWaiting;
class SettingsWindow;
class StatsWindow;

struct AppOptions {
    std::string player;  // logs on at once as this player; empty: the login window opens
    int skill = 0;       // the computer's skill: 1 Beginner, 2 Normal, 3 Master; 0 the profile's
    QString home;        // the program's folder
    QString readOnly;    // an installed program's read-only files; empty beside the program
    LanOptions lan;      // the LAN session layer's ports (tests choose their own)
    std::string server = kDefaultServerAddress;  // the game server's base address
    // Test runs only: timer periods and pauses divided by this, so a game by mailbox is quick.
    int timeScale = 1;
};

// Services a test puts in place of the real ones; a null entry keeps the real service.
struct ServiceOverrides {
    SoundPlayer* sound = nullptr;
    Pauser* pause = nullptr;
    RandomSource* random = nullptr;
    Prompter* prompt = nullptr;
    HttpTransfer* inet = nullptr;
    Clock* clock = nullptr;
};

// The read-only files of an installed program: the share folder that the install put beside its
// bin folder, when there is one; else empty, as in the build's runnable folder.
QString InstalledFilesFolder();
// The program's folder: GLYPHDROP_HOME when it names one, else for an installed program the
// player's own data folder (made private to him), else the folder of the program.
QString ProgramFolder();

class Application : public QObject, public GameHooks, public PlayerHooks {
    Q_OBJECT
  public:
    explicit Application(AppOptions options, ServiceOverrides overrides = {});
    ~Application() override;

    GameState& state() { return state_; }
    Services& services() { return *services_; }
    Pictures& pictures() { return pictures_; }
    MainWindow* mainWindow() const;
    MenuForm* menuForm() const;
    PlayMore* playMore() const;
    StateTimer& lantimer() { return *lantimer_; }
    StateTimer& inettimer() { return *inettimer_; }
    // The match of the game in play, and the three seats an opponent can take.
    Match& match() { return *match_; }
    ComputerSeat& computer() { return *computer_; }
    // The internet controller and the waiting-room windows it acts through.
    InternetPlay& internet() { return *internet_; }
    InternetWindows& internetWindows() { return *internetWindows_; }
    QString folder() const { return options_.home; }
    // The HTTP transfer control `Inet1`.
    HttpTransfer& inet() { return *inet_; }
    // "players.dat" in the program's folder.
    ProfileFile profiles() const;
    LoginWindow* loginWindow() const;
    SettingsWindow* settingsWindow() const;
    StatsWindow* statsWindow() const;

    // Program start: the program's folder, the version, then the first window.
    void Start();
    // What a successful login does: the player is logged on, the main window shows.
    void LogOn(const std::string& player);
    // The login window, with `name` typed in; the main window stays as it is.
    void ShowLogin(const std::string& name = "");
    // The settings window for `LocalPlayer`, not modal.
    void ShowSettings();
    // The caption of the main and menu windows.
    QString Caption() const;

    // Shows the state in every open window and runs the timers as the state says.
    void Refresh();

    // LAN play: the controller, and the set-up windows one after the other.
    LanController& lan() { return *lan_; }
    Provider* provider() const;
    NetSelectPlay* netSelectPlay() const;
    SelectWaiting* selectWaiting() const;
    // A LAN set-up window's handler answered `next`: the window unloads or stays, and the
    // next window shows.
    void LanWindowDone(QWidget* window, LanNext next);
    // The chat line's send (button or Enter): false when the chat box is to keep its text.
    bool SendChat(const std::string& chatText);

    // The questions before leaving the game in play; false when the player answered No.
    bool ConfirmLeave();
    // Ends the program at once; no window asks anything on the way.
    void EndProgram() override;
    bool ending() const { return ending_; }

    // The menu window over the top of the main window.
    void ShowMenu();
    void ToggleMenu();
    void CloseMenu();
    // The menu window closed at `position`: the main window follows it unless it is
    // minimised or maximised.
    void MenuClosed(const QPoint& position);

    // Menu and toolbar commands, one per entry.
    void PlayNetworkGame();
    void PlayInternetGame();
    void PlayAgainstComputer();
    void ViewStats();
    void ChangeUser();
    void Exit();
    void Settings();
    void ViewDictionary();
    void CheckForUpdates();
    void OpenWebLink(const QString& address);
    void OpenHelpContents();
    void OpenHelpSearch();
    void OpenHelpTopic(int contextNumber);
    void AboutGlyphdrop();
    void ToggleFullScreen();
    // "Hint": the advice's line in the status list, its letter and column chosen in the main
    // window; or a line saying why there is none.
    void Hint();
    // `Image9`: the quick help window, not modal.
    void ShowQuickHelp();

    // The game-over window's answers.
    void PlayMoreYes();
    void PlayMoreNo();

    // GameHooks: where the rules reach the windows.
    void ShowPlayMore() override;
    void RepaintHole(int hole) override;

    // PlayerHooks: the proxy for `Inet1`, the main window's background.
    void ApplyProxy(bool useProxy, const std::string& address) override;
    void ShowBackground(const std::string& file) override;

  private:
    void ShowMainWindow();
    // Ctrl+H in the main window.
    void InstallHintKey();
    // The player named at start: logged on as the login would, or handed to the settings.
    void StartAs(const std::string& player);
    // Closes the main window and forgets the game, so the next login opens it anew.
    void CloseMainWindow();
    QWidget* DialogParent() const;

    AppOptions options_;
    GameState state_;
    std::unique_ptr<SoundPlayer> ownSound_;
    std::unique_ptr<Pauser> ownPause_;
    std::unique_ptr<RandomSource> ownRandom_;
    std::unique_ptr<Prompter> ownPrompt_;
    std::unique_ptr<Clock> ownClock_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<HttpTransfer> ownInet_;
    HttpTransfer* inet_ = nullptr;
    Pictures pictures_;
    // The windows, each held the one way (`OwnedWindow`), main window first so that it goes last.
    OwnedWindow<MainWindow> main_;
    OwnedWindow<MenuForm> menu_;
    OwnedWindow<PlayMore> playMore_;
    OwnedWindow<LoginWindow> login_;
    OwnedWindow<SettingsWindow> settings_;
    OwnedWindow<StatsWindow> stats_;
    std::unique_ptr<ProfileResults> results_;
    std::unique_ptr<Match> match_;
    std::unique_ptr<ComputerSeat> computer_;
    std::unique_ptr<LanController> lan_;
    OwnedWindow<Provider> provider_;
    OwnedWindow<NetSelectPlay> netSelectPlay_;
    OwnedWindow<SelectWaiting> selectWaiting_;
    std::unique_ptr<StateTimer> lantimer_;
    std::unique_ptr<StateTimer> inettimer_;
    std::unique_ptr<WaitingTransfer> waitingInet_;
    std::unique_ptr<InternetWindows> internetWindows_;
    std::unique_ptr<InternetPlay> internet_;
    bool ending_ = false;
};

}  // namespace gd
