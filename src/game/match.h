// The match: one owner for a pairing and its games. Who plays whom and who hosts, each game's
// start and first mover, the local drop and the opponent's move, every way a game ends, and the
// counters, so that two programs always agree and each game is counted once on each side.
#pragma once

#include <optional>
#include <string>

#include "move.h"
#include "services.h"
#include "state.h"

namespace gd {

// How a game, or the pairing it belongs to, ends.
enum class GameEnd {
    Word,            // a letter completed a word
    Draw,            // the board filled without one
    Quit,            // the local player left: a question answered Yes, "No" after a game, or
                     // another game begun
    ProgramEnding,   // the program ends without asking (a move upload given up, the updater)
    OpponentLeft,    // the opponent left, or declined the next game
    ConnectionLost,  // the LAN connection broke
    BoardsDiffer,    // the opponent's move does not fit this board
};

// A seat's answer to the questions before the local player leaves it.
enum class LeaveAnswer {
    NotAsked,  // nothing to ask: the pairing goes on until another begins or the program ends
    Leave,     // leave now: answered Yes, or nothing is left worth asking about
    Stay,      // answered No: nothing changes
};

// What the local player leaving now would do to the game in play, for the seat's questions.
enum class GameAtStake {
    None,       // no game in play
    Uncounted,  // it ends counted on neither side: the leaver has not moved in it, or the seat
                // never counts a game left
    Loss,       // it ends as the leaver's loss and the other's win
};

// Where the opponent sits: the computer, the game server's mailboxes, or a LAN peer. The match
// hands the seat our moves, chat lines and leaving; the seat hands the opponent's moves,
// decoded, to `Match::ApplyOpponentMove` and his departure to `Match::SeatEnded`.
class OpponentSeat {
  public:
    virtual ~OpponentSeat() = default;
    // Our move, after it landed on our board.
    virtual void SendMove(const Move& move) = 0;
    // A tick of `Timer()`: the computer's turn, or a look for the opponent's news.
    virtual void Tick() = 0;
    // A chat line the local player typed; only when the seat `CarriesChat`. False, with a status
    // line saying why, when it could not go.
    virtual bool Chat(const std::string& line) = 0;
    // The local player leaves (`why` is Quit, ProgramEnding or BoardsDiffer): the opponent is
    // told as the seat's Part says, and the seat's timer stops.
    virtual void Leave(GameEnd why) = 0;
    // The timer that brings this seat's ticks: `lantimer` or `inettimer`.
    virtual TimerState& Timer() = 0;
    // The questions before the local player leaves, telling him what leaving costs: `atStake`.
    virtual LeaveAnswer ConfirmLeave(GameAtStake /*atStake*/) { return LeaveAnswer::NotAsked; }
    // Whether a game left in play is counted, lost by the leaver and won by the other.
    virtual bool DepartureCounts() const { return false; }
    virtual bool CarriesChat() const { return true; }
    // Whether the local player may ask for a hint against this opponent: the computer only.
    virtual bool OffersHint() const { return false; }
};

class Match {
  public:
    Match(GameState& s, Services& sv, ResultBook& results);
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    // The seat of the pairing, or none.
    OpponentSeat* seat() const { return seat_; }
    // A host waits at the seat for an opponent.
    bool Waiting() const { return seat_ && waiting_; }
    // A game of the pairing is in play: drops and the opponent's moves are taken.
    bool InPlay() const { return seat_ && !waiting_ && !s_.GameOver; }

    // A host waits at `seat` for an opponent. Any other pairing is left first.
    void Wait(OpponentSeat& seat);
    // A pairing at `seat` of `host` (`FirstPlayer`) and `guest` (`SecondPlayer`): its first game
    // is begun by the host on both programs, whatever either played before. (A `LastStarter`
    // kept for the whole run made two programs with different histories disagree.)
    // Any other pairing is left first; a waiting host's own seat goes on.
    void Pair(OpponentSeat& seat, const std::string& host, const std::string& guest);
    // A game of the pairing begins: an empty board whatever ended the last one, eight letters,
    // the first mover alternating within the pairing, and the seat's timer on.
    void BeginGame();

    // The drop handler of the board holes: the letter lands, the seat gets the move,
    // the word check runs and the turn passes.
    void HoleDragDrop(int hole, int piece);
    // The one way a move of the opponent reaches the board, the computer's included: the letter
    // shows above its column, lands, and the word check runs. A move that comes while this
    // side still shows the last game's end is the first of the next game and waits for it. A
    // move that does not land in the lowest empty hole of its column means the boards differ:
    // the game ends uncounted on both sides (the move goes back, and cannot fit there either).
    // True when the move was played or kept for the next game.
    bool ApplyOpponentMove(const Move& move);

    // The questions before the local player leaves (to quit, or to play another game): false
    // when he answered No. A seat that asked and was answered Yes is left at once.
    bool ConfirmLeave();
    // The local player leaves the pairing, after the questions: a game in play ends as `why`,
    // the seat tells the opponent, the board and the opponent panel are emptied.
    void Leave(GameEnd why = GameEnd::Quit);
    // What the local player leaving now would do to the game in play.
    GameAtStake AtStake() const;
    // Whether the opponent leaving now would count this side a win.
    bool OpponentLeavingCounts() const;
    // The seat ended the pairing by itself (`why`: the opponent left, the connection was lost):
    // a game in play ends, the board and the panel are emptied.
    void SeatEnded(GameEnd why);
    // A host's wait ended without an opponent.
    void StopWaiting();

    // The game-over window: "Yes", the next game of the pairing; "No", no game of any kind, and
    // the opponent is told (the Parts send nothing, and he waited for good).
    void PlayAgain();
    void Decline();
    // The chat line's send: true when the chat box is to be emptied.
    bool Chat(const std::string& line);
    // A tick of `timer`, for the seat that it drives.
    void Tick(const TimerState& timer);
    // A hint may be given now: a game in play against a seat that offers hints, the local
    // player to move. The hint's search is the computer's (`AskForHint` in computer/hint.h).
    bool HintOffered() const;

  private:
    void Take(OpponentSeat& seat, bool waiting);
    // The letter that came to rest in `hole` was checked; true when it ended the game, which
    // is then counted and shown.
    bool Landed(int hole);
    void Record(GameOutcome localOutcome);
    // Ends the game in play by a departure, counting it once when the seat counts departures
    // and the player who left had moved in it (so a declined next game counts on neither side).
    void EndByDeparture(GameEnd why);
    void BoardsDiffer(const Move& move);
    void EndPairing();

    GameState& s_;
    Services& sv_;
    ResultBook& results_;
    OpponentSeat* seat_ = nullptr;
    bool waiting_ = false;
    bool localMoved_ = false, opponentMoved_ = false;  // in the game in play
    std::optional<Move> held_;                         // the first move of the next game
};

}  // namespace gd
