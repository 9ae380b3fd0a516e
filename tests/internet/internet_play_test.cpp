// The internet controller on a fake transfer and a fake clock: the waiting room, the poll tick's
// branches, the move post's retries, chat, leaving and the update check.
#include <gtest/gtest.h>

#include "computer_game.h"
#include "fake_transfer.h"
#include "fakes.h"
#include "internet_play.h"
#include "profile_helpers.h"
#include "temp_folder.h"

namespace gd {
namespace {

class RecordingView : public InternetView {
  public:
    void ShowWaitingRoom() override { ++opened; }
    void CloseWaitingRoom() override { ++closed; }
    void AddWaitRoomLine(const std::string& text) override { List2.push_back(text); }
    void ClearPlayers() override { List1.clear(); }
    void AddPlayer(const std::string& line) override { List1.push_back(line); }
    std::string SelectedPlayer() override { return selected; }
    void EnableJoin(bool enabled) override { joinEnabled = enabled; }
    void Animate(bool) override {}
    void CloseEnterWaitingRoom() override {}
    void ShowDownloading(bool) override {}
    bool StartUpdater(std::string&) override { return updaterStarts; }
    std::vector<std::string> List1, List2;
    std::string selected;
    bool joinEnabled = false, updaterStarts = true;
    int opened = 0, closed = 0;
};

// Records the time-out in force at each request, and the light.
class TimedTransfer : public test::FakeTransfer {
  public:
    explicit TimedTransfer(const GameState& s) : s_(s) {}
    TransferReply OpenURL(const std::string& url, TransferData type) override {
        timeouts.push_back(RequestTimeout);
        lights.push_back(s_.light);
        return FakeTransfer::OpenURL(url, type);
    }
    std::vector<int> timeouts;
    std::vector<LightPicture> lights;

  private:
    const GameState& s_;
};

const std::string kBase = "http://gd";

struct InternetTest : ::testing::Test {
    test::Harness h;
    TimedTransfer inet{h.s};
    RecordingView view;
    test::TempFolder dir;
    InternetPlay play{h.s, h.sv, h.match, inet, view, ProfileFile{dir.path}, dir.path};

    InternetTest() {
        play.ServerAddress = kBase;
        play.UserEmail = "ann@pc";
        h.s.LocalPlayer = "Ann";
        dir.Write("players.dat", test::Records({test::NewProfile("Ann")}));
    }
    std::string Poll() const { return GetDataUrl(kBase, play.ReadMailboxKey, play.ReceivedBatch); }
    std::string Post(PostKind kind, const std::string& text = "") const {
        return PostUrl(kBase, play.PostMailboxKey, kind, text);
    }
    // A game in play as the joiner of game 7, the opponent to move.
    void Playing() {
        play.ReadMailboxKey = "c7";
        play.PostMailboxKey = "s7";
        h.s.InternetState = 1;
        h.StartPlay("Ann", "Bob", &play);
        h.s.Label7 = "Bob";
        h.s.PieceColour = "red";
        h.s.CurrentPlayer = "Bob";
        h.s.inettimer = {true, 30000};
    }
    void Tick(const std::string& reply) {
        inet.Answer(Poll(), reply);
        play.inettimerTick();
    }
    std::string LastStatus() const { return h.s.StatusText.lines.back(); }
};

// Guards against a wait that never ends, or one withdrawn from the server behind the host's back.
TEST_F(InternetTest, WaitExpiresOnTheFirstTickAfterIt) {
    h.clock.monotonicMs = 1000;
    play.EnterWaitingRoom({true, "", WaitOption::FiveMinutes});
    EXPECT_EQ(inet.requests.back(), kBase + "/Glyphdrop/joinwait.mv?ann@pc+Ann++0+0+NO+none+300");
    inet.Answer(inet.requests.back(), "x***--ENTRY--***tttt 42 ssss");
    play.EnterWaitingRoom({true, "", WaitOption::FiveMinutes});
    EXPECT_EQ(play.ReadMailboxKey + play.PostMailboxKey + std::to_string(h.s.InternetState),
              "s42c422");
    EXPECT_EQ(std::make_pair(inet.timeouts.back(), inet.RequestTimeout),
              std::make_pair(kEnterWaitTimeout, kDefaultRequestTimeout));

    h.clock.monotonicMs = 1000 + 300000;
    Tick("x FILE*NOT*FOUND");
    EXPECT_EQ(h.s.InternetState, 2);
    const std::size_t requests = inet.requests.size();
    h.clock.monotonicMs += 1;
    play.inettimerTick();
    EXPECT_EQ(inet.requests.size(), requests);
    EXPECT_EQ(test::LastBox(h.prompt).second, "Wait Time Expired");
    EXPECT_FALSE(h.s.InternetState || h.s.inettimer.Enabled);
}

// Guards against polling that stops, or goes on, on the wrong answers.
TEST_F(InternetTest, TickBranchesOnTheMailboxAnswer) {
    Playing();
    Tick("x FILE*NOT*FOUND");  // the light is on during the request only
    EXPECT_TRUE(h.s.inettimer.Enabled);
    EXPECT_EQ(std::make_pair(inet.lights.back(), h.s.light),
              std::make_pair(LightPicture::On, LightPicture::Off));

    inet.replies.clear();
    play.inettimerTick();  // the request fails: red light, polling goes on
    EXPECT_EQ(h.s.light, LightPicture::Red);
    EXPECT_TRUE(h.s.inettimer.Enabled);

    Tick("..Socket Error");
    EXPECT_EQ(LastStatus(), "Socket Error. Please check your internet connection");
    EXPECT_FALSE(h.s.inettimer.Enabled);
}

// Guards against kinds handled out of order: the chat line comes before the move and the quit.
TEST_F(InternetTest, ChatThenMoveInOneReply) {
    Playing();
    Tick("x*CHAT****$$hi there$$$**<*MOVE**#*$q3$*#*>");
    const auto& lines = h.s.StatusText.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "From Bob: hi there"), lines.end());
    EXPECT_EQ(h.s.Hole[3].Tag + h.s.CurrentPlayer, "qAnn");
    EXPECT_TRUE(h.s.inettimer.Enabled && h.s.inettimer.Interval == kPollAfterOpponent);

    Tick("x*MOVE**#*$q3$*#*");  // the same move again: refused, the board stays
    EXPECT_EQ(LastStatus(), "Move refused: q3");
    EXPECT_TRUE(IsHoleEmpty(h.s, 10));
}

// Guards against the first move of the next game landing on the last game's board.
TEST_F(InternetTest, MoveDuringTheGameOverWindowWaitsForTheNextGame) {
    Playing();
    h.s.GameOver = true;
    Tick("x*MOVE**#*$q3$*#*");
    EXPECT_TRUE(IsHoleEmpty(h.s, 3));
    h.match.PlayAgain();  // "Yes": the next game has begun here too
    inet.Answer(Poll(), "x FILE*NOT*FOUND");
    h.match.Tick(h.s.inettimer);
    EXPECT_EQ(h.s.Hole[3].Tag + h.s.CurrentPlayer, "qAnn");
}

// Guards against a quit that drops the opponent's last move, so that the two programs count
// the game differently.
TEST_F(InternetTest, ChatMoveThenQuitEndsTheGameAsAWin) {
    Playing();
    Tick("x*CHAT****$$bye$$$**QUIT*GAME*MOVE**#*$q3$*#*");
    EXPECT_EQ(h.s.StatusText.lines.end()[-3], "From Bob: bye");
    EXPECT_EQ(test::LastBox(h.prompt), test::Box("Your opponent has exited the game. You win by "
                                                 "default!",
                                                 "Opponent Left!"));
    EXPECT_TRUE(test::BoardEmpty(h.s));
    EXPECT_FALSE(h.s.inettimer.Enabled || h.s.InternetState || h.match.seat());
    EXPECT_EQ(h.book.results, (test::Results{{"Ann", GameOutcome::Win}}));
}

// Finding 3's count: the opponent's quit arrives while "Quit Game In Play!" is up; Yes then
// must not count the game a second time, as a loss, nor post a quit of its own.
TEST_F(InternetTest, AQuitConfirmedAfterTheOpponentsQuitArrivedCountsOneGame) {
    Playing();
    inet.Answer(Poll(), "x*MOVE**#*$q3$*#*");
    play.inettimerTick();  // Bob has moved: his leaving counts
    h.prompt.answers = {true};
    h.prompt.meanwhile = [&] { Tick("xQUIT*GAME"); };
    EXPECT_TRUE(h.match.ConfirmLeave());
    EXPECT_EQ(h.prompt.shown.front().title, "Quit Game In Play!");
    EXPECT_EQ(h.book.results, (test::Results{{"Ann", GameOutcome::Win}}));
    EXPECT_NE(inet.requests.back(), Post(PostKind::Quit));
    EXPECT_EQ(h.match.seat(), nullptr);
}

// A game left before the leaver's first move counts on neither side: so the next game that one
// player declined ("No" tells the opponent) is never a win for the other.
TEST_F(InternetTest, AGameTheOpponentLeftBeforeHisFirstMoveIsNoWin) {
    Playing();
    Tick("xQUIT*GAME");
    EXPECT_EQ(test::LastBox(h.prompt),
              test::Box("Your opponent has exited the game.", "Opponent Left!"));
    EXPECT_TRUE(h.book.results.empty());
}

// A word's game is counted once: "No" in the game-over window tells the opponent, whose
// game-over window then says that he left, and no win is added for it.
TEST_F(InternetTest, NoAfterAGameTellsTheOpponentWithoutCountingAgain) {
    h.AddWords({"able"});
    Playing();
    h.SetBoard({"abl...."});
    Tick("x*MOVE**#*$e3$*#*");
    ASSERT_TRUE(h.s.GameOver);
    EXPECT_EQ(h.s.Label13, "Game Over");  // not "Your Turn" under the game-over window
    EXPECT_EQ(h.book.results, (test::Results{{"Ann", GameOutcome::Loss}}));
    Tick("xQUIT*GAME");  // Bob answered No
    EXPECT_EQ(test::LastBox(h.prompt).second, "Opponent Left!");
    EXPECT_EQ(h.book.results.size(), 1u);

    Playing();
    h.s.GameOver = true;
    h.match.Decline();  // Ann answers No
    EXPECT_EQ(inet.requests.back(), Post(PostKind::Quit));
    EXPECT_FALSE(h.s.InternetState || h.s.inettimer.Enabled);
    EXPECT_EQ(h.book.results.size(), 1u);
    EXPECT_EQ(h.s.StatusText.lines.back(), "Ready");
}

// Guards against a host who never starts, or a second start message restarting the game.
TEST_F(InternetTest, StartMessageStartsTheHostsGameOnce) {
    play.ReadMailboxKey = "s7";
    play.PostMailboxKey = "c7";
    h.match.Wait(play);
    h.s.InternetState = 2;
    h.s.CurrentPictureUrl = "http://pics/ann.jpg";
    h.clock.monotonicMs = 0;
    play.WaitExpiry = 1000;
    const std::string start = "xSTART*GAMExxxBobjjjhh*York*qqcc*4*eerr*2*pptt*1*vvmm*1*aa";
    Tick(start);
    EXPECT_EQ(h.s.InternetState, 1);
    EXPECT_EQ(h.s.FirstPlayer + h.s.SecondPlayer + h.s.PieceColour + h.s.Label9, "AnnBobblue4");
    EXPECT_EQ(inet.requests.end()[-2].rfind(Post(PostKind::Data, "xxx"), 0), 0u)
        << inet.requests.end()[-2];
    EXPECT_EQ(inet.requests.back(), Post(PostKind::PictureUrl, "http://pics/ann.jpg"));
    EXPECT_EQ(LastStatus(), "Bob has joined game. YOUR TURN!!");
    EXPECT_EQ(h.s.inettimer.Interval, kPollAfterOpponent);

    const std::size_t requests = inet.requests.size();
    Tick(start);
    EXPECT_EQ(inet.requests.size(), requests + 1);  // only the poll
}

// Finding 1: two programs whose earlier games differ pick different first movers, both wait
// for the other and the game is stuck. Guards against the first game of a pairing begun by
// anyone but the host, whatever either program played before.
TEST(InternetPairing, TheHostBeginsTheFirstGameWhateverEitherPlayedBefore) {
    struct Program {
        test::Harness h;
        test::FakeTransfer inet;
        RecordingView view;
        test::TempFolder dir;
        InternetPlay play{h.s, h.sv, h.match, inet, view, ProfileFile{dir.path}, dir.path};
        explicit Program(const std::string& name) {
            play.ServerAddress = kBase;
            play.UserEmail = name + "@pc";
            h.s.LocalPlayer = name;
            dir.Write("players.dat", test::Records({test::NewProfile(name)}));
        }
    };
    for (const std::string before : {"", "Ann", "Bob", "Computer"}) {
        for (const std::string otherBefore : {"", "Ann", "Bob"}) {
            Program ann("Ann"), bob("Bob");
            ann.h.s.LastStarter = before;
            bob.h.s.LastStarter = otherBefore;
            // Ann waits as the host of game 7; Bob joins it; Ann's poll brings the start.
            ann.h.match.Wait(ann.play);
            ann.h.s.InternetState = 2;
            ann.play.ReadMailboxKey = "s7";
            ann.play.PostMailboxKey = "c7";
            ann.play.WaitExpiry = 1000;
            ann.inet.Answer(GetDataUrl(kBase, "s7", ann.play.ReceivedBatch),
                            "xSTART*GAMExxxBobjjjhh*York*qqcc*4*eerr*2*pptt*1*vvmm*1*aa");
            ann.play.inettimerTick();
            bob.inet.Answer(ReadWaitUrl(kBase),
                            "<*$*7$*$*#*Ann#*#**#**York##*##***#***4###*###****#****2####*####"
                            "*****#*****NO#####*#####>");
            bob.play.RefreshList();
            bob.view.selected = bob.view.List1.at(0);
            bob.inet.Answer(JoinGameUrl(kBase, "7", "Bob@pc", ""), "x-JOINED-");
            bob.play.Join();
            ASSERT_EQ(ann.h.s.InternetState * 10 + bob.h.s.InternetState, 11);
            const std::string history = "(" + before + ", " + otherBefore + ")";
            EXPECT_EQ(ann.h.s.CurrentPlayer, "Ann") << history;
            EXPECT_EQ(bob.h.s.CurrentPlayer, "Ann") << history;
            EXPECT_EQ(ann.h.s.Label13 + " " + bob.h.s.Label13, "Your Turn! Opponents Turn!")
                << history;
        }
    }
}

// Finding 2: the letters of a game left with a quit stayed on one program's board. Guards
// against a new game of the next pairing starting on them.
TEST_F(InternetTest, AGameLeftWithAQuitLeavesNoLetterForTheNextPairing) {
    Playing();
    SetHole(h.s, 0, "e", Picture::Blue);
    h.prompt.answers = {true};
    play.PlayInternetGame();  // "Quit Game In Play!": Yes, told that it is not scored
    EXPECT_EQ(h.prompt.shown.back().text.find("loss"), std::string::npos);
    ASSERT_EQ(h.s.InternetState, 0);
    // The player hosts a new game, and an opponent joins it.
    h.match.Wait(play);
    h.s.InternetState = 2;
    play.ReadMailboxKey = "s8";
    play.PostMailboxKey = "c8";
    play.WaitExpiry = h.clock.monotonicMs + 1000;
    Tick("xSTART*GAMExxxBobjjjhh*York*qqcc*4*eerr*2*pptt*1*vvmm*1*aa");
    ASSERT_EQ(h.s.InternetState, 1);
    EXPECT_TRUE(test::BoardEmpty(h.s));
}

// Finding 2: the computer game began on the letters of the internet game left for it. Guards
// too against leaving internet play, or its waiting room, without the player's consent.
TEST_F(InternetTest, LeavingForTheComputerIsAskedFirstThenTheBoardIsEmpty) {
    ComputerSeat computer{h.s, h.sv, h.match};
    h.match.Wait(play);
    h.s.InternetState = 2;
    h.prompt.answers = {false, true};
    EXPECT_FALSE(computer.Start());  // No: everything stays
    EXPECT_TRUE(h.match.Waiting() && h.s.InternetState == 2);
    EXPECT_TRUE(computer.Start());
    EXPECT_EQ(test::LastBox(h.prompt).second, "Exit Waiting Room?");
    EXPECT_EQ(inet.requests.back(), ExitWaitUrl(kBase, play.ReadMailboxKey));

    Playing();
    SetHole(h.s, 0, "e", Picture::Blue);  // the opponent's letter
    h.s.LastStarter = "Bob";
    h.prompt.answers = {true};
    ASSERT_TRUE(computer.Start());
    EXPECT_EQ(test::LastBox(h.prompt).second, "Quit Game In Play!");
    EXPECT_EQ(inet.requests.back(), Post(PostKind::Quit));
    EXPECT_TRUE(test::BoardEmpty(h.s));
    EXPECT_EQ(h.s.CurrentPlayer + " " + h.s.Label7, "Ann Computer");
    EXPECT_FALSE(h.s.InternetState || h.s.inettimer.Enabled);
}

// Guards against a move lost without the player knowing, or a program that goes on after No.
TEST_F(InternetTest, MovePostTriesThreeTimesThenAsks) {
    Playing();
    h.prompt.answers = {true, false};
    play.UploadMove("q17");
    EXPECT_EQ(inet.requests.size(), 6u);
    EXPECT_EQ(inet.requests.back(), Post(PostKind::Move, "q17"));
    ASSERT_EQ(h.prompt.shown.size(), 2u);
    EXPECT_EQ(h.prompt.shown[0].title, "Transfer Failed");
    EXPECT_TRUE(h.s.ProgramEnding);
    EXPECT_FALSE(h.s.inettimer.Enabled);

    h.s.ProgramEnding = false;
    inet.Answer(Post(PostKind::Move, "q17"), "WRITE*OK");
    play.UploadMove("q17");
    EXPECT_TRUE(h.s.inettimer.Enabled && h.s.inettimer.Interval == kPollAfterOwnMove);
    EXPECT_EQ(h.s.light, LightPicture::Off);
}

// Guards against a photo left on disk after showing, or a file of another kind shown.
TEST_F(InternetTest, OpponentsPictureIsShownAndItsFileDeleted) {
    Playing();
    inet.Answer("http://pics/bob.JPG", "picture bytes");
    Tick("x*PICURL***#$http://pics/bob.JPG$#**");
    EXPECT_TRUE(h.s.Picture1 == PhotoPicture::File && h.s.Picture1Data == "picture bytes");
    EXPECT_FALSE(dir.Has("bob.JPG"));
    inet.Answer("http://pics/notes.txt", "text");
    Tick("x*PICURL***#$http://pics/notes.txt$#**");
    EXPECT_EQ(h.s.Picture1Data, "");
    EXPECT_TRUE(dir.Has("notes.txt"));
}

// Guards against the waiting room listing wrongly or joining without the password.
TEST_F(InternetTest, RefreshAndJoin) {
    inet.Answer(ReadWaitUrl(kBase),
                "<*$*7$*$*#*Bob#*#**#**York##*##***#***4###*###****#****2####*####"
                "*****#*****YES#####*#####>");
    play.RefreshList();
    ASSERT_EQ(view.List1.size(), 1u);
    EXPECT_TRUE(view.joinEnabled);
    EXPECT_EQ(inet.timeouts.back(), kListTimeout);

    view.selected = view.List1[0];
    const std::size_t requests = inet.requests.size();
    play.Join();  // the password box cancelled
    h.s.LocalPlayer = "Bob";
    play.Join();  // one name for both players: refused before anything is sent
    EXPECT_EQ(inet.requests.size(), requests);
    EXPECT_EQ(test::LastBox(h.prompt).first.rfind("The waiting player is also called Bob.", 0), 0u);
    h.s.LocalPlayer = "Ann";

    h.prompt.inputs = {std::string("pw")};
    inet.Answer(JoinGameUrl(kBase, "7", "ann@pc", "pw"), "x-JOINED-");
    play.Join();
    EXPECT_EQ(play.ReadMailboxKey + std::to_string(h.s.InternetState), "c71");
    EXPECT_EQ(h.s.FirstPlayer + h.s.CurrentPlayer + h.s.PieceColour, "BobBobred");
    EXPECT_EQ(inet.requests.back(),
              Post(PostKind::Start, PlayDataBlock(ProfileFile{dir.path}, "Ann")));
    EXPECT_EQ(view.closed, 1);

    view.selected = "No Players Currently Waiting To Play.";
    play.Join();
    EXPECT_EQ(view.List2.back(), "Error: You must select a player to join first!");
}

// Guards against leaving a game without telling the opponent or with the wrong time-out.
TEST_F(InternetTest, LeavingTellsTheOpponent) {
    Playing();
    h.s.CurrentPlayer = "Ann";
    h.SetPieces("abcdefgh");
    inet.Answer(Post(PostKind::Move, "a3"), "WRITE*OK");
    h.Drop(0, 3);
    h.prompt.answers = {true};
    play.PlayInternetGame();
    EXPECT_NE(h.prompt.shown.back().text.find("score a loss?"), std::string::npos);
    EXPECT_EQ(h.book.results, (test::Results{{"Ann", GameOutcome::Loss}}));
    EXPECT_EQ(inet.requests.back(), Post(PostKind::Quit));
    EXPECT_EQ(inet.timeouts.back(), kQuitTimeout);
    EXPECT_EQ(std::to_string(h.s.InternetState) + std::to_string(view.opened), "01");

    Playing();
    play.PostChat(" a+b ");
    EXPECT_EQ(inet.requests.back(), Post(PostKind::Chat, "a+b"));
    EXPECT_TRUE(h.s.inettimer.Enabled);
}

// Guards against an update check that ends the program without starting the updater.
TEST_F(InternetTest, UpdateCheck) {
    const std::string url = UpdatesUrl(kBase, "1.1");
    inet.Answer(url, "x*CURRENT*");
    play.CheckForUpdates();
    EXPECT_EQ(test::LastBox(h.prompt).first, "This version is up-to-date!");
    EXPECT_EQ(inet.timeouts.back(), kUpdateTimeout);

    inet.Answer(url, "x*UPDATED*");
    h.prompt.answers = {true, true};
    view.updaterStarts = false;
    play.CheckForUpdates();
    EXPECT_EQ(test::LastBox(h.prompt).second, "Live Update");
    EXPECT_FALSE(h.s.ProgramEnding);
    view.updaterStarts = true;
    play.CheckForUpdates();
    EXPECT_TRUE(h.s.ProgramEnding);

    inet.replies.clear();
    play.CheckForUpdates();
    EXPECT_EQ(h.s.StatusText.lines.end()[-3], "7: Could not connect");
}

}  // namespace
}  // namespace gd
