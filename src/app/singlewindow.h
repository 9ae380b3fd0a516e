// Placing and showing top-level windows: centred on their screen, and windows of which the
// program shows at most one, opened when none is, else brought forward.
#pragma once

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace gd {

// Moves a top-level window to the centre of its screen's free area.
inline void CentreWindow(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 2);
}

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
