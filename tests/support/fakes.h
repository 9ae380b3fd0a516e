// Test doubles for the rules' interfaces and a board built from a short picture.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "match.h"
#include "rules.h"
#include "services.h"
#include "state.h"

namespace gd::test {

class RecordingSound : public SoundPlayer {
  public:
    void Play(const std::string& file) override { played.push_back(file); }
    std::vector<std::string> played;
};

class CountingPauser : public Pauser {
  public:
    void Pause() override { ++pauses; }
    int pauses = 0;
};

// Gives the scripted numbers in order, then a fixed walk over [0, 1); counts reseeds.
class ScriptedRandom : public RandomSource {
  public:
    void Reseed() override { ++reseeds; }
    double Next() override {
        if (script.empty()) {
            // An endless even walk over [0, 1), so that "draw again" loops always end.
            fallback = fallback + 0.381966;
            if (fallback >= 1.0) fallback -= 1.0;
            return fallback;
        }
        const double v = script.front();
        script.pop_front();
        return v;
    }
    // Queues the draws that give these letter numbers (0..25) or column draws (0..6 of 7).
    void QueueLetters(const std::vector<int>& letters) {
        for (int n : letters)
            script.push_back((n + 0.5) / 26.0);
    }
    void QueueColumns(const std::vector<int>& columns) {
        for (int c : columns)
            script.push_back((c + 0.5) / 7.0);
    }
    std::deque<double> script;
    double fallback = 0.0;
    int reseeds = 0;
};

// A real generator with a fixed seed, for statistical checks; reseeding keeps its sequence.
class SeededRandom : public RandomSource {
  public:
    explicit SeededRandom(std::uint64_t seed) : generator(seed) {}
    void Reseed() override { ++reseeds; }
    double Next() override { return static_cast<double>(generator() >> 11) * 0x1.0p-53; }
    std::mt19937_64 generator;
    int reseeds = 0;
};

// A clock that moves only when a test moves it.
class FakeClock : public Clock {
  public:
    double TimeOfDay() override { return timeOfDay; }
    std::int64_t MonotonicMs() override { return monotonicMs; }
    void Advance(double seconds) {
        timeOfDay += seconds;
        monotonicMs += static_cast<std::int64_t>(seconds * 1000);
    }
    double timeOfDay = 12 * 3600;
    std::int64_t monotonicMs = 0;
};

// Answers message boxes from a script and records every box shown.
class ScriptedPrompter : public Prompter {
  public:
    struct Shown {
        std::string text, title;
    };
    void Message(const std::string& text, const std::string& title) override {
        shown.push_back({text, title});
        Meanwhile();
    }
    bool YesNo(const std::string& text, const std::string& title) override {
        shown.push_back({text, title});
        Meanwhile();
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> Input(const std::string& text, const std::string& title,
                                     const std::string&) override {
        shown.push_back({text, title});
        if (inputs.empty()) return std::nullopt;
        auto v = inputs.front();
        inputs.pop_front();
        return v;
    }
    std::vector<Shown> shown;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> inputs;
    // Runs once while the next box is up, as something arriving meanwhile would.
    std::function<void()> meanwhile;

  private:
    void Meanwhile() {
        if (auto run = std::exchange(meanwhile, nullptr)) run();
    }
};

class RecordingHooks : public GameHooks {
  public:
    void ShowPlayMore() override { ++playMoreShown; }
    void RepaintHole(int hole) override {
        repainted.push_back(hole);
        if (repaintedFn) repaintedFn(hole);
    }
    void EndProgram() override { ++programEnds; }
    int playMoreShown = 0, programEnds = 0;
    std::vector<int> repainted;
    std::function<void(int)> repaintedFn;  // looks at the state while the hole is shown
};

using Results = std::vector<std::pair<std::string, GameOutcome>>;
class RecordingBook : public ResultBook {
  public:
    void Record(const std::string& name, GameOutcome outcome) override {
        results.emplace_back(name, outcome);
    }
    Results results;
};

// An opponent seat that records what the match hands it.
class RecordingSeat : public OpponentSeat {
  public:
    explicit RecordingSeat(TimerState& timer) : timer_(timer) {}
    void SendMove(const Move& move) override {
        moves.push_back(EncodeMove(move, MoveForm::Payload));
        if (onMove) onMove();
    }
    void Tick() override { ++ticks; }
    bool Chat(const std::string& line) override {
        chats.push_back(line);
        return true;
    }
    void Leave(GameEnd why) override { leaves.push_back(why); }
    TimerState& Timer() override { return timer_; }
    LeaveAnswer ConfirmLeave(GameAtStake atStake) override {
        asked.push_back(atStake);
        return answer;
    }
    bool DepartureCounts() const override { return countsDeparture; }
    bool CarriesChat() const override { return carriesChat; }
    std::vector<std::string> moves, chats;
    std::vector<GameEnd> leaves;
    std::vector<GameAtStake> asked;
    LeaveAnswer answer = LeaveAnswer::NotAsked;
    bool countsDeparture = false, carriesChat = true;
    int ticks = 0;
    std::function<void()> onMove;  // runs while the move is being sent

  private:
    TimerState& timer_;
};

inline bool BoardEmpty(const GameState& s) {
    for (int h = 0; h < kBoardHoles; ++h)
        if (!IsHoleEmpty(s, h)) return false;
    return true;
}

// A state with fakes wired in, an empty board and an optional word list.
struct Harness {
    GameState s;
    RecordingSound sound;
    CountingPauser pause;
    ScriptedRandom random;
    ScriptedPrompter prompt;
    RecordingHooks hooks;
    FakeClock clock;
    Services sv{sound, pause, random, prompt, hooks, clock};
    RecordingBook book;
    Match match{s, sv, book};
    RecordingSeat seat{s.lantimer};

    Harness() {
        for (int h = 0; h < kBoardHoles; ++h)
            EmptyHole(s, h);
    }
    // A copy's services would still point at the original's fakes.
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;
    void AddWords(const std::vector<std::string>& words) {
        for (const auto& w : words)
            s.Words.Add(w);
    }
    // Rows of seven characters, top row first; '.' is empty, a lower-case letter is a blue
    // letter, an upper-case letter a red one. Fewer than six rows fill from the bottom.
    void SetBoard(const std::vector<std::string>& rows) {
        const int count = static_cast<int>(rows.size());
        for (int i = 0; i < count; ++i) {
            const int r = count - 1 - i;  // the last row given is the bottom row
            for (int c = 0; c < kColumns; ++c) {
                const char ch = rows[i].at(c);
                const int h = r * kColumns + c;
                if (ch == '.') {
                    EmptyHole(s, h);
                } else if (ch >= 'a' && ch <= 'z') {
                    SetHole(s, h, std::string(1, ch), Picture::Blue);
                } else {
                    SetHole(s, h, std::string(1, static_cast<char>(ch - 'A' + 'a')), Picture::Red);
                }
            }
        }
    }
    // The board as rows of letters, top row first, '.' for empty.
    std::vector<std::string> Board() const {
        std::vector<std::string> rows;
        for (int r = kRows - 1; r >= 0; --r) {
            std::string row;
            for (int c = 0; c < kColumns; ++c) {
                const Cell& cell = s.Hole[r * kColumns + c];
                row += cell.Tag == kEmptyMarker ? '.' : cell.Tag[0];
            }
            rows.push_back(row);
        }
        return rows;
    }
    // Deals the given letters to the eight pieces in the local colour.
    void SetPieces(const std::string& letters) {
        for (int i = 0; i < kPieceCount; ++i) {
            s.Image[i].picture = PieceColourPicture(s.PieceColour);
            s.Image[i].Tag = std::string(1, letters.at(i));
            s.Image[i].visible = true;
        }
    }
    // A game in play at `at` (the recording seat unless another is named) between the local
    // player, who hosts, and an opponent; the local player to move. The board stays as it is.
    void StartPlay(const std::string& local = "Ann", const std::string& other = "Bob",
                   OpponentSeat* at = nullptr) {
        s.LocalPlayer = local;
        match.Pair(at ? *at : seat, local, other);
        s.CurrentPlayer = local;
        s.GameOver = false;
    }
    // Drags piece `piece` out of the piece area and releases it over `hole`.
    void Drop(int piece, int hole) {
        s.Image[piece].visible = false;
        match.HoleDragDrop(hole, piece);
    }
    // The panel's Played, Won, Lost and Tied captions.
    std::vector<std::string> Counters() const {
        return {s.Label9, s.Label10, s.Label11, s.Label12};
    }
};

// The four ways a word reads: one step in reading order, rows counting up from the bottom.
struct Direction {
    const char* name;
    int rowStep, columnStep;
};
inline constexpr Direction kDirections[] = {
    {"horizontal", 0, 1}, {"vertical", -1, 0}, {"diagonal down", -1, 1}, {"diagonal up", 1, 1}};

// Every line of four holes that lies wholly on the board in direction `d`, in reading order;
// worked out from rows and columns, apart from the windows the rules use.
inline std::vector<std::array<int, 4>> BoardLines(const Direction& d) {
    std::vector<std::array<int, 4>> lines;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const int lastRow = row + 3 * d.rowStep, lastColumn = column + 3 * d.columnStep;
            if (lastRow < 0 || lastRow >= kRows || lastColumn >= kColumns) continue;
            std::array<int, 4> line{};
            for (int i = 0; i < 4; ++i)
                line[i] = (row + i * d.rowStep) * kColumns + column + i * d.columnStep;
            lines.push_back(line);
        }
    return lines;
}

}  // namespace gd::test
