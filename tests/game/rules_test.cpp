// The rules of dropping, word detection and new games, on boards built from pictures.
#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"

namespace gd {
namespace {

using test::Harness;
using Strings = std::vector<std::string>;

constexpr const char* kOops = "OOPS! You grabbed a game piece before your turn. Try again!";
constexpr const char* kOver = "Player Error: This game is over!";
constexpr const char* kNotYourTurn = "Player Error: It's Not your turn. Please wait!";

// A game in play, Ann to move, with the word list given.
void Play(Harness& t, const Strings& words = {}) {
    t.AddWords(words);
    t.StartPlay();
}

// --- Dropping: guards against letters landing in the wrong hole, and refused drops that leave
// traces on the board, the pieces or the turn.

TEST(Drop, LetterFallsToTheLowestEmptyHoleOfItsColumn) {
    struct Case {
        const char* name;
        Strings board;
        int hole, landing;
    };
    const std::vector<Case> cases = {{"top hole of an empty column", {}, 40, 5},
                                     {"drop-row hole acts as the top hole", {}, 45, 3},
                                     {"middle hole", {}, 12, 5},
                                     {"stops on the letter below", {"..q....", "..q...."}, 44, 16}};
    for (const Case& c : cases) {
        Harness t;
        t.StartPlay();
        t.SetPieces("abcdefgh");
        t.SetBoard(c.board);
        t.Drop(0, c.hole);
        EXPECT_EQ(t.s.Hole[c.landing].Tag, "a") << c.name;
        EXPECT_EQ(t.s.Hole[c.landing].picture, Picture::Blue) << c.name;
        EXPECT_EQ(t.s.Hole[c.landing + kColumns].Tag, kEmptyMarker) << c.name;
        EXPECT_NE(t.s.Hole[c.hole].picture, Picture::Blue) << c.name;  // the drop row stays bare
    }
}

TEST(Drop, PlayedPieceIsRefilledTheMoveSentAndTheTurnPassed) {
    Harness t;
    t.StartPlay();
    t.s.PieceColour = "red";
    t.SetPieces("abcdefgh");
    t.random.QueueLetters({3, 25});  // "d" is the dropped letter: drawn again
    t.Drop(3, 17);                   // "d" falls to hole 3
    EXPECT_EQ(t.s.Image[3].Tag, "z");
    EXPECT_EQ(t.s.Image[3].picture, Picture::Red);
    EXPECT_TRUE(t.s.Image[3].visible);
    EXPECT_EQ(t.seat.moves, Strings{"d3"});  // handed to the opponent's seat
    EXPECT_TRUE(t.s.StatusText.lines.empty());
    EXPECT_EQ(t.sound.played, Strings{"dropped.wav"});
    EXPECT_EQ(t.s.Label13, "Opponents Turn");
    EXPECT_EQ(t.s.CurrentPlayer, "Bob");
    // With the pairing the other way round, the turn still goes to the other player.
    t.s.CurrentPlayer = t.s.SecondPlayer = "Ann";
    t.s.FirstPlayer = "Bob";
    t.Drop(1, 38);
    EXPECT_EQ(t.s.CurrentPlayer, "Bob");
}

TEST(Drop, RefusalsSayWhyAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(Harness&)> arrange;
        int hole;
        Strings lines;
    };
    const Strings fullColumn(6, ".....q.");
    const std::vector<Case> cases = {
        {"all pieces visible", [](Harness& h) { h.s.Image[0].visible = true; }, 38, {kOops}},
        {"game over", [](Harness& h) { h.s.GameOver = true; }, 38, {kOver}},
        {"not my turn", [](Harness& h) { h.s.CurrentPlayer = "Bob"; }, 38, {kNotYourTurn}},
        {"no game yet", [](Harness& h) { h.s.CurrentPlayer = ""; }, 38, {kNotYourTurn}},
        {"full column", [&](Harness& h) { h.SetBoard(fullColumn); }, 47, {}},
        {"emptied piece", [](Harness& h) { h.s.Image[0].picture = Picture::Blank; }, 38, {}},
    };
    for (const Case& c : cases) {
        Harness h;
        h.StartPlay();
        h.SetPieces("abcdefgh");
        h.s.Image[0].visible = false;
        c.arrange(h);
        const Strings board = h.Board();
        const std::string piece = h.s.Image[0].Tag, mover = h.s.CurrentPlayer;
        h.match.HoleDragDrop(c.hole, 0);
        EXPECT_EQ(h.s.StatusText.lines, c.lines) << c.name;
        EXPECT_EQ(h.sound.played, Strings{"missed.wav"}) << c.name;
        EXPECT_EQ(h.Board(), board) << c.name;
        EXPECT_EQ(h.s.Image[0].Tag, piece) << c.name;
        EXPECT_EQ(h.s.CurrentPlayer, mover) << c.name;
        for (const Piece& p : h.s.Image)
            EXPECT_TRUE(p.visible) << c.name;
    }
}

// --- The refill: guards against the vowel limits drifting over many games.

TEST(Refill, VowelLimitsHoldOverManyDraws) {
    Harness t;
    test::SeededRandom random(7);
    Services sv{t.sound, t.pause, random, t.prompt, t.hooks, t.clock};
    std::mt19937 pick(11);
    const std::string vowels = "aeiou";
    for (int round = 0; round < 20000; ++round) {
        std::string letters;
        for (int i = 0; i < kPieceCount; ++i)
            letters += static_cast<char>('a' + pick() % 26);
        t.SetPieces(letters);
        const int dropped = static_cast<int>(pick() % kPieceCount);
        int others = 0;  // vowels left in the piece area besides the dropped letter
        for (int i = 0; i < kPieceCount; ++i)
            others += i != dropped && vowels.find(letters[i]) != std::string::npos;
        const std::string n = LetterOf(ChooseNewLetter(t.s, sv, letters.substr(dropped, 1)));
        const bool vowel = vowels.find(n) != std::string::npos;
        ASSERT_TRUE(others <= 3 || !vowel) << letters;  // never a fifth vowel
        ASSERT_TRUE(others > 0 || vowel) << letters;    // a vowel when none is left
        // The dropped letter comes back only as the vowel given for a consonant.
        ASSERT_TRUE(n != letters.substr(dropped, 1) || others == 0) << letters;
    }
}

TEST(Refill, ConsonantIsReplacedByTheVowelOfItsRangeAfterAReseededDraw) {
    const std::vector<std::pair<int, char>> expected = {{1, 'a'},  {5, 'a'},  {6, 'e'},  {10, 'e'},
                                                        {11, 'i'}, {15, 'i'}, {16, 'o'}, {19, 'o'},
                                                        {21, 'u'}, {25, 'u'}};
    for (const auto& [drawn, vowel] : expected) {
        Harness t;
        t.SetPieces("bcdfghjx");
        t.random.QueueLetters({drawn});
        EXPECT_EQ(LetterOf(ChooseNewLetter(t.s, t.sv, "x")), std::string(1, vowel)) << drawn;
    }
    Harness t;
    t.SetPieces("aeioubcd");
    t.random.QueueLetters({4, 4, 1});  // two vowels refused (four others), then "b"
    EXPECT_EQ(ChooseNewLetter(t.s, t.sv, "d"), 1);
    EXPECT_EQ(t.random.reseeds, 3);
}

// --- Word detection: guards against reading windows in the wrong direction, off the board
// edges, or through empty holes.

TEST(Words, EveryLineIsFoundFromEachOfItsHolesInReadingOrderOnly) {
    for (const test::Direction& d : test::kDirections)
        for (const auto& line : test::BoardLines(d))
            // A vertical word is read from its top letter only: the newest of its column.
            for (int place = 0; place < (d.columnStep == 0 ? 1 : 4); ++place)
                for (const std::string word : {"word", "drow"}) {
                    Harness t;
                    Play(t, {"word"});
                    for (int i = 0; i < 4; ++i)  // the letters' colours do not matter
                        SetHole(t.s, line[i], word.substr(i, 1),
                                i % 2 ? Picture::Red : Picture::Blue);
                    CheckForWord(t.s, t.sv, line[place]);
                    SCOPED_TRACE(std::string(d.name) + " " + word + " from hole " +
                                 std::to_string(line[place]));
                    ASSERT_EQ(t.s.GameOver, word == "word");
                    int yellow = 0;
                    for (int h = 0; h < kBoardHoles; ++h)
                        yellow += t.s.Hole[h].picture == Picture::Yellow;
                    EXPECT_EQ(yellow, word == "word" ? 4 : 0);
                }
}

TEST(Words, AnnouncesTheMoverAndEndsTheGame) {
    Harness t;
    Play(t, {"word", "WORD"});  // a duplicate list entry announces twice
    t.s.lantimer.Enabled = true;
    t.SetBoard({"wor...."});
    CheckForWord(t.s, t.sv, 2);
    EXPECT_FALSE(t.s.GameOver);
    t.SetBoard({"word..."});
    CheckForWord(t.s, t.sv, 3);
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_TRUE(t.s.MoveEndedGame);
    EXPECT_EQ(t.s.StatusText.lines, Strings(2, "Ann made word word. Game Over. Winner is Ann"));
    EXPECT_EQ(t.s.Label13, "Game Over");
    EXPECT_FALSE(t.s.lantimer.Enabled);
}

TEST(Words, NoWordAcrossTheEdgeThroughAnEmptyHoleOrBeforeTheFirstWindow) {
    // "wo" at the right end of row 0 and "rd" at the left of row 1 are holes 5 to 8, no line.
    for (int hole : {6, 8}) {
        Harness t;
        Play(t, {"word"});
        t.SetBoard({"rd.....", ".....wo"});
        CheckForWord(t.s, t.sv, hole);
        EXPECT_FALSE(t.s.GameOver) << hole;
    }
    Harness gap;
    Play(gap, {"word", "w"});  // "w" matches a window read with empty holes left out
    gap.SetBoard({"w.o.r.d"});
    CheckForWord(gap.s, gap.sv, 0);
    EXPECT_FALSE(gap.s.GameOver);
    // The "a" in hole 24 completes "zeta" across (window 4) and "able" down (window 5).
    Harness both;
    Play(both, {"able", "zeta"});
    both.SetBoard({"zeta...", "...b...", "...l...", "...e..."});
    CheckForWord(both.s, both.sv, 24);
    EXPECT_EQ(both.s.WinningWord, "zeta");
    EXPECT_EQ(both.s.Hole[3].picture, Picture::Blue);
}

// --- New game: guards against the first mover not alternating, and leftovers of a game.

TEST(NewGameTest, FirstMoverAlternatesOverThreeGames) {
    Harness t;
    t.s.LocalPlayer = t.s.FirstPlayer = "Ann";
    t.s.SecondPlayer = "Computer";
    for (const auto& [mover, caption] : std::vector<std::pair<std::string, std::string>>{
             {"Ann", "Your Turn!"}, {"Computer", "Opponents Turn!"}, {"Ann", "Your Turn!"}}) {
        t.s.GameOver = true;
        ClearBoard(t.s);
        NewGame(t.s, t.sv);
        EXPECT_EQ(t.s.CurrentPlayer, mover);
        EXPECT_EQ(t.s.LastStarter, mover);
        EXPECT_EQ(t.s.Label13, caption);
        EXPECT_EQ(t.s.Label7, "Computer");
    }
}

TEST(NewGameTest, DealsEightVisibleLettersInTheLocalColourOnAnEmptyBoard) {
    for (const std::string colour : {"blue", "red"}) {
        Harness t;
        t.s.PieceColour = colour;
        t.s.LocalPlayer = t.s.SecondPlayer = "Bob";
        t.s.FirstPlayer = "Ann";
        t.SetBoard({"word..."});  // left by a game that ended any way at all
        t.random.QueueLetters({0, 0, 0, 0, 0, 0, 0, 25});
        t.s.Image[3].visible = false;
        NewGame(t.s, t.sv);
        for (int i = 0; i < kPieceCount; ++i) {
            EXPECT_EQ(t.s.Image[i].Tag, i == 7 ? "z" : "a");
            EXPECT_EQ(t.s.Image[i].picture, colour == "blue" ? Picture::Blue : Picture::Red);
            EXPECT_TRUE(t.s.Image[i].visible);
        }
        EXPECT_EQ(t.s.Label7, "Ann");
        EXPECT_TRUE(test::BoardEmpty(t.s));
    }
}

TEST(ClearBoardTest, OnlyAFinishedGameIsCleared) {
    Harness t;
    t.SetPieces("abcdefgh");
    t.SetBoard({"word..."});
    ClearBoard(t.s);
    EXPECT_EQ(t.s.Hole[0].Tag, "w");
    EXPECT_EQ(t.s.Image[0].Tag, "a");

    t.s.GameOver = t.s.MoveEndedGame = true;
    t.s.Image[1].visible = false;
    ClearBoard(t.s);
    EXPECT_TRUE(test::BoardEmpty(t.s));
    for (const Piece& p : t.s.Image)
        EXPECT_TRUE(p.picture == Picture::Blank && p.Tag == "xx");
    EXPECT_FALSE(t.s.Image[1].visible);
    EXPECT_FALSE(t.s.GameOver);
    EXPECT_TRUE(t.s.MoveEndedGame);
}

// --- Sound: guards against sound playing while switched off.

TEST(SoundTest, ButtonSwitchesSoundOffSilentlyAndOnWithTheSystemSound) {
    Harness t;
    SoundButtonClick(t.s, t.sv);
    PlaySound(t.s, t.sv, SoundEvent::YourPieceDrop);
    EXPECT_FALSE(t.s.SoundOn);
    EXPECT_TRUE(t.sound.played.empty());
    SoundButtonClick(t.s, t.sv);
    EXPECT_TRUE(t.s.SoundOn);
    EXPECT_EQ(t.sound.played, Strings{"sysmess.wav"});
    EXPECT_EQ(t.s.StatusText.lines,
              (Strings{"System Message: Sound Off", "System Message: Sound On"}));
}

}  // namespace
}  // namespace gd
