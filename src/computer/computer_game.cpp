// Setting up the game against the computer, its turn timer and the game-over window.
#include "computer_game.h"

#include <filesystem>

#include "board.h"
#include "computer.h"
#include "files.h"
#include "profile.h"
#include "rules.h"

namespace gd {

namespace {

// The computer's counters from its own profile; without the file or the record the panel
// keeps what it showed.
void ShowComputerCounters(GameState& s) {
    const std::filesystem::path path(s.PlayersFile);
    const ProfileFile file{path.has_parent_path() ? path.parent_path().string() : "."};
    PlayerProfile computer;
    if (FindProfile(file, kComputerName, computer) == 0) return;
    s.Label9 = std::to_string(computer.Played);
    s.Label10 = std::to_string(computer.Won);
    s.Label11 = std::to_string(computer.Lost);
    s.Label12 = std::to_string(computer.Tied);
}

}  // namespace

bool ComputerSeat::Start() {
    if (!match_.ConfirmLeave()) return false;
    match_.Pair(*this, s_.LocalPlayer, kComputerName);
    s_.PieceColour = "blue";
    s_.LanSide = 1;
    s_.Label7 = kComputerName;
    s_.Label8 = kComputerLocation;
    s_.Picture1 = PhotoPicture::PcPlayer;
    ShowComputerCounters(s_);
    match_.BeginGame();
    return true;
}

void ComputerSeat::Tick() {
    if (!match_.InPlay() || s_.CurrentPlayer != s_.SecondPlayer) return;
    if (const std::optional<Move> move = ComputerMove(s_, sv_)) match_.ApplyOpponentMove(*move);
}

ResultLine PlayMoreResultLine(const GameState& s) {
    if (!BoardHasRoom(s) && s.WinningWord.empty()) return {"Game Over. No Winner.", true};
    std::optional<Definition> found;
    if (FileExists(s.WordListFile))
        found = LookUpDefinition(FindFileNoCase(s.WordListFile), s.WinningWord);
    const Definition shown = found.value_or(Definition{});
    return {"Winner is " + s.CurrentPlayer + " with word: " + shown.word + " - " + shown.definition,
            false};
}

}  // namespace gd
