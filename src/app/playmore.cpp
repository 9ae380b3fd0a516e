// The game-over window: its result line, "Yes" and "No".
#include "playmore.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "application.h"
#include "computer_game.h"
#include "layout.h"
#include "qtext.h"

namespace gd {

PlayMore::PlayMore(Application& app, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      main_(mainWindow) {
    setObjectName("playmore");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Game Over");
    QFont f("DejaVu Sans", 1);
    f.setPixelSize(11);
    setFont(f);

    const QSize size = layout::kPlayMoreSize;
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setGeometry(8, 4, size.width() - 16, 30);
    label1_->setWordWrap(true);
    label2_ = new QLabel("Game Over. Would You Like To Play Again?", this);
    label2_->setObjectName("Label2");
    label2_->setGeometry(8, 46, 260, 24);
    QFont bold = f;
    bold.setBold(true);
    label2_->setFont(bold);
    command1_ = new QPushButton("Yes", this);
    command1_->setObjectName("Command1");
    command1_->setGeometry(size.width() - 152, 44, 68, 28);
    command2_ = new QPushButton("No", this);
    command2_->setObjectName("Command2");
    command2_->setGeometry(size.width() - 76, 44, 68, 28);
    connect(command1_, &QPushButton::clicked, this, [this] { app_.PlayMoreYes(); });
    connect(command2_, &QPushButton::clicked, this, [this] { app_.PlayMoreNo(); });
}

void PlayMore::Load() {
    setFixedSize(layout::kPlayMoreSize);
    move(main_->pos() + layout::kPlayMoreOffset);
    const ResultLine line = PlayMoreResultLine(app_.state());
    label1_->setText(ToQ(line.text));
    label1_->setAlignment((line.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
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
