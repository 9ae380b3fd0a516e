// The opponent's move from the network and the end of the program inside a drop: guards against
// a repeated or hostile move changing the board, and against a drop going on after the player
// chose to end the program.
#include <gtest/gtest.h>

#include "fakes.h"

namespace gd::test {
namespace {

struct OpponentMove : ::testing::Test {
    Harness t;
    void SetUp() override {
        t.StartPlay("Ann", "Bob");
        t.s.CurrentPlayer = "Bob";
        t.s.PieceColour = "red";
    }
};

TEST_F(OpponentMove, ShowsTheLetterAboveItsColumnThenLandsAndGivesTheTurnBack) {
    t.SetBoard({".......", ".......", "a......"});
    // Hole 8 is the lowest empty hole of column 1: the letter shows first in hole 43.
    t.hooks.repaintedFn = [&](int hole) {
        EXPECT_EQ(hole, 43);
        EXPECT_EQ(t.s.Hole[43].Tag, "q");
        EXPECT_EQ(t.s.Hole[43].picture, Picture::Blue);  // the opponent of red plays blue
        EXPECT_EQ(t.pause.pauses, 0);
    };
    ASSERT_TRUE(ApplyOpponentMove(t.s, t.sv, "Mq1", MoveForm::LanMessage));
    EXPECT_EQ(t.pause.pauses, 1);
    EXPECT_EQ(t.s.Hole[1].Tag, "q");
    EXPECT_EQ(t.s.Hole[1].picture, Picture::Blue);
    EXPECT_TRUE(IsHoleEmpty(t.s, 43));
    EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Your Turn Ann");
    EXPECT_EQ(t.sound.played.back(), t.s.CurrentSoundFiles[int(SoundEvent::OpponentPieceDrop)]);
}

TEST_F(OpponentMove, CompletedWordEndsTheGameOnTheReceivingSide) {
    t.AddWords({"able"});
    t.SetBoard({"abl...."});
    ASSERT_TRUE(ApplyOpponentMove(t.s, t.sv, "e3", MoveForm::Payload));
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.WinningWord, "able");
}

TEST_F(OpponentMove, RepeatedOrMalformedMoveLeavesBoardAndTurnAlone) {
    ASSERT_TRUE(ApplyOpponentMove(t.s, t.sv, "Mq3", MoveForm::LanMessage));
    t.s.CurrentPlayer = "Bob";
    const auto board = t.Board();
    const std::string huge(10 * 1024, 'x');
    for (const std::string& text : {std::string("Mq3"), std::string("Mq17"), std::string("Mq-1"),
                                    std::string("Mq05"), huge}) {
        EXPECT_FALSE(ApplyOpponentMove(t.s, t.sv, text, MoveForm::LanMessage));
        EXPECT_EQ(t.Board(), board);
        EXPECT_EQ(t.s.CurrentPlayer, "Bob");
        EXPECT_EQ(t.s.StatusText.lines.back().rfind("Move refused: ", 0), 0u);
        EXPECT_LT(t.s.StatusText.lines.back().size(), 100u);
    }
    EXPECT_EQ(t.s.StatusText.lines[t.s.StatusText.lines.size() - 5], "Move refused: Mq3");
    EXPECT_EQ(t.pause.pauses, 1);
}

TEST(EndProgramInADrop, NoStepRunsAfterThePlayerChoseToEnd) {
    struct EndingUpload : RecordingHooks {
        GameState* s = nullptr;
        Services* sv = nullptr;
        void UploadMove(const std::string& move) override {
            RecordingHooks::UploadMove(move);
            EndProgramNow(*s, *sv);
        }
    } hooks;
    Harness t;
    Services sv{t.sound, t.pause, t.random, t.prompt, hooks, t.clock};
    hooks.s = &t.s;
    hooks.sv = &sv;
    t.AddWords({"able"});
    t.SetBoard({"abl...."});
    t.StartPlay();
    t.s.InternetState = 1;
    t.SetPieces("ebcdefgh");
    t.s.Image[0].visible = false;
    HoleDragDrop(t.s, sv, 3, 0);
    EXPECT_EQ(hooks.uploads, std::vector<std::string>{"e3"});
    EXPECT_EQ(hooks.programEnds, 1);
    EXPECT_FALSE(t.s.GameOver);  // the word was never checked
    EXPECT_TRUE(hooks.results.empty());
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
}

}  // namespace
}  // namespace gd::test
