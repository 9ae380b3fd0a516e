// The one rule that keeps windows safe while a handler waits (a message box, a request that
// keeps painting): a window that closes meanwhile is deleted only once no wait runs, so no
// handler still on the stack is left holding a deleted window.
#pragma once

class QCoreApplication;

namespace gd {

// Marks a wait inside a handler for as long as it lives. Waits nest.
class NestedWait {
  public:
    NestedWait();
    ~NestedWait();
    NestedWait(const NestedWait&) = delete;
    NestedWait& operator=(const NestedWait&) = delete;
    static bool Active();
};

// Holds back every deferred deletion that comes due while a wait runs and hands it back to
// the event loop when the outermost wait ends. Installed once, on the application.
void InstallNestedWaitGuard(QCoreApplication& app);

}  // namespace gd
