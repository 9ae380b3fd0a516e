// The hint: every letter of the rack in every open column, weighed with the computer's search.
#include "hint.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "board.h"
#include "rules.h"

namespace gd {

namespace {

constexpr int kMiddleColumn = kColumns / 2;

// A letter of the rack that can be played: the first slot holding it, and its number.
struct RackLetter {
    int piece;
    int letter;
};

// The rack's playable letters, each once: a slot showing the empty-hole picture or no picture
// holds none.
std::vector<RackLetter> PlayableLetters(const GameState& s, std::uint32_t& letters) {
    std::vector<RackLetter> rack;
    letters = 0;
    for (int i = 0; i < kPieceCount; ++i) {
        const Piece& piece = s.Image[i];
        const int n = LetterNumber(Trim(piece.Tag));
        if (n < 0 || piece.picture == Picture::None || piece.picture == s.Blank.picture) continue;
        if (letters & (1u << n)) continue;
        letters |= 1u << n;
        rack.push_back({i, n});
    }
    return rack;
}

int SlotOf(const std::vector<RackLetter>& rack, int letter) {
    for (const RackLetter& r : rack)
        if (r.letter == letter) return r.piece;
    return -1;
}

// The opponent's winning moves: the columns in whose landing hole the computer's search finds
// a word.
int WinningReplies(const GameState& s, CompletionLookup lookup) {
    int count = 0;
    for (int column = 0; column < kColumns; ++column) {
        const int hole = LandingHole(s, column);
        if (hole >= 0 && WinningLetter(s, hole, lookup) >= 0) ++count;
    }
    return count;
}

// A letter put in an empty hole to look at the board, taken out again at the end of the scope.
class TrialLetter {
  public:
    TrialLetter(GameState& s, int hole, int letter) : s_(s), hole_(hole), before_(s.Hole[hole]) {
        SetHole(s, hole, LetterOf(letter), PieceColourPicture(s.PieceColour));
    }
    ~TrialLetter() { s_.Hole[hole_] = before_; }
    TrialLetter(const TrialLetter&) = delete;
    TrialLetter& operator=(const TrialLetter&) = delete;

  private:
    GameState& s_;
    int hole_;
    Cell before_;
};

std::string OpponentName(const GameState& s) {
    const std::string& name = s.FirstPlayer == s.LocalPlayer ? s.SecondPlayer : s.FirstPlayer;
    return name.empty() ? "your opponent" : name;
}

std::string WinningMoves(int count) {
    if (count == 0) return "no winning move";
    return std::to_string(count) + (count == 1 ? " winning move" : " winning moves");
}

std::string AdviceText(const GameState& s, const MoveAdvice& a, int letter) {
    const std::string move =
        UpperAscii(LetterOf(letter)) + " in column " + std::to_string(a.column + 1);
    const std::string opponent = OpponentName(s);
    switch (a.reason) {
        case HintReason::CompletesWord:
            return "Hint: drop " + move + " to complete " + a.word + ".";
        case HintReason::BlocksWord:
            return "Hint: drop " + move + " to block " + opponent + "'s word " + a.word + "." +
                   (a.chances > 0 ? " " + opponent + " still has " + WinningMoves(a.chances) + "."
                                  : "");
        case HintReason::FewestChances:
            break;
    }
    return "Hint: no move makes or blocks a word. Drop " + move + ": it leaves " + opponent + " " +
           WinningMoves(a.chances) + ".";
}

MoveAdvice Advice(const GameState& s, int piece, int letter, int column, HintReason reason,
                  const std::string& word, int chances) {
    MoveAdvice a{piece, column, reason, UpperAscii(word), chances, ""};
    a.text = AdviceText(s, a, letter);
    return a;
}

// A move weighed for the opponent's chances; the lesser key is the better move.
struct Weighed {
    int chances, fromMiddle, column, piece, letter;
    auto Key() const { return std::tie(chances, fromMiddle, column, piece); }
};

std::string NoHintLine(const Match& match, const GameState& s) {
    if (!match.seat()) return "Hint: Start a game against the computer first.";
    if (!match.seat()->OffersHint())
        return "Hint: Hints are given only in a game against the computer.";
    if (!match.InPlay()) return "Hint: This game is over!";
    if (s.CurrentPlayer != s.LocalPlayer) return "Hint: It's not your turn. Please wait!";
    return "Hint: No move is left.";
}

}  // namespace

std::optional<MoveAdvice> AdviseMove(GameState& s, CompletionLookup lookup) {
    std::uint32_t rackLetters = 0;
    const std::vector<RackLetter> rack = PlayableLetters(s, rackLetters);
    if (rack.empty()) return std::nullopt;

    // A word of his own, in the leftmost column that has one, as the computer looks for its own.
    std::array<int, kColumns> landing{};
    for (int column = 0; column < kColumns; ++column) {
        landing[column] = LandingHole(s, column);
        if (landing[column] < 0) continue;
        const Completion own = CompletionAt(s, landing[column], rackLetters, lookup);
        if (own.letter >= 0)
            return Advice(s, SlotOf(rack, own.letter), own.letter, column,
                          HintReason::CompletesWord, own.word, 0);
    }

    // The words the opponent could complete next: when there are any, only a move into one of
    // their holes is weighed.
    std::array<std::string, kColumns> threat;
    bool threatened = false;
    for (int column = 0; column < kColumns; ++column) {
        if (landing[column] < 0) continue;
        threat[column] = CompletionAt(s, landing[column], kEveryLetter, lookup).word;
        threatened = threatened || !threat[column].empty();
    }

    std::optional<Weighed> best;
    for (int column = 0; column < kColumns; ++column) {
        if (landing[column] < 0 || (threatened && threat[column].empty())) continue;
        for (const RackLetter& r : rack) {
            const TrialLetter trial(s, landing[column], r.letter);
            const Weighed move{WinningReplies(s, lookup), std::abs(column - kMiddleColumn), column,
                               r.piece, r.letter};
            if (!best || move.Key() < best->Key()) best = move;
        }
    }
    if (!best) return std::nullopt;
    return Advice(s, best->piece, best->letter, best->column,
                  threatened ? HintReason::BlocksWord : HintReason::FewestChances,
                  threat[best->column], best->chances);
}

std::optional<MoveAdvice> AskForHint(const Match& match, GameState& s) {
    const std::optional<MoveAdvice> advice =
        match.HintOffered() ? AdviseMove(s) : std::optional<MoveAdvice>();
    AddStatusLine(s, advice ? advice->text : NoHintLine(match, s));
    return advice;
}

}  // namespace gd
