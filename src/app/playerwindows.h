// What the login, settings and statistics windows share: where they reach the profile file,
// and placing a window in the middle of the screen.
#pragma once

#include <QString>
#include <QWidget>

#include "profile.h"

namespace gd {

// Moves a top-level window to the centre of its screen.
void CentreWindow(QWidget& window);

// The profile file in the program's folder.
ProfileFile ProfilesIn(const QString& folder);

}  // namespace gd
