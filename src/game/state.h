// The program-wide state: board, piece area, game-state values, opponent panel, status list,
// timers and the current player's settings. One object, owned by the application.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "text.h"
#include "wordlist.h"

namespace gd {

constexpr int kBoardHoles = 42;    // holes 0..41: 7 x row + column, row 0 at the bottom
constexpr int kDropRowFirst = 42;  // holes 42..48: the drop row, 42 + column
constexpr int kHoleCount = 49;
constexpr int kColumns = 7;
constexpr int kRows = 6;
constexpr int kPieceCount = 8;
constexpr int kSoundEventCount = 8;
inline const std::string kEmptyMarker = "xx";
inline const std::string kComputerName = "Computer";
// The sound file of each event for a new profile and before a login, in `SoundEvent` order.
inline const std::array<std::string, kSoundEventCount> kDefaultSoundFiles{
    "sysmess.wav",  "incoming.wav", "sent.wav", "dropped.wav",
    "dropped2.wav", "begin.wav",    "app.wav",  "missed.wav"};

// What a hole or a piece shows. `Blank` is the empty-hole picture; `None` is no picture at all
// (the drop row and the piece area before anything was put there).
enum class Picture { None, Blank, Blue, Red, Yellow };

// A board hole or the `Blank` reference: its picture and its tag ("a".."z", or "xx").
// Picture and tag only ever change together (SetHole / EmptyHole), so they never disagree.
struct Cell {
    Picture picture = Picture::None;
    std::string Tag;
};

// One of `Image1`..`Image8`: the letter, its picture and whether it is shown.
struct Piece {
    Picture picture = Picture::None;
    std::string Tag;
    bool visible = true;
};

// A timer of the main window as the rules see it; the window runs the real timer from it.
struct TimerState {
    bool Enabled = false;
    int Interval = 0;  // milliseconds
};

// The status list `StatusText`: all lines, the first visible line and the selected line.
struct StatusList {
    std::vector<std::string> lines;
    int topIndex = 0;
    int selected = -1;
};

// What `Picture1` (the opponent's photo) shows.
enum class PhotoPicture { Photona, PcPlayer, File };

// The network activity light `light`.
enum class LightPicture { Off, On, Red };

struct GameState {
    // Board: holes 0..48 and the empty-hole reference.
    std::array<Cell, kHoleCount> Hole;
    Cell Blank{Picture::Blank, kEmptyMarker};
    std::array<Piece, kPieceCount> Image;  // Image1..Image8 are Image[0]..Image[7]

    // Game-state values.
    bool GameOver = false;
    bool MoveEndedGame = false;
    std::string CurrentPlayer;
    std::string LocalPlayer;
    std::string FirstPlayer;
    std::string SecondPlayer;
    std::string LastStarter;
    std::string PieceColour = "blue";
    std::string WinningWord;
    // The internet controller's own state: 0 none, 1 game in play, 2 waiting in the waiting
    // room. Which kind of game is in play is the match's seat, not a flag.
    int InternetState = 0;
    int LanSide = 0;
    int ComputerLetter = 99;

    // Application values.
    std::string ProgramVersion = kProgramVersion;
    bool SoundOn = true;
    bool SoundButtonOn = true;  // the picture `soundbutton` shows: soundon (true) or soundoff

    // Opponent panel and turn caption: Label7 name, Label8 location, Label9..Label12 Played,
    // Won, Lost, Tied; Label13 the turn caption.
    std::string Label7, Label8, Label9, Label10, Label11, Label12, Label13;
    PhotoPicture Picture1 = PhotoPicture::Photona;
    // The shown photo's bytes when Picture1 is File: the downloaded file is deleted once shown,
    // so the photo itself is held. The serial changes with every new photo.
    std::string Picture1Data;
    int Picture1Serial = 0;
    LightPicture light = LightPicture::Off;

    StatusList StatusText;
    TimerState lantimer{false, 50};
    TimerState inettimer{false, 10000};

    // Set once the program is to end: a handler that may end it stops at once.
    bool ProgramEnding = false;

    // Current-player values, copied from the profile at login.
    std::string LocalLocation;
    std::string CurrentPictureUrl;
    std::string BackgroundFile;
    std::array<std::string, kSoundEventCount> CurrentSoundFiles = kDefaultSoundFiles;
    int CurrentComputerSkill = 2;  // 1 Beginner, 2 Normal, 3 Master
    bool ProxyFlag = false;
    std::string CurrentProxyAddress;
    std::string CurrentLanProtocol;

    // The dictionary in memory.
    WordList Words;
    std::string WordListFile = "wordlist.dic";
    // The player profiles, beside the program.
    std::string PlayersFile = "players.dat";
};

}  // namespace gd
