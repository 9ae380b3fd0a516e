// The internet waiting-room windows and the view the internet controller acts through.
#include "internetwindows.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QShortcut>
#include <cmath>

#include "application.h"
#include "mainwindow.h"
#include "qtext.h"
#include "singlewindow.h"
#include "widgets.h"

namespace gd {
namespace {

constexpr int kHelpTopic = 80;
constexpr int kAnimationDots = 8;

QFont FixedPitch() {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({"DejaVu Sans Mono", fixed.family(), "monospace"});
    fixed.setPixelSize(11);
    return fixed;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(place);
    return b;
}

QLabel* Text(QWidget* parent, const char* name, const char* text, const QRect& place) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(place);
    l->setWordWrap(true);
    return l;
}

void HelpOnF1(QWidget* window, Application& app) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(f1, &QShortcut::activated, window, [&app] { app.OpenHelpTopic(kHelpTopic); });
}

}  // namespace

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName("AniGIF1");
    timer_.setInterval(90);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kAnimationDots;
        update();
    });
}

void BusyAnimation::SetRunning(bool on) {
    if (on) timer_.start();
    if (!on) timer_.stop();
    update();
}

void BusyAnimation::paintEvent(QPaintEvent*) {
    if (!Running()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double r = std::min(width(), height()) / 2.0 - 3;
    for (int i = 0; i < kAnimationDots; ++i) {
        const double a = 2 * M_PI * i / kAnimationDots;
        const int age = (step_ - i + kAnimationDots) % kAnimationDots;
        p.setBrush(QColor(30, 90, 200, 255 - age * 28));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(width() / 2.0 + r * std::cos(a), height() / 2.0 + r * std::sin(a)),
                      2.5, 2.5);
    }
}

InetStart::InetStart(Application& app)
    : app_(app),
      waitroomtimer_("waitroomtimer", waitroomtimerState_, [this] { waitroomtimerTick(); }) {
    setObjectName("inetstart");
    setWindowTitle("Glyphdrop - Play an Internet Game");
    setFixedSize(660, 440);
    QLabel* title = Text(this, "Label2", "Glyphdrop Internet Waiting Room", {12, 8, 400, 22});
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    title->setFont(big);
    Text(this, "Label3",
         "Listed below are people currently awaiting someone to join them in an internet game "
         "of Glyphdrop. To play, select a player below, then click the Join button. To add your "
         "name to the list, use the Add button. To update the list, use the Refresh button. "
         "Private games require a pre-arranged password. Further help is available in the help "
         "files. (F1)",
         {12, 32, 636, 62});
    QLabel* header = Text(this, "Label1",
                          "Game ID    Player ID                  Location                   "
                          "Played    Wins    Private",
                          {14, 98, 636, 16});
    header->setWordWrap(false);
    header->setFont(FixedPitch());
    list1_ = new QListWidget(this);
    list1_->setObjectName("List1");
    list1_->setFont(FixedPitch());
    list1_->setGeometry(12, 116, 636, 170);
    list1_->setAccessibleName("Waiting players");
    list1_->setAccessibleDescription(header->text().simplified());
    auto* frame = new QGroupBox("Status", this);
    frame->setObjectName("Frame1");
    frame->setGeometry(12, 292, 460, 104);
    list2_ = new QListWidget(frame);
    list2_->setObjectName("List2");
    list2_->setGeometry(8, 20, 444, 76);
    list2_->setAccessibleName("Status");
    aniGIF1_ = new BusyAnimation(this);
    aniGIF1_->setGeometry(488, 300, 40, 40);
    command_[0] = Button(this, "Command1", "Join Selected Player", {480, 350, 168, 26});
    command_[1] = Button(this, "Command2", "Add Me To Waiting Room", {12, 404, 180, 26});
    command_[2] = Button(this, "Command3", "Cancel", {200, 404, 100, 26});
    command_[3] = Button(this, "Command4", "Refresh List View", {308, 404, 150, 26});
    command_[4] = Button(this, "Command5", "Help", {548, 404, 100, 26});
    void (InetStart::*handlers[5])() = {&InetStart::Command1Click, &InetStart::Command2Click,
                                        &InetStart::Command3Click, &InetStart::Command4Click,
                                        &InetStart::Command5Click};
    for (int i = 0; i < 5; ++i)
        connect(command_[i], &QPushButton::clicked, this, handlers[i]);
    // Enter joins the chosen player; Escape is the close box, as "Cancel" is.
    SetWindowKeys(this, command_[0]);
    HelpOnF1(this, app_);
}

void InetStart::Load() {
    CentreWindow(*this);
    waitroomtimerState_.Enabled = true;
    waitroomtimer_.Sync();
}

void InetStart::AddWaitRoomLine(const std::string& text) {
    list2_->addItem(ToQ(text));
    const int count = list2_->count();
    if (count >= 4) list2_->scrollToItem(list2_->item(count - 3), QAbstractItemView::PositionAtTop);
    list2_->clearSelection();
    list2_->setCurrentRow(count - 1);
    list2_->repaint();
}

void InetStart::waitroomtimerTick() {
    waitroomtimerState_.Enabled = false;
    waitroomtimer_.Sync();
    app_.internet().RefreshList();
    app_.Refresh();
}

void InetStart::Command1Click() {
    app_.internet().Join();
    app_.Refresh();
}

void InetStart::Command2Click() {
    app_.internetWindows().ShowEnterWaitingRoom();
    close();
}

void InetStart::Command3Click() {
    close();
}

void InetStart::Command4Click() {
    app_.internet().RefreshList();
    app_.Refresh();
}

void InetStart::Command5Click() {
    app_.OpenHelpTopic(kHelpTopic);
}

JoinWaitRoom::JoinWaitRoom(Application& app) : app_(app) {
    setObjectName("joinwaitroom");
    setWindowTitle("Enter Waiting Room");
    setFixedSize(440, 380);
    auto* frame1 = new QGroupBox("Wait for Private or Public Game?", this);
    frame1->setObjectName("SSFrame1");
    frame1->setGeometry(12, 8, 416, 150);
    option_[0] = new QRadioButton("Public", frame1);
    option_[0]->setGeometry(12, 24, 90, 22);
    option_[1] = new QRadioButton("Private", frame1);
    option_[1]->setGeometry(110, 24, 90, 22);
    label3_ = Text(frame1, "Label3", "Private game password:", {12, 54, 160, 22});
    text1_ = new QLineEdit(frame1);
    text1_->setObjectName("Text1");
    text1_->setGeometry(176, 54, 150, 22);
    label3_->setBuddy(text1_);
    Text(frame1, "Label2",
         "Anyone may join you if you select a Public game. To use a Private game, you must "
         "select a password that your opponent must already know in order for them to join you.",
         {12, 82, 392, 60});
    auto* frame2 = new QGroupBox("Wait for How Long?", this);
    frame2->setObjectName("SSFrame2");
    frame2->setGeometry(12, 164, 416, 104);
    const char* waits[4][2] = {{"Option4", "2 Minutes"},
                               {"Option3", "5 Minutes"},
                               {"Option5", "10 Minutes"},
                               {"Option6", "15 Minutes"}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(waits[i][1], frame2);
        b->setObjectName(waits[i][0]);
        b->setGeometry(12 + i * 98, 24, 96, 22);
        option_[waits[i][0][6] - '1'] = b;
    }
    Text(frame2, "Label5",
         "How long would you like to wait for an opponent before your request expires?",
         {12, 52, 392, 44});
    option_[0]->setObjectName("Option1");
    option_[1]->setObjectName("Option2");
    Text(this, "Label1",
         "Click Enter button below to enter the waiting room. Your name will be added to the "
         "list of players waiting for an opponent.",
         {12, 274, 416, 40});
    command_[0] = Button(this, "Command1", "Enter Waiting Room", {12, 340, 160, 28});
    command_[1] = Button(this, "Command2", "Cancel", {180, 340, 100, 28});
    command_[2] = Button(this, "Command3", "Help", {328, 340, 100, 28});
    aniGIF1_ = new BusyAnimation(this);
    aniGIF1_->setGeometry(288, 334, 36, 36);
    connect(option_[0], &QRadioButton::clicked, this, &JoinWaitRoom::Option1Click);
    connect(option_[1], &QRadioButton::clicked, this, &JoinWaitRoom::Option2Click);
    connect(command_[0], &QPushButton::clicked, this, &JoinWaitRoom::Command1Click);
    connect(command_[1], &QPushButton::clicked, this, &QWidget::close);
    connect(command_[2], &QPushButton::clicked, this, [this] { app_.OpenHelpTopic(kHelpTopic); });
    SetWindowKeys(this, command_[0]);
    HelpOnF1(this, app_);
}

void JoinWaitRoom::Load() {
    CentreWindow(*this);
    // Neither "Public" nor "Private" is chosen at first; the disabled password matches Public.
    Option(3)->setChecked(true);
    label3_->setEnabled(false);
    text1_->setEnabled(false);
}

EnterChoice JoinWaitRoom::Choice() const {
    EnterChoice c;
    c.publicGame = Option(1)->isChecked();
    c.password = FromQ(text1_->text());
    c.wait = Option(3)->isChecked()   ? WaitOption::FiveMinutes
             : Option(4)->isChecked() ? WaitOption::TwoMinutes
             : Option(6)->isChecked() ? WaitOption::FifteenMinutes
             : Option(5)->isChecked() ? WaitOption::TenMinutes
                                      : WaitOption::None;
    return c;
}

void JoinWaitRoom::Option1Click() {
    label3_->setEnabled(false);
    text1_->setEnabled(false);
}

void JoinWaitRoom::Option2Click() {
    label3_->setEnabled(true);
    text1_->setEnabled(true);
}

void JoinWaitRoom::Command1Click() {
    app_.internet().EnterWaitingRoom(Choice());
    app_.Refresh();
}

void InternetWindows::ShowWaitingRoom() {
    if (!inetstart_) {
        inetstart_.Hold(new InetStart(app_));
        inetstart_->Load();
    }
    BringForward(inetstart_);
}

void InternetWindows::ShowEnterWaitingRoom() {
    if (!joinwaitroom_) {
        joinwaitroom_.Hold(new JoinWaitRoom(app_));
        joinwaitroom_->Load();
    }
    BringForward(joinwaitroom_);
}

void InternetWindows::CloseAll() {
    if (inetstart_) inetstart_->close();
    if (joinwaitroom_) joinwaitroom_->close();
}

void InternetWindows::CloseWaitingRoom() {
    if (inetstart_) inetstart_->close();
}

void InternetWindows::AddWaitRoomLine(const std::string& text) {
    if (inetstart_) inetstart_->AddWaitRoomLine(text);
}

void InternetWindows::ClearPlayers() {
    if (inetstart_) inetstart_->List1()->clear();
}

void InternetWindows::AddPlayer(const std::string& line) {
    if (inetstart_) inetstart_->List1()->addItem(ToQ(line));
}

std::string InternetWindows::SelectedPlayer() {
    if (!inetstart_) return "";
    const QListWidgetItem* item = inetstart_->List1()->currentItem();
    return item && item->isSelected() ? FromQ(item->text()) : "";
}

void InternetWindows::EnableJoin(bool enabled) {
    if (inetstart_) inetstart_->Command(1)->setEnabled(enabled);
}

void InternetWindows::Animate(bool on) {
    if (joinwaitroom_ && joinwaitroom_->isVisible()) joinwaitroom_->AniGIF1()->SetRunning(on);
    if (inetstart_ && inetstart_->isVisible()) inetstart_->AniGIF1()->SetRunning(on);
}

void InternetWindows::CloseEnterWaitingRoom() {
    if (joinwaitroom_) joinwaitroom_->close();
}

void InternetWindows::ShowDownloading(bool shown) {
    if (MainWindow* w = app_.mainWindow()) w->ShowDownloading(shown);
}

bool InternetWindows::StartUpdater(std::string& why) {
    // Beside the program, or among an installed program's read-only files.
    QString updater = QCoreApplication::applicationDirPath() + "/gdpupdate";
    if (!QFileInfo(updater).isExecutable() && !InstalledFilesFolder().isEmpty())
        updater = InstalledFilesFolder() + "/gdpupdate";
    if (!QFileInfo(updater).isExecutable()) {
        why = "it is not in " + FromQ(QCoreApplication::applicationDirPath()) + ".";
        return false;
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(updater, {}, app_.folder(), &pid) || pid == 0) {
        why = "it did not start.";
        return false;
    }
    return true;
}

}  // namespace gd
