// Paints the pictures and synthesises the sounds that sit beside the program.
// Usage: gd_make_art OUTPUT_FOLDER
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

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
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    // Painting text needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
