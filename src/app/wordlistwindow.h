// The dictionary window `wordlist`: every record of "wordlist.dic" with its definition, wrapped
// into a fixed-pitch list, searched by the first letters typed into `Text1`.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "services.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace gd {

class WordListWindow : public QWidget {
    Q_OBJECT
  public:
    // `file` is the dictionary, found without regard to case; "wordlist.dic" in the program's
    // folder for the program.
    explicit WordListWindow(Prompter& prompt, std::string file = "wordlist.dic",
                            QWidget* parent = nullptr);

    // Opening: the information text, the list filled from the file (or the missing-file
    // message), then the information text with the word count.
    void Open();
    // The search on every change of `Text1`.
    void Text1Change();
    void wordviewcloseClick();

    QLabel* Label1() const { return label1_; }
    QLineEdit* Text1() const { return text1_; }
    QListWidget* List1() const { return list1_; }
    QLabel* Label2() const { return label2_; }
    QPushButton* wordviewclose() const { return close_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CentreHorizontally();
    // Reads the records into display lines; returns the record count, or -1 without a file.
    long long FillLines();

    Prompter& prompt_;
    std::string file_;
    std::vector<std::string> lines_;
    QLabel* label1_;
    QLineEdit* text1_;
    QListWidget* list1_;
    QLabel* label2_;
    QPushButton* close_;
};

// "&View Dictionary": the window, not modal. One already open is only brought forward.
WordListWindow* ShowWordList(Prompter& prompt);

}  // namespace gd
