// The pictures of the windows: letter tiles, the empty hole, photos, sound faces, lights, logo
// and toolbar icons. Files in the program's folder are used when present; otherwise the
// program paints its own, so a missing picture never leaves a hole in the window.
#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <functional>
#include <string>

#include "state.h"

namespace gd {

class Pictures {
  public:
    // `folder` is the program's folder, where the picture files sit.
    explicit Pictures(QString folder);

    // What a hole or piece shows: nothing, the empty hole, or the letter in blue, red or yellow.
    QPixmap ForCell(Picture picture, const std::string& tag);
    // One of the windows' own pictures by name: "photona", "pcplayer", "soundon",
    // "soundoff", "onlight", "offlight", "redlight", "logo", "quickhelp".
    QPixmap Named(const QString& name);
    // A toolbar icon: "computer", "hint" (painted by the art generator only), "lan", "internet",
    // "stats", "user", "settings", "wordlist", "help", "about", "fullscreen", "exit".
    QIcon ToolIcon(const QString& name);
    // A picture file such as the board background or a photo, found without regard to case;
    // a null pixmap when it is missing or cannot be read.
    static QPixmap LoadFile(const std::string& file);

  private:
    QPixmap FromFileOr(const QString& file, const std::function<QPixmap()>& paint);

    QString folder_;
    QHash<QString, QPixmap> cache_;
};

}  // namespace gd
