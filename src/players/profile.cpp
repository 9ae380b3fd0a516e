// Reading and writing "players.dat". Every change is written to "players.tmp", flushed to the
// disk and renamed over "players.dat", so a crash leaves either the old or the new file whole.
#include "profile.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <string_view>

#include "files.h"
#include "rules.h"
#include "text.h"
#include "wordlist.h"

namespace gd {
namespace {

constexpr std::int16_t kMaxCount = 32767;

void PutText(std::string& out, const std::string& value, std::size_t width, char fill = ' ') {
    const std::string cut = value.substr(0, std::min(value.size(), width));
    out += cut;
    out.append(width - cut.size(), fill);
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// At most `width` bytes of `text`, ending on a character boundary when it is UTF-8.
std::string CutAtCharacter(const std::string& text, std::size_t width) {
    if (text.size() <= width) return text;
    std::size_t end = width;
    while (end > 0 && IsContinuation(text[end]) && width - end < 3)
        --end;
    return text.substr(0, IsContinuation(text[end]) ? width : end);
}

// The length of the UTF-8 character that starts with `lead`; 0 if no character starts so.
std::size_t CharacterLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(static_cast<unsigned char>(text[at]));
        if (length == 0 || at + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i)
            if (!IsContinuation(text[at + i])) return false;
        at += length;
    }
    return true;
}

// The text in UTF-8: as it is when it is UTF-8, else read as Latin-1, as the windows show it.
std::string AsUtf8(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

void PutInt(std::string& out, std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

// Reads the record's fields in order from a cursor.
struct Reader {
    const std::string& bytes;
    std::size_t pos;
    std::string Text(std::size_t width) {
        const std::string v = bytes.substr(pos, width);
        pos += width;
        return v;
    }
    std::int16_t Int() {
        const auto lo = static_cast<unsigned char>(bytes[pos]);
        const auto hi = static_cast<unsigned char>(bytes[pos + 1]);
        pos += 2;
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
};

int WholeRecords(const std::string& bytes) {
    return static_cast<int>(bytes.size() / kProfileRecordSize);
}

std::size_t RecordOffset(int record) {
    return static_cast<std::size_t>(record - 1) * kProfileRecordSize;
}

// Decodes records 1, 2, ... of `bytes` into `working` until the name matches.
int FindIn(const std::string& bytes, const std::string& name, PlayerProfile& working) {
    const int count = WholeRecords(bytes);
    for (int record = 1; record <= count; ++record) {
        working = DecodeProfile(bytes, RecordOffset(record));
        if (NameMatches(working.PlayerName, name)) return record;
    }
    return 0;
}

std::int16_t AddOne(std::int16_t count) {
    return count < kMaxCount ? static_cast<std::int16_t>(count + 1) : kMaxCount;
}

ProfileWrite Failed(const std::string& error) {
    return ProfileWrite{false, error};
}

// Reads the file for a change; a file that exists but cannot be read must not be replaced.
bool ReadForChange(const ProfileFile& f, FileRead& read, ProfileWrite& failure) {
    read = f.io->Read(f.Path());
    if (read.ok) return true;
    failure = Failed(read.error);
    return false;
}

// Replaces the profile file by `bytes`: written to the temporary file record by record, flushed,
// renamed over the profile file, and the folder flushed so that the rename itself is on disk.
ProfileWrite ReplaceProfileFile(const ProfileFile& f, const std::string& bytes) {
    FileIo& io = *f.io;
    const std::string temp = f.TempPath();
    const int handle = io.Create(temp);
    if (handle < 0) return Failed(io.LastError());
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += kProfileRecordSize) {
        const std::size_t size = std::min(kProfileRecordSize, bytes.size() - at);
        ok = io.Write(handle, bytes.data() + at, size);
    }
    ok = ok && io.Sync(handle);
    std::string error = ok ? "" : io.LastError();
    if (!io.Close(handle) && ok) {
        ok = false;
        error = io.LastError();
    }
    if (!ok) {
        io.Remove(temp);
        return Failed(error);
    }
    if (!io.Rename(temp, f.Path())) {
        error = io.LastError();
        io.Remove(temp);
        return Failed(error);
    }
    if (!io.SyncFolder(f.folder)) return Failed(io.LastError());
    return {};
}

}  // namespace

std::string EncodeProfile(const PlayerProfile& p) {
    std::string out;
    out.reserve(kProfileRecordSize);
    PutText(out, CutAtCharacter(p.PlayerName, kNameWidth), kNameWidth);
    PutText(out, p.Password, kPasswordWidth);
    PutText(out, p.Location, kLocationWidth);
    PutInt(out, p.PhotoMode);
    PutText(out, p.PictureUrl, kUrlWidth);
    for (const auto& file : p.SoundFiles)
        PutText(out, file, kSoundWidth);
    PutText(out, p.Background, kBackgroundWidth);
    PutInt(out, p.UseProxy);
    PutText(out, p.ProxyAddress, kProxyWidth);
    PutInt(out, p.UseStoredProtocol);
    PutText(out, p.LanProtocol, kLanProtocolWidth);
    PutInt(out, p.Played);
    PutInt(out, p.Won);
    PutInt(out, p.Lost);
    PutInt(out, p.Tied);
    PutText(out, p.Reserved23, 150, '\0');
    PutText(out, p.Reserved24, 50, '\0');
    PutText(out, p.Reserved25, 50, '\0');
    PutInt(out, p.ComputerSkill);
    PutInt(out, p.Reserved27);
    PutInt(out, p.Reserved28);
    assert(out.size() == kProfileRecordSize);
    return out;
}

PlayerProfile DecodeProfile(const std::string& bytes, std::size_t offset) {
    assert(bytes.size() >= offset + kProfileRecordSize);
    Reader in{bytes, offset};
    PlayerProfile p;
    p.PlayerName = in.Text(kNameWidth);
    p.Password = in.Text(kPasswordWidth);
    p.Location = in.Text(kLocationWidth);
    p.PhotoMode = in.Int();
    p.PictureUrl = in.Text(kUrlWidth);
    for (auto& file : p.SoundFiles)
        file = in.Text(kSoundWidth);
    p.Background = in.Text(kBackgroundWidth);
    p.UseProxy = in.Int();
    p.ProxyAddress = in.Text(kProxyWidth);
    p.UseStoredProtocol = in.Int();
    p.LanProtocol = in.Text(kLanProtocolWidth);
    p.Played = in.Int();
    p.Won = in.Int();
    p.Lost = in.Int();
    p.Tied = in.Int();
    p.Reserved23 = in.Text(150);
    p.Reserved24 = in.Text(50);
    p.Reserved25 = in.Text(50);
    p.ComputerSkill = in.Int();
    p.Reserved27 = in.Int();
    p.Reserved28 = in.Int();
    assert(in.pos == offset + kProfileRecordSize);
    return p;
}

std::string StoredName(const std::string& name) {
    return Trim(CutAtCharacter(Trim(name), kNameWidth));
}

bool NameMatches(const std::string& field, const std::string& name) {
    return StoredName(AsUtf8(field)) == StoredName(AsUtf8(name));
}

std::string ProfileFile::Path() const {
    return FindFileNoCase(folder + "/" + kProfileFileName);
}
std::string ProfileFile::TempPath() const {
    return FindFileNoCase(folder + "/" + kProfileTempFileName);
}
bool ProfileFile::Exists() const {
    return FileExists(Path());
}

int CountProfiles(const ProfileFile& f) {
    return WholeRecords(f.io->Read(f.Path()).bytes);
}

int FindProfile(const ProfileFile& f, const std::string& name, PlayerProfile& working) {
    return FindIn(f.io->Read(f.Path()).bytes, name, working);
}

std::vector<PlayerProfile> ReadProfiles(const ProfileFile& f) {
    const std::string bytes = f.io->Read(f.Path()).bytes;
    std::vector<PlayerProfile> all;
    for (int record = 1; record <= WholeRecords(bytes); ++record)
        all.push_back(DecodeProfile(bytes, RecordOffset(record)));
    return all;
}

std::vector<std::string> ListProfileNames(const ProfileFile& f) {
    std::vector<std::string> names;
    for (const auto& p : ReadProfiles(f)) {
        const std::string name = Trim(p.PlayerName);
        if (name != kComputerName) names.push_back(name);
    }
    return names;
}

ProfileWrite SaveProfile(const ProfileFile& f, PlayerProfile& working, int record) {
    FileRead read;
    ProfileWrite failure;
    if (!ReadForChange(f, read, failure)) return failure;
    std::string bytes = read.bytes;
    const int count = WholeRecords(bytes);
    if (record > 0 && record <= count) {
        bytes.replace(RecordOffset(record), kProfileRecordSize, EncodeProfile(working));
    } else if (read.exists) {
        // Appended as record count + 1; a partial record after the whole ones stays behind it.
        working.Played = working.Won = working.Lost = working.Tied = 0;
        bytes.insert(RecordOffset(count + 1), EncodeProfile(working));
    } else {
        bytes = EncodeProfile(working);
        PlayerProfile computer = working;
        computer.PlayerName = kComputerName;
        computer.Played = computer.Won = computer.Lost = computer.Tied = 0;
        bytes += EncodeProfile(computer);
    }
    return ReplaceProfileFile(f, bytes);
}

ProfileWrite DeleteProfile(const ProfileFile& f, const std::string& name) {
    FileRead read;
    ProfileWrite failure;
    if (!ReadForChange(f, read, failure)) return failure;
    const int count = WholeRecords(read.bytes);
    std::string kept;
    for (int record = 1; record <= count; ++record) {
        const std::string one = read.bytes.substr(RecordOffset(record), kProfileRecordSize);
        if (!NameMatches(DecodeProfile(one).PlayerName, name)) kept += one;
    }
    kept += read.bytes.substr(RecordOffset(count + 1));
    return ReplaceProfileFile(f, kept);
}

ProfileWrite RecordGameResult(const ProfileFile& f, const std::string& name, GameOutcome outcome) {
    FileRead read;
    ProfileWrite failure;
    if (!ReadForChange(f, read, failure)) return failure;
    PlayerProfile working;
    const int record = FindIn(read.bytes, name, working);
    if (record == 0) return {};
    working.Played = AddOne(working.Played);
    switch (outcome) {
        case GameOutcome::Win:
            working.Won = AddOne(working.Won);
            break;
        case GameOutcome::Loss:
            working.Lost = AddOne(working.Lost);
            break;
        case GameOutcome::Tie:
            working.Tied = AddOne(working.Tied);
            break;
    }
    std::string bytes = read.bytes;
    bytes.replace(RecordOffset(record), kProfileRecordSize, EncodeProfile(working));
    return ReplaceProfileFile(f, bytes);
}

void CountFinishedGame(GameState& s, const ProfileFile& f, const std::string& name,
                       GameOutcome outcome) {
    const ProfileWrite write = RecordGameResult(f, name, outcome);
    if (!write.ok) AddStatusLine(s, "The game result could not be saved: " + write.error);
}

bool PasswordInForce(const std::string& stored) {
    return Trim(stored).size() > 2;
}

bool PasswordMatches(const std::string& entered, const std::string& stored) {
    return Trim(entered) == Trim(stored);
}

std::string SameNameRefusal(const std::string& name) {
    return "The waiting player is also called " + name +
           ". Two players with one name cannot play each other: please log on under another name "
           "and join again.";
}

std::string BuildPlayDataBlock(const PlayerProfile& p) {
    return wire::WritePlayDataBlock({p.PlayerName, p.Location, std::to_string(p.Played),
                                     std::to_string(p.Won), std::to_string(p.Lost),
                                     std::to_string(p.Tied)});
}

std::string PlayDataBlock(const ProfileFile& f, const std::string& localPlayer) {
    PlayerProfile working;
    if (FindProfile(f, localPlayer, working) == 0) {
        working = PlayerProfile{};
        working.PlayerName = localPlayer;
    }
    return BuildPlayDataBlock(working);
}

void ShowOpponentPanel(GameState& s, const PlayData& data) {
    s.Label7 = data.name;
    s.Label8 = data.location;
    s.Label9 = data.played;
    s.Label10 = data.won;
    s.Label11 = data.lost;
    s.Label12 = data.tied;
}

}  // namespace gd
