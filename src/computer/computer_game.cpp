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

bool ConfirmLeaveInternetPlay(GameState& s, Services& sv) {
    if (s.InternetState == 1) {
        if (!sv.prompt.YesNo("You are currently playing an internet game. If you quit during "
                             "play, the game will score as a loss for you.\n\nDo you wish to "
                             "cancel current game and score a loss?",
                             "Quit Game In Play!"))
            return false;
        sv.hooks.RecordGameResult(s.LocalPlayer, GameOutcome::Loss);
        sv.hooks.EndInternetGame();
    } else if (s.InternetState == 2) {
        if (!sv.prompt.YesNo("You are currently waiting for an internet opponent.\n\nDo you "
                             "wish to exit the waiting room?",
                             "Exit Waiting Room?"))
            return false;
        s.InternetState = 0;
        s.inettimer.Enabled = false;
        AddStatusLine(s, "You have exited the internet waiting room.");
        AddStatusLine(s, "Ready.");
        sv.hooks.ExitWaitingRoom();
    }
    return true;
}

bool StartComputerGame(GameState& s, Services& sv) {
    if (!ConfirmLeaveInternetPlay(s, sv)) return false;
    ClearBoard(s);
    s.FirstPlayer = s.LocalPlayer;
    s.PieceColour = "blue";
    s.LanSide = 1;
    s.SecondPlayer = kComputerName;
    s.ComputerGame = true;
    s.Label7 = kComputerName;
    s.Label8 = kComputerLocation;
    s.Picture1 = PhotoPicture::PcPlayer;
    s.lantimer.Enabled = true;
    ShowComputerCounters(s);
    BeginPairing(s);
    NewGame(s, sv);
    return true;
}

bool LanTimerTick(GameState& s, Services& sv) {
    if (!s.ComputerGame) return false;
    if (s.CurrentPlayer == s.SecondPlayer) ComputerMove(s, sv);
    return true;
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

void PlayMoreYes(GameState& s, Services& sv) {
    ClearBoard(s);
    NewGame(s, sv);
}

void PlayMoreNo(GameState& s) {
    s.InternetState = 0;
    s.LanGame = false;
    s.ComputerGame = false;
    ClearBoard(s);
    s.Picture1 = PhotoPicture::Photona;
    for (std::string* label :
         {&s.Label7, &s.Label8, &s.Label9, &s.Label10, &s.Label11, &s.Label12, &s.Label13})
        label->clear();
    AddStatusLine(s, "Ready");
}

}  // namespace gd
