// The statistics window: every profile's wins, losses and ties in fixed columns.
#pragma once

#include <QWidget>

#include "profile.h"

class QListWidget;

namespace gd {

class ClickLabel;

class StatsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit StatsWindow(const ProfileFile& profiles, QWidget* parent = nullptr);

    void Label1Click();
    // Another window was activated.
    void FormDeactivate();

    QWidget* vsElastic1() const { return elastic_; }
    QListWidget* List1() const { return list1_; }
    ClickLabel* Label1() const { return label1_; }

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* elastic_;
    QListWidget* list1_;
    ClickLabel* label1_;
    bool wasActive_ = false;
};

}  // namespace gd
