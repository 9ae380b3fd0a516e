// The game against the computer: the computer's seat (its pairing and its turns) and the result
// line of the game-over window that every kind of game shows at its end.
#pragma once

#include <string>

#include "match.h"
#include "services.h"
#include "state.h"

namespace gd {

inline const std::string kComputerLocation = "Silicon Valley";

// The computer as an opponent: its turn comes with a tick of `lantimer`.
class ComputerSeat : public OpponentSeat {
  public:
    ComputerSeat(GameState& s, Services& sv, Match& match) : s_(s), sv_(sv), match_(match) {}

    // "Play Against Computer": after the questions for leaving internet play, a pairing with the
    // computer, the local player its host, and its first game. False when the player chose to
    // stay; the menu window closes otherwise.
    bool Start();

    // Our move needs no sending: the computer sees the board.
    void SendMove(const Move&) override {}
    // When it is the computer's turn, it chooses and the match plays its move.
    void Tick() override;
    bool Chat(const std::string&) override { return false; }
    bool CarriesChat() const override { return false; }
    void Leave(GameEnd) override { s_.lantimer.Enabled = false; }
    TimerState& Timer() override { return s_.lantimer; }
    bool OffersHint() const override { return true; }

  private:
    GameState& s_;
    Services& sv_;
    Match& match_;
};

// The result line `Label1` of the game-over window.
struct ResultLine {
    std::string text;
    bool centred = false;
};
ResultLine PlayMoreResultLine(const GameState& s);

}  // namespace gd
