// The game's rules: the status list, sounds, dropping a letter, word detection, game end and
// starting a new game. Windows call these and then show the state.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "move.h"
#include "services.h"
#include "state.h"

namespace gd {

// Status list: appends a line, keeps the last four in view and selects the newest.
void AddStatusLine(GameState& s, const std::string& text);

// A text from outside as a status line shows it: a hostile length is cut.
std::string ShortenForStatus(const std::string& text);
// The status line for a move text that the move codec refused; nothing else changes.
void RefuseMoveText(GameState& s, const std::string& text);

// Plays `file` when sound is on.
void PlayEventSound(const GameState& s, Services& sv, const std::string& file);
// Plays the current player's file for `event`.
void PlaySound(const GameState& s, Services& sv, SoundEvent event);
// `soundbutton` click: switches event sounds on or off.
void SoundButtonClick(GameState& s, Services& sv);

// Puts every piece back in view and plays the error sound; ends every refused drop.
void CancelPieceDrag(GameState& s, Services& sv);
// The local player released piece 0..7 over hole 0..48: the steps of the drop handler up to the
// hand-off to the match. A refused drop says why and gives nothing; an accepted one
// has landed, refilled the piece and gives the move. The match's `HoleDragDrop` goes on.
std::optional<Move> PlaceLetter(GameState& s, Services& sv, int hole, int piece);
// The new letter (0..25) for the piece area after `dropped` was played.
int ChooseNewLetter(const GameState& s, Services& sv, const std::string& dropped);
// Hands the turn to the other player of the pairing.
void PassTurn(GameState& s);

// Shows letter 0..25 in `picture` in the drop-row hole above `column`, repainted at once, then
// pauses, so that a player sees the opponent's letter before it lands.
void ShowAboveColumn(GameState& s, Services& sv, int letter, Picture picture, int column);

// Ends the program at once: the hook quits, and `ProgramEnding` tells the running handler to
// stop before its next step.
void EndProgramNow(GameState& s, Services& sv);

// `Picture1` shows a photo from the bytes of its file, which the caller may then delete.
void ShowPhoto(GameState& s, std::string bytes);

// What a letter that came to rest decided.
enum class WordCheck { None, Word, Draw };
// Checks the 13 windows through the hole where a letter came to rest; ends the game on the
// first word (painted yellow), or as a draw when the board is full. Counting the game is the
// match's.
WordCheck CheckForWord(GameState& s, Services& sv, int hole);
// The game's word test: each matching entry of the word list ends the game with `word`.
void CheckWord(GameState& s, Services& sv, const std::string& word);
// Paints the found word yellow.
void ShowWinningWord(GameState& s, const std::array<int, 4>& holes);
// Reads a counter caption as a number, adds one and writes it back.
void IncrementCaption(std::string& caption);

// The main window's load steps on the state: the welcome lines, sound on, blue
// letters, no photo, the word list (a message when its file is missing) and an empty board.
void LoadMainWindow(GameState& s, Services& sv);
// What closing the main window forgets: its elements (board, pieces, opponent panel, turn
// caption, photo, light, status list) and its timers go back to how they were designed; the
// program-wide game values stay for the whole run.
void UnloadMainWindow(GameState& s);

// Empties board and piece area after a finished game; does nothing while a game is in play.
void ClearBoard(GameState& s);
// Empties the board, deals eight letters and decides who moves first, alternating within a
// pairing. (A board left as it was would put the letters of an unfinished game under the
// next one.) The match starts the opponent's timer.
void NewGame(GameState& s, Services& sv);
// Draws a letter number 0..25 uniformly from the generator.
int DrawLetter(Services& sv);

}  // namespace gd
