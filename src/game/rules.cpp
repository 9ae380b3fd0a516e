// Dropping a letter, word detection, game end and new games.
#include "rules.h"

#include <cassert>
#include <cstdlib>
#include <utility>

#include "board.h"
#include "files.h"

namespace gd {

namespace {

constexpr int kVisibleStatusLines = 4;

bool IsVowel(int n) {
    return n == 0 || n == 4 || n == 8 || n == 14 || n == 20;
}
bool IsVowelTag(const std::string& tag) {
    return IsVowel(LetterNumber(tag));
}

// Maps a consonant to a vowel by range, as the refill does for a piece area without vowels.
int VowelByRange(int n) {
    if (n <= 5) return 0;
    if (n <= 10) return 4;
    if (n <= 15) return 8;
    if (n <= 20) return 14;
    return 20;
}

void GiveLetterToPiece(GameState& s, Piece& piece, int n) {
    piece.picture = PieceColourPicture(s.PieceColour);
    piece.Tag = LetterOf(n);
    piece.visible = true;
}

// The full board without a word.
void GameDrawn(GameState& s) {
    s.MoveEndedGame = true;
    s.GameOver = true;
    if (s.lantimer.Enabled) s.lantimer.Enabled = false;
    s.WinningWord = "";
}

// The word-found path: runs once for every entry of the word list that matched.
void WordFound(GameState& s, const std::string& word) {
    s.MoveEndedGame = true;
    s.GameOver = true;
    AddStatusLine(
        s, s.CurrentPlayer + " made word " + word + ". Game Over. Winner is " + s.CurrentPlayer);
    s.WinningWord = word;
    s.Label13 = "Game Over";
    if (s.lantimer.Enabled) s.lantimer.Enabled = false;
}

bool AllPiecesVisible(const GameState& s) {
    for (const Piece& piece : s.Image)
        if (!piece.visible) return false;
    return true;
}

}  // namespace

void AddStatusLine(GameState& s, const std::string& text) {
    StatusList& list = s.StatusText;
    list.lines.push_back(text);
    const int count = static_cast<int>(list.lines.size());
    if (count > kVisibleStatusLines) list.topIndex = count - kVisibleStatusLines;
    list.selected = count - 1;
}

std::string ShortenForStatus(const std::string& text) {
    constexpr std::size_t kMaxShown = 64;
    return text.size() <= kMaxShown ? text : text.substr(0, kMaxShown) + "...";
}

void RefuseMoveText(GameState& s, const std::string& text) {
    AddStatusLine(s, "Move refused: " + ShortenForStatus(text));
}

void PlayEventSound(const GameState& s, Services& sv, const std::string& file) {
    if (s.SoundOn) sv.sound.Play(file);
}

void PlaySound(const GameState& s, Services& sv, SoundEvent event) {
    PlayEventSound(s, sv, s.CurrentSoundFiles[static_cast<int>(event)]);
}

void SoundButtonClick(GameState& s, Services& sv) {
    if (!s.SoundButtonOn) {
        s.SoundButtonOn = true;
        AddStatusLine(s, "System Message: Sound On");
        s.SoundOn = true;
        PlaySound(s, sv, SoundEvent::IncomingSystemMessage);
    } else {
        s.SoundButtonOn = false;
        AddStatusLine(s, "System Message: Sound Off");
        s.SoundOn = false;
    }
}

void CancelPieceDrag(GameState& s, Services& sv) {
    for (Piece& piece : s.Image)
        piece.visible = true;
    PlaySound(s, sv, SoundEvent::GamePlayError);
}

int DrawLetter(Services& sv) {
    const int n = static_cast<int>(26 * sv.random.Next() + 1) - 1;
    assert(n >= 0 && n < 26);
    return n;
}

int ChooseNewLetter(const GameState& s, Services& sv, const std::string& dropped) {
    int vowels = 0;
    for (const Piece& piece : s.Image)
        if (IsVowelTag(piece.Tag)) ++vowels;
    if (IsVowelTag(dropped)) --vowels;

    int n;
    for (;;) {
        sv.random.Reseed();
        n = DrawLetter(sv);
        if (LetterOf(n) == dropped) continue;
        if (vowels > 3 && IsVowel(n)) continue;
        break;
    }
    if (vowels == 0 && !IsVowel(n)) n = VowelByRange(n);
    return n;
}

void PassTurn(GameState& s) {
    s.CurrentPlayer = s.FirstPlayer != s.CurrentPlayer ? s.FirstPlayer : s.SecondPlayer;
}

std::optional<Move> PlaceLetter(GameState& s, Services& sv, int hole, int piece) {
    assert(hole >= 0 && hole < kHoleCount && piece >= 0 && piece < kPieceCount);
    if (AllPiecesVisible(s)) {
        AddStatusLine(s, "OOPS! You grabbed a game piece before your turn. Try again!");
        CancelPieceDrag(s, sv);
        return std::nullopt;
    }
    const Piece dragged = s.Image[piece];
    if (dragged.picture == s.Blank.picture) {
        CancelPieceDrag(s, sv);
        return std::nullopt;
    }
    s.MoveEndedGame = false;
    if (s.GameOver) {
        AddStatusLine(s, "Player Error: This game is over!");
        CancelPieceDrag(s, sv);
        return std::nullopt;
    }
    if (s.LocalPlayer != s.CurrentPlayer) {
        AddStatusLine(s, "Player Error: It's Not your turn. Please wait!");
        CancelPieceDrag(s, sv);
        return std::nullopt;
    }
    const std::string letter = Trim(dragged.Tag);
    if (hole >= kDropRowFirst) hole -= kColumns;
    // Only a real letter can go on the board; a piece without one goes back like a full column.
    if (!IsHoleEmpty(s, hole) || LetterNumber(letter) < 0 || dragged.picture == Picture::None) {
        CancelPieceDrag(s, sv);
        return std::nullopt;
    }

    s.Hole[hole] = Cell{dragged.picture, letter};
    const int landing = LetFall(s, hole);
    PlaySound(s, sv, SoundEvent::YourPieceDrop);

    const int n = ChooseNewLetter(s, sv, letter);
    for (Piece& slot : s.Image)
        if (!slot.visible) GiveLetterToPiece(s, slot, n);
    return Move{letter[0], landing};
}

void ShowAboveColumn(GameState& s, Services& sv, int letter, Picture picture, int column) {
    const int dropCell = kDropRowFirst + column;
    SetHole(s, dropCell, LetterOf(letter), picture);
    sv.hooks.RepaintHole(dropCell);
    sv.pause.Pause();
}

void EndProgramNow(GameState& s, Services& sv) {
    s.ProgramEnding = true;
    sv.hooks.EndProgram();
}

void ShowPhoto(GameState& s, std::string bytes) {
    s.Picture1 = PhotoPicture::File;
    s.Picture1Data = std::move(bytes);
    ++s.Picture1Serial;
}

WordCheck CheckForWord(GameState& s, Services& sv, int hole) {
    assert(hole >= 0 && hole < kBoardHoles);
    for (const WordWindow& window : kWordWindows) {
        if (!WindowFits(window, hole)) continue;
        const auto holes = WindowHoles(window, hole);
        std::string word;
        bool complete = true;
        for (int h : holes) {
            if (s.Hole[h].Tag == kEmptyMarker) complete = false;
            word += s.Hole[h].Tag;
        }
        if (!complete) continue;
        CheckWord(s, sv, word);
        if (s.GameOver) {
            ShowWinningWord(s, holes);
            return WordCheck::Word;
        }
    }
    if (BoardHasRoom(s)) return WordCheck::None;
    GameDrawn(s);
    return WordCheck::Draw;
}

void CheckWord(GameState& s, Services& /*sv*/, const std::string& word) {
    const int matches = s.Words.Matches(word);
    for (int i = 0; i < matches; ++i)
        WordFound(s, word);
}

void IncrementCaption(std::string& caption) {
    // The caption's leading number, as a number is read from a label; anything else counts 0.
    const long value = std::strtol(Trim(caption).c_str(), nullptr, 10);
    caption = std::to_string(value + 1);
}

void ShowWinningWord(GameState& s, const std::array<int, 4>& holes) {
    for (int h : holes) {
        if (LetterNumber(s.Hole[h].Tag) >= 0) s.Hole[h].picture = Picture::Yellow;
    }
}

void LoadMainWindow(GameState& s, Services& sv) {
    AddStatusLine(s, "");
    AddStatusLine(s, "Welcome " + s.LocalPlayer + ".   Click Menu to begin play.");
    s.SoundOn = true;
    s.PieceColour = "blue";
    s.Picture1 = PhotoPicture::Photona;
    if (FileExists(s.WordListFile))
        LoadWordList(s.Words, FindFileNoCase(s.WordListFile));
    else
        sv.prompt.Message("Error! Word List File Not Found.", "File Not Found");
    for (int h = 0; h < kBoardHoles; ++h)
        EmptyHole(s, h);
}

void UnloadMainWindow(GameState& s) {
    const GameState design;
    s.Hole = design.Hole;
    s.Image = design.Image;
    for (std::string* label :
         {&s.Label7, &s.Label8, &s.Label9, &s.Label10, &s.Label11, &s.Label12, &s.Label13})
        label->clear();
    s.Picture1 = design.Picture1;
    s.Picture1Data.clear();
    s.light = design.light;
    s.SoundButtonOn = design.SoundButtonOn;
    s.StatusText = design.StatusText;
    s.lantimer = design.lantimer;
    s.inettimer = design.inettimer;
}

void ClearBoard(GameState& s) {
    if (!s.GameOver) return;
    for (int h = 0; h < kBoardHoles; ++h)
        EmptyHole(s, h);
    for (Piece& piece : s.Image) {
        piece.picture = s.Blank.picture;
        piece.Tag = s.Blank.Tag;
    }
    s.GameOver = false;
}

void NewGame(GameState& s, Services& sv) {
    for (int h = 0; h < kBoardHoles; ++h)
        EmptyHole(s, h);
    s.GameOver = false;
    s.MoveEndedGame = false;
    sv.random.Reseed();
    for (Piece& piece : s.Image)
        GiveLetterToPiece(s, piece, DrawLetter(sv));
    s.CurrentPlayer = s.FirstPlayer != s.LastStarter ? s.FirstPlayer : s.SecondPlayer;
    s.LastStarter = s.CurrentPlayer;
    s.Label13 = s.CurrentPlayer == s.LocalPlayer ? "Your Turn!" : "Opponents Turn!";
    s.Label7 = s.FirstPlayer == s.LocalPlayer ? s.SecondPlayer : s.FirstPlayer;
}

}  // namespace gd
