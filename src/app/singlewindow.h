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

// The one way the application holds a window of its own: made when first wanted, deleted by Qt
// once it has closed (so a window closed inside a handler, or inside a wait, is never deleted
// under it), and deleted with its holder when it is still open at the program's end.
template <typename Window>
class OwnedWindow {
  public:
    OwnedWindow() = default;
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    ~OwnedWindow() { delete window_.data(); }

    // Holds `window` from now on; one held before has closed and goes its own way.
    Window* Hold(Window* window) {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window_ = window;
        return window;
    }
    void Close() {
        if (window_) window_->close();
    }
    Window* get() const { return window_; }
    operator Window*() const { return window_; }
    Window* operator->() const { return window_; }

  private:
    QPointer<Window> window_;
};

// Shows the window held in `slot`, making it with `make` when there is none. The window is
// deleted when it closes, which empties the slot.
template <typename Window, typename Make>
Window* ShowSingleWindow(OwnedWindow<Window>& slot, Make make) {
    if (!slot) slot.Hold(make());
    BringForward(slot);
    return slot;
}

// The same for the windows that any window may open (help, about, quick help, the word list):
// each lives in the function that shows it, and is deleted when it closes.
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
