// The settings window: its three tabs, its opening and one handler per element, each calling
// the settings logic and showing what it decided.
#include "settingswindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "download.h"
#include "files.h"
#include "pictures.h"
#include "qtext.h"
#include "rules.h"
#include "session.h"
#include "singlewindow.h"
#include "waiting.h"
#include "widgets.h"
#include "wordlist.h"

namespace gd {
namespace {

const QSize kPhotoSize(100, 85);
const QSize kBoardPreviewSize(160, 116);
const QString kPhotoHint =
    QString::fromLatin1("Enter the full URL (internet address) of your picture, for example: %1")
        .arg(ToQ(kPhotoUrlExample));
const QString kProxyHint = QString::fromLatin1(
    "Users of an online service that connects through its own proxy: enter that service's "
    "proxy host here, for example proxy.example.net");
constexpr int kHelpTopics[] = {90, 100, 110};

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLabel* Caption(const char* name, const QString& text, QWidget* parent, QWidget* names = nullptr) {
    auto* label = Named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    // The field the caption names: a screen reader reads the caption as the field's name.
    if (names) label->setBuddy(names);
    // Lists take no name from their caption.
    if (auto* list = qobject_cast<QListWidget*>(names)) list->setAccessibleName(label->text());
    return label;
}

// A list walked with the arrow keys acts as a click on each row it comes to.
template <typename Handler>
void ActOnKeyWalk(QListWidget* list, QObject* owner, Handler act) {
    QObject::connect(list, &QListWidget::currentRowChanged, owner, [list, act] {
        if (list->hasFocus()) act();
    });
}

int SelectedRow(const QListWidget* list) {
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

std::vector<std::string> Rows(const QListWidget* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list->count(); ++i)
        rows.push_back(FromQ(list->item(i)->text()));
    return rows;
}

void FillList(QListWidget* list, const std::vector<std::string>& rows, int selected) {
    list->clear();
    for (const auto& row : rows)
        list->addItem(ToQ(row));
    if (selected >= 0 && selected < list->count())
        list->setCurrentRow(selected);
    else
        list->clearSelection();
}

}  // namespace

SettingsWindow::SettingsWindow(GameState& s, Services& sv, HttpTransfer& inet, PlayerHooks& hooks,
                               const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      s_(s),
      sv_(sv),
      inet_(inet),
      hooks_(hooks),
      folder_(QDir(folder).absolutePath()),
      profiles_(ProfileFile{FromQ(folder_)}) {
    setObjectName("settings");
    setWindowTitle("Settings");
    chooseSoundFile = [this](const QString& start) {
        QFileDialog dialog(this, "Browse", start, "Sound File (*.wav)");
        dialog.setFileMode(QFileDialog::ExistingFile);
        const WaitScope wait(&dialog);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

    ssTab1_ = Named(new QTabWidget(this), "SSTab1");
    ssTab1_->setAccessibleName("Settings pages");
    ssTab1_->addTab(BuildProfileTab(), "Player Profiles");
    ssTab1_->addTab(BuildGameTab(), "Game Settings");
    ssTab1_->addTab(BuildConnectionsTab(), "Connections");

    command7_ = Named(new QPushButton("Help", this), "Command7");
    command2_ = Named(new QPushButton("Save this profile", this), "Command2");
    command3_ = Named(new QPushButton("Delete this profile", this), "Command3");
    cancelSettings_ = Named(new QPushButton("Cancel", this), "CancelSettings");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {command7_, command2_, command3_, cancelSettings_})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ssTab1_);
    layout->addLayout(buttons);

    connect(command7_, &QPushButton::clicked, this, [this] { Command7Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { Command3Click(); });
    connect(cancelSettings_, &QPushButton::clicked, this, [this] { CancelSettingsClick(); });
    // Enter saves; Escape is the close box, which asks before leaving.
    SetWindowKeys(this, command2_);
    Load();
}

QWidget* SettingsWindow::BuildProfileTab() {
    auto* tab = new QWidget(this);
    auto* grid = new QGridLayout(tab);
    label15_ = Named(new QLabel(tab), "Label15");
    text5_ = Named(new QLineEdit(tab), "Text5");
    text4_ = Named(new QLineEdit(tab), "Text4");
    label14_ = Caption("Label14", "Current login password:", tab, text5_);
    text5_->setEchoMode(QLineEdit::Password);
    text4_->setEchoMode(QLineEdit::Password);
    text5_->setMaxLength(kPasswordWidth);
    text4_->setMaxLength(32);
    text2_ = Named(new QLineEdit(tab), "Text2");
    option1_ = Named(
        new QRadioButton("Display the photo located below to internet opponents.", tab), "Option1");
    option2_ = Named(new QRadioButton("Show 'Photo Not Available' to Internet opponents.", tab),
                     "Option2");
    text1_ = Named(new QLineEdit(tab), "Text1");
    label2_ = Caption("Label2", kPhotoHint, tab);
    text1_->setAccessibleName("Photo address");
    text1_->setAccessibleDescription(kPhotoHint);
    label8_ = Caption(
        "Label8", "For best results, use a graphic cropped to 100 pixels wide by 85 pixels high.",
        tab);
    picture1_ = Named(new QLabel(tab), "Picture1");
    picture1_->setFixedSize(kPhotoSize);
    picture1_->setFrameShape(QFrame::Box);
    command1_ = Named(new QPushButton("Preview", tab), "Command1");

    int row = 0;
    grid->addWidget(Caption("Label3", "Player name to edit or add:", tab), row, 0);
    grid->addWidget(label15_, row++, 1);
    grid->addWidget(label14_, row, 0);
    grid->addWidget(text5_, row++, 1);
    grid->addWidget(Caption("Label11", "New logon password (4 to 10 characters):", tab, text4_),
                    row, 0);
    grid->addWidget(text4_, row++, 1);
    grid->addWidget(Caption("Label12", "Leave blank if no password desired", tab), row++, 1);
    grid->addWidget(
        Caption("Label4", "Your location as you wish to be shown to other players?", tab, text2_),
        row, 0);
    grid->addWidget(text2_, row++, 1);
    grid->addWidget(option1_, row++, 0, 1, 2);
    grid->addWidget(option2_, row++, 0, 1, 2);
    grid->addWidget(label2_, row++, 0, 1, 2);
    grid->addWidget(text1_, row++, 0, 1, 2);
    grid->addWidget(label8_, row, 0);
    auto* preview = new QVBoxLayout;
    preview->addWidget(picture1_);
    preview->addWidget(command1_);
    grid->addLayout(preview, row++, 1);

    connect(text5_, &QLineEdit::textEdited, this, [this] { Text5Change(); });
    connect(option1_, &QRadioButton::clicked, this, [this] { Option1Click(); });
    connect(option2_, &QRadioButton::clicked, this, [this] { Option2Click(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1Click(); });
    return tab;
}

QWidget* SettingsWindow::BuildGameTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);

    auto* frame1 = Named(new QGroupBox("Sounds", tab), "Frame1");
    auto* sounds = new QGridLayout(frame1);
    list2_ = Named(new QListWidget(frame1), "List2");
    combo2_ = Named(new QComboBox(frame1), "Combo2");
    combo2_->setEditable(true);
    combo2_->setInsertPolicy(QComboBox::NoInsert);
    auto* command4 = Named(new QPushButton("Browse", frame1), "Command4");
    auto* command5 = Named(new QPushButton("Preview Sound", frame1), "Command5");
    auto* command6 = Named(new QPushButton("Accept This Sound", frame1), "Command6");
    sounds->addWidget(Caption("Label9", "Event:", frame1, list2_), 0, 0);
    sounds->addWidget(list2_, 1, 0, 4, 1);
    sounds->addWidget(Caption("Label10", "Sound File:", frame1, combo2_), 0, 1);
    sounds->addWidget(combo2_, 1, 1);
    sounds->addWidget(command4, 2, 1);
    sounds->addWidget(command5, 3, 1);
    sounds->addWidget(command6, 4, 1);

    auto* frame2 = Named(new QGroupBox("Game Board", tab), "Frame2");
    auto* board = new QGridLayout(frame2);
    list3_ = Named(new QListWidget(frame2), "List3");
    image1_ = Named(new QLabel(frame2), "Image1");
    image1_->setFixedSize(kBoardPreviewSize);
    image1_->setScaledContents(true);
    board->addWidget(Caption("Label13", "Select Game Board Graphic:", frame2, list3_), 0, 0);
    board->addWidget(list3_, 1, 0);
    board->addWidget(image1_, 1, 1);

    auto* frame3 = Named(new QGroupBox("Computers Skill Level", tab), "Frame3");
    auto* skill = new QHBoxLayout(frame3);
    auto* group = new QButtonGroup(frame3);
    const char* names[] = {"Option3", "Option4", "Option5"};
    const char* captions[] = {"Beginner", "Normal", "Master"};
    for (int i = 0; i < 3; ++i) {
        auto* option = Named(new QRadioButton(captions[i], frame3), names[i]);
        group->addButton(option);
        skill->addWidget(option);
        skills_.push_back(option);
        connect(option, &QRadioButton::clicked, this, [this, i] { SkillClick(i + 1); });
    }

    layout->addWidget(frame1);
    layout->addWidget(frame2);
    layout->addWidget(frame3);

    connect(list2_, &QListWidget::itemClicked, this, [this] { List2Click(); });
    connect(list3_, &QListWidget::itemClicked, this, [this] { List3Click(); });
    ActOnKeyWalk(list2_, this, [this] { List2Click(); });
    ActOnKeyWalk(list3_, this, [this] { List3Click(); });
    connect(command4, &QPushButton::clicked, this, [this] { Command4Click(); });
    connect(command5, &QPushButton::clicked, this, [this] { Command5Click(); });
    connect(command6, &QPushButton::clicked, this, [this] { Command6Click(); });
    return tab;
}

QWidget* SettingsWindow::BuildConnectionsTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    label6_ = Caption("Label6", "Local Network (LAN) Protocal Setting", tab);
    label5_ = Caption(
        "Label5",
        "Please select which protocal you wish to use when playing a game on a local network. If "
        "you are unsure, please ask your system administrator. Ignore this setting if your "
        "computer is not part of a local area network (LAN)",
        tab);
    list1_ = Named(new QListWidget(tab), "List1");
    label16_ = Caption("Label16", "Installed Protocals:", tab, list1_);
    label7_ = Caption("Label7", "Note: All players on LAN must be using the same protocal!", tab);
    check1_ = Named(
        new QCheckBox(
            "I do not use a LAN   OR   I prefer to select the protocal for each LAN game.", tab),
        "Check1");
    option21_ =
        Named(new QCheckBox("I connect to the Internet through a proxy server", tab), "Option21");
    text3_ = Named(new QLineEdit(tab), "Text3");
    text3_->setMaxLength(kProxyWidth);
    for (QWidget* w : {static_cast<QWidget*>(label6_), static_cast<QWidget*>(label5_),
                       static_cast<QWidget*>(label16_), static_cast<QWidget*>(list1_),
                       static_cast<QWidget*>(label7_), static_cast<QWidget*>(check1_)})
        layout->addWidget(w);
    layout->addSpacing(12);
    layout->addWidget(option21_);
    auto* proxy = new QHBoxLayout;
    proxy->addWidget(Caption("Label52", "Proxy name or address:", tab, text3_));
    proxy->addWidget(text3_);
    layout->addLayout(proxy);
    layout->addWidget(Caption("Label54", kProxyHint, tab));
    layout->addStretch();

    connect(check1_, &QCheckBox::clicked, this, [this] { Check1Click(); });
    return tab;
}

// Opening: the program's folder, the board pictures, the LAN methods and the profile.
void SettingsWindow::Load() {
    ChangeToAppFolder(FromQ(folder_));
    const SettingsForm form = OpenSettings(s_, profiles_, ListFilesNoCase(FromQ(folder_), ".bmp"),
                                           MakeLanRoot()->ListProviders());
    ShowForm(form);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CentreWindow(*this);
}

void SettingsWindow::ShowForm(const SettingsForm& form) {
    profileExists_ = form.DeleteEnabled;
    text5Shown_ = form.Text5Shown;
    label15_->setText(ToQ(form.Label15));
    label14_->setVisible(text5Shown_);
    text5_->setVisible(text5Shown_);
    text2_->setText(ToQ(form.Text2));
    option1_->setChecked(form.Option1);
    option2_->setChecked(!form.Option1);
    text1_->setText(ToQ(form.Text1));
    picture1_->clear();
    EnablePhoto(form.Option1);

    list2_->clear();
    for (const auto& name : kSoundEventNames)
        list2_->addItem(ToQ(name));
    list2_->setCurrentRow(form.List2Row);
    // Every event shows whole: the list is as high as all its rows and its frame.
    list2_->setMinimumHeight(list2_->sizeHintForRow(0) * list2_->count() +
                             2 * list2_->frameWidth());
    combo2_->clear();
    for (const auto& item : form.Combo2Items)
        combo2_->addItem(ToQ(item));
    combo2_->setCurrentText(ToQ(form.Combo2Text));

    FillList(list3_, form.List3, form.List3Row);
    ShowBoardPicture(form.Image1);
    Skill(s_.CurrentComputerSkill >= 1 && s_.CurrentComputerSkill <= 3 ? s_.CurrentComputerSkill
                                                                       : 2)
        ->setChecked(true);

    FillList(list1_, form.List1, form.List1Row);
    check1_->setChecked(form.Check1);
    Check1Click();
    option21_->setChecked(form.Option21);
    text3_->setText(ToQ(form.Text3));
    command3_->setEnabled(form.DeleteEnabled);
}

SettingsForm SettingsWindow::Form() const {
    SettingsForm form;
    form.Label15 = FromQ(label15_->text());
    form.Text5Shown = text5Shown_;
    form.Text5 = FromQ(text5_->text());
    form.Text4 = FromQ(text4_->text());
    form.Text2 = FromQ(text2_->text());
    form.Option1 = option1_->isChecked();
    form.Text1 = FromQ(text1_->text());
    form.List2Row = SelectedRow(list2_);
    for (int i = 0; i < combo2_->count(); ++i)
        form.Combo2Items.push_back(FromQ(combo2_->itemText(i)));
    form.Combo2Text = FromQ(combo2_->currentText());
    form.List3 = Rows(list3_);
    form.List3Row = SelectedRow(list3_);
    form.Image1 = FromQ(image1File_);
    form.List1 = Rows(list1_);
    form.List1Row = SelectedRow(list1_);
    form.Check1 = check1_->isChecked();
    form.Option21 = option21_->isChecked();
    form.Text3 = FromQ(text3_->text());
    form.DeleteEnabled = profileExists_;
    return form;
}

void SettingsWindow::ShowBoardPicture(const std::string& file) {
    image1File_ = ToQ(file);
    const QPixmap picture = Pictures::LoadFile(FromQ(folder_) + "/" + file);
    if (picture.isNull())
        image1_->clear();
    else
        image1_->setPixmap(picture);
}

void SettingsWindow::EnablePhoto(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(picture1_), static_cast<QWidget*>(label2_),
                       static_cast<QWidget*>(text1_), static_cast<QWidget*>(label8_)})
        w->setEnabled(on);
}

void SettingsWindow::Text5Change() {
    text4_->setText(text5_->text());
}

void SettingsWindow::Option1Click() {
    EnablePhoto(true);
}

void SettingsWindow::Option2Click() {
    EnablePhoto(false);
}

void SettingsWindow::Check1Click() {
    const bool on = !check1_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(list1_), static_cast<QWidget*>(label5_),
                       static_cast<QWidget*>(label6_), static_cast<QWidget*>(label7_),
                       static_cast<QWidget*>(label16_)})
        w->setEnabled(on);
}

void SettingsWindow::SkillClick(int skill) {
    ChooseSkill(s_, skill);
}

void SettingsWindow::List2Click() {
    const int row = list2_->currentRow();
    if (row >= 0 && row < kSoundEventCount) combo2_->setCurrentText(ToQ(s_.CurrentSoundFiles[row]));
}

void SettingsWindow::List3Click() {
    const std::string file = BoardPicturePreview(Rows(list3_), list3_->currentRow());
    if (!file.empty()) ShowBoardPicture(file);
}

void SettingsWindow::Command4Click() {
    const QString chosen = chooseSoundFile ? chooseSoundFile(folder_) : QString();
    if (chosen.isEmpty()) return;
    const QString name = ToQ(BrowsedSoundName(FromQ(chosen), FromQ(folder_)));
    combo2_->addItem(name);
    combo2_->setCurrentText(name);
    ChangeToAppFolder(FromQ(folder_));
}

void SettingsWindow::Command5Click() {
    PlayEventSound(s_, sv_, FromQ(combo2_->currentText()));
}

void SettingsWindow::Command6Click() {
    AcceptThisSound(s_, sv_.prompt, Form());
}

void SettingsWindow::Command1Click() {
    const auto name = CheckPhotoPreview(sv_.prompt, FromQ(text1_->text()));
    if (!name) return;
    picture1_->clear();
    const std::string url = Trim(FromQ(text1_->text()));
    const auto downloaded = DownloadFile(inet_, sv_.prompt, url, FromQ(folder_));
    if (!downloaded) return;
    const QString local = ToQ(*downloaded);
    if (IsPictureFileName(*name)) {
        const QPixmap photo(local);
        if (!photo.isNull())
            picture1_->setPixmap(
                photo.scaled(kPhotoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    // The download was only for the preview: it never stays in the program's folder.
    QFile::remove(local);
}

void SettingsWindow::Command2Click() {
    if (!SaveSettings(s_, sv_.prompt, hooks_, profiles_, Form())) return;
    CloseByCode();
    emit saved();
}

void SettingsWindow::Command3Click() {
    if (!DeleteSettingsProfile(sv_.prompt, profiles_, Form())) return;
    CloseByCode();
    emit backToLogin();
}

void SettingsWindow::CancelSettingsClick() {
    if (!ConfirmLeaveSettings(sv_.prompt, Form(), false)) return;
    CloseByCode();
    if (!profileExists_) emit backToLogin();
}

void SettingsWindow::Command7Click() {
    emit helpRequested(kHelpTopics[ssTab1_->currentIndex()]);
}

void SettingsWindow::CloseByCode() {
    closingByCode_ = true;
    close();
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    if (closingByCode_) {
        event->accept();
        return;
    }
    if (!ConfirmLeaveSettings(sv_.prompt, Form(), true)) {
        event->ignore();
        return;
    }
    event->accept();
    if (!profileExists_) emit backToLogin();
}

}  // namespace gd
