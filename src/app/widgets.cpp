// Click labels and the painted background of the main window.
#include "widgets.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "layout.h"

namespace gd {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed();
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void ClickLabel::SetCommand(const QString& name) {
    InstallAccessibility();
    command_ = true;
    setFocusPolicy(Qt::StrongFocus);
    if (!name.isEmpty()) setAccessibleName(name);
    // Setting a text already made Qt cache this label's plain interface; drop it so the next
    // query asks the factory again.
    if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(this);
        cached && cached->role() != QAccessible::Button)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
}

QString ClickLabel::CommandName() const {
    if (!accessibleName().isEmpty()) return accessibleName();
    if (!text().isEmpty()) return text();
    return toolTip();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (command_ && !event->isAutoRepeat() &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit clicked();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!command_ || !hasFocus()) return;
    // A two-tone dashed frame, seen on light and on dark pictures alike.
    QPainter p(this);
    const QRect r = rect().adjusted(1, 1, -2, -2);
    p.setPen(QPen(Qt::white, 2));
    p.drawRect(r);
    p.setPen(QPen(Qt::black, 2, Qt::DashLine));
    p.drawRect(r);
}

namespace {

// A command label as accessibility sees it: a push button, named, with a press action.
class ClickLabelAccessible : public QAccessibleWidget {
  public:
    explicit ClickLabelAccessible(ClickLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked()"));
    }
    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return label()->CommandName();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && label()->isEnabled())
            emit label()->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* ClickLabelFactory(const QString& className, QObject* object) {
    // Labels that are not commands fall through to the plain label Qt presents.
    auto* label = qobject_cast<ClickLabel*>(object);
    if (className != QLatin1String("gd::ClickLabel") || !label || !label->IsCommand())
        return nullptr;
    return new ClickLabelAccessible(label);
}

}  // namespace

void ClickLabel::InstallAccessibility() {
    static const bool installed = (QAccessible::installFactory(ClickLabelFactory), true);
    (void)installed;
}

void BackgroundArt::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

namespace {

// A light, framed panel where the board art puts one, so the elements read the same on the
// plain background as on a picture.
void Panel(QPainter& p, const QRect& r) {
    p.setPen(QPen(QColor(90, 100, 120), 1));
    p.setBrush(QColor(245, 245, 250, 215));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

void Caption(QPainter& p, const QRect& r, const QString& text, int pixelSize) {
    QFont f("DejaVu Sans", 1, QFont::Bold);
    f.setPixelSize(pixelSize);
    p.setFont(f);
    p.setPen(QColor(40, 45, 70));
    p.drawText(r, Qt::AlignCenter, text);
}

// The art a board picture carries: panels behind the elements and the captions of the
// transparent buttons.
void PaintPlainArt(QPainter& p, const QSize& size) {
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(120, 140, 170));
    g.setColorAt(1, QColor(70, 85, 115));
    p.fillRect(QRect(QPoint(0, 0), size), g);
    p.setRenderHint(QPainter::Antialiasing);
    using namespace layout;
    const QRect topLeft = HoleRect(35), bottomRight = HoleRect(6);
    Panel(p, QRect(topLeft.topLeft() - QPoint(10, 10), bottomRight.bottomRight() + QPoint(10, 10)));
    Panel(p, kDragbar);
    Panel(p, QRect(PanelCaptionRect(0).topLeft() - QPoint(4, 12), QSize(146, 184)));
    Panel(p, kPicture1.adjusted(-4, -4, 4, 4));
    Panel(p, kImage10.adjusted(-4, -2, 4, 2));
    Panel(p, kLabel13.adjusted(-3, -2, 3, 2));
    Panel(p, kStatusText.adjusted(-3, -3, 3, 3));
    Panel(p, kChatText.adjusted(-4, -4, 4, 4));
    Panel(p, kSendButton);
    Panel(p, kMenuButton);
    Caption(p, kMenuButton, "Menu", 20);
    Panel(p, kMinButton.adjusted(3, 3, -3, -3));
    Panel(p, kCloseButton.adjusted(3, 1, -3, -1));
    Caption(p, kMinButton.adjusted(0, -3, 0, -3), "_", 12);
    Caption(p, kCloseButton, "x", 12);
}

}  // namespace

void BackgroundArt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull())
        p.drawPixmap(rect(), picture_);
    else
        PaintPlainArt(p, size());
}

}  // namespace gd
