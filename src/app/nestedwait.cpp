// Deferred deletions held back during nested waits.
#include "nestedwait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <vector>

namespace gd {
namespace {

int waitDepth = 0;

class DeleteHolder : public QObject {
  public:
    using QObject::QObject;
    std::vector<QPointer<QObject>> held;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::DeferredDelete || waitDepth == 0) return false;
        held.emplace_back(watched);
        return true;
    }
};

DeleteHolder* holder = nullptr;

void ReleaseHeld() {
    if (!holder) return;
    auto held = std::move(holder->held);
    holder->held.clear();
    // Posted from the handler that waited, so the event loop deletes them once it returns.
    for (const QPointer<QObject>& object : held)
        if (object) object->deleteLater();
}

}  // namespace

NestedWait::NestedWait() {
    ++waitDepth;
}

NestedWait::~NestedWait() {
    if (--waitDepth == 0) ReleaseHeld();
}

bool NestedWait::Active() {
    return waitDepth > 0;
}

void InstallNestedWaitGuard(QCoreApplication& app) {
    if (holder) return;
    holder = new DeleteHolder(&app);
    app.installEventFilter(holder);
}

}  // namespace gd
