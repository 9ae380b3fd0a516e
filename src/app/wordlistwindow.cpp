// The dictionary window: its lines, search, resize rule and the missing-file message.
#include "wordlistwindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <filesystem>

#include "files.h"
#include "helpviewer.h"
#include "singlewindow.h"
#include "widgets.h"
#include "wordview.h"

namespace gd {
namespace {

// The window's elements in pixels (15 twips each); the list follows the window's width.
constexpr int kWindowWidth = 680;
constexpr int kWindowHeight = 440;
constexpr int kListLeft = 8;         // 120 twips
constexpr int kListNarrower = 16;    // 240 twips
constexpr int kMinResizeWidth = 20;  // 300 twips
constexpr int kListTop = 42;
constexpr int kListHeight = 260;
// A file far beyond any word list is shown only in part rather than filling the memory.
constexpr long long kMaxShownRecords = 100000;

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool EvenWidths(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance('i') == metrics.horizontalAdvance('W');
}

// The desktop's fixed-pitch font; where the platform names none, the fonts' own monospace.
QFont FixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!EvenWidths(font)) {
        font.setFamily("monospace");
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

}  // namespace

WordListWindow::WordListWindow(Prompter& prompt, std::string file, QWidget* parent)
    : QWidget(parent), prompt_(prompt), file_(std::move(file)) {
    setObjectName("wordlist");
    setWindowTitle("Glyphdrop - Game Dictionary");
    resize(kWindowWidth, kWindowHeight);
    setMinimumSize(320, kWindowHeight);

    label1_ = new QLabel("&Search for word:", this);
    label1_->setObjectName("Label1");
    label1_->setGeometry(8, 12, 110, 20);
    text1_ = new QLineEdit(this);
    text1_->setObjectName("Text1");
    text1_->setGeometry(120, 10, 120, 24);
    label1_->setBuddy(text1_);

    list1_ = new QListWidget(this);
    list1_->setObjectName("List1");
    list1_->setFont(FixedPitchFont());
    list1_->setUniformItemSizes(true);
    list1_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list1_->setGeometry(kListLeft, kListTop, kWindowWidth - kListNarrower, kListHeight);
    list1_->setAccessibleName("Words and definitions");

    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");
    label2_->setWordWrap(true);
    label2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label2_->setGeometry(8, 310, kWindowWidth - 16, 84);

    close_ = new QPushButton("Close Window", this);
    close_->setObjectName("wordviewclose");
    close_->setGeometry(kWindowWidth - 128, 402, 120, 28);

    connect(text1_, &QLineEdit::textChanged, this, &WordListWindow::Text1Change);
    connect(close_, &QPushButton::clicked, this, &WordListWindow::wordviewcloseClick);
    // Enter in the search line goes on to the word found; elsewhere it closes the window, and
    // so does Escape, as the close box does.
    connect(text1_, &QLineEdit::returnPressed, list1_, [this] { list1_->setFocus(); });
    KeepEnter(text1_);
    SetWindowKeys(this, close_);
    InstallHelpKey(this);
    CentreHorizontally();
}

void WordListWindow::CentreHorizontally() {
    QScreen* screen = QApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + 60);
}

long long WordListWindow::FillLines() {
    lines_.clear();
    const std::string path = FindFileNoCase(file_);
    if (!FileExists(path)) return -1;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const long long count = error ? 0 : static_cast<long long>(size / kDictRecordSize);
    long long shown = 0;
    ForEachDictRecord(path, [&](const DictRecord& record) {
        for (auto& line : DictDisplayLines(record))
            lines_.push_back(std::move(line));
        return ++shown < kMaxShownRecords;
    });
    return count;
}

void WordListWindow::Open() {
    label2_->setText(Latin1(DictInfoWhileFilling()));
    if (isVisible()) label2_->repaint();
    list1_->clear();
    const long long count = FillLines();
    if (count < 0) prompt_.Message("Error! Word List File Not Found.", "File Not Found");
    QStringList items;
    items.reserve(static_cast<qsizetype>(lines_.size()));
    for (const auto& line : lines_)
        items.append(Latin1(line));
    list1_->addItems(items);
    label2_->setText(Latin1(DictInfoFilled(count < 0 ? "" : std::to_string(count))));
}

void WordListWindow::Text1Change() {
    const QByteArray text = text1_->text().toLatin1();
    const auto hit = SearchDictLines(lines_, text.toStdString());
    if (!hit) return;
    QListWidgetItem* item = list1_->item(hit->top);
    if (hit->select) list1_->setCurrentItem(item);
    list1_->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void WordListWindow::wordviewcloseClick() {
    close();
}

void WordListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (width() > kMinResizeWidth)
        list1_->setGeometry(kListLeft, list1_->y(), width() - kListNarrower, list1_->height());
}

WordListWindow* ShowWordList(Prompter& prompt) {
    static QPointer<WordListWindow> window;
    const bool opening = !window;
    ShowSingleWindow(window, [&] { return new WordListWindow(prompt); });
    // Filled once, after it shows, so the first information text is seen while it fills.
    if (opening) window->Open();
    return window;
}

}  // namespace gd
