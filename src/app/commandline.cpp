// The program's command-line options and environment variables, and --help and --version.
#include "commandline.h"

#include <QCoreApplication>
#include <cstdio>

#include "protocol.h"
#include "qtext.h"
#include "text.h"

namespace gd {

const std::vector<ProgramOption>& ProgramOptions() {
    static const std::vector<ProgramOption> options = {
        {{"player"},
         "NAME",
         "Log on as player NAME when that profile has no password; a new NAME opens the "
         "settings."},
        {{"skill"},
         "1|2|3",
         "The computer's skill: 1 Beginner, 2 Normal, 3 Master (default: the profile's)."},
        {{"server"},
         "URL",
         "The game server's base address, http or https (default: $GLYPHDROP_SERVER, else " +
             ToQ(kDefaultServerAddress) + ")."},
        {{"lan-ports"},
         "UDP,TCP",
         "The LAN ports for discovery and sessions (default 27820,27821)."},
        {{"h", "help"}, "", "Show these options and end."},
        {{"v", "version"}, "", "Show the program's version and end."},
        {{"drive"}, "FILE", "Play the script in FILE.", true},
        {{"time-scale"}, "N", "Run the poll periods and pauses N times faster.", true},
    };
    return options;
}

const std::vector<ProgramVariable>& ProgramEnvironment() {
    static const std::vector<ProgramVariable> variables = {
        {"GLYPHDROP_SERVER", "The game server's base address when --server is not given."},
        {"GLYPHDROP_HOME",
         "A folder to keep the profiles in and find the files in, instead "
         "of the player's own data folder."},
        {"XDG_DATA_HOME", "Where the player's own data folder lies (default ~/.local/share)."},
    };
    return variables;
}

void AddProgramOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription("Glyphdrop, a word game for two players.");
    for (const ProgramOption& o : ProgramOptions()) {
        QCommandLineOption option(o.names, o.description, o.valueName);
        if (o.testOnly) option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString HelpText(const QCommandLineParser& parser) {
    const int column = 20, width = 79;  // each description starts after `column`, wrapped
    QString text = parser.helpText() + "\nEnvironment:\n";
    for (const ProgramVariable& v : ProgramEnvironment()) {
        QString line = ("  " + v.name).leftJustified(column);
        for (const QString& word : v.description.split(' ')) {
            if (line.size() + 1 + word.size() > width && line.size() > column) {
                text += line + "\n";
                line = QString(column, ' ');
            }
            line += " " + word;
        }
        text += line + "\n";
    }
    return text;
}

std::optional<int> AnswerWithoutWindows(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    AddProgramOptions(parser);
    // Other mistakes are reported once the application reads the options for good.
    parser.parse(arguments);
    if (!parser.isSet("help") && !parser.isSet("version")) return std::nullopt;
    // Neither answer needs a display: a core application gives the program's name.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName("glyphdrop");
    const QString text =
        parser.isSet("help") ? HelpText(parser) : "Glyphdrop " + ToQ(kProgramVersion) + "\n";
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

}  // namespace gd
