// A pairing's life: its games' starts, the moves both ways, every ending and the counting.
#include "match.h"

#include "board.h"
#include "rules.h"

namespace gd {

namespace {

GameOutcome Reversed(GameOutcome outcome) {
    if (outcome == GameOutcome::Win) return GameOutcome::Loss;
    if (outcome == GameOutcome::Loss) return GameOutcome::Win;
    return outcome;
}

bool LocalPlayerLeaves(GameEnd why) {
    return why == GameEnd::Quit || why == GameEnd::ProgramEnding;
}

}  // namespace

Match::Match(GameState& s, Services& sv, ResultBook& results) : s_(s), sv_(sv), results_(results) {}

void Match::Take(OpponentSeat& seat, bool waiting) {
    const bool hostJoined = seat_ == &seat && waiting_ && !waiting;
    if (seat_ && !hostJoined) {
        OpponentSeat* old = seat_;
        EndByDeparture(GameEnd::Quit);
        // The same seat made anew (another LAN connection) has already left its last pairing.
        if (old != &seat) old->Leave(GameEnd::Quit);
        EndPairing();
    }
    seat_ = &seat;
    waiting_ = waiting;
    held_.reset();
    localMoved_ = opponentMoved_ = false;
}

void Match::Wait(OpponentSeat& seat) {
    Take(seat, true);
}

void Match::Pair(OpponentSeat& seat, const std::string& host, const std::string& guest) {
    Take(seat, false);
    s_.FirstPlayer = host;
    s_.SecondPlayer = guest;
    s_.LastStarter.clear();
}

void Match::BeginGame() {
    if (!seat_ || waiting_) return;
    NewGame(s_, sv_);
    localMoved_ = opponentMoved_ = false;
    seat_->Timer().Enabled = true;
}

void Match::HoleDragDrop(int hole, int piece) {
    const std::optional<Move> move = PlaceLetter(s_, sv_, hole, piece);
    if (!move) return;
    localMoved_ = true;
    if (seat_) seat_->SendMove(*move);
    // A move upload the player gave up on ends the program before the word test.
    if (s_.ProgramEnding) return;
    s_.Label13 = "Opponents Turn";
    if (!Landed(move->hole)) PassTurn(s_);
}

bool Match::ApplyOpponentMove(const Move& move) {
    if (!seat_ || waiting_) return false;
    if (s_.GameOver) {
        if (held_) {
            RefuseMoveText(s_, EncodeMove(move, MoveForm::Payload));
            return false;
        }
        held_ = move;
        return true;
    }
    const int column = move.hole % kColumns;
    if (LandingHole(s_, column) != move.hole) {
        BoardsDiffer(move);
        return false;
    }
    const Picture opponentColour = s_.PieceColour == "red" ? Picture::Blue : Picture::Red;
    ShowAboveColumn(s_, sv_, move.LetterNumber(), opponentColour, column);
    const int dropCell = kDropRowFirst + column;
    s_.Hole[move.hole] = s_.Hole[dropCell];
    EmptyHole(s_, dropCell);
    PlaySound(s_, sv_, SoundEvent::OpponentPieceDrop);
    opponentMoved_ = true;
    if (Landed(move.hole)) return true;
    s_.Label13 = "Your Turn";
    s_.CurrentPlayer = s_.LocalPlayer;
    return true;
}

bool Match::Landed(int hole) {
    const WordCheck check = CheckForWord(s_, sv_, hole);
    if (check == WordCheck::None) return false;
    // Under the game-over window the caption says the game is over, for the loser too.
    s_.Label13 = "Game Over";
    IncrementCaption(s_.Label9);
    if (check == WordCheck::Draw) {
        IncrementCaption(s_.Label12);
        Record(GameOutcome::Tie);
    } else {
        const bool localWon = s_.LocalPlayer == s_.CurrentPlayer;
        IncrementCaption(localWon ? s_.Label11 : s_.Label10);
        Record(localWon ? GameOutcome::Win : GameOutcome::Loss);
    }
    sv_.hooks.ShowPlayMore();
    return true;
}

void Match::Record(GameOutcome localOutcome) {
    // A game against the computer counts on the computer's record, from its side.
    if (s_.SecondPlayer == kComputerName)
        results_.Record(kComputerName, Reversed(localOutcome));
    else
        results_.Record(s_.LocalPlayer, localOutcome);
}

GameAtStake Match::AtStake() const {
    if (!InPlay()) return GameAtStake::None;
    // A game counts only once the leaver has moved in it, so that when one side declines the
    // next game as the other begins it, both agree that it is no one's.
    return seat_->DepartureCounts() && localMoved_ ? GameAtStake::Loss : GameAtStake::Uncounted;
}

bool Match::OpponentLeavingCounts() const {
    if (!seat_ || waiting_ || !seat_->DepartureCounts()) return false;
    // A move kept for the next game: the opponent had begun it, and leaves it.
    return s_.GameOver ? held_.has_value() : opponentMoved_;
}

void Match::EndByDeparture(GameEnd why) {
    if (!seat_ || waiting_) return;
    bool counts = false;
    if (LocalPlayerLeaves(why)) {
        counts = why == GameEnd::Quit && AtStake() == GameAtStake::Loss;
    } else if (why == GameEnd::OpponentLeft) {
        counts = OpponentLeavingCounts();
    }
    s_.GameOver = true;
    if (counts) Record(LocalPlayerLeaves(why) ? GameOutcome::Loss : GameOutcome::Win);
}

void Match::BoardsDiffer(const Move& move) {
    const std::string text = EncodeMove(move, MoveForm::Payload);
    RefuseMoveText(s_, text);
    OpponentSeat* seat = seat_;
    s_.GameOver = true;  // ended, not counted
    // The move goes back: its hole holds the sender's letter, so it cannot fit his board either
    // and his game ends the same way, whatever kind of seat carries it.
    seat->SendMove(move);
    sv_.prompt.Message("A move from your opponent (" + std::string(1, move.letter) + " in hole " +
                           std::to_string(move.hole) +
                           ") does not fit this board: the two boards no longer agree.\n\nThis "
                           "game ends here and is not counted.",
                       "Boards Differ");
    if (seat_ != seat) return;
    seat->Leave(GameEnd::BoardsDiffer);
    EndPairing();
}

bool Match::ConfirmLeave() {
    if (!seat_) return true;
    OpponentSeat* asked = seat_;
    switch (asked->ConfirmLeave(AtStake())) {
        case LeaveAnswer::Stay:
            return false;
        case LeaveAnswer::NotAsked:
            return true;
        case LeaveAnswer::Leave:
            // The pairing may have ended while the question was up: then it is not left twice.
            if (seat_ == asked) Leave(GameEnd::Quit);
            return true;
    }
    return true;
}

void Match::Leave(GameEnd why) {
    if (!seat_) return;
    OpponentSeat* seat = seat_;
    EndByDeparture(why);
    seat->Leave(why);
    EndPairing();
}

void Match::SeatEnded(GameEnd why) {
    if (!seat_) return;
    EndByDeparture(why);
    EndPairing();
}

void Match::StopWaiting() {
    if (Waiting()) EndPairing();
}

void Match::EndPairing() {
    seat_ = nullptr;
    waiting_ = false;
    held_.reset();
    s_.GameOver = true;
    ClearBoard(s_);
    s_.CurrentPlayer.clear();
    s_.Picture1 = PhotoPicture::Photona;
    for (std::string* label :
         {&s_.Label7, &s_.Label8, &s_.Label9, &s_.Label10, &s_.Label11, &s_.Label12, &s_.Label13})
        label->clear();
}

void Match::PlayAgain() {
    if (!seat_ || waiting_ || !s_.GameOver) return;
    BeginGame();
}

void Match::Decline() {
    Leave(GameEnd::Quit);
    EndPairing();
    AddStatusLine(s_, "Ready");
}

bool Match::Chat(const std::string& line) {
    if (!seat_ || waiting_ || !seat_->CarriesChat()) return true;  // emptied, nothing sent
    // A line that could not go is never shown as sent, and stays in the box.
    if (line.empty() || !seat_->Chat(line)) return false;
    AddStatusLine(s_, "Sent: " + line);
    return true;
}

bool Match::HintOffered() const {
    return InPlay() && seat_->OffersHint() && s_.CurrentPlayer == s_.LocalPlayer;
}

void Match::Tick(const TimerState& timer) {
    if (!seat_ || &seat_->Timer() != &timer) return;
    // The first move of a game the opponent began sooner is played at this game's first tick.
    if (held_ && InPlay()) {
        const Move move = *held_;
        held_.reset();
        ApplyOpponentMove(move);
        if (!seat_ || s_.ProgramEnding || &seat_->Timer() != &timer) return;
    }
    seat_->Tick();
}

}  // namespace gd
