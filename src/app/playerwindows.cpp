// Helpers of the players' windows.
#include "playerwindows.h"

#include <QGuiApplication>
#include <QScreen>

#include "text.h"

namespace gd {

void CentreWindow(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 2);
}

ProfileFile ProfilesIn(const QString& folder) {
    return ProfileFile{FromQ(folder)};
}

}  // namespace gd
