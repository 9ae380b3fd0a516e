// The computer's decision at Master on a crowded board, against the same decision with every
// candidate word looked up by a scan of the list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bench_words.h"
#include "board.h"
#include "computer.h"
#include "fakes.h"
#include "wordlist.h"

namespace gd {
namespace {

using bench::BenchWords;

// A cheap generator that restarts at the same seed, so every iteration decides alike.
class FixedRandom : public RandomSource {
  public:
    void Reseed() override {}
    double Next() override {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) * 0x1.0p-53;
    }
    std::uint64_t state = 1;
};

// Windows looked up, and candidate words a scan would weigh: up to the letter found, or all 26.
int lookups = 0, candidates = 0;
std::uint32_t CountingLookup(const WordList& words, const WindowTags& tags, int position) {
    const std::uint32_t letters = IndexedCompletions(words, tags, position);
    ++lookups;
    candidates += letters != 0 ? __builtin_ctz(letters) + 1 : 26;
    return letters;
}

// The board that costs the decision at Master the most while every column is still open: of all
// column heights the one with the most windows to read, then letters in the list's proportions
// and heights changed one at a time while the candidate words weighed do not drop, so that no
// move wins early and cuts the search short.
struct BenchBoard {
    test::Harness t;
    FixedRandom random;
    Services sv{t.sound, t.pause, random, t.prompt, t.hooks, t.clock};
    std::mt19937 generator{42};
    std::string letters;

    int CountCandidates() {
        lookups = candidates = 0;
        random.state = 1;
        ChooseComputerMove(t.s, sv, CountingLookup);
        return candidates;
    }
    std::string AnyLetter() {
        return std::string(
            1,
            letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(generator)]);
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator); }
    int Height(int column) const {
        int r = 0;
        while (r < kRows && !IsHoleEmpty(t.s, r * kColumns + column))
            ++r;
        return r;
    }
    // Fills column `c` to `height` (at most 5, so it stays open), keeping letters already there.
    void SetHeight(int c, int height) {
        for (int r = 0; r < kRows; ++r) {
            const int h = r * kColumns + c;
            if (r >= height)
                EmptyHole(t.s, h);
            else if (IsHoleEmpty(t.s, h))
                SetHole(t.s, h, letters.empty() ? "q" : AnyLetter(), Picture::Blue);
        }
    }

    BenchBoard() {
        t.s.CurrentComputerSkill = 3;
        int codes = 1, bestCode = 0, most = -1;
        for (int c = 0; c < kColumns; ++c)
            codes *= kRows;
        for (int code = 0; code < codes; ++code) {  // no words yet: every full window is read
            for (int c = 0, rest = code; c < kColumns; ++c, rest /= kRows)
                SetHeight(c, rest % kRows);
            if (CountCandidates() > most) most = candidates, bestCode = code;
        }

        t.s.Words = BenchWords();
        for (const std::string& word : t.s.Words.Words)
            letters += LowerAscii(word);
        for (int c = 0; c < kColumns; ++c)
            SetHeight(c, 0);
        for (int c = 0, rest = bestCode; c < kColumns; ++c, rest /= kRows)
            SetHeight(c, rest % kRows);
        int best = CountCandidates();
        for (int step = 0; step < 50000; ++step) {
            const auto before = t.s.Hole;
            const int c = Below(kColumns);
            if (Below(5) == 0) {
                SetHeight(c, std::min(kRows - 1, std::max(0, Height(c) + (Below(2) ? 1 : -1))));
            } else if (Height(c) > 0) {
                SetHole(t.s, Below(Height(c)) * kColumns + c, AnyLetter(), Picture::Blue);
            }
            if (CountCandidates() >= best)
                best = candidates;
            else
                t.s.Hole = before;
        }
        CountCandidates();
    }
};

BenchBoard& Board() {
    static BenchBoard board;
    return board;
}

void Decide(benchmark::State& state, CompletionLookup lookup) {
    BenchBoard& b = Board();
    for (auto _ : state) {
        b.random.state = 1;
        benchmark::DoNotOptimize(ChooseComputerMove(b.t.s, b.sv, lookup));
    }
    state.counters["windows"] = lookups;
    state.counters["candidates"] = candidates;
    state.counters["words"] = b.t.s.Words.WordCount;
}

void BM_ComputerDecision(benchmark::State& state) {
    Decide(state, IndexedCompletions);
}
BENCHMARK(BM_ComputerDecision);

// One hash probe of the word list per candidate letter.
void BM_ComputerDecisionHash(benchmark::State& state) {
    Decide(state, HashCompletions);
}
BENCHMARK(BM_ComputerDecisionHash);

// The reference: every candidate looked up by a scan of the list, both sides upper-cased.
void BM_ComputerDecisionScan(benchmark::State& state) {
    Decide(state, ScanCompletions);
}
BENCHMARK(BM_ComputerDecisionScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gd

BENCHMARK_MAIN();
