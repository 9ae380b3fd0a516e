// The word lookups of the game against the plain scan over the list that they replace.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_words.h"
#include "board.h"
#include "fakes.h"
#include "rules.h"
#include "wordlist.h"

namespace gd {
namespace {

using bench::BenchWords;

// The reference: every entry upper-cased and compared, stopping at the first match.
bool IsWordScan(const WordList& list, const std::string& word) {
    const std::string wanted = UpperAscii(word);
    for (int i = 0; i < list.WordCount; ++i)
        if (UpperAscii(list.Words[i]) == wanted) return true;
    return false;
}

// Half of the queries are words (spread over the list), half are not.
std::vector<std::string> Queries() {
    const WordList& list = BenchWords();
    std::vector<std::string> queries;
    for (int i = 0; i < 64; ++i) {
        queries.push_back(list.Words[(i * 61) % list.WordCount]);
        queries.push_back(std::string("zq") + static_cast<char>('a' + i % 26) + "x");
    }
    return queries;
}

void BM_IsWord(benchmark::State& state) {
    const WordList& list = BenchWords();
    const auto queries = Queries();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(IsWord(list, queries[i++ % queries.size()]));
}
BENCHMARK(BM_IsWord);

void BM_IsWordScan(benchmark::State& state) {
    const WordList& list = BenchWords();
    const auto queries = Queries();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(IsWordScan(list, queries[i++ % queries.size()]));
}
BENCHMARK(BM_IsWordScan);

// A board with every hole filled but the top right one, and no word through hole 24, so all
// ten windows through it are read and looked up.
void FillBoard(test::Harness& t) {
    t.s.Words = BenchWords();
    t.StartPlay();
    const std::string letters = "qxzjvkwq";
    for (int h = 0; h < kBoardHoles - 1; ++h)
        SetHole(t.s, h, std::string(1, letters[(h * 5) % letters.size()]), Picture::Blue);
}

void BM_CheckForWord(benchmark::State& state) {
    test::Harness t;
    FillBoard(t);
    for (auto _ : state) {
        CheckForWord(t.s, t.sv, 24);
        benchmark::DoNotOptimize(t.s.GameOver);
    }
}
BENCHMARK(BM_CheckForWord);

// The same window reading with the scan for each lookup.
void BM_CheckForWordScan(benchmark::State& state) {
    test::Harness t;
    FillBoard(t);
    const int hole = 24;
    for (auto _ : state) {
        bool found = false;
        for (const WordWindow& window : kWordWindows) {
            if (!WindowFits(window, hole)) continue;
            std::string word;
            bool complete = true;
            for (int h : WindowHoles(window, hole)) {
                complete = complete && t.s.Hole[h].Tag != kEmptyMarker;
                word += t.s.Hole[h].Tag;
            }
            if (complete && IsWordScan(t.s.Words, word)) {
                found = true;
                break;
            }
        }
        benchmark::DoNotOptimize(found || BoardHasRoom(t.s));
    }
}
BENCHMARK(BM_CheckForWordScan);

}  // namespace
}  // namespace gd

BENCHMARK_MAIN();
