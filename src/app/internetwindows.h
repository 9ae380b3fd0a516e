// The internet waiting-room windows `inetstart` and `joinwaitroom`, the busy animation they
// share, and the view through which the internet controller reaches them and the main window.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "internet_play.h"
#include "singlewindow.h"
#include "statetimer.h"

namespace gd {

class Application;

// `AniGIF1`: a ring of dots that turns while a request is in flight.
class BusyAnimation : public QWidget {
    Q_OBJECT
  public:
    explicit BusyAnimation(QWidget* parent);
    void SetRunning(bool on);
    bool Running() const { return timer_.isActive(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer timer_;
    int step_ = 0;
};

// `inetstart`, "Glyphdrop - Play an Internet Game": the waiting players and the window's own
// status lines.
class InetStart : public QWidget {
    Q_OBJECT
  public:
    explicit InetStart(Application& app);
    // Centred, and the list loads half a second later.
    void Load();
    void AddWaitRoomLine(const std::string& text);

    QListWidget* List1() const { return list1_; }
    QListWidget* List2() const { return list2_; }
    QPushButton* Command(int n) const { return command_[n - 1]; }
    BusyAnimation* AniGIF1() const { return aniGIF1_; }
    StateTimer& waitroomtimer() { return waitroomtimer_; }

    // Handlers.
    void waitroomtimerTick();
    void Command1Click();
    void Command2Click();
    void Command3Click();
    void Command4Click();
    void Command5Click();

  private:
    Application& app_;
    QListWidget* list1_;
    QListWidget* list2_;
    QPushButton* command_[5];
    BusyAnimation* aniGIF1_;
    // One-shot; like every timer of the program it does not tick inside another handler's wait.
    TimerState waitroomtimerState_{false, 500};
    StateTimer waitroomtimer_;
};

// `joinwaitroom`, "Enter Waiting Room": public or private, and how long to wait.
class JoinWaitRoom : public QWidget {
    Q_OBJECT
  public:
    explicit JoinWaitRoom(Application& app);
    // Centred, "5 Minutes" chosen, the password disabled until "Private" is chosen.
    void Load();
    EnterChoice Choice() const;

    QRadioButton* Option(int n) const { return option_[n - 1]; }
    QLineEdit* Text1() const { return text1_; }
    QPushButton* Command(int n) const { return command_[n - 1]; }
    BusyAnimation* AniGIF1() const { return aniGIF1_; }

    void Option1Click();
    void Option2Click();
    void Command1Click();

  private:
    Application& app_;
    QRadioButton* option_[6];
    QLabel* label3_;
    QLineEdit* text1_;
    QPushButton* command_[3];
    BusyAnimation* aniGIF1_;
};

// The internet controller's view: the two windows and the main window's photo, built on the
// application's windows.
class InternetWindows : public InternetView {
  public:
    explicit InternetWindows(Application& app) : app_(app) {}
    InetStart* inetstart() const { return inetstart_; }
    JoinWaitRoom* joinwaitroom() const { return joinwaitroom_; }
    void ShowEnterWaitingRoom();
    void CloseAll();

    void ShowWaitingRoom() override;
    void CloseWaitingRoom() override;
    void AddWaitRoomLine(const std::string& text) override;
    void ClearPlayers() override;
    void AddPlayer(const std::string& line) override;
    std::string SelectedPlayer() override;
    void EnableJoin(bool enabled) override;
    void Animate(bool on) override;
    void CloseEnterWaitingRoom() override;
    void ShowDownloading(bool shown) override;
    bool StartUpdater(std::string& why) override;

  private:
    Application& app_;
    OwnedWindow<InetStart> inetstart_;
    OwnedWindow<JoinWaitRoom> joinwaitroom_;
};

}  // namespace gd
