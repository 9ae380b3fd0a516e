// The session layer's frames and discovery datagrams, fed whole, in pieces and garbled.
#include <gtest/gtest.h>

#include "wire.h"

namespace gd {
namespace {

std::vector<FrameReader::Result> ReadAll(FrameReader& r) {
    std::vector<FrameReader::Result> out;
    while (auto x = r.Next())
        out.push_back(*x);
    return out;
}

// Guards against frames split across reads being lost, merged or cut.
TEST(Frames, ArriveWholeWhateverTheReadsCutThemInto) {
    const std::string bytes = EncodeFrame(FrameType::Text, "Mq17") +
                              EncodeFrame(FrameType::Heartbeat, "") +
                              EncodeFrame(FrameType::Text, std::string(4095, 'x'));
    FrameReader r;
    std::vector<FrameReader::Result> got;
    for (char c : bytes) {
        r.Feed(std::string_view(&c, 1));
        for (auto& x : ReadAll(r))
            got.push_back(x);
    }
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].frame.payload, "Mq17");
    EXPECT_EQ(got[1].frame.type, FrameType::Heartbeat);
    EXPECT_EQ(got[2].frame.payload.size(), 4095u);
}

// Guards against hostile frames being applied, held in memory, or knocking the stream out of step.
TEST(Frames, OversizedEmptyAndUnknownFramesAreRefusedAndSkipped) {
    FrameReader r;
    r.Feed(std::string("\x10\x01", 2));  // 4097 bytes announced, arriving later in pieces
    r.Feed(std::string(3000, 'T'));
    r.Feed(std::string(1097, 'T') + std::string("\x00\x00", 2) + std::string("\x00\x02Qx", 4) +
           EncodeFrame(FrameType::Bye, ""));
    const auto got = ReadAll(r);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].fault, FrameFault::TooLarge);
    EXPECT_EQ(got[1].fault, FrameFault::Empty);
    EXPECT_EQ(got[2].fault, FrameFault::UnknownType);
    EXPECT_EQ(got[3].fault, FrameFault::None);
    EXPECT_EQ(got[3].frame.type, FrameType::Bye);
}

// Guards against a malformed join or announcement being taken for a real one.
TEST(Datagrams, MalformedJoinsAndAnswersAreRefused) {
    const auto join = DecodeJoin(EncodeJoin({"app", 42, "Ann Lee"}));
    ASSERT_TRUE(join);
    EXPECT_EQ(join->name, "Ann Lee");
    EXPECT_FALSE(DecodeJoin("app\n042\nAnn"));
    EXPECT_FALSE(DecodeJoin("app\n42\n"));
    EXPECT_FALSE(DecodeJoin("app\n42\nAn\nn"));
    EXPECT_FALSE(DecodeJoin("app\n99999999999\nAnn"));

    const auto a = DecodeAnswer(EncodeAnswer({"app", 7, 47821, "Ann Lee"}));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->tcpPort, 47821);
    EXPECT_EQ(a->name, "Ann Lee");
    EXPECT_FALSE(DecodeAnswer(EncodeQuery("app")));
    EXPECT_FALSE(DecodeAnswer("GLYPHDROP-LAN/1 S app 7 70000 Ann"));
    EXPECT_FALSE(DecodeAnswer("GLYPHDROP-LAN/1 S app 7 47821 " + std::string(600, 'n')));
    EXPECT_EQ(DecodeQuery(EncodeQuery("app")), "app");
    EXPECT_FALSE(DecodeQuery("hello"));
}

}  // namespace
}  // namespace gd
