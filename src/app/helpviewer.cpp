// The help window over GLYPHDROP.HLP and the functions that open it.
#include "helpviewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cstring>

#include "files.h"
#include "singlewindow.h"
#include "widgets.h"

namespace gd {
namespace {

const char* kContentsAddress = "help:contents";
const char* kFoundPrefix = "found/";

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), text.size());
}

QUrl TopicUrl(int number) {
    return QUrl("topic:" + QString::number(number));
}

// The window is a stand-in for the platform's own help program: one for the whole run.
QPointer<HelpViewer>& TheViewer() {
    static QPointer<HelpViewer> viewer;
    return viewer;
}

HelpViewer* Viewer() {
    auto& viewer = TheViewer();
    if (viewer) viewer->ReloadIfUnusable();
    return ShowSingleWindow(viewer, [] { return new HelpViewer(HelpFilePath()); });
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::HtmlResource && page) return page(name);
    return QTextBrowser::loadResource(type, name);
}

HelpViewer::HelpViewer(QString path, QWidget* parent) : QWidget(parent), path_(std::move(path)) {
    setObjectName("helpviewer");
    contentsButton_ = new QPushButton("&Contents");
    indexButton_ = new QPushButton("&Index");
    backButton_ = new QPushButton("&Back");
    forwardButton_ = new QPushButton("&Forward");
    contentsButton_->setObjectName("contentsButton");
    indexButton_->setObjectName("indexButton");
    backButton_->setObjectName("backButton");
    forwardButton_->setObjectName("forwardButton");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {contentsButton_, indexButton_, backButton_, forwardButton_})
        buttons->addWidget(b);
    buttons->addStretch();

    indexPane_ = new QWidget;
    indexPane_->setObjectName("indexPane");
    auto* prompt = new QLabel("&Type the first few letters of the word you are looking for:");
    prompt->setWordWrap(true);
    searchBox_ = new QLineEdit;
    searchBox_->setObjectName("searchBox");
    prompt->setBuddy(searchBox_);
    indexList_ = new QListWidget;
    indexList_->setObjectName("indexList");
    indexList_->setAccessibleName("Index");
    displayButton_ = new QPushButton("&Display");
    displayButton_->setObjectName("displayButton");
    auto* indexLayout = new QVBoxLayout(indexPane_);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(prompt);
    indexLayout->addWidget(searchBox_);
    indexLayout->addWidget(indexList_);
    indexLayout->addWidget(displayButton_);

    browser_ = new HelpBrowser;
    browser_->setObjectName("helpBrowser");
    browser_->setAccessibleName("Help topic");
    browser_->page = [this](const QUrl& url) { return Page(url); };

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(indexPane_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 540});
    indexPane_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(contentsButton_, &QPushButton::clicked, this, [this] { ShowContents(); });
    connect(indexButton_, &QPushButton::clicked, this,
            [this] { indexPane_->isVisible() ? indexPane_->hide() : ShowSearch(); });
    connect(backButton_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QPushButton::setEnabled);
    connect(searchBox_, &QLineEdit::textEdited, this, &HelpViewer::SearchTextEdited);
    connect(displayButton_, &QPushButton::clicked, this, &HelpViewer::DisplayIndexEntry);
    connect(indexList_, &QListWidget::itemActivated, this, &HelpViewer::DisplayIndexEntry);
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);
    // Enter in the search line displays the entry found; the index and the page (a link) take
    // their own Enter; Escape is the close box.
    // The chain follows the window: the buttons, the index pane, then the page.
    QWidget* chain[] = {contentsButton_, indexButton_, backButton_,    forwardButton_,
                        searchBox_,      indexList_,   displayButton_, browser_};
    for (int i = 1; i < int(std::size(chain)); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    KeepEnter(indexList_);
    KeepEnter(browser_);
    SetWindowKeys(this, displayButton_);
    InstallHelpKey(this);

    resize(780, 540);
    CentreWindow(*this);
    Load();
}

void HelpViewer::Load() {
    LoadedHelp loaded = LoadHelpFile(path_.toStdString());
    status_ = loaded.status;
    file_ = std::move(loaded.file);
    index_ = Loaded() ? BuildHelpIndex(file_) : std::vector<HelpIndexEntry>{};
    setWindowTitle(Loaded() ? FromUtf8(file_.title) : QString("Glyphdrop Help"));
    FillIndex();
}

void HelpViewer::ReloadIfUnusable() {
    if (Loaded()) return;
    path_ = HelpFilePath();
    Load();
    browser_->clearHistory();
}

void HelpViewer::FillIndex() {
    indexList_->clear();
    for (const auto& entry : index_)
        indexList_->addItem(FromUtf8(entry.keyword));
    searchBox_->setEnabled(Loaded());
    displayButton_->setEnabled(Loaded());
}

QString HelpViewer::Page(const QUrl& url) const {
    if (!Loaded())
        return FromUtf8(HelpMessageHtml("Help is not available",
                                        HelpStatusMessage(status_, path_.toStdString())));
    if (url.scheme() == "topic") {
        bool ok = false;
        const int number = url.path().toInt(&ok);
        if (const HelpTopic* topic = ok ? file_.Find(number) : nullptr)
            return FromUtf8(HelpTopicHtml(file_, *topic));
        return FromUtf8(HelpMessageHtml(
            "Topic not found", "The help file has no topic " + url.path().toStdString() +
                                   ". Use the Contents or the Index to find what you need."));
    }
    const QString path = url.path();
    if (url.scheme() == "help" && path.startsWith(kFoundPrefix)) {
        const int entry = path.mid(int(strlen(kFoundPrefix))).toInt();
        if (entry >= 0 && entry < int(index_.size()))
            return FromUtf8(HelpTopicsFoundHtml(file_, index_[entry]));
    }
    return FromUtf8(HelpContentsHtml(file_));
}

void HelpViewer::Navigate(const QUrl& url) {
    if (browser_->source() == url)
        browser_->reload();
    else
        browser_->setSource(url, QTextDocument::HtmlResource);
}

void HelpViewer::ShowContents() {
    Navigate(QUrl(kContentsAddress));
    BringForward(this);
}

void HelpViewer::ShowSearch() {
    if (browser_->source().isEmpty()) Navigate(QUrl(kContentsAddress));
    indexPane_->show();
    BringForward(this);
    searchBox_->setFocus();
    searchBox_->selectAll();
}

void HelpViewer::ShowTopic(int contextNumber) {
    Navigate(TopicUrl(contextNumber));
    BringForward(this);
}

void HelpViewer::SearchTextEdited(const QString& text) {
    const int entry = FindHelpIndexEntry(index_, text.toStdString());
    if (entry < 0) return;
    indexList_->setCurrentRow(entry);
    indexList_->scrollToItem(indexList_->item(entry), QAbstractItemView::PositionAtTop);
}

void HelpViewer::DisplayIndexEntry() {
    const int entry = indexList_->currentRow();
    if (entry < 0 || entry >= int(index_.size())) return;
    const auto& topics = index_[entry].topics;
    if (topics.size() == 1)
        Navigate(TopicUrl(topics.front()));
    else
        Navigate(QUrl(QString("help:") + kFoundPrefix + QString::number(entry)));
}

QString HelpFilePath() {
    return QFileInfo(QString::fromStdString(FindFileNoCase(kHelpFileName))).absoluteFilePath();
}

HelpViewer* ShowHelpContents() {
    HelpViewer* viewer = Viewer();
    viewer->ShowContents();
    return viewer;
}

HelpViewer* ShowHelpSearch() {
    HelpViewer* viewer = Viewer();
    viewer->ShowSearch();
    return viewer;
}

HelpViewer* ShowHelpTopic(int contextNumber) {
    HelpViewer* viewer = Viewer();
    viewer->ShowTopic(contextNumber);
    return viewer;
}

HelpViewer* OpenHelpViewer() {
    return TheViewer();
}

void InstallHelpKey(QWidget* window) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, [] { ShowHelpContents(); });
}

}  // namespace gd
