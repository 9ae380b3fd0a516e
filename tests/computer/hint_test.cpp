// The hint against the computer: which letter and column it advises, why, and when it is given.
#include "hint.h"

#include <gtest/gtest.h>

#include "computer_game.h"
#include "fakes.h"

namespace gd {
namespace {

using Strings = std::vector<std::string>;

// A game against the computer in play, the local player Ann to move.
struct HintGame {
    test::Harness t;
    ComputerSeat computer{t.s, t.sv, t.match};
    HintGame(const Strings& words, const Strings& board, const std::string& rack) {
        t.AddWords(words);
        t.SetBoard(board);
        t.SetPieces(rack);
        t.StartPlay("Ann", kComputerName, &computer);
    }
};

// Guards against advice that ignores the rack, misses a word or a block, weighs the opponent's
// replies wrongly, leaves a letter on the board, or picks a full column.
TEST(Hint, AdvisesOwnWordThenBlockThenFewestWinningReplies) {
    const Strings oxenUp = {"qqq.qqq", "qqq.qqq", "qqq.qqq", "qqq.qqq", "qqqeqqq", "qqqnqqq"};
    struct Case {
        const char* name;
        Strings words, board;
        std::string rack;
        int piece, column;
        HintReason reason;
        std::string text;  // names the word and counts the opponent's winning moves
    };
    const std::vector<Case> cases = {
        {"a word of his own before the opponent's, with a letter of the rack",
         {"cart", "arts"},
         {".art..."},
         "bsdsfghi",
         1,
         4,
         HintReason::CompletesWord,
         "Hint: drop S in column 5 to complete ARTS."},
        {"the opponent's word blocked",
         {"cart"},
         {".art..."},
         "bdefghij",
         0,
         0,
         HintReason::BlocksWord,
         "Hint: drop B in column 1 to block Computer's word CART."},
        {"of two words, the one nearer the middle blocked",
         {"cart", "arts"},
         {".art..."},
         "bdefghij",
         0,
         4,
         HintReason::BlocksWord,
         "Hint: drop B in column 5 to block Computer's word ARTS. Computer still has 1 winning "
         "move."},
        // X in column 4 would let the computer make OXEN in column 3.
        {"the letter that opens no word",
         {"oxen"},
         {"....en."},
         "xyxxxxxx",
         1,
         3,
         HintReason::FewestChances,
         "Hint: no move makes or blocks a word. Drop Y in column 4: it leaves Computer no "
         "winning move."},
        // Every other column is full; X in column 4 lets OXEN be made downwards above it.
        {"the one open column, though it leaves a word",
         {"oxen"},
         oxenUp,
         "xxxxxxxx",
         0,
         3,
         HintReason::FewestChances,
         "Hint: no move makes or blocks a word. Drop X in column 4: it leaves Computer 1 "
         "winning move."},
    };
    for (const Case& c : cases) {
        HintGame g(c.words, c.board, c.rack);
        const Strings before = g.t.Board();
        const std::optional<MoveAdvice> advice = AdviseMove(g.t.s);
        ASSERT_TRUE(advice) << c.name;
        EXPECT_EQ(advice->piece, c.piece) << c.name;
        EXPECT_EQ(advice->column, c.column) << c.name;
        EXPECT_EQ(advice->reason, c.reason) << c.name;
        EXPECT_EQ(advice->text, c.text) << c.name;
        EXPECT_EQ(g.t.Board(), before) << c.name;
    }
    HintGame full({"oxen"}, Strings(kRows, "qqqqqqq"), "xxxxxxxx");
    EXPECT_FALSE(AdviseMove(full.t.s));
}

// Guards against a hint given out of turn, after the game, or against a LAN or internet
// opponent, and against a refusal that does not say why.
TEST(Hint, GivenOnlyOnTheLocalPlayersTurnAgainstTheComputer) {
    HintGame g({"cart"}, {".art..."}, "bdefghij");
    ASSERT_TRUE(AskForHint(g.t.match, g.t.s));
    EXPECT_EQ(g.t.s.StatusText.lines.back(),
              "Hint: drop B in column 1 to block Computer's word CART.");

    const auto refused = [&g](const std::string& why) {
        EXPECT_FALSE(AskForHint(g.t.match, g.t.s)) << why;
        EXPECT_EQ(g.t.s.StatusText.lines.back(), why);
    };
    g.t.s.CurrentPlayer = kComputerName;
    refused("Hint: It's not your turn. Please wait!");
    g.t.s.GameOver = true;
    refused("Hint: This game is over!");
    g.t.StartPlay("Ann", "Bob");  // the recording seat stands for a LAN or internet opponent
    refused("Hint: Hints are given only in a game against the computer.");
    g.t.match.Leave();
    refused("Hint: Start a game against the computer first.");
}

}  // namespace
}  // namespace gd
