// The about window.
#include "about.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpviewer.h"
#include "singlewindow.h"
#include "widgets.h"

namespace gd {
namespace {

const char* kNotices =
    "A word game for two players: drop your letters, make a four-letter word first.\n\n"
    "Made by the Glyphdrop developers.\n"
    "Words from the SCOWL word list by Kevin Atkinson; definitions from the GNU Collaborative "
    "International Dictionary of English (GCIDE).";

constexpr int kSupportTopic = 30;

}  // namespace

AboutWindow::AboutWindow(const std::string& version, const QPixmap& logo, QWidget* parent)
    : QWidget(parent), version_(version) {
    setObjectName("about");
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    auto* logoLabel = new QLabel;
    logoLabel->setObjectName("logo");
    if (logo.isNull())
        logoLabel->setText("<b><font size=\"+3\">Glyphdrop</font></b>");
    else
        logoLabel->setPixmap(logo);
    auto* versionLabel = new QLabel("Version " + QString::fromStdString(version_));
    versionLabel->setObjectName("versionLabel");
    auto* notices = new QLabel(kNotices);
    notices->setObjectName("notices");
    notices->setWordWrap(true);

    label3_ = new QLabel("<a href=\"topic:30\">Obtaining technical support</a>");
    label3_->setObjectName("Label3");
    label3_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label3_->setAccessibleName("Obtaining technical support");
    KeepEnter(label3_);  // Enter on the link follows it
    label3_->setCursor(Qt::PointingHandCursor);
    command1_ = new QPushButton("OK");
    command1_->setObjectName("Command1");
    command1_->setDefault(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label3_);
    bottom->addStretch();
    bottom->addWidget(command1_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logoLabel, 0, Qt::AlignHCenter);
    layout->addWidget(versionLabel, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    layout->addWidget(notices);
    layout->addStretch();
    layout->addLayout(bottom);
    setFixedSize(420, 260);

    connect(command1_, &QPushButton::clicked, this, &AboutWindow::Command1Click);
    connect(label3_, &QLabel::linkActivated, this, [this] { Label3Click(); });
    SetWindowKeys(this, command1_);
    setTabOrder(command1_, label3_);
    command1_->setFocus();
    InstallHelpKey(this);
    Load();
}

void AboutWindow::Load() {
    CentreWindow(*this);
    setWindowTitle("Glyphdrop - Version " + QString::fromStdString(version_));
}

void AboutWindow::Command1Click() {
    close();
}

void AboutWindow::Label3Click() {
    ShowHelpTopic(kSupportTopic);
}

void AboutWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Any other window taking the activation ends the about window.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) close();
}

AboutWindow* ShowAbout(const std::string& version, const QPixmap& logo) {
    static QPointer<AboutWindow> window;
    return ShowSingleWindow(window, [&] { return new AboutWindow(version, logo); });
}

}  // namespace gd
