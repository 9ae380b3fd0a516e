// The rules of dropping, word detection and new games, on boards built from pictures.
#include <gtest/gtest.h>

#include <random>

#include "fakes.h"

namespace gd {
namespace {

using test::Harness;

constexpr const char* kOops = "OOPS! You grabbed a game piece before your turn. Try again!";
constexpr const char* kOver = "Player Error: This game is over!";
constexpr const char* kNotYourTurn = "Player Error: It's Not your turn. Please wait!";

// A real generator behind the random interface, for checks over many draws.
class SeededRandom : public RandomSource {
  public:
    explicit SeededRandom(unsigned seed) : engine(seed) {}
    void Reseed() override {}
    double Next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine); }
    std::mt19937 engine;
};

// --- Dropping: guards against letters landing in the wrong hole or refused drops that leave
// traces on the board.

class Drop : public ::testing::Test {
  protected:
    Harness t;
    void SetUp() override {
        t.StartPlay();
        t.SetPieces("abcdefgh");
    }
};

TEST_F(Drop, FallsFromTheTopToTheBottomOfAnEmptyColumn) {
    t.Drop(0, 40);
    EXPECT_EQ(t.s.Hole[5].Tag, "a");
    EXPECT_EQ(t.s.Hole[5].picture, Picture::Blue);
    EXPECT_TRUE(IsHoleEmpty(t.s, 40));
    EXPECT_TRUE(t.s.StatusText.lines.empty());
    EXPECT_EQ(t.sound.played, std::vector<std::string>{"dropped.wav"});
    EXPECT_EQ(t.s.Label13, "Opponents Turn");
    EXPECT_EQ(t.s.CurrentPlayer, "Bob");
}

TEST_F(Drop, DropRowHoleActsAsTheTopHoleOfItsColumn) {
    t.Drop(0, 45);
    EXPECT_EQ(t.s.Hole[3].Tag, "a");
    EXPECT_EQ(t.s.Hole[45].picture, Picture::None);  // the drop row is never painted
}

TEST_F(Drop, StopsOnTheLetterBelow) {
    t.SetBoard({"..q....", "..q...."});
    t.Drop(1, 44);
    EXPECT_EQ(t.s.Hole[16].Tag, "b");
    EXPECT_TRUE(IsHoleEmpty(t.s, 23));
}

TEST_F(Drop, FallsFromAMiddleHole) {
    t.Drop(0, 12);
    EXPECT_EQ(t.s.Hole[5].Tag, "a");
    EXPECT_TRUE(IsHoleEmpty(t.s, 12));
}

TEST_F(Drop, FullColumnIsRefusedSilently) {
    t.SetBoard({".....q.", ".....q.", ".....q.", ".....q.", ".....q.", ".....q."});
    const auto before = t.Board();
    t.Drop(0, 47);
    EXPECT_EQ(t.Board(), before);
    EXPECT_TRUE(t.s.StatusText.lines.empty());
    EXPECT_EQ(t.sound.played, std::vector<std::string>{"missed.wav"});
    EXPECT_EQ(t.s.Image[0].Tag, "a");  // the piece goes back unchanged
    EXPECT_TRUE(t.s.Image[0].visible);
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
}

TEST_F(Drop, RefusalsSayWhyAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(Harness&)> arrange;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"all pieces visible", [](Harness& h) { h.s.Image[0].visible = true; }, kOops},
        {"game over", [](Harness& h) { h.s.GameOver = true; }, kOver},
        {"not my turn", [](Harness& h) { h.s.CurrentPlayer = "Bob"; }, kNotYourTurn},
        {"no game yet", [](Harness& h) { h.s.CurrentPlayer = ""; }, kNotYourTurn},
    };
    for (const Case& c : cases) {
        Harness h;
        h.StartPlay();
        h.SetPieces("abcdefgh");
        h.s.Image[0].visible = false;
        c.arrange(h);
        HoleDragDrop(h.s, h.sv, 38, 0);
        EXPECT_EQ(h.s.StatusText.lines, std::vector<std::string>{c.line}) << c.name;
        EXPECT_EQ(h.sound.played, std::vector<std::string>{"missed.wav"}) << c.name;
        EXPECT_TRUE(IsHoleEmpty(h.s, 3)) << c.name;
        for (const Piece& p : h.s.Image)
            EXPECT_TRUE(p.visible) << c.name;
    }
}

TEST_F(Drop, EmptiedPieceCannotBePlayed) {
    t.s.Image[2].picture = Picture::Blank;
    t.s.Image[2].Tag = "xx";
    t.Drop(2, 38);
    EXPECT_TRUE(IsHoleEmpty(t.s, 3));
    EXPECT_TRUE(t.s.StatusText.lines.empty());
    EXPECT_EQ(t.sound.played, std::vector<std::string>{"missed.wav"});
}

TEST_F(Drop, RefilledSlotGetsANewLetterInTheLocalColour) {
    t.s.PieceColour = "red";
    t.SetPieces("abcdefgh");
    t.random.QueueLetters({0, 25});  // "a" is the dropped letter: drawn again
    t.Drop(0, 38);
    EXPECT_EQ(t.s.Image[0].Tag, "z");
    EXPECT_EQ(t.s.Image[0].picture, Picture::Red);
    EXPECT_TRUE(t.s.Image[0].visible);
}

TEST_F(Drop, SendsTheMoveToANetworkOpponent) {
    t.s.LanGame = true;
    t.s.InternetState = 1;
    t.Drop(3, 17);  // "d" falls to hole 3
    EXPECT_EQ(t.hooks.lanMoves, std::vector<std::string>{"Md3"});
    EXPECT_EQ(t.hooks.uploads, std::vector<std::string>{"d3"});
}

TEST_F(Drop, TurnsAlternateBetweenThePairing) {
    t.Drop(0, 38);
    EXPECT_EQ(t.s.CurrentPlayer, "Bob");
    t.s.CurrentPlayer = "Ann";  // the opponent has moved
    t.s.SecondPlayer = "Ann";
    t.s.FirstPlayer = "Bob";
    t.Drop(1, 38);
    EXPECT_EQ(t.s.CurrentPlayer, "Bob");
}

// --- The refill: guards against the vowel limits drifting over many games.

TEST(Refill, VowelLimitsHoldOverManyDraws) {
    Harness t;
    SeededRandom random(7);
    Services sv{t.sound, t.pause, random, t.prompt, t.hooks};
    std::mt19937 pick(11);
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    for (int round = 0; round < 20000; ++round) {
        std::string letters;
        for (int i = 0; i < kPieceCount; ++i)
            letters += alphabet[pick() % 26];
        t.SetPieces(letters);
        const int dropped = static_cast<int>(pick() % kPieceCount);
        const std::string letter = t.s.Image[dropped].Tag;
        int others = 0;
        for (int i = 0; i < kPieceCount; ++i)
            if (i != dropped && std::string("aeiou").find(letters[i]) != std::string::npos)
                ++others;
        const int n = ChooseNewLetter(t.s, sv, letter);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 26);
        const bool vowel = std::string("aeiou").find(alphabet[n]) != std::string::npos;
        if (others > 3) {
            ASSERT_FALSE(vowel) << letters;
        }
        if (others == 0) {
            ASSERT_TRUE(vowel) << letters;
        }
        if (LetterOf(n) == letter) {  // only the vowel replacement may give it back
            ASSERT_EQ(others, 0) << letters;
        }
    }
}

TEST(Refill, ConsonantIsReplacedByTheVowelOfItsRange) {
    const std::vector<std::pair<int, char>> expected = {{1, 'a'},  {5, 'a'},  {6, 'e'},  {10, 'e'},
                                                        {11, 'i'}, {15, 'i'}, {16, 'o'}, {19, 'o'},
                                                        {21, 'u'}, {25, 'u'}};
    for (const auto& [drawn, vowel] : expected) {
        Harness t;
        t.SetPieces("bcdfghjx");
        t.random.QueueLetters({drawn});
        EXPECT_EQ(LetterOf(ChooseNewLetter(t.s, t.sv, "x")), std::string(1, vowel)) << drawn;
    }
}

TEST(Refill, ReseedsBeforeEveryDraw) {
    Harness t;
    t.SetPieces("aeioubcd");
    t.random.QueueLetters({4, 4, 1});  // two vowels refused (four others), then "b"
    EXPECT_EQ(ChooseNewLetter(t.s, t.sv, "d"), 1);
    EXPECT_EQ(t.random.reseeds, 3);
}

// --- Word detection: guards against reading windows in the wrong direction, off the board
// edges, or through empty holes.

class Words : public ::testing::Test {
  protected:
    Harness t;
    void SetUp() override {
        t.AddWords({"word", "able", "zeta"});
        t.StartPlay();
    }
    // Places the board and checks the hole as if its letter had just landed there.
    void Check(const std::vector<std::string>& rows, int hole) {
        t.SetBoard(rows);
        CheckForWord(t.s, t.sv, hole);
    }
};

TEST_F(Words, HorizontalWordFoundFromEachOfItsFourLetters) {
    for (int hole = 0; hole < 4; ++hole) {
        Harness h;
        h.AddWords({"word"});
        h.StartPlay();
        h.SetBoard({"word..."});
        CheckForWord(h.s, h.sv, hole);
        EXPECT_TRUE(h.s.GameOver) << hole;
        EXPECT_EQ(h.s.WinningWord, "word");
        for (int w = 0; w < 4; ++w)
            EXPECT_EQ(h.s.Hole[w].picture, Picture::Yellow) << hole;
        EXPECT_EQ(h.s.Hole[4].picture, Picture::Blank);
    }
}

TEST_F(Words, AnnouncesTheMoverAndEndsTheGame) {
    t.s.lantimer.Enabled = true;
    Check({"wor...."}, 2);
    EXPECT_FALSE(t.s.GameOver);
    Check({"word...."}, 3);
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_TRUE(t.s.MoveEndedGame);
    EXPECT_EQ(t.s.StatusText.lines.back(), "Ann made word word. Game Over. Winner is Ann");
    EXPECT_EQ(t.s.Label13, "Game Over");
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.hooks.playMoreShown, 1);
}

TEST_F(Words, HorizontalReadsLeftToRightOnly) {
    Check({"drow..."}, 0);
    EXPECT_FALSE(t.s.GameOver);
}

TEST_F(Words, VerticalReadsTopToBottomOnly) {
    Check({"...w...", "...o...", "...r...", "...d..."}, 24);
    EXPECT_TRUE(t.s.GameOver);
    Harness up;
    up.AddWords({"word"});
    up.StartPlay();
    up.SetBoard({"...d...", "...r...", "...o...", "...w..."});
    CheckForWord(up.s, up.sv, 24);
    EXPECT_FALSE(up.s.GameOver);
}

TEST_F(Words, DiagonalDownFromUpperLeft) {
    Check({"w......", ".o.....", "..r....", "...d..."}, 3);
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.WinningWord, "word");
}

TEST_F(Words, DiagonalUpFromLowerLeft) {
    Check({"......d", ".....r.", "....o..", "...w..."}, 3);
    EXPECT_TRUE(t.s.GameOver);
    Harness back;  // the same letters read from upper right down to lower left are no word
    back.AddWords({"word"});
    back.StartPlay();
    back.SetBoard({"......w", ".....o.", "....r..", "...d..."});
    CheckForWord(back.s, back.sv, 3);
    EXPECT_FALSE(back.s.GameOver);
}

TEST_F(Words, WindowsNeverWrapAroundTheBoardEdge) {
    // "wo" at the right end of row 0 and "rd" at the left end of row 1 are consecutive holes
    // 5, 6, 7, 8 but not a line on the board.
    Check({"rd.....", ".....wo"}, 8);
    EXPECT_FALSE(t.s.GameOver);
    Check({"rd.....", ".....wo"}, 6);
    EXPECT_FALSE(t.s.GameOver);
}

TEST_F(Words, WindowWithAnEmptyHoleIsNeverLookedUp) {
    t.AddWords({"w"});  // would match a window read with an empty hole dropped out
    Check({"w.o.r.d"}, 0);
    EXPECT_FALSE(t.s.GameOver);
}

TEST_F(Words, LetterColoursDoNotMatter) {
    Check({"WoRd..."}, 3);
    EXPECT_TRUE(t.s.GameOver);
}

TEST_F(Words, FirstWindowInOrderIsCredited) {
    // The "a" in hole 24 completes "zeta" across (window 4) and "able" down (window 5).
    Check({"zeta...", "...b...", "...l...", "...e..."}, 24);
    EXPECT_EQ(t.s.WinningWord, "zeta");
    EXPECT_EQ(t.s.Hole[21].picture, Picture::Yellow);
    EXPECT_EQ(t.s.Hole[3].picture, Picture::Blue);
}

TEST_F(Words, EveryWindowOfEveryHoleReadsItsFourCells) {
    // Each window of each hole, with a word placed exactly on it, ends the game with the
    // winning cells yellow and no others.
    for (int hole = 0; hole < kBoardHoles; ++hole) {
        for (const WordWindow& window : kWordWindows) {
            if (!WindowFits(window, hole)) continue;
            Harness h;
            h.AddWords({"able"});
            h.StartPlay();
            const auto cells = WindowHoles(window, hole);
            for (int i = 0; i < 4; ++i)
                SetHole(h.s, cells[i], LetterOf("able"[i] - 'a'), Picture::Red);
            CheckForWord(h.s, h.sv, hole);
            ASSERT_TRUE(h.s.GameOver) << "hole " << hole;
            for (int c : cells)
                EXPECT_EQ(h.s.Hole[c].picture, Picture::Yellow);
        }
    }
}

TEST_F(Words, DuplicateListEntriesAnnounceTwice) {
    t.AddWords({"WORD"});
    Check({"word..."}, 0);
    EXPECT_EQ(t.s.StatusText.lines.size(), 2u);
}

// --- Game end: guards against the panel and the profile counting the wrong side.

TEST(GameEnd, LocalWinRaisesTheOpponentsLostAndIsRecordedForTheLocalPlayer) {
    Harness t;
    t.AddWords({"word"});
    t.StartPlay();
    t.s.Label9 = "4";
    t.s.Label10 = "2";
    t.s.Label11 = " 1";
    t.SetBoard({"word..."});
    CheckForWord(t.s, t.sv, 3);
    EXPECT_EQ(t.s.Label9, "5");
    EXPECT_EQ(t.s.Label10, "2");
    EXPECT_EQ(t.s.Label11, "2");
    ASSERT_EQ(t.hooks.results.size(), 1u);
    EXPECT_EQ(t.hooks.results[0].first, "Ann");
    EXPECT_EQ(t.hooks.results[0].second, GameOutcome::Win);
}

TEST(GameEnd, ComputerGameIsRecordedOnTheComputerFromItsSide) {
    Harness t;
    t.AddWords({"word"});
    t.StartPlay("Ann", "Computer");
    t.s.CurrentPlayer = "Computer";
    t.SetBoard({"word..."});
    CheckForWord(t.s, t.sv, 3);
    EXPECT_EQ(t.s.Label9, "1");
    EXPECT_EQ(t.s.Label10, "1");  // the opponent (the computer) won
    EXPECT_EQ(t.s.StatusText.lines.back(),
              "Computer made word word. Game Over. Winner is Computer");
    ASSERT_EQ(t.hooks.results.size(), 1u);
    EXPECT_EQ(t.hooks.results[0].first, "Computer");
    EXPECT_EQ(t.hooks.results[0].second, GameOutcome::Win);
}

TEST(GameEnd, FullBoardWithoutAWordIsADraw) {
    Harness t;
    t.AddWords({"word"});
    t.StartPlay("Ann", "Computer");
    t.s.lantimer.Enabled = true;
    t.SetBoard({"abcdefg", "hijklmn", "opqrstu", "vxyzabc", "defghij", "klmnopq"});
    t.s.Label13 = "Opponents Turn";
    CheckForWord(t.s, t.sv, 40);
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_TRUE(t.s.MoveEndedGame);
    EXPECT_EQ(t.s.WinningWord, "");
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.Label9, "1");
    EXPECT_EQ(t.s.Label12, "1");
    EXPECT_EQ(t.s.Label13, "Opponents Turn");
    EXPECT_TRUE(t.s.StatusText.lines.empty());
    ASSERT_EQ(t.hooks.results.size(), 1u);
    EXPECT_EQ(t.hooks.results[0], std::make_pair(std::string("Computer"), GameOutcome::Tie));
    EXPECT_EQ(t.hooks.playMoreShown, 1);
}

TEST(GameEnd, WordThatFillsTheBoardIsAWin) {
    Harness t;
    t.AddWords({"word"});
    t.StartPlay();
    t.SetBoard({"abcword", "hijklmn", "opqrstu", "vxyzabc", "defghij", "klmnopq"});
    CheckForWord(t.s, t.sv, 41);
    EXPECT_EQ(t.s.WinningWord, "word");
    EXPECT_EQ(t.s.Label12, "");
    EXPECT_EQ(t.hooks.playMoreShown, 1);
}

TEST(GameEnd, CounterCaptionsReadTheirLeadingNumber) {
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"", "1"}, {"0", "1"}, {" 41 ", "42"}, {"7 games", "8"}, {"x", "1"}}) {
        std::string caption = before;
        IncrementCaption(caption);
        EXPECT_EQ(caption, after) << before;
    }
}

// --- New game: guards against the first mover not alternating and leftovers of a game.

TEST(NewGameTest, FirstMoverAlternatesOverThreeGames) {
    Harness t;
    t.s.LocalPlayer = t.s.FirstPlayer = "Ann";
    t.s.SecondPlayer = "Computer";
    t.s.ComputerGame = true;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Ann", "Your Turn!"}, {"Computer", "Opponents Turn!"}, {"Ann", "Your Turn!"}};
    for (const auto& [mover, caption] : expected) {
        t.s.GameOver = true;
        ClearBoard(t.s);
        NewGame(t.s, t.sv);
        EXPECT_EQ(t.s.CurrentPlayer, mover);
        EXPECT_EQ(t.s.LastStarter, mover);
        EXPECT_EQ(t.s.Label13, caption);
        EXPECT_EQ(t.s.Label7, "Computer");
        EXPECT_TRUE(t.s.lantimer.Enabled);
    }
}

TEST(NewGameTest, DealsEightVisibleLettersInTheLocalColour) {
    for (const std::string colour : {"blue", "red", "green"}) {
        Harness t;
        t.s.PieceColour = colour;
        t.s.LocalPlayer = "Bob";
        t.s.FirstPlayer = "Ann";
        t.s.SecondPlayer = "Bob";
        t.random.QueueLetters({0, 0, 0, 0, 0, 0, 0, 25});
        t.s.Image[3].visible = false;
        NewGame(t.s, t.sv);
        for (int i = 0; i < kPieceCount; ++i) {
            EXPECT_EQ(t.s.Image[i].Tag, i == 7 ? "z" : "a");
            EXPECT_EQ(t.s.Image[i].picture, colour == "blue" ? Picture::Blue : Picture::Red);
            EXPECT_TRUE(t.s.Image[i].visible);
        }
        EXPECT_EQ(t.s.Label7, "Ann");
        EXPECT_FALSE(t.s.lantimer.Enabled);
    }
}

TEST(NewGameTest, InternetGameStartsThePollTimer) {
    Harness t;
    t.s.InternetState = 1;
    NewGame(t.s, t.sv);
    EXPECT_TRUE(t.s.inettimer.Enabled);
    EXPECT_FALSE(t.s.lantimer.Enabled);
}

TEST(ClearBoardTest, OnlyAFinishedGameIsCleared) {
    Harness t;
    t.SetPieces("abcdefgh");
    t.SetBoard({"word..."});
    ClearBoard(t.s);
    EXPECT_EQ(t.s.Hole[0].Tag, "w");
    EXPECT_EQ(t.s.Image[0].Tag, "a");

    t.s.GameOver = true;
    t.s.MoveEndedGame = true;
    t.s.Image[1].visible = false;
    ClearBoard(t.s);
    for (int h = 0; h < kBoardHoles; ++h)
        EXPECT_TRUE(IsHoleEmpty(t.s, h));
    for (const Piece& p : t.s.Image) {
        EXPECT_EQ(p.picture, Picture::Blank);
        EXPECT_EQ(p.Tag, "xx");
    }
    EXPECT_FALSE(t.s.Image[1].visible);
    EXPECT_FALSE(t.s.GameOver);
    EXPECT_TRUE(t.s.MoveEndedGame);
}

// --- The status list: guards against the newest line scrolling out of view.

TEST(StatusListTest, KeepsTheLastFourLinesInViewAndSelectsTheNewest) {
    Harness t;
    for (int i = 0; i < 4; ++i) {
        AddStatusLine(t.s, "line " + std::to_string(i));
        EXPECT_EQ(t.s.StatusText.topIndex, 0);
        EXPECT_EQ(t.s.StatusText.selected, i);
    }
    AddStatusLine(t.s, "line 4");
    EXPECT_EQ(t.s.StatusText.topIndex, 1);
    EXPECT_EQ(t.s.StatusText.selected, 4);
}

// --- Sounds: guards against sound playing while switched off.

TEST(SoundTest, ButtonSwitchesSoundOffSilentlyAndOnWithTheSystemSound) {
    Harness t;
    SoundButtonClick(t.s, t.sv);
    EXPECT_FALSE(t.s.SoundOn);
    EXPECT_TRUE(t.sound.played.empty());
    PlaySound(t.s, t.sv, SoundEvent::YourPieceDrop);
    EXPECT_TRUE(t.sound.played.empty());
    SoundButtonClick(t.s, t.sv);
    EXPECT_TRUE(t.s.SoundOn);
    EXPECT_EQ(t.sound.played, std::vector<std::string>{"sysmess.wav"});
    EXPECT_EQ(t.s.StatusText.lines,
              (std::vector<std::string>{"System Message: Sound Off", "System Message: Sound On"}));
}

}  // namespace
}  // namespace gd
