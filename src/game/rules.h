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

// Shows letter 0..25 in `picture` in the drop-row hole above `column`, repainted at once, then
// pauses, so that a player sees the opponent's letter before it lands.
void ShowAboveColumn(GameState& s, Services& sv, int letter, Picture picture, int column);
// The one way an opponent's move from the network reaches the board: the move text is decoded
// and must land in the lowest empty hole of its column; then the letter shows above the column,
// lands, and the turn comes back to the local player. A refused move changes nothing but a
// status line. True when the move was applied.
bool ApplyOpponentMove(GameState& s, Services& sv, const std::string& text, MoveForm form);

// Ends the program at once: the hook quits, and `ProgramEnding` tells the running handler to
// stop before its next step.
void EndProgramNow(GameState& s, Services& sv);

// `Picture1` shows a photo from the bytes of its file, which the caller may then delete.
void ShowPhoto(GameState& s, std::string bytes);

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

// What closing the main window forgets: its elements (board, pieces, opponent panel, turn
// caption, photo, light, status list) and its timers go back to how they were designed; the
// program-wide game values stay for the whole run.
void UnloadMainWindow(GameState& s);

// Empties board and piece area after a finished game; does nothing while a game is in play.
void ClearBoard(GameState& s);
// A new pairing: its first game is begun by its host, `FirstPlayer`, on both programs, whatever
// either played before. (Part 1.4 keeps `LastStarter` for the whole run; two programs with
// different histories then disagree about who moves first.)
void BeginPairing(GameState& s);
// Empties the board, deals eight letters, starts the opponent's timer and decides who moves
// first. (Part 1.4 leaves the board as it is; a game left unfinished then put its letters under
// the next one.)
void NewGame(GameState& s, Services& sv);
// Draws a letter number 0..25 uniformly from the generator.
int DrawLetter(Services& sv);

}  // namespace gd
