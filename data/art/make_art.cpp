// Paints the pictures and synthesises the sounds that sit beside the program.
// Usage: gd_make_art OUTPUT_FOLDER, or gd_make_art --icons THEME_FOLDER NAME for the program's
// icon in the hicolor theme's layout.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <utility>

#include "art.h"
#include "contrast.h"

namespace {

struct TileSet {
    const char* prefix;
    QColor base;
    QColor ink;
};

// Writes one picture at every density, as a PNG or (for the boards) a BMP.
class Writer {
  public:
    explicit Writer(QString folder) : folder_(std::move(folder)) {}
    bool ok() const { return ok_; }

    template <typename Paint>
    void Png(const std::string& name, Paint paint) {
        for (int scale : gdart::kScales)
            Check(paint(scale).save(Path(name, scale), "PNG"), name, scale);
    }
    void Bmp(const gdart::Background& background) {
        for (int scale : gdart::kScales)
            Check(gdart::SaveBmp24(gdart::PaintBackground(background, scale),
                                   Path(background.file, scale).toStdString()),
                  background.file, scale);
    }
    void Wav(const gdart::Sound& sound) {
        Check(gdart::SaveWav(sound.make(), Path(sound.file, 1).toStdString()), sound.file, 1);
    }

  private:
    QString Path(const std::string& name, int scale) const {
        return QDir(folder_).filePath(QString::fromStdString(gdart::ScaledName(name, scale)));
    }
    void Check(bool written, const std::string& name, int scale) {
        if (written) return;
        std::fprintf(stderr, "cannot write %s\n", qPrintable(Path(name, scale)));
        ok_ = false;
    }

    QString folder_;
    bool ok_ = true;
};

bool WriteAll(const QString& folder) {
    using namespace gdart;
    Writer out(folder);
    for (const Background& background : Backgrounds())
        out.Bmp(background);
    for (const Sound& sound : Sounds())
        out.Wav(sound);

    const TileSet sets[] = {{"blue_", QColor(40, 96, 210), QColor(255, 255, 255)},
                            {"red_", QColor(206, 44, 44), QColor(255, 255, 255)},
                            {"yel_", QColor(246, 204, 40), QColor(70, 44, 0)}};
    for (int colour = 0; colour < 3; ++colour)
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            const TileSet& set = sets[colour];
            out.Png(std::string(set.prefix) + letter + ".png",
                    [&](int scale) { return LetterTile(letter, set.base, set.ink, scale); });
            out.Png(std::string(contrast::kTiles[colour].file) + letter + ".png",
                    [&](int scale) { return ContrastTile(letter, colour, scale); });
        }
    out.Png("blank.png", BlankHole);
    out.Png("zcontrast_blank.png", ContrastHole);
    out.Png("photona.png", PhotoNotAvailable);
    out.Png("pcplayer.png", ComputerPlayer);
    out.Png("soundon.png", [](int scale) { return Speaker(true, scale); });
    out.Png("soundoff.png", [](int scale) { return Speaker(false, scale); });
    out.Png("quickhelp.png", QuickHelp);
    out.Png("onlight.png", [](int scale) { return Light(QColor(40, 200, 70), true, scale); });
    out.Png("offlight.png", [](int scale) { return Light(QColor(90, 96, 100), false, scale); });
    out.Png("redlight.png", [](int scale) { return Light(QColor(220, 40, 30), true, scale); });
    out.Png("logo.png", Logo);
    for (const char* tool : ToolNames())
        out.Png(std::string("tool_") + tool + ".png",
                [&](int scale) { return ToolIcon(tool, scale); });
    return out.ok();
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
