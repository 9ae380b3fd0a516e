// Interrupted saves: a failure or a crash at any single file operation, or a killed process,
// must leave "players.dat" as it was before or as it is after, with every profile whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>

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
    enum class Mode { Fail, Crash };
    FaultyIo(int faultAt, Mode mode) : faultAt_(faultAt), mode_(mode) {}
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
        if (mode_ == Mode::Crash) throw Crash{};
        return true;
    }
    FileIo& real_ = SystemFileIo();
    int faultAt_;
    Mode mode_;
};

struct Change {
    const char* name;
    std::function<ProfileWrite(const ProfileFile&)> run;
};

const std::vector<Change>& Changes() {
    static const std::vector<Change> changes{
        {"save in place",
         [](const ProfileFile& f) {
             PlayerProfile working;
             const int record = FindProfile(f, "Bob", working);
             working.Location = "Elsewhere";
             return SaveProfile(f, working, record);
         }},
        {"append",
         [](const ProfileFile& f) {
             PlayerProfile p = NewProfile("Dan");
             return SaveProfile(f, p, 0);
         }},
        {"delete", [](const ProfileFile& f) { return DeleteProfile(f, "Ann"); }},
        {"record result",
         [](const ProfileFile& f) { return RecordGameResult(f, kComputerName, GameOutcome::Tie); }},
    };
    return changes;
}

std::string StartingFile() {
    return EncodeProfile(NewProfile("Ann")) + EncodeProfile(NewProfile("Bob", "pw12")) +
           EncodeProfile(NewProfile("Cara")) + EncodeProfile(NewProfile(kComputerName));
}

// The file after `change` ran without a fault.
std::string FileAfter(const Change& change, int& operations) {
    TempFolder dir;
    dir.Write("players.dat", StartingFile());
    FaultyIo io(0, FaultyIo::Mode::Fail);
    EXPECT_TRUE(change.run(ProfileFile{dir.path, &io}).ok);
    operations = io.operations;
    return dir.Read("players.dat");
}

// Guards against a save that can leave a torn file or a file missing other profiles.
TEST(InterruptedSave, EveryFaultLeavesTheOldOrTheNewFile) {
    for (const Change& change : Changes()) {
        int operations = 0;
        const std::string after = FileAfter(change, operations);
        ASSERT_GT(operations, 4) << change.name;
        for (auto mode : {FaultyIo::Mode::Fail, FaultyIo::Mode::Crash}) {
            for (int at = 1; at <= operations; ++at) {
                SCOPED_TRACE(std::string(change.name) + ", fault at operation " +
                             std::to_string(at) +
                             (mode == FaultyIo::Mode::Crash ? " (crash)" : " (failure)"));
                TempFolder dir;
                dir.Write("players.dat", StartingFile());
                FaultyIo io(at, mode);
                ProfileWrite result;
                bool crashed = false;
                try {
                    result = change.run(ProfileFile{dir.path, &io});
                } catch (const Crash&) {
                    crashed = true;
                }
                const std::string now = dir.Read("players.dat");
                EXPECT_TRUE(now == StartingFile() || now == after);
                if (mode == FaultyIo::Mode::Fail) {
                    EXPECT_FALSE(crashed);
                    // Only a failure after the rename has the new file in place.
                    EXPECT_EQ(result.ok, false);
                    EXPECT_FALSE(dir.Has("players.tmp"));
                } else {
                    EXPECT_TRUE(crashed);
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

// Guards against a killed program leaving a damaged file: a child process records results
// without pause while the parent kills it at a random moment.
TEST(InterruptedSave, KilledProcessLeavesEveryProfileWhole) {
    std::mt19937 random(12345);
    for (int round = 0; round < 12; ++round) {
        TempFolder dir;
        dir.Write("players.dat", StartingFile());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ProfileFile f{dir.path};
            for (;;)
                RecordGameResult(f, "Bob", GameOutcome::Win);
        }
        ::usleep(2000 + random() % 20000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        ProfileFile f{dir.path};
        const std::vector<PlayerProfile> all = ReadProfiles(f);
        ASSERT_EQ(dir.Read("players.dat").size(), 4 * kProfileRecordSize);
        ASSERT_EQ(all.size(), 4u);
        EXPECT_EQ(Trim(all[0].PlayerName), "Ann");
        EXPECT_EQ(Trim(all[1].PlayerName), "Bob");
        EXPECT_EQ(Trim(all[1].Password), "pw12");
        EXPECT_EQ(all[1].Played, all[1].Won);
        EXPECT_EQ(Trim(all[2].PlayerName), "Cara");
        EXPECT_EQ(Trim(all[3].PlayerName), kComputerName);
    }
}

}  // namespace
}  // namespace gd
