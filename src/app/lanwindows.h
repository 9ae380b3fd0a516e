// The LAN set-up windows: the connection method (`Provider`), host or join (`netSelectPlay`) and
// the waiting players (`SelectWaiting`). Each shows what the LAN controller answers and hands
// the next step back to the application.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include "lan_controller.h"
#include "statetimer.h"

namespace gd {

class Application;

class Provider : public QWidget {
  public:
    explicit Provider(Application& app);
    void Load();
    void btnOKClick();
    void btnCancelClick() { close(); }
    void Command1Click();
    void Timer1Tick();

    QListWidget* lstProviders() const { return list_; }
    StateTimer& Timer1() { return *timer1_; }

  private:
    Application& app_;
    ProviderList model_;
    QListWidget* list_;
    StateTimer* timer1_;
};

class NetSelectPlay : public QWidget {
  public:
    explicit NetSelectPlay(Application& app);
    void Load();
    void Command1Click();

    QRadioButton* Option1() const { return option1_; }
    QRadioButton* Option2() const { return option2_; }

  private:
    Application& app_;
    QRadioButton* option1_;
    QRadioButton* option2_;
};

class SelectWaiting : public QWidget {
  public:
    explicit SelectWaiting(Application& app);
    void Load();
    void Command1Click();
    void tmrSessionsTick();

    QTreeWidget* tvSessions() const { return tree_; }
    StateTimer& tmrSessions() { return *timer_; }

  private:
    // Shows the model's children under the root, keeping the chosen player chosen.
    void ShowChildren();

    Application& app_;
    SessionTree model_;
    QTreeWidget* tree_;
    StateTimer* timer_;
};

}  // namespace gd
