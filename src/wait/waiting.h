// The wait rule on the Qt event loop. While a handler waits, the windows keep painting and
// sockets keep being served, but no timer's tick runs, clicks and keys meant for any window
// other than the wait's own dialog are dropped (never replayed), and a window that closes is
// deleted only after the outermost wait ends.
#pragma once

#include <functional>

#include "wait_rule.h"

class QObject;

namespace gd {

// The rule of this program's event loop, installed on the running application at first use.
// There is one event loop per program, so there is one rule; the timers, the prompts, the
// requests and the LAN layer all reach it here.
WaitRule& Waits();

// Marks a wait for as long as it lives. Input reaches only `owner` (the dialog the wait shows)
// and its children; with no owner, no input reaches any window.
class WaitScope {
  public:
    explicit WaitScope(QObject* owner = nullptr);
    ~WaitScope();
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

  private:
    QObject* outerOwner_;
};

// Waits as every handler waits: serves events until `waiting` turns false, asking it every
// `pollMs` milliseconds.
void WaitWhile(const std::function<bool()>& waiting, int pollMs = 10);

}  // namespace gd
