// Interrupted saves: a fault at any file operation leaves the old or the new "players.dat".
#include <gtest/gtest.h>

#include <functional>

#include "profile.h"
#include "profile_helpers.h"

namespace gd {
namespace {

using test::NewProfile;
using test::TempFolder;

struct Crash {};

// Passes every operation to the real file system, except that the `faultAt`-th one fails
// (returns an error, as a full disk does) or crashes (unwinds without any clean-up).
class FaultyIo : public FileIo {
  public:
    FaultyIo(int faultAt, bool crash) : faultAt_(faultAt), crash_(crash) {}
    int operations = 0;

    FileRead Read(const std::string& path) override { return real_.Read(path); }
    int Create(const std::string& path) override { return Fault() ? -1 : real_.Create(path); }
    bool Write(int handle, const char* data, std::size_t size) override {
        // A failing write may already have put part of its bytes on disk.
        if (Fault()) return real_.Write(handle, data, size / 2) && false;
        return real_.Write(handle, data, size);
    }
    bool Sync(int handle) override { return !Fault() && real_.Sync(handle); }
    bool Close(int handle) override {
        const bool fault = Fault();
        return real_.Close(handle) && !fault;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return !Fault() && real_.Rename(from, to);
    }
    bool SyncFolder(const std::string& folder) override {
        return !Fault() && real_.SyncFolder(folder);
    }
    bool Remove(const std::string& path) override { return real_.Remove(path); }
    std::string LastError() const override { return "injected fault"; }

  private:
    bool Fault() {
        if (++operations != faultAt_) return false;
        if (crash_) throw Crash{};
        return true;
    }
    FileIo& real_ = SystemFileIo();
    int faultAt_;
    bool crash_;
};

const std::string kStart = test::Records(
    {NewProfile("Ann"), NewProfile("Bob", "pw12"), NewProfile("Cara"), NewProfile(kComputerName)});

// Guards against a save that can leave a torn file or a file missing other profiles.
TEST(InterruptedSave, EveryFaultLeavesTheOldOrTheNewFile) {
    const std::vector<std::pair<const char*, std::function<ProfileWrite(const ProfileFile&)>>>
        changes{{"save in place",
                 [](const ProfileFile& f) {
                     PlayerProfile bob = DecodeProfile(kStart, kProfileRecordSize);
                     bob.Location = "Elsewhere";
                     return SaveProfile(f, bob, 2);
                 }},
                {"append",
                 [](const ProfileFile& f) {
                     PlayerProfile dan = NewProfile("Dan");
                     return SaveProfile(f, dan, 0);
                 }},
                {"delete", [](const ProfileFile& f) { return DeleteProfile(f, "Ann"); }},
                {"record result", [](const ProfileFile& f) {
                     return RecordGameResult(f, kComputerName, GameOutcome::Tie);
                 }}};
    for (const auto& [name, change] : changes) {
        // A run without a fault gives the new file and the number of operations.
        TempFolder clean;
        clean.Write("players.dat", kStart);
        FaultyIo counting(0, false);
        ASSERT_TRUE(change(ProfileFile{clean.path, &counting}).ok) << name;
        const std::string after = clean.Read("players.dat");
        ASSERT_GT(counting.operations, 4) << name;
        for (bool crash : {false, true}) {
            for (int at = 1; at <= counting.operations; ++at) {
                SCOPED_TRACE(std::string(name) + ", fault at operation " + std::to_string(at) +
                             (crash ? " (crash)" : " (failure)"));
                TempFolder dir;
                dir.Write("players.dat", kStart);
                FaultyIo io(at, crash);
                ProfileWrite result;
                bool crashed = false;
                try {
                    result = change(ProfileFile{dir.path, &io});
                } catch (const Crash&) {
                    crashed = true;
                }
                const std::string now = dir.Read("players.dat");
                EXPECT_TRUE(now == kStart || now == after);
                EXPECT_EQ(crashed, crash);
                if (!crash) {
                    EXPECT_FALSE(result.ok);
                    EXPECT_FALSE(dir.Has("players.tmp"));
                } else {
                    // A leftover temporary file does not stop the next save.
                    ProfileFile real{dir.path};
                    ASSERT_TRUE(RecordGameResult(real, "Cara", GameOutcome::Win).ok);
                    EXPECT_EQ(CountProfiles(real), now.size() / kProfileRecordSize);
                    EXPECT_FALSE(dir.Has("players.tmp"));
                }
            }
        }
    }
}

}  // namespace
}  // namespace gd
