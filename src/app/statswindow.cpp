// The statistics window: fills its list once at opening and closes on a click of its label or
// when the user turns to another window.
#include "statswindow.h"

#include <QEvent>
#include <QFontDatabase>
#include <QListWidget>
#include <QVBoxLayout>

#include "qtext.h"
#include "singlewindow.h"
#include "stats.h"
#include "widgets.h"

namespace gd {

StatsWindow::StatsWindow(const ProfileFile& profiles, QWidget* parent)
    : QWidget(parent, Qt::Window),
      elastic_(new QWidget(this)),
      list1_(new QListWidget(elastic_)),
      label1_(new ClickLabel(this)) {
    setObjectName("stats");
    elastic_->setObjectName("vsElastic1");
    list1_->setObjectName("List1");
    label1_->setObjectName("Label1");
    setWindowTitle("Glyphdrop - View Player Stats");

    // The columns line up only in a fixed-pitch font.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({fixed.family(), "DejaVu Sans Mono", "monospace"});
    fixed.setStyleHint(QFont::TypeWriter);
    list1_->setFont(fixed);
    list1_->setSelectionMode(QAbstractItemView::NoSelection);
    auto* inner = new QVBoxLayout(elastic_);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(list1_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(elastic_, 1);
    layout->addWidget(label1_, 0, Qt::AlignHCenter);
    label1_->setText("Click here to close");
    label1_->setCursor(Qt::PointingHandCursor);
    label1_->SetCommand("Close");
    list1_->setAccessibleName("Player statistics");
    connect(label1_, &ClickLabel::clicked, this, &StatsWindow::Label1Click);
    // Enter and Escape close it, as the label and the close box do.
    SetWindowKeys(this, label1_);
    resize(480, 320);

    for (const auto& line : StatsLines(profiles))
        list1_->addItem(ToQ(line));
}

void StatsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CentreWindow(*this);
}

void StatsWindow::Label1Click() {
    close();
}

void StatsWindow::FormDeactivate() {
    close();
}

void StatsWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible()) return;
    // Only a window that was active can lose the focus to another one.
    if (isActiveWindow())
        wasActive_ = true;
    else if (wasActive_)
        FormDeactivate();
}

}  // namespace gd
