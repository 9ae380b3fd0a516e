// Paints the pictures and synthesises the sounds that sit beside the program.
// Usage: gd_make_art OUTPUT_FOLDER, or gd_make_art --icons THEME_FOLDER NAME for the program's
// icon in the hicolor theme's layout.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "art.h"

namespace {

struct TileSet {
    const char* prefix;
    QColor base;
    QColor ink;
};

bool WriteAll(const QString& folder) {
    using namespace gdart;
    bool ok = true;
    const auto path = [&](const char* name) { return QDir(folder).filePath(name); };
    const auto png = [&](const QImage& image, const char* name) {
        if (!image.save(path(name), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path(name)));
            ok = false;
        }
    };

    for (const Background& background : Backgrounds())
        if (!SaveBmp24(PaintBackground(background), path(background.file).toStdString())) {
            std::fprintf(stderr, "cannot write %s\n", background.file);
            ok = false;
        }
    for (const Sound& sound : Sounds())
        if (!SaveWav(sound.make(), path(sound.file).toStdString())) {
            std::fprintf(stderr, "cannot write %s\n", sound.file);
            ok = false;
        }

    const TileSet sets[] = {{"blue_", QColor(40, 96, 210), QColor(255, 255, 255)},
                            {"red_", QColor(206, 44, 44), QColor(255, 255, 255)},
                            {"yel_", QColor(246, 204, 40), QColor(70, 44, 0)}};
    for (const TileSet& set : sets)
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            const QByteArray name = QByteArray(set.prefix) + letter + ".png";
            png(LetterTile(letter, set.base, set.ink), name.constData());
        }
    png(BlankHole(), "blank.png");
    png(PhotoNotAvailable(), "photona.png");
    png(ComputerPlayer(), "pcplayer.png");
    png(Speaker(true), "soundon.png");
    png(Speaker(false), "soundoff.png");
    png(QuickHelp(), "quickhelp.png");
    png(Light(QColor(40, 200, 70), true), "onlight.png");
    png(Light(QColor(90, 96, 100), false), "offlight.png");
    png(Light(QColor(220, 40, 30), true), "redlight.png");
    png(Logo(), "logo.png");
    png(HintBulb(), "tool_hint.png");
    return ok;
}

bool WriteIcons(const QString& theme, const QString& name) {
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = QString("%1/%2x%2/apps").arg(theme).arg(size);
        ok = QDir().mkpath(folder) && gdart::Icon(size).save(folder + "/" + name + ".png") && ok;
    }
    const QString scalable = theme + "/scalable/apps";
    QFile svg(scalable + "/" + name + ".svg");
    const std::string text = gdart::IconSvg();
    ok = QDir().mkpath(scalable) && svg.open(QIODevice::WriteOnly) &&
         svg.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size()) &&
         ok;
    if (!ok) std::fprintf(stderr, "cannot write the icons in %s\n", qPrintable(theme));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const bool icons = argc == 4 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER | --icons THEME_FOLDER NAME\n", argv[0]);
        return 2;
    }
    // Painting text needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (icons)
        return WriteIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    QElapsedTimer clock;
    clock.start();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = WriteAll(folder);
    std::printf("gd_make_art: wrote the pictures and sounds in %lld ms\n",
                static_cast<long long>(clock.elapsed()));
    return ok ? 0 : 1;
}
