// The login window: choose or type a name, give the password when one is in force.
#pragma once

#include <QWidget>

#include "player_hooks.h"
#include "profile.h"
#include "services.h"
#include "state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gd {

class LoginWindow : public QWidget {
    Q_OBJECT
  public:
    LoginWindow(GameState& s, Services& sv, PlayerHooks& hooks, ProfileFile profiles,
                QWidget* parent = nullptr);

    // Element handlers.
    void Combo1Click();    // a name chosen from the list
    void Command1Click();  // "Accept"

    QComboBox* Combo1() const { return combo1_; }
    QLabel* Label1() const { return label1_; }
    QLineEdit* Text1() const { return text1_; }
    QLabel* Label2() const { return label2_; }
    QPushButton* Command1() const { return command1_; }

  signals:
    // The player is logged in: the current-player values are set, the main window may show.
    void loggedIn();
    // A new name: `LocalPlayer` is set, the settings window creates the profile.
    void newUser();
    // The user closed the window with its close box: the program ends.
    void closedByUser();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Load();
    void CloseByCode();

    GameState& s_;
    Services& sv_;
    PlayerHooks& hooks_;
    ProfileFile profiles_;
    QComboBox* combo1_;
    QLabel* label1_;
    QLineEdit* text1_;
    QLabel* label2_;
    QPushButton* command1_;
    bool closingByCode_ = false;
};

}  // namespace gd
