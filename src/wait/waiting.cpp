// Input dropped, ticks held and deletions put off while a handler waits.
#include "waiting.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <thread>
#include <vector>

namespace gd {
namespace {

// Events by which a player acts on a window; a close from the window manager is one too.
bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

bool Inside(const QObject* object, const QObject* owner) {
    for (; object; object = object->parent())
        if (object == owner) return true;
    return false;
}

// Installed on the application: sees every event before its receiver does.
class WaitGuard : public QObject {
  public:
    explicit WaitGuard(QObject* parent)
        : QObject(parent),
          rule([this](WaitRule::Job job) { QTimer::singleShot(0, this, std::move(job)); }) {}

    WaitRule rule;
    QObject* owner = nullptr;  // the innermost wait's dialog, if it shows one
    std::vector<QPointer<QObject>> heldDeletions;

    // Posted from the handler that waited, so the event loop deletes them once it returns.
    void ReleaseDeletions() {
        auto held = std::move(heldDeletions);
        heldDeletions.clear();
        for (const QPointer<QObject>& object : held)
            if (object) object->deleteLater();
    }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!rule.Waiting()) return false;
        if (event->type() == QEvent::DeferredDelete) {
            heldDeletions.emplace_back(receiver);
            return true;
        }
        if (!event->spontaneous() || !IsInput(event->type())) return false;
        // Shortcuts go to actions; everything else reaches a widget through its window.
        if (!receiver->isWidgetType() && event->type() != QEvent::Shortcut) return false;
        if (owner && Inside(receiver, owner)) return false;
        // Dropped: a refused drag or close stays refused; anything else counts as handled,
        // so it does not travel on to the parent widgets.
        const QEvent::Type type = event->type();
        const bool refuse = type == QEvent::DragEnter || type == QEvent::DragMove ||
                            type == QEvent::Drop || type == QEvent::Close;
        event->setAccepted(!refuse);
        return true;
    }
};

QPointer<WaitGuard> installed;

WaitGuard& Guard() {
    if (!installed) {
        QCoreApplication* app = QCoreApplication::instance();
        installed = new WaitGuard(app);
        if (app) app->installEventFilter(installed);
    }
    return *installed;
}

}  // namespace

WaitRule& Waits() {
    return Guard().rule;
}

WaitScope::WaitScope(QObject* owner) : outerOwner_(Guard().owner) {
    Guard().owner = owner;
    Guard().rule.Enter();
}

WaitScope::~WaitScope() {
    WaitGuard& guard = Guard();
    guard.owner = outerOwner_;
    guard.rule.Leave();
    if (!guard.rule.Waiting()) guard.ReleaseDeletions();
}

void WaitWhile(const std::function<bool()>& waiting, int pollMs) {
    if (!waiting()) return;
    if (!QCoreApplication::instance()) {  // no event loop to serve: nothing but the wait
        while (waiting())
            std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
        return;
    }
    const WaitScope wait;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(pollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!waiting()) loop.quit();
    });
    poll.start();
    loop.exec();
}

}  // namespace gd
