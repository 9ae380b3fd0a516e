// Where the players' logic reaches outside itself: the HTTP transfer control's proxy and the
// main window's background. Every hook defaults to nothing.
#pragma once

#include <string>

namespace gd {

class PlayerHooks {
  public:
    virtual ~PlayerHooks() = default;
    // Named-proxy access through `address` when `useProxy`, default access otherwise.
    virtual void ApplyProxy(bool /*useProxy*/, const std::string& /*address*/) {}
    // The main window shows this board picture at once.
    virtual void ShowBackground(const std::string& /*file*/) {}
};

}  // namespace gd
