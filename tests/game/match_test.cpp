// The match: the opponent's move, the counting of every ending, and two programs joined by a
// wire of their own. Guards against two programs disagreeing about whose turn it is or what the
// board holds, a game counted twice or on one side only, and a move reaching the board any
// other way than the one.
#include <gtest/gtest.h>

#include "fakes.h"

namespace gd::test {
namespace {

using Strings = std::vector<std::string>;

// --- The opponent's move.

TEST(OpponentMove, ShowsTheLetterAboveItsColumnThenLandsAndGivesTheTurnBack) {
    Harness t;
    t.StartPlay();
    t.s.CurrentPlayer = "Bob";
    t.s.PieceColour = "red";
    t.SetBoard({".a....."});
    // Hole 8 is the lowest empty hole of column 1: the letter shows first in hole 43.
    t.hooks.repaintedFn = [&](int hole) {
        EXPECT_EQ(hole, 43);
        EXPECT_EQ(t.s.Hole[43].Tag, "q");
        EXPECT_EQ(t.s.Hole[43].picture, Picture::Blue);  // the opponent of red plays blue
        EXPECT_EQ(t.pause.pauses, 0);
    };
    ASSERT_TRUE(t.match.ApplyOpponentMove({'q', 8}));
    EXPECT_EQ(t.pause.pauses, 1);
    EXPECT_EQ(t.s.Hole[8].Tag, "q");
    EXPECT_EQ(t.s.Hole[8].picture, Picture::Blue);
    EXPECT_TRUE(IsHoleEmpty(t.s, 43));
    EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Your Turn Ann");
    EXPECT_EQ(t.sound.played.back(), t.s.CurrentSoundFiles[int(SoundEvent::OpponentPieceDrop)]);
}

// A move that does not land where it says means the boards differ: the game ends on this side
// uncounted, and the move goes back, where its hole holds the sender's own letter.
TEST(OpponentMove, AMoveThatDoesNotFitEndsTheGameUncountedAndGoesBack) {
    Harness t;
    t.StartPlay();
    t.seat.countsDeparture = true;
    t.s.CurrentPlayer = "Bob";
    t.SetBoard({"a......"});
    EXPECT_FALSE(t.match.ApplyOpponentMove({'q', 0}));
    EXPECT_EQ(t.seat.moves, Strings{"q0"});
    EXPECT_EQ(t.seat.leaves, std::vector{GameEnd::BoardsDiffer});
    EXPECT_EQ(t.prompt.shown.back().title, "Boards Differ");
    EXPECT_EQ(t.s.StatusText.lines.back(), "Move refused: q0");
    EXPECT_TRUE(t.book.results.empty());
    EXPECT_TRUE(t.match.seat() == nullptr && BoardEmpty(t.s));
    EXPECT_EQ(t.pause.pauses, 0);
}

TEST(EndProgramInADrop, NoStepRunsAfterThePlayerChoseToEnd) {
    Harness t;
    t.AddWords({"able"});
    t.SetBoard({"abl...."});
    t.StartPlay();
    t.SetPieces("ebcdefgh");
    t.seat.onMove = [&] { EndProgramNow(t.s, t.sv); };
    t.Drop(0, 3);
    EXPECT_EQ(t.seat.moves, Strings{"e3"});
    EXPECT_EQ(t.hooks.programEnds, 1);
    EXPECT_FALSE(t.s.GameOver);  // the word was never checked
    EXPECT_TRUE(t.book.results.empty());
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
}

// --- Game end: guards against the panel and the record counting the wrong side, and a full
// board ending as a draw when its last letter made a word.

TEST(GameEnd, ThePanelAndTheRecordCountTheGameFromTheirSide) {
    const Strings full = {"hijklmn", "opqrstu", "vxyzabc", "defghij", "klmnopq"};
    auto board = [&](const std::string& top) {
        Strings rows = full;
        rows.insert(rows.begin(), top);
        return rows;
    };
    struct Case {
        const char* name;
        Strings board;
        Move last;
        std::string opponent, mover;
        Strings counters;  // played, won, lost, tied: the opponent's, shown in the panel
        std::pair<std::string, GameOutcome> result;
    };
    const auto win = GameOutcome::Win;
    // clang-format off
    const std::vector<Case> cases = {
        {"local win", {"wor...."}, {'d', 3}, "Bob", "Ann", {"5", "2", "2", ""}, {"Ann", win}},
        {"the computer wins, on its record", {"wor...."}, {'d', 3}, "Computer", "Computer",
         {"5", "3", " 1", ""}, {"Computer", win}},
        {"draw against the computer", board("abcdef."), {'g', 41}, "Computer", "Ann",
         {"5", "2", " 1", "1"}, {"Computer", GameOutcome::Tie}},
        {"a word fills the board", board("abcwor."), {'d', 41}, "Bob", "Ann",
         {"5", "2", "2", ""}, {"Ann", win}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Harness t;
        t.AddWords({"word"});
        t.StartPlay("Ann", c.opponent);
        t.s.Label9 = "4";
        t.s.Label10 = "2";
        t.s.Label11 = " 1";
        t.SetBoard(c.board);
        if (c.mover == "Ann") {
            t.SetPieces(std::string(8, c.last.letter));
            t.Drop(0, c.last.hole);
        } else {
            t.s.CurrentPlayer = c.mover;
            t.match.ApplyOpponentMove(c.last);
        }
        EXPECT_TRUE(t.s.GameOver) << c.name;
        EXPECT_EQ(t.Counters(), c.counters) << c.name;
        EXPECT_EQ(t.book.results, (Results{c.result})) << c.name;
        EXPECT_EQ(t.hooks.playMoreShown, 1) << c.name;
        EXPECT_EQ(t.s.Label13, "Game Over") << c.name;
    }
}

// --- Two programs: each side's seat hands its moves and its leaving to the other side's match
// when the wire is pumped, as a network would, later.

struct Wire {
    struct Event {
        std::optional<Move> move;  // else the sender left
    };
    std::deque<Event> toward[2];
};

struct PeerSeat : OpponentSeat {
    PeerSeat(TimerState& timer, Wire& wire, int side) : timer_(timer), wire_(wire), side_(side) {}
    void SendMove(const Move& move) override { wire_.toward[1 - side_].push_back({move}); }
    void Tick() override {}
    bool Chat(const std::string&) override { return true; }
    void Leave(GameEnd why) override {
        timer_.Enabled = false;
        if (why != GameEnd::BoardsDiffer) wire_.toward[1 - side_].push_back({});
    }
    TimerState& Timer() override { return timer_; }
    // Yes to "Quit Game In Play!".
    LeaveAnswer ConfirmLeave(GameAtStake atStake) override {
        asked = atStake;
        return LeaveAnswer::Leave;
    }
    bool DepartureCounts() const override { return true; }
    TimerState& timer_;
    Wire& wire_;
    int side_;
    GameAtStake asked = GameAtStake::None;
};

struct Program : Harness {
    Program(Wire& wire, int side, const std::string& name) : peer(s.lantimer, wire, side) {
        s.LocalPlayer = name;
        AddWords({"word"});
    }
    // Delivers what came over the wire for this side.
    void Receive(Wire& wire) {
        auto& in = wire.toward[peer.side_];
        while (!in.empty()) {
            const Wire::Event e = in.front();
            in.pop_front();
            if (e.move)
                match.ApplyOpponentMove(*e.move);
            else if (match.seat() == &peer)
                match.SeatEnded(GameEnd::OpponentLeft);
        }
    }
    bool MayMove() const { return match.InPlay() && s.CurrentPlayer == s.LocalPlayer; }
    // Drops `letter` into `column` with its own pieces.
    void Play(char letter, int column) {
        SetPieces(std::string(8, letter));
        Drop(0, kDropRowFirst + column);
    }
    PeerSeat peer;
};

struct TwoPrograms : ::testing::Test {
    Wire wire;
    Program ann{wire, 0, "Ann"}, bob{wire, 1, "Bob"};
    // Ann hosts; each program begins the pairing's first game with its own history.
    void Pair(const std::string& annBefore, const std::string& bobBefore) {
        ann.s.LastStarter = annBefore;
        bob.s.LastStarter = bobBefore;
        for (Program* p : {&ann, &bob}) {
            p->match.Pair(p->peer, "Ann", "Bob");
            p->match.BeginGame();
        }
    }
    void Deliver() {
        ann.Receive(wire);
        bob.Receive(wire);
    }
    // After every move both boards are equal and exactly one side may move.
    void Agree() {
        Deliver();
        EXPECT_EQ(ann.Board(), bob.Board());
        if (ann.match.InPlay() && bob.match.InPlay()) {
            EXPECT_NE(ann.MayMove(), bob.MayMove());
        }
    }
    Program& Mover() { return ann.MayMove() ? ann : bob; }
};

// Finding 1 at the match: whatever either program played before, the host begins, both agree
// after every move, the word is counted once on each side, and the next game alternates.
TEST_F(TwoPrograms, TheHostBeginsBothAgreeAfterEveryMoveAndTheNextGameAlternates) {
    Pair("Ann", "Ann");
    EXPECT_TRUE(ann.MayMove() && !bob.MayMove());
    for (const auto& [letter, column] : std::vector<std::pair<char, int>>{
             {'w', 0}, {'x', 6}, {'o', 1}, {'x', 6}, {'r', 2}, {'x', 6}, {'d', 3}}) {
        Mover().Play(letter, column);
        Agree();
    }
    EXPECT_TRUE(ann.s.GameOver && bob.s.GameOver);
    EXPECT_EQ(ann.book.results, (Results{{"Ann", GameOutcome::Win}}));
    EXPECT_EQ(bob.book.results, (Results{{"Bob", GameOutcome::Loss}}));
    for (Program* p : {&ann, &bob})
        p->match.PlayAgain();
    EXPECT_TRUE(bob.MayMove() && !ann.MayMove());
    EXPECT_TRUE(BoardEmpty(ann.s) && BoardEmpty(bob.s));
}

// The next game that one side declined is no win for the other, even after the other began it.
TEST_F(TwoPrograms, ADeclinedNextGameCountsOnNeitherSide) {
    Pair("", "");
    for (int game = 1; game <= 2; ++game) {  // two games end; the third is Ann's to begin
        ann.s.GameOver = bob.s.GameOver = true;
        if (game == 1) {
            ann.match.PlayAgain();
            bob.match.PlayAgain();
        }
    }
    ann.match.PlayAgain();
    ann.Play('q', 0);
    ASSERT_EQ(ann.Board().back(), "q......");
    bob.match.Decline();
    Deliver();
    EXPECT_TRUE(ann.book.results.empty() && bob.book.results.empty());
    EXPECT_EQ(ann.match.seat(), nullptr);
}

// A quit after the leaver's first move counts once on each side, even when his move and his
// leaving reach the other side while it still shows the last game's end.
TEST_F(TwoPrograms, AQuitAfterMovingCountsOnceOnEachSide) {
    Pair("", "");
    ann.s.GameOver = bob.s.GameOver = true;
    bob.match.PlayAgain();  // Bob begins game two at once; Ann still looks at game one
    bob.Play('q', 0);
    EXPECT_TRUE(bob.match.ConfirmLeave());
    Deliver();
    EXPECT_EQ(bob.peer.asked, GameAtStake::Loss);
    EXPECT_EQ(bob.book.results, (Results{{"Bob", GameOutcome::Loss}}));
    EXPECT_EQ(ann.book.results, (Results{{"Ann", GameOutcome::Win}}));
}

// The question before a quit tells the truth: a player who has not moved yet is not told of a
// loss, and neither side counts one.
TEST_F(TwoPrograms, AQuitBeforeMovingIsAskedAsUncountedAndCountsOnNeitherSide) {
    Pair("", "");
    ann.Play('q', 0);
    Agree();
    EXPECT_TRUE(bob.match.ConfirmLeave());
    Deliver();
    EXPECT_EQ(bob.peer.asked, GameAtStake::Uncounted);
    EXPECT_TRUE(ann.book.results.empty() && bob.book.results.empty());
    EXPECT_TRUE(ann.match.seat() == nullptr && bob.match.seat() == nullptr);
}

// A move that one board cannot take ends the game on both, uncounted, with the message.
TEST_F(TwoPrograms, BoardsThatDifferEndTheGameOnBothSidesUncounted) {
    Pair("", "");
    SetHole(bob.s, 0, "z", Picture::Red);  // how the boards came to differ does not matter
    ann.Play('q', 0);
    Deliver();  // Bob refuses it and sends it back; Ann refuses it too
    Deliver();
    for (Program* p : {&ann, &bob}) {
        EXPECT_EQ(p->prompt.shown.back().title, "Boards Differ");
        EXPECT_TRUE(p->book.results.empty());
        EXPECT_EQ(p->match.seat(), nullptr);
    }
}

// --- Chat and ticks go to the seat of the pairing only.

TEST(MatchChat, OnlyASeatThatCarriesChatSendsAndAnEmptyLineStays) {
    Harness t;
    EXPECT_TRUE(t.match.Chat("hello"));  // no game: the box is emptied, nothing is sent
    t.StartPlay();
    EXPECT_FALSE(t.match.Chat(""));
    EXPECT_TRUE(t.match.Chat(" hi "));
    EXPECT_EQ(t.seat.chats, Strings{" hi "});
    EXPECT_EQ(t.s.StatusText.lines.back(), "Sent:  hi ");
    t.seat.carriesChat = false;  // the computer
    EXPECT_TRUE(t.match.Chat("x"));
    EXPECT_EQ(t.seat.chats.size(), 1u);
    t.match.Tick(t.s.inettimer);
    t.match.Tick(t.s.lantimer);
    EXPECT_EQ(t.seat.ticks, 1);
}

}  // namespace
}  // namespace gd::test
