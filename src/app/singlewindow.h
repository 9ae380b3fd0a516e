// Windows of which the program shows at most one: opened when none is, else brought forward.
#pragma once

#include <QPointer>
#include <QWidget>

namespace gd {

inline void BringForward(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

// Shows the window held in `slot`, making it with `make` when there is none. The window is
// deleted when it closes, which empties the slot.
template <typename Window, typename Make>
Window* ShowSingleWindow(QPointer<Window>& slot, Make make) {
    if (!slot) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringForward(slot);
    return slot;
}

}  // namespace gd
