// The rules of dropping, word detection and new games, on boards built from pictures.
#include <gtest/gtest.h>

#include "fakes.h"

namespace gd {
namespace {

using test::Harness;

TEST(Drop, LetterFallsToTheLowestEmptyHole) {
    Harness t;
    t.StartPlay();
    t.SetPieces("abcdefgh");
    t.Drop(0, 40);
    EXPECT_EQ(t.s.Hole[5].Tag, "a");
    EXPECT_TRUE(IsHoleEmpty(t.s, 40));
}

}  // namespace
}  // namespace gd
