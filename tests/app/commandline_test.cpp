// The program's options as a player meets them: --help and --version work without a display,
// and --help and the manual page name every option and environment variable the program takes.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <set>

#include "commandline.h"

namespace gd::test {
namespace {

struct Outcome {
    int status = -1;
    QString out;
};

// The installed program on a machine without a display, where opening a window aborts.
Outcome RunWithoutDisplay(const QString& option) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(GD_PROGRAM, {option});
    if (!program.waitForFinished(20000)) return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardOutput())};
}

// The names a text gives in one form: "--player", "-h", "GLYPHDROP_HOME".
std::set<QString> Names(const QString& text, const QString& pattern) {
    std::set<QString> names;
    auto match = QRegularExpression(pattern).globalMatch(text);
    while (match.hasNext())
        names.insert(match.next().captured(1));
    return names;
}

// One section of the manual page, its escaped hyphens made plain.
QString ManualSection(const QString& heading) {
    QFile file(GD_MANUAL);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString page = QString::fromUtf8(file.readAll()).replace("\\-", "-");
    const auto start = page.indexOf(".SH " + heading + "\n");
    if (start < 0) return {};
    return page.mid(start, page.indexOf("\n.SH ", start + 1) - start);
}

const QString kOptionName = R"((?:^|[\s"])(--?[a-z][a-z-]*))";
const QString kVariableName = R"(\b([A-Z][A-Z0-9]*_[A-Z0-9_]+)\b)";

struct Lists {
    std::set<QString> options, variables;
};

// The program's own list: what a player may give, what the environment may hold.
Lists ProgramLists() {
    Lists lists;
    for (const ProgramOption& o : ProgramOptions())
        if (!o.testOnly)
            for (const QString& name : o.names)
                lists.options.insert((name.size() == 1 ? "-" : "--") + name);
    for (const ProgramVariable& v : ProgramEnvironment())
        lists.variables.insert(v.name);
    return lists;
}

// Guards against --help or --version opening the windows first, which aborts without a display.
TEST(CommandLine, HelpAndVersionNeedNoDisplay) {
    const Outcome version = RunWithoutDisplay("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.contains("1.1")) << version.out.toStdString();
    const Outcome help = RunWithoutDisplay("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: ")) << help.out.toStdString();
    EXPECT_EQ(RunWithoutDisplay("-h").out, help.out);
}

// Guards against an option or variable the program takes that --help or the manual page leaves
// out, against a manual page describing one the program no longer takes, and against the
// test-only options showing up for players.
TEST(CommandLine, HelpAndManualNameEveryOptionAndVariable) {
    const Lists program = ProgramLists();
    ASSERT_TRUE(program.options.count("--server") && program.variables.count("GLYPHDROP_HOME"));
    const QString help = RunWithoutDisplay("--help").out;
    EXPECT_EQ(Names(help, kOptionName), program.options) << help.toStdString();
    EXPECT_EQ(Names(help.mid(help.indexOf("Environment:")), kVariableName), program.variables);

    const QString options = ManualSection("OPTIONS"), environment = ManualSection("ENVIRONMENT");
    ASSERT_FALSE(options.isEmpty() || environment.isEmpty()) << GD_MANUAL;
    EXPECT_EQ(Names(options, kOptionName), program.options) << options.toStdString();
    EXPECT_EQ(Names(environment, R"(\n\.B ([A-Z_]+)\n)"), program.variables);
}

}  // namespace
}  // namespace gd::test
