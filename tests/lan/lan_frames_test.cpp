// The session layer's frames and discovery datagrams, fed in pieces and garbled.
#include <gtest/gtest.h>

#include "lan_frames.h"

namespace gd {
namespace {

// Guards against frames cut across reads being lost or merged, and hostile frames being held in
// memory or knocking the stream out of step.
TEST(Frames, ArriveWholeByteByByteWhileRefusedFramesAreSkipped) {
    const std::string bytes = EncodeFrame(FrameType::Text, "Mq17") + std::string("\x10\x01", 2) +
                              std::string(4097, 'T') + std::string("\x00\x02Qx", 4) +
                              EncodeFrame(FrameType::Text, std::string(4095, 'x'));
    FrameReader r;
    std::vector<FrameReader::Result> got;
    for (char c : bytes) {
        r.Feed(std::string_view(&c, 1));
        while (auto x = r.Next())
            got.push_back(*x);
    }
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].frame.payload, "Mq17");
    EXPECT_EQ(got[1].fault, FrameFault::TooLarge);
    EXPECT_EQ(got[2].fault, FrameFault::UnknownType);
    EXPECT_EQ(got[3].frame.payload.size(), 4095u);
}

// Guards against a malformed join or answer being taken for a real one.
TEST(Datagrams, MalformedJoinsAndAnswersAreRefused) {
    EXPECT_EQ(DecodeJoin(EncodeJoin({"app", 42, "Ann Lee"}))->name, "Ann Lee");
    EXPECT_FALSE(DecodeJoin("app\n042\nAnn"));
    EXPECT_FALSE(DecodeJoin("app\n42\nAn\nn"));
    EXPECT_EQ(DecodeAnswer(EncodeAnswer({"app", 7, 27821, "Ann Lee"}))->name, "Ann Lee");
    EXPECT_FALSE(DecodeAnswer("GLYPHDROP-LAN/1 S app 7 70000 Ann"));
    EXPECT_FALSE(DecodeAnswer(EncodeQuery("app")));
}

}  // namespace
}  // namespace gd
