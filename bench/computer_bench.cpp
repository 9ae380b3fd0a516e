// The computer's decision at Master on a crowded board, against the same decision with every
// candidate word looked up by a scan of the list; and the hint on the board that costs it most.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench_words.h"
#include "board.h"
#include "computer.h"
#include "fakes.h"
#include "hint.h"
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

// A board of the bench's own, letters drawn in the list's proportions, changed at random.
struct BenchBoard {
    test::Harness t;
    FixedRandom random;
    Services sv{t.sound, t.pause, random, t.prompt, t.hooks, t.clock};
    std::mt19937 generator{42};
    std::string letters;

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
    void UseBenchWords() {
        t.s.Words = BenchWords();
        for (const std::string& word : t.s.Words.Words)
            letters += LowerAscii(word);
    }
    bool OnRack(const std::string& letter) const {
        for (const Piece& piece : t.s.Image)
            if (piece.Tag == letter) return true;
        return false;
    }
    // Gives rack slot `slot` a letter the rack does not hold yet.
    void DealOther(int slot) {
        std::string letter;
        do
            letter = AnyLetter();
        while (OnRack(letter));
        t.s.Image[slot] = Piece{Picture::Blue, letter, true};
    }
    // Changes the heights and letters of the columns one at a time, and the rack's letters when
    // `rack`, keeping each change that does not lower `cost`.
    template <class Cost>
    void Climb(int steps, bool rack, Cost cost) {
        int best = cost();
        for (int step = 0; step < steps; ++step) {
            const auto before = t.s.Hole;
            const auto rackBefore = t.s.Image;
            const int c = Below(kColumns);
            if (rack && Below(6) == 0) {
                DealOther(Below(kPieceCount));
            } else if (Below(5) == 0) {
                SetHeight(c, std::min(kRows - 1, std::max(0, Height(c) + (Below(2) ? 1 : -1))));
            } else if (Height(c) > 0) {
                SetHole(t.s, Below(Height(c)) * kColumns + c, AnyLetter(), Picture::Blue);
            }
            const int now = cost();
            if (now >= best) {
                best = now;
            } else {
                t.s.Hole = before;
                t.s.Image = rackBefore;
            }
        }
    }
};

// The board that costs the decision at Master the most while every column is still open: of all
// column heights the one with the most windows to read, then letters in the list's proportions
// and heights changed one at a time while the candidate words weighed do not drop, so that no
// move wins early and cuts the search short.
struct ComputerBoard : BenchBoard {
    int CountCandidates() {
        lookups = candidates = 0;
        random.state = 1;
        ChooseComputerMove(t.s, sv, CountingLookup);
        return candidates;
    }

    ComputerBoard() {
        t.s.CurrentComputerSkill = 3;
        int codes = 1, bestCode = 0, most = -1;
        for (int c = 0; c < kColumns; ++c)
            codes *= kRows;
        for (int code = 0; code < codes; ++code) {  // no words yet: every full window is read
            for (int c = 0, rest = code; c < kColumns; ++c, rest /= kRows)
                SetHeight(c, rest % kRows);
            if (CountCandidates() > most) most = candidates, bestCode = code;
        }

        UseBenchWords();
        for (int c = 0; c < kColumns; ++c)
            SetHeight(c, 0);
        for (int c = 0, rest = bestCode; c < kColumns; ++c, rest /= kRows)
            SetHeight(c, rest % kRows);
        Climb(50000, false, [this] { return CountCandidates(); });
        CountCandidates();
    }
};

ComputerBoard& Board() {
    static ComputerBoard board;
    return board;
}

// The board that costs the hint the most: from the computer's board, with eight different
// letters on the rack, letters, heights and the rack changed while the windows the hint looks
// up do not drop. A word to make or block cuts the hint short, so the climb ends where there is
// none and every letter is tried in every column, all of them open; there the windows read
// depend on the heights alone (4 4 5 3 5 4 4 from the left: 1006 windows).
struct HintBoard : BenchBoard {
    std::optional<MoveAdvice> advice;

    int CountLookups() {
        lookups = candidates = 0;
        advice = AdviseMove(t.s, CountingLookup);
        return lookups;
    }

    HintBoard() {
        UseBenchWords();
        t.s.Hole = Board().t.s.Hole;
        for (int slot = 0; slot < kPieceCount; ++slot)
            DealOther(slot);
        Climb(20000, true, [this] { return CountLookups(); });
        CountLookups();
    }
};

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

// The hint on its costliest board: every rack letter tried in every column, and the computer's
// search for each of the replies.
void BM_Hint(benchmark::State& state) {
    static HintBoard b;
    for (auto _ : state)
        benchmark::DoNotOptimize(AdviseMove(b.t.s));
    int open = 0;
    for (int c = 0; c < kColumns; ++c)
        open += LandingHole(b.t.s, c) >= 0;
    state.counters["windows"] = b.CountLookups();
    state.counters["open_columns"] = open;
    state.counters["fewest_chances"] = b.advice && b.advice->reason == HintReason::FewestChances;
    state.counters["words"] = b.t.s.Words.WordCount;
}
BENCHMARK(BM_Hint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace gd

BENCHMARK_MAIN();
