// The game against the computer: starting it, the turn timer, and the game-over window that
// every kind of game shows at its end.
#pragma once

#include <string>

#include "services.h"
#include "state.h"

namespace gd {

inline const std::string kComputerLocation = "Silicon Valley";

// The questions before leaving internet play (quitting, or starting another game): with an
// internet game in play, confirm and count it lost; in the waiting room, confirm and leave it.
// Returns false when the player answered No: then nothing has changed.
bool ConfirmLeaveInternetPlay(GameState& s, Services& sv);

// "Play Against Computer": sets up the pairing with the computer and starts the game. Returns
// false when the player chose to stay in internet play; the menu window closes otherwise.
bool StartComputerGame(GameState& s, Services& sv);

// A tick of `lantimer`. In a game against the computer it makes the computer's move when it is
// the computer's turn, and returns true; otherwise the tick belongs to the LAN game.
bool LanTimerTick(GameState& s, Services& sv);

// The result line `Label1` of the game-over window.
struct ResultLine {
    std::string text;
    bool centred = false;
};
ResultLine PlayMoreResultLine(const GameState& s);

// The game-over window's "Yes": the next game of the same pairing. The window then closes.
void PlayMoreYes(GameState& s, Services& sv);
// The game-over window's "No": no game of any kind is in progress any more. The window then
// closes.
void PlayMoreNo(GameState& s);

}  // namespace gd
