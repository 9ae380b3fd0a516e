// Fuzz target: "players.dat" records and the profile operations on any file. Whatever the bytes,
// an operation never makes the file worse than it was: every whole record it does not change
// keeps its bytes and place, a trailing partial record stays behind them, and a record read and
// written back unchanged keeps its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "profile.h"
#include "text.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Files in memory: the operations run as they do on disk, without touching it.
class MemoryFileIo : public gd::FileIo {
  public:
    std::map<std::string, std::string> files;
    gd::FileRead Read(const std::string& path) override {
        gd::FileRead r;
        const auto it = files.find(path);
        r.exists = it != files.end();
        if (r.exists) r.bytes = it->second;
        return r;
    }
    int Create(const std::string& path) override {
        open_.push_back(path);
        files[path].clear();
        return static_cast<int>(open_.size()) - 1;
    }
    bool Write(int handle, const char* data, std::size_t size) override {
        files[open_.at(handle)].append(data, size);
        return true;
    }
    bool Sync(int) override { return true; }
    bool Close(int) override { return true; }
    bool Rename(const std::string& from, const std::string& to) override {
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool SyncFolder(const std::string&) override { return true; }
    bool Remove(const std::string& path) override { return files.erase(path) > 0; }
    std::string LastError() const override { return "none"; }

  private:
    std::vector<std::string> open_;
};

constexpr std::size_t kRecord = gd::kProfileRecordSize;

std::string RecordAt(const std::string& bytes, std::size_t n) {
    return bytes.substr(n * kRecord, kRecord);
}

std::string TailOf(const std::string& bytes) {
    return bytes.substr(bytes.size() / kRecord * kRecord);
}

std::string NameOf(const std::string& record) {
    return gd::Trim(gd::DecodeProfile(record).PlayerName);
}

// The file after an operation holds `expected` records in order, then the old partial tail.
void RequireRecords(const std::string& after, const std::vector<std::string>& expected,
                    const std::string& tail) {
    Require(after.size() == expected.size() * kRecord + tail.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        Require(RecordAt(after, i) == expected[i]);
    Require(TailOf(after) == tail);
}

void CheckSave(const gd::ProfileFile& f, MemoryFileIo& io, const std::string& before,
               std::vector<std::string> records, int record) {
    gd::PlayerProfile working;
    const std::string name = record > 0 ? NameOf(records[record - 1]) : "Fuzzed Newcomer";
    if (record > 0) Require(gd::FindProfile(f, name, working) > 0);
    working.PlayerName = name;
    Require(gd::SaveProfile(f, working, record).ok);
    if (record > 0) {
        // The first record of that name is what gets written at `record`.
        records[record - 1] = gd::EncodeProfile(working);
    } else {
        records.push_back(gd::EncodeProfile(working));
    }
    RequireRecords(io.files.at(f.Path()), records, TailOf(before));
}

void CheckDelete(const gd::ProfileFile& f, MemoryFileIo& io, const std::string& before,
                 const std::vector<std::string>& records, const std::string& name) {
    Require(gd::DeleteProfile(f, name).ok);
    std::vector<std::string> kept;
    for (const auto& r : records)
        if (NameOf(r) != gd::Trim(name)) kept.push_back(r);
    RequireRecords(io.files.at(f.Path()), kept, TailOf(before));
}

void CheckResult(const gd::ProfileFile& f, MemoryFileIo& io, const std::string& before,
                 std::vector<std::string> records, const std::string& name) {
    Require(gd::RecordGameResult(f, name, gd::GameOutcome::Win).ok);
    for (auto& r : records) {
        if (NameOf(r) != gd::Trim(name)) continue;
        gd::PlayerProfile p = gd::DecodeProfile(r);
        p.Played = p.Played < 32767 ? static_cast<std::int16_t>(p.Played + 1) : p.Played;
        p.Won = p.Won < 32767 ? static_cast<std::int16_t>(p.Won + 1) : p.Won;
        r = gd::EncodeProfile(p);
        break;
    }
    RequireRecords(io.files.at(f.Path()), records, TailOf(before));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int operation = data[0] % 4;
    const std::string before(reinterpret_cast<const char*>(data + 2), size - 2);
    MemoryFileIo io;
    gd::ProfileFile f;
    f.folder = "/nonexistent/glyphdrop-fuzz";
    f.io = &io;
    io.files[f.Path()] = before;

    std::vector<std::string> records;
    for (std::size_t n = 0; n < before.size() / kRecord; ++n) {
        records.push_back(RecordAt(before, n));
        Require(gd::EncodeProfile(gd::DecodeProfile(records.back())) == records.back());
    }
    Require(gd::CountProfiles(f) == static_cast<int>(records.size()));
    Require(gd::ReadProfiles(f).size() == records.size());
    gd::ListProfileNames(f);
    gd::PlayDataBlock(f, "Computer");

    const int pick = records.empty() ? 0 : data[1] % static_cast<int>(records.size()) + 1;
    const std::string name = pick > 0 ? NameOf(records[pick - 1]) : "Computer";
    switch (operation) {
        case 0:
            CheckSave(f, io, before, records, pick);
            break;
        case 1:
            CheckSave(f, io, before, records, 0);
            break;
        case 2:
            CheckDelete(f, io, before, records, name);
            break;
        case 3:
            CheckResult(f, io, before, records, name);
            break;
    }
    return 0;
}
