// The program's command-line options and the environment variables it reads: one list that the
// parser, --help and the manual page's check all take.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <optional>
#include <vector>

namespace gd {

struct ProgramOption {
    QStringList names;      // "h", "help": a letter and a word
    QString valueName;      // empty for a switch
    QString description;    // as --help shows it
    bool testOnly = false;  // taken, but neither shown nor documented
};

struct ProgramVariable {
    QString name;
    QString description;
};

const std::vector<ProgramOption>& ProgramOptions();
const std::vector<ProgramVariable>& ProgramEnvironment();

// Adds every option of ProgramOptions() to `parser`.
void AddProgramOptions(QCommandLineParser& parser);

// What --help prints: the options with their values, then the environment variables.
QString HelpText(const QCommandLineParser& parser);

// --help and --version, answered before any window system is opened: the exit status when one
// of them was given (the text is printed), else nothing.
std::optional<int> AnswerWithoutWindows(int argc, char** argv);

}  // namespace gd
