// Starts Glyphdrop: reads the options, then the application opens its first window.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "application.h"
#include "commandline.h"
#include "qtext.h"
#include "scriptdriver.h"

int main(int argc, char** argv) {
    if (const auto status = gd::AnswerWithoutWindows(argc, argv)) return *status;
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Glyphdrop");
    QApplication::setApplicationVersion(gd::ToQ(gd::kProgramVersion));
    // Lets the desktop match the windows to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(GLYPHDROP_APP_ID);

    QCommandLineParser parser;
    gd::AddProgramOptions(parser);
    const QString player = "player", skill = "skill", lanPorts = "lan-ports", drive = "drive",
                  server = "server", timeScale = "time-scale";
    parser.process(qapp);

    gd::AppOptions options;
    options.home = gd::ProgramFolder();
    options.readOnly = gd::InstalledFilesFolder();
    options.player = parser.isSet(player) ? gd::FromQ(parser.value(player).trimmed()) : "";
    bool ok = true;
    if (parser.isSet(skill)) options.skill = parser.value(skill).toInt(&ok);
    if (parser.isSet(skill) && (!ok || options.skill < 1 || options.skill > 3)) {
        std::fprintf(stderr, "glyphdrop: --skill takes 1, 2 or 3\n");
        return 2;
    }
    if (parser.isSet(lanPorts)) {
        const QStringList ports = parser.value(lanPorts).split(',');
        bool udpOk = false, tcpOk = false;
        if (ports.size() == 2) {
            options.lan.udpPort = ports[0].toInt(&udpOk);
            options.lan.tcpPort = ports[1].toInt(&tcpOk);
        }
        if (!udpOk || !tcpOk) {
            std::fprintf(stderr, "glyphdrop: --lan-ports takes two port numbers, UDP,TCP\n");
            return 2;
        }
    }
    if (parser.isSet(player) && options.player.empty()) {
        std::fprintf(stderr, "glyphdrop: --player needs a name\n");
        return 2;
    }
    const QString address =
        parser.isSet(server) ? parser.value(server) : qEnvironmentVariable("GLYPHDROP_SERVER");
    if (!address.trimmed().isEmpty()) options.server = gd::FromQ(address.trimmed());
    if (options.server.rfind("http://", 0) != 0 && options.server.rfind("https://", 0) != 0) {
        std::fprintf(stderr, "glyphdrop: the server address must start with http:// or https://\n");
        return 2;
    }
    if (parser.isSet(timeScale)) options.timeScale = parser.value(timeScale).toInt(&ok);
    if (!ok || options.timeScale < 1 || options.timeScale > 1000) {
        std::fprintf(stderr, "glyphdrop: --time-scale takes a number from 1 to 1000\n");
        return 2;
    }

    gd::Application app(options);
    app.Start();
    std::unique_ptr<gd::ScriptDriver> driver;
    if (parser.isSet(drive)) driver = std::make_unique<gd::ScriptDriver>(app, parser.value(drive));
    return QApplication::exec();
}
