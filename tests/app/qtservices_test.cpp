// The real services: the clock-seeded generator, the pause and the sound player with no audio
// device. They run in the program, so a fault here shows only at the table.
#include <QElapsedTimer>
#include <set>

#include "app_fixture.h"
#include "qtext.h"
#include "qtservices.h"

namespace gd::test {
namespace {

// Guards against reseeding before every draw, as the game does, making draws repeat, leave
// [0, 1), or two generators started together draw alike.
TEST(ClockRandom, ReseedsWithinOneClockTickStillDiffer) {
    ClockRandom random, other;
    other.Reseed();
    std::set<double> seen;
    std::array<int, 26> letters{};
    for (int i = 0; i < 26000; ++i) {
        random.Reseed();
        const double v = random.Next();
        ASSERT_TRUE(v >= 0.0 && v < 1.0) << v;
        seen.insert(v);
        ++letters[static_cast<int>(26 * v)];
    }
    EXPECT_GT(seen.size(), 25990u);
    for (int n = 0; n < 26; ++n)
        EXPECT_TRUE(letters[n] > 800 && letters[n] < 1200) << n << ": " << letters[n];
    EXPECT_EQ(seen.count(other.Next()), 0u);
}

// Guards against the pause waiting before the state is shown, or not waiting its time out on
// the monotonic clock (the time of day may jump or wrap at midnight).
TEST(QtPauser, RepaintsFirstThenWaitsOnTheMonotonicClock) {
    struct SteppingClock : FakeClock {
        std::int64_t MonotonicMs() override { return monotonicMs += 250; }
    } clock;
    clock.timeOfDay = 86399.5;
    std::int64_t repaintedAt = -1;
    QtPauser pause(clock, [&] { repaintedAt = clock.monotonicMs; });
    pause.Pause();
    EXPECT_EQ(repaintedAt, 0);
    EXPECT_GE(clock.monotonicMs, 1000 + 250);
    EXPECT_LE(clock.monotonicMs, 1000 + 500);
}

// Guards against a missing audio device or file making the game wait or fail.
TEST(QtSoundPlayer, MissingDeviceOrFileIsSilentAndQuick) {
    QtApp();
    QTemporaryDir home;
    WriteWordList(home.filePath("wordlist.dic"), {{"able", "x"}});
    QtSoundPlayer sound;
    QElapsedTimer clock;
    clock.start();
    for (const char* file : {"", "nothing-here.wav", "wordlist.dic"})  // the last is no sound
        sound.Play(*file ? FromQ(home.filePath(file)) : "");
    EXPECT_LT(clock.elapsed(), 1000);
}

}  // namespace
}  // namespace gd::test
