// The real services: the clock-seeded generator, the pause and the sound player with no audio
// device. They run in the program, so a fault here shows only at the table.
#include <QElapsedTimer>
#include <set>

#include "app_fixture.h"
#include "qtservices.h"
#include "text.h"

namespace gd::test {
namespace {

// Reseeding before every draw, as the game does, must not make draws repeat or leave [0, 1).
TEST(ClockRandom, ReseedsWithinOneClockTickStillDiffer) {
    ClockRandom random;
    std::set<double> seen;
    std::array<int, 26> letters{};
    for (int i = 0; i < 26000; ++i) {
        random.Reseed();
        const double v = random.Next();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        seen.insert(v);
        ++letters[static_cast<int>(26 * v)];
    }
    EXPECT_GT(seen.size(), 25990u);
    for (int n = 0; n < 26; ++n) {
        EXPECT_GT(letters[n], 800) << n;
        EXPECT_LT(letters[n], 1200) << n;
    }
}

TEST(ClockRandom, TwoGeneratorsStartedTogetherDiffer) {
    ClockRandom a, b;
    a.Reseed();
    b.Reseed();
    EXPECT_NE(a.Next(), b.Next());
}

// The pause shows the state first, then waits its time out on the monotonic clock.
TEST(QtPauser, RepaintsFirstThenWaits) {
    QElapsedTimer clock;
    qint64 repaintedAt = -1;
    QtPauser pause([&] { repaintedAt = clock.elapsed(); }, 60);
    clock.start();
    pause.Pause();
    EXPECT_GE(repaintedAt, 0);
    EXPECT_LT(repaintedAt, 20);
    EXPECT_GE(clock.elapsed(), 60);
}

// No audio device and missing files: silence, and never a wait.
TEST(QtSoundPlayer, MissingDeviceOrFileIsSilentAndQuick) {
    QtApp();
    AppHarness h;
    QtSoundPlayer sound;
    QElapsedTimer clock;
    clock.start();
    sound.Play("");
    sound.Play(FromQ(h.home.filePath("nothing-here.wav")));
    sound.Play(FromQ(h.home.filePath("wordlist.dic")));  // not a sound at all
    EXPECT_LT(clock.elapsed(), 1000);
}

}  // namespace
}  // namespace gd::test
