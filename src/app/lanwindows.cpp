// The LAN set-up windows: captions, texts and buttons, each handler passing to the controller.
#include "lanwindows.h"

#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>

#include "application.h"
#include "qtext.h"
#include "singlewindow.h"
#include "widgets.h"

namespace gd {

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* Button(const char* name, const char* text, QWidget* parent, QLayout* row) {
    auto* b = Named(new QPushButton(text, parent), name);
    row->addWidget(b);
    return b;
}

// A row of buttons under a window's content.
QHBoxLayout* ButtonRow(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    column->addLayout(row);
    return row;
}

void SetUpWindow(QWidget& w, const char* name, const char* caption) {
    w.setObjectName(name);
    w.setWindowTitle(caption);
    w.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
}

}  // namespace

Provider::Provider(Application& app) : QWidget(nullptr), app_(app) {
    SetUpWindow(*this, "Provider", "Glyphdrop Network (LAN) Options");
    auto* column = new QVBoxLayout(this);
    auto* caption = Named(new QLabel("Select which network connection to use.", this), "Label1");
    column->addWidget(caption);
    list_ = Named(new QListWidget(this), "lstProviders");
    caption->setBuddy(list_);
    list_->setAccessibleName("Network connection");
    column->addWidget(list_);
    column->addWidget(
        Named(new QLabel("( If unsure, ask your network administrator )", this), "Label2"));
    auto* row = ButtonRow(column);
    QPushButton* ok = Button("btnOK", "Accept", this, row);
    connect(ok, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(Button("btnCancel", "Cancel", this, row), &QPushButton::clicked, this,
            [this] { btnCancelClick(); });
    connect(Button("Command1", "Help", this, row), &QPushButton::clicked, this,
            [this] { Command1Click(); });
    // A double click on a method, or Enter, accepts it; Escape is the close box, as "Cancel" is.
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { btnOKClick(); });
    SetWindowKeys(this, ok);
    timer1_ = new StateTimer(
        "Timer1", model_.Timer1, [this] { Timer1Tick(); }, this);
    resize(360, 260);
}

void Provider::Load() {
    CentreWindow(*this);
    model_ = app_.lan().ProviderLoad();
    for (const auto& row : model_.lstProviders)
        list_->addItem(ToQ(row));
    timer1_->Sync();
}

void Provider::btnOKClick() {
    model_.selected =
        list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
    app_.LanWindowDone(this, app_.lan().ProviderAccept(model_));
}

void Provider::Command1Click() {
    app_.OpenHelpTopic(kLanHelpTopic);
}

void Provider::Timer1Tick() {
    const LanNext next = app_.lan().ProviderTimer1Tick(model_);
    timer1_->Sync();
    if (model_.selected >= 0) list_->setCurrentRow(model_.selected);
    app_.LanWindowDone(this, next);
}

NetSelectPlay::NetSelectPlay(Application& app) : QWidget(nullptr), app_(app) {
    SetUpWindow(*this, "netSelectPlay", "Glyphdrop Network Play");
    auto* column = new QVBoxLayout(this);
    auto* frame =
        Named(new QGroupBox("Start new network game, or join existing game?", this), "Frame1");
    auto* choices = new QVBoxLayout(frame);
    option1_ = Named(new QRadioButton("I want to start a new game.", frame), "Option1");
    option2_ = Named(new QRadioButton("I want to join a waiting player.", frame), "Option2");
    option1_->setChecked(true);
    choices->addWidget(option1_);
    choices->addWidget(option2_);
    column->addWidget(frame);
    auto* row = ButtonRow(column);
    QPushButton* ok = Button("Command1", "OK", this, row);
    connect(ok, &QPushButton::clicked, this, [this] { Command1Click(); });
    connect(Button("Command2", "Cancel", this, row), &QPushButton::clicked, this,
            [this] { close(); });
    connect(Button("Command3", "Help", this, row), &QPushButton::clicked, this,
            [this] { app_.OpenHelpTopic(kLanHelpTopic); });
    SetWindowKeys(this, ok);
    resize(360, 170);
}

void NetSelectPlay::Load() {
    CentreWindow(*this);
}

void NetSelectPlay::Command1Click() {
    app_.LanWindowDone(this, app_.lan().NetSelectPlayOk(option1_->isChecked()));
}

SelectWaiting::SelectWaiting(Application& app) : QWidget(nullptr), app_(app) {
    SetUpWindow(*this, "SelectWaiting", "Join Glyphdrop Player");
    auto* column = new QVBoxLayout(this);
    auto* caption = Named(new QLabel("Players Waiting To Play", this), "Label1");
    column->addWidget(caption);
    tree_ = Named(new QTreeWidget(this), "tvSessions");
    caption->setBuddy(tree_);
    tree_->setAccessibleName(caption->text());
    tree_->setHeaderHidden(true);
    column->addWidget(tree_);
    column->addWidget(Named(new QLabel("Select Player To Join", this), "Label2"));
    auto* row = ButtonRow(column);
    QPushButton* join = Button("Command1", "Join", this, row);
    connect(join, &QPushButton::clicked, this, [this] { Command1Click(); });
    connect(Button("Command2", "Cancel", this, row), &QPushButton::clicked, this,
            [this] { close(); });
    connect(Button("Command3", "Help", this, row), &QPushButton::clicked, this,
            [this] { app_.OpenHelpTopic(kLanHelpTopic); });
    timer_ = new StateTimer(
        "tmrSessions", model_.tmrSessions, [this] { tmrSessionsTick(); }, this);
    SetWindowKeys(this, join);
    resize(320, 300);
}

void SelectWaiting::Load() {
    CentreWindow(*this);
    model_ = app_.lan().SelectWaitingLoad();
    auto* root = new QTreeWidgetItem(tree_, QStringList(ToQ(model_.root)));
    ShowChildren();
    root->setExpanded(model_.expanded);
    timer_->Sync();
}

void SelectWaiting::tmrSessionsTick() {
    app_.lan().tmrSessionsTick(model_);
    ShowChildren();
}

void SelectWaiting::ShowChildren() {
    QTreeWidgetItem* root = tree_->topLevelItem(0);
    std::vector<SessionNode> shown;
    for (int i = 0; i < root->childCount(); ++i)
        shown.push_back({FromQ(root->child(i)->text(0)),
                         FromQ(root->child(i)->data(0, Qt::UserRole).toString())});
    auto same = [](const SessionNode& a, const SessionNode& b) {
        return a.text == b.text && a.tag == b.tag;
    };
    if (std::equal(shown.begin(), shown.end(), model_.children.begin(), model_.children.end(),
                   same))
        return;
    const QTreeWidgetItem* current = tree_->currentItem();
    const QString chosen =
        current && current != root ? current->data(0, Qt::UserRole).toString() : QString();
    qDeleteAll(root->takeChildren());
    for (const auto& node : model_.children) {
        auto* child = new QTreeWidgetItem(root, QStringList(ToQ(node.text)));
        child->setData(0, Qt::UserRole, ToQ(node.tag));
        if (!chosen.isEmpty() && ToQ(node.tag) == chosen) tree_->setCurrentItem(child);
    }
}

void SelectWaiting::Command1Click() {
    const QTreeWidgetItem* item = tree_->currentItem();
    SessionNode node;
    if (item) node = {FromQ(item->text(0)), FromQ(item->data(0, Qt::UserRole).toString())};
    app_.LanWindowDone(this, app_.lan().SelectWaitingJoin(item ? &node : nullptr));
}

}  // namespace gd
