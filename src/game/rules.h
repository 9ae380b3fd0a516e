// The game's rules: the status list, sounds, dropping a letter, word detection, game end and
// starting a new game. Windows call these and then show the state.
#pragma once

#include <array>
#include <string>

#include "move.h"
#include "services.h"
#include "state.h"

namespace gd {

// Status list: appends a line, keeps the last four in view and selects the newest.
void AddStatusLine(GameState& s, const std::string& text);

// Plays `file` when sound is on.
void PlayEventSound(const GameState& s, Services& sv, const std::string& file);
// Plays the current player's file for `event`.
void PlaySound(const GameState& s, Services& sv, SoundEvent event);
// `soundbutton` click: switches event sounds on or off.
void SoundButtonClick(GameState& s, Services& sv);

// Puts every piece back in view and plays the error sound; ends every refused drop.
void CancelPieceDrag(GameState& s, Services& sv);
// The drop handler of the board holes: the local player released piece 0..7 over hole 0..48.
void HoleDragDrop(GameState& s, Services& sv, int hole, int piece);
// The new letter (0..25) for the piece area after `dropped` was played.
int ChooseNewLetter(const GameState& s, Services& sv, const std::string& dropped);
// Hands the turn to the other player of the pairing.
void PassTurn(GameState& s);

// Checks the 13 windows through the hole where a letter came to rest; ends the game on the
// first word, or as a draw when the board is full.
void CheckForWord(GameState& s, Services& sv, int hole);
// The game's word test: each matching entry of the word list ends the game with `word`.
void CheckWord(GameState& s, Services& sv, const std::string& word);
// Paints the found word yellow, counts the game in the opponent panel and the profile file,
// and shows the game-over window.
void ShowWinningWord(GameState& s, Services& sv, const std::array<int, 4>& holes);
// Reads a counter caption as a number, adds one and writes it back.
void IncrementCaption(std::string& caption);

// Empties board and piece area after a finished game; does nothing while a game is in play.
void ClearBoard(GameState& s);
// Deals eight letters, starts the opponent's timer and decides who moves first.
void NewGame(GameState& s, Services& sv);
// Ends the program at once: marks the state and calls the hook.
void EndProgramNow(GameState& s, Services& sv);
// The opponent's move as received: shown above its column, a pause, landed and checked; a text
// the codec refuses or a hole that is not the lowest empty one of its column is refused.
bool ApplyOpponentMove(GameState& s, Services& sv, const std::string& text, MoveForm form);
// Draws a letter number 0..25 uniformly from the generator.
int DrawLetter(Services& sv);

}  // namespace gd
