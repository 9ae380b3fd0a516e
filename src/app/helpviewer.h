// The help window: shows GLYPHDROP.HLP at its contents, at its keyword index, or at a topic
// given by context number. Every window of the program opens help through the functions below.
#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <vector>

#include "helpfile.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;

namespace gd {

// The browser pane: pages come from the help file through "topic:N" and "help:..." addresses, so
// links, Back and Forward work as in any browser.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    // The page for an address; the help window answers every address with some page.
    std::function<QString(const QUrl&)> page;

    QVariant loadResource(int type, const QUrl& name) override;
};

class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    explicit HelpViewer(QString path, QWidget* parent = nullptr);

    void ShowContents();
    void ShowSearch();
    void ShowTopic(int contextNumber);
    // Reads the file again when it could not be used before (it may have been put back).
    void ReloadIfUnusable();

    bool Loaded() const { return status_ == HelpFileStatus::Loaded; }
    HelpBrowser* Browser() const { return browser_; }
    QLineEdit* SearchBox() const { return searchBox_; }
    QListWidget* IndexList() const { return indexList_; }
    QWidget* IndexPane() const { return indexPane_; }

  private:
    void Load();
    void FillIndex();
    void Navigate(const QUrl& url);
    QString Page(const QUrl& url) const;
    void SearchTextEdited(const QString& text);
    void DisplayIndexEntry();

    QString path_;
    HelpFileStatus status_ = HelpFileStatus::Missing;
    HelpFile file_;
    std::vector<HelpIndexEntry> index_;

    QPushButton* contentsButton_;
    QPushButton* indexButton_;
    QPushButton* backButton_;
    QPushButton* forwardButton_;
    QWidget* indexPane_;
    QLineEdit* searchBox_;
    QListWidget* indexList_;
    QPushButton* displayButton_;
    HelpBrowser* browser_;
};

// GLYPHDROP.HLP in the program's folder (the current folder), found without regard to case.
QString HelpFilePath();
// The one help window, opened on the first request and brought forward on each later one.
HelpViewer* ShowHelpContents();
HelpViewer* ShowHelpSearch();
HelpViewer* ShowHelpTopic(int contextNumber);
// The help window when one is open, else null.
HelpViewer* OpenHelpViewer();
// F1 in `window` opens the help contents.
void InstallHelpKey(QWidget* window);

}  // namespace gd
