// How long the dictionary window takes to open and fill: with the shipped word list, and with
// the largest list the game holds (4000 words, every definition 240 characters long).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <string>

#include "fakes.h"
#include "wordlist.h"
#include "wordlistwindow.h"

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "wordlist_window_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // lives until the process ends
    return *app;
}

// Opens the window on `path`, shows it and fills it, as "&View Dictionary" does.
void FillWindow(benchmark::State& state, const std::string& path) {
    App();
    gd::test::ScriptedPrompter prompt;
    int lines = 0;
    for (auto _ : state) {
        gd::WordListWindow window(prompt, path);
        window.show();
        window.Open();
        QCoreApplication::processEvents();
        lines = window.List1()->count();
        benchmark::DoNotOptimize(lines);
    }
    if (!prompt.shown.empty()) state.SkipWithError("the word list file was not found");
    state.counters["lines"] = lines;
}

void BM_WordListWindowFill(benchmark::State& state) {
    FillWindow(state, GLYPHDROP_WORDLIST);
}
BENCHMARK(BM_WordListWindowFill)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WordListWindowFillLargest(benchmark::State& state) {
    static QTemporaryDir dir;
    const std::string path = dir.filePath("wordlist.dic").toStdString();
    std::string definition;
    while (definition.size() < gd::kDictDefinitionWidth)
        definition += "wordy text ";
    definition.resize(gd::kDictDefinitionWidth - 1);
    gd::test::DictEntries words;
    for (int i = 0; i < gd::kMaxWords; ++i)
        words.emplace_back(
            std::string{char('a' + i / 676 % 26), char('a' + i / 26 % 26), char('a' + i % 26), 'x'},
            definition);
    gd::test::WriteWordList(path, words);
    FillWindow(state, path);
}
BENCHMARK(BM_WordListWindowFillLargest)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
