// The settings window: the player's profile, sounds, board, computer skill, LAN method and
// proxy on three tabs, with Save, Delete, Cancel and Help below them.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "player_hooks.h"
#include "profile.h"
#include "services.h"
#include "settings.h"
#include "state.h"
#include "transfer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace gd {

class SettingsWindow : public QWidget {
    Q_OBJECT
  public:
    // `folder` is the program's folder, where the profile file, the board pictures and the
    // sounds lie and where the photo preview is downloaded.
    SettingsWindow(GameState& s, Services& sv, HttpTransfer& inet, PlayerHooks& hooks,
                   const QString& folder, QWidget* parent = nullptr);

    // The file-open dialog of "Browse": the chosen file, or empty on Cancel. Tests replace it.
    std::function<QString(const QString& folder)> chooseSoundFile;

    // What the elements hold now, as the settings logic reads them.
    SettingsForm Form() const;

    // Element handlers.
    void Text5Change();
    void Option1Click();
    void Option2Click();
    void Check1Click();
    void SkillClick(int skill);
    void List2Click();
    void List3Click();
    void Command4Click();  // "Browse"
    void Command5Click();  // "Preview Sound"
    void Command6Click();  // "Accept This Sound"
    void Command1Click();  // "Preview"
    void Command2Click();  // "Save this profile"
    void Command3Click();  // "Delete this profile"
    void CancelSettingsClick();
    void Command7Click();  // "Help"

    QTabWidget* SSTab1() const { return ssTab1_; }
    QLabel* Label15() const { return label15_; }
    QLabel* Label14() const { return label14_; }
    QLineEdit* Text5() const { return text5_; }
    QLineEdit* Text4() const { return text4_; }
    QLineEdit* Text2() const { return text2_; }
    QRadioButton* Option1() const { return option1_; }
    QRadioButton* Option2() const { return option2_; }
    QLabel* Label2() const { return label2_; }
    QLineEdit* Text1() const { return text1_; }
    QLabel* Label8() const { return label8_; }
    QLabel* Picture1() const { return picture1_; }
    QListWidget* List2() const { return list2_; }
    QComboBox* Combo2() const { return combo2_; }
    QListWidget* List3() const { return list3_; }
    QLabel* Image1() const { return image1_; }
    QRadioButton* Skill(int skill) const { return skills_.at(skill - 1); }
    QListWidget* List1() const { return list1_; }
    QCheckBox* Check1() const { return check1_; }
    QCheckBox* Option21() const { return option21_; }
    QLineEdit* Text3() const { return text3_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }
    // The board picture `Image1` shows, by file name.
    QString Image1File() const { return image1File_; }

  signals:
    // Saved: the main window shows.
    void saved();
    // Deleted, or a new profile given up: the login window shows again.
    void backToLogin();
    // Help on the topic of the tab on top.
    void helpRequested(int contextNumber);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildProfileTab();
    QWidget* BuildGameTab();
    QWidget* BuildConnectionsTab();
    void Load();
    void ShowForm(const SettingsForm& form);
    void ShowBoardPicture(const std::string& file);
    void EnablePhoto(bool on);
    void CloseByCode();

    GameState& s_;
    Services& sv_;
    HttpTransfer& inet_;
    PlayerHooks& hooks_;
    QString folder_;
    ProfileFile profiles_;
    bool text5Shown_ = false;
    bool profileExists_ = false;
    bool closingByCode_ = false;
    QString image1File_;

    QTabWidget* ssTab1_;
    QLabel *label15_, *label14_, *label2_, *label8_, *picture1_;
    QLineEdit *text5_, *text4_, *text2_, *text1_;
    QRadioButton *option1_, *option2_;
    QPushButton* command1_;
    QListWidget* list2_;
    QComboBox* combo2_;
    QListWidget* list3_;
    QLabel* image1_;
    std::vector<QRadioButton*> skills_;
    QLabel *label5_, *label6_, *label7_, *label16_;
    QListWidget* list1_;
    QCheckBox *check1_, *option21_;
    QLineEdit* text3_;
    QPushButton *command7_, *command2_, *command3_, *cancelSettings_;
};

}  // namespace gd
