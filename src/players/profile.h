// The player profile file "players.dat": its 1890-byte record, the operations on it, passwords,
// game results and the public profile text sent to a network opponent.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "file_io.h"
#include "game_wire.h"
#include "services.h"
#include "state.h"

namespace gd {

constexpr std::size_t kProfileRecordSize = 1890;
inline const std::string kProfileFileName = "players.dat";
inline const std::string kProfileTempFileName = "players.tmp";

// Field widths of the record's texts.
constexpr std::size_t kNameWidth = 25;
constexpr std::size_t kPasswordWidth = 10;
constexpr std::size_t kLocationWidth = 25;
constexpr std::size_t kUrlWidth = 150;
constexpr std::size_t kSoundWidth = 150;
constexpr std::size_t kBackgroundWidth = 10;
constexpr std::size_t kProxyWidth = 150;
constexpr std::size_t kLanProtocolWidth = 50;

// One record, field by field in file order. Texts read from the file keep their full width
// (blanks included); texts written are cut or filled with blanks to their width. Reserved
// fields are kept as raw bytes: zero in a new record, unchanged through an update.
struct PlayerProfile {
    std::string PlayerName;
    std::string Password;
    std::string Location;
    std::int16_t PhotoMode = 0;
    std::string PictureUrl;
    std::array<std::string, kSoundEventCount> SoundFiles;
    std::string Background;
    std::int16_t UseProxy = 0;
    std::string ProxyAddress;
    std::int16_t UseStoredProtocol = 0;
    std::string LanProtocol;
    std::int16_t Played = 0;
    std::int16_t Won = 0;
    std::int16_t Lost = 0;
    std::int16_t Tied = 0;
    std::string Reserved23 = std::string(150, '\0');
    std::string Reserved24 = std::string(50, '\0');
    std::string Reserved25 = std::string(50, '\0');
    std::int16_t ComputerSkill = 0;
    std::int16_t Reserved27 = 0;
    std::int16_t Reserved28 = 0;
};

// The record's bytes, exactly kProfileRecordSize of them.
std::string EncodeProfile(const PlayerProfile& p);
// Reads a record from `bytes` (at least kProfileRecordSize long) starting at `offset`.
PlayerProfile DecodeProfile(const std::string& bytes, std::size_t offset = 0);

// Where the profile file lies and how it is reached.
struct ProfileFile {
    std::string folder = ".";
    FileIo* io = &SystemFileIo();

    // The path of "players.dat" in the folder, found without regard to letter case.
    std::string Path() const;
    std::string TempPath() const;
    bool Exists() const;
};

// The outcome of an operation that writes the file; `error` says what failed.
struct ProfileWrite {
    bool ok = true;
    std::string error;
};

// A name as its record holds it: trimmed, and cut to the field's width without splitting a
// UTF-8 character.
std::string StoredName(const std::string& name);
// Whether a record's name field holds `name`, both compared as stored. The program writes
// UTF-8; an older file may hold single-byte (Latin-1) letters, which name the same player.
bool NameMatches(const std::string& field, const std::string& name);

// Number of whole records; a trailing partial record does not count.
int CountProfiles(const ProfileFile& f);
// Reads records into `working` until one's name matches `name`; returns its
// number (from 1), or 0 when none matches (or the file is missing or unreadable).
int FindProfile(const ProfileFile& f, const std::string& name, PlayerProfile& working);
// All records in file order; empty when the file is missing or unreadable.
std::vector<PlayerProfile> ReadProfiles(const ProfileFile& f);
// The trimmed names of all records in file order, without the record named "Computer".
std::vector<std::string> ListProfileNames(const ProfileFile& f);
// Writes the working copy: at `record` when it is not 0; appended with zero counters when the
// file exists; else as a new file with the working copy as record 1 and "Computer" as record 2.
ProfileWrite SaveProfile(const ProfileFile& f, PlayerProfile& working, int record);
// Removes every record whose trimmed name equals the trimmed `name`.
ProfileWrite DeleteProfile(const ProfileFile& f, const std::string& name);
// Counts one finished game on the named profile; nothing when there is no such profile.
ProfileWrite RecordGameResult(const ProfileFile& f, const std::string& name, GameOutcome outcome);

// What the game's result hook calls: counts the game and, when the file cannot be written,
// says so in the status list.
void CountFinishedGame(GameState& s, const ProfileFile& f, const std::string& name,
                       GameOutcome outcome);

// A stored password is in force when its trimmed text is longer than 2 characters.
bool PasswordInForce(const std::string& stored);
// The trimmed entry equals the trimmed stored password exactly, letter case included.
bool PasswordMatches(const std::string& entered, const std::string& stored);

// Turns are told apart by the players' names, so two players with one name cannot play each
// other: what the one who tries to join is told.
std::string SameNameRefusal(const std::string& name);

// The public profile as sent to the opponent, and as read back from a received text: the
// wire's play-data block, whose name and location travel encoded, so they arrive as typed.
using wire::PlayData;
using wire::ReadPlayDataBlock;
// The block of a profile: its trimmed name and location and its counters.
std::string BuildPlayDataBlock(const PlayerProfile& p);
// The block of the local player's own record, read from the file just before sending; a
// player without a record sends his name and zero counters.
std::string PlayDataBlock(const ProfileFile& f, const std::string& localPlayer);
// The opponent panel (`Label7` to `Label12`) shows a received public profile.
void ShowOpponentPanel(GameState& s, const PlayData& data);

}  // namespace gd
