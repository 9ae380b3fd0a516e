// The pictures of the windows: letter tiles, the empty hole, photos, sound faces, lights, logo
// and toolbar icons. Files in the program's folder are used when present; otherwise the
// program paints its own, so a missing picture never leaves a hole in the window.
//
// On a screen of twice the density (a desktop scaled 2x, QT_SCALE_FACTOR=2) every picture is
// read from its 2x file, NAME@2x.EXT beside NAME.EXT, and carries device pixel ratio 2, so
// nothing is blown up from 1x.
#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
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
    // A toolbar icon: "computer", "lan", "internet", "stats", "user", "settings", "wordlist",
    // "help", "about", "fullscreen", "exit", "hint".
    QIcon ToolIcon(const QString& name);

    // A board picture may bring tiles of its own, named after it: "zcontrast.bmp" has
    // "zcontrast_blank.png", "zcontrast_blue_a.png" and so on. Holes and pieces then show that
    // set, and the ordinary one otherwise.
    void UseTilesOf(const std::string& boardFile);
    // The prefix of the tile files in use: "" for the ordinary set, or "zcontrast_".
    const QString& TileSet() const { return tiles_; }
    // The picture files asked for that were missing at the screen's density, each once.
    const QStringList& Missing() const { return missing_; }

    // A picture file such as the board background or a photo, found without regard to case,
    // from its 2x file on a screen of twice the density when there is one; a null pixmap when
    // it is missing or cannot be read.
    static QPixmap LoadFile(const std::string& file);
    // 2 on a screen of twice the density or more, else 1.
    static int ScreenScale();

  private:
    QPixmap FromFileOr(const QString& file, const std::function<QPixmap()>& paint);

    QString folder_;
    QString tiles_;
    QStringList missing_;
    QHash<QString, QPixmap> cache_;
};

}  // namespace gd
