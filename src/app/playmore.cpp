// The game-over window: its result line, "Yes" and "No".
#include "playmore.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>

#include "application.h"
#include "computer_game.h"
#include "layout.h"
#include "qtext.h"
#include "widgets.h"

namespace gd {

PlayMore::PlayMore(Application& app, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      main_(mainWindow) {
    setObjectName("playmore");
    setWindowTitle("Game Over");
    QFont f("DejaVu Sans", 1);
    f.setPixelSize(11);
    setFont(f);

    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setWordWrap(true);
    label2_ = new QLabel("Game Over. Would You Like To Play Again?", this);
    label2_->setObjectName("Label2");
    QFont bold = f;
    bold.setBold(true);
    label2_->setFont(bold);
    command1_ = new QPushButton("Yes", this);
    command1_->setObjectName("Command1");
    command2_ = new QPushButton("No", this);
    command2_->setObjectName("Command2");
    // The window comes up while the player may still be typing a chat line, whose keys must not
    // answer it: the focus goes first to the result line, which a screen reader then reads, and
    // only Tab comes to the answers. No default answer, and no close box for Escape.
    label1_->setFocusPolicy(Qt::TabFocus);
    for (QPushButton* button : {command1_, command2_})
        button->setFocusPolicy(Qt::TabFocus);
    SetWindowKeys(this, nullptr, false);
    connect(command1_, &QPushButton::clicked, this, [this] { app_.PlayMoreYes(); });
    connect(command2_, &QPushButton::clicked, this, [this] { app_.PlayMoreNo(); });
}

void PlayMore::Load() {
    const ResultLine line = PlayMoreResultLine(app_.state());
    label1_->setText(ToQ(line.text));
    label1_->setAlignment((line.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    PlaceElements();
    // A grown window rises by what it grew, so that it stays over the main window.
    move(main_->pos() + layout::kPlayMoreOffset -
         QPoint(0, height() - layout::kPlayMoreSize.height()));
}

void PlayMore::PlaceElements() {
    // A long definition wraps to more lines than the drawn height holds: the window grows by
    // what the result line needs beyond it.
    const QSize size = layout::kPlayMoreSize;
    const int width = size.width() - 16;
    const int textHeight =
        std::max(30, label1_->fontMetrics()
                         .boundingRect(0, 0, width, 1 << 20, Qt::TextWordWrap, label1_->text())
                         .height());
    const int grown = textHeight - 30;
    label1_->setGeometry(8, 4, width, textHeight);
    label2_->setGeometry(8, 46 + grown, size.width() - 168, 24);
    command1_->setGeometry(size.width() - 152, 44 + grown, 68, 28);
    command2_->setGeometry(size.width() - 76, 44 + grown, 68, 28);
    setFixedSize(size + QSize(0, grown));
}

void PlayMore::changeEvent(QEvent* event) {
    // Losing the activation brings the window back in front, until it is answered; a message
    // box that is up meanwhile keeps the activation.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !QApplication::activeModalWidget()) {
                raise();
                if (QApplication::activeWindow()) activateWindow();
            }
        });
    QWidget::changeEvent(event);
}

}  // namespace gd
