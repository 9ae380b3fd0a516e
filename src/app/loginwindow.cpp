// The login window: its elements, its opening and the handlers that call the login logic.
#include "loginwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "files.h"
#include "login.h"
#include "qtext.h"
#include "singlewindow.h"
#include "widgets.h"

namespace gd {
namespace {
constexpr int kWidth = 380;
}  // namespace

LoginWindow::LoginWindow(GameState& s, Services& sv, PlayerHooks& hooks, ProfileFile profiles,
                         QWidget* parent)
    : QWidget(parent, Qt::Window),
      s_(s),
      sv_(sv),
      hooks_(hooks),
      profiles_(std::move(profiles)),
      combo1_(new QComboBox(this)),
      label1_(new QLabel("Password", this)),
      text1_(new QLineEdit(this)),
      label2_(new QLabel(this)),
      command1_(new QPushButton("Accept", this)) {
    setObjectName("login");
    combo1_->setObjectName("Combo1");
    label1_->setObjectName("Label1");
    text1_->setObjectName("Text1");
    label2_->setObjectName("Label2");
    command1_->setObjectName("Command1");

    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    text1_->setEchoMode(QLineEdit::Password);
    label2_->setWordWrap(true);
    command1_->setDefault(true);

    auto* name = new QLabel("&User name", this);
    name->setBuddy(combo1_);
    label1_->setBuddy(text1_);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label2_, 0, 0, 1, 2);
    grid->addWidget(name, 1, 0);
    grid->addWidget(combo1_, 1, 1);
    grid->addWidget(label1_, 2, 0);
    grid->addWidget(text1_, 2, 1);
    grid->addWidget(command1_, 3, 1, Qt::AlignRight);

    connect(combo1_, qOverload<int>(&QComboBox::activated), this, [this] { Combo1Click(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1Click(); });
    // Enter in the name or the password presses "Accept"; Escape is the close box.
    SetWindowKeys(this, command1_);
    Load();
}

// Opening: caption, instructions, the program's folder and the name list.
void LoginWindow::Load() {
    setWindowTitle(ToQ(LoginCaption(s_)));
    label2_->setText(ToQ(kLoginInstructions));
    // The wrapped instructions decide the height.
    setFixedSize(kWidth, heightForWidth(kWidth));
    ChangeToAppFolder(profiles_.folder);
    for (const auto& name : LoginNames(profiles_))
        combo1_->addItem(ToQ(name));
    combo1_->setCurrentIndex(-1);
    combo1_->setEditText("");
}

void LoginWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CentreWindow(*this);
}

void LoginWindow::Combo1Click() {
    label1_->hide();
    text1_->hide();
    if (LoginPasswordShown(profiles_, FromQ(combo1_->currentText()))) {
        label1_->show();
        text1_->show();
    }
}

void LoginWindow::Command1Click() {
    switch (AcceptLogin(s_, sv_.prompt, hooks_, profiles_, FromQ(combo1_->currentText()),
                        FromQ(text1_->text()))) {
        case LoginOutcome::Refused:
            return;
        case LoginOutcome::NewUser:
            CloseByCode();
            emit newUser();
            return;
        case LoginOutcome::LoggedIn:
            CloseByCode();
            emit loggedIn();
            return;
    }
}

void LoginWindow::CloseByCode() {
    closingByCode_ = true;
    close();
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!closingByCode_) emit closedByUser();
}

}  // namespace gd
