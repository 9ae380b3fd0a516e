// The HTTP transfer control against a server and a proxy on 127.0.0.1.
#include <gtest/gtest.h>

#include "curl_transfer.h"
#include "loopback_http.h"

namespace gd {
namespace {

using test::LoopbackHttpServer;
using test::LoopbackProxy;

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

struct TransferTest : ::testing::Test {
    LoopbackHttpServer server;
    CurlTransfer inet;
};

// Guards against bodies changed on the way, in either answer type.
TEST_F(TransferTest, TextAndBytesComeBackUnchanged) {
    server.Add("/Glyphdrop/readwait.mv", {200, "x*$*17$*$ list", false, false, nullptr});
    server.Add("/photo.gif", {200, AllBytes(), false, false, nullptr});
    const TransferReply text = inet.OpenURL(server.Base() + "/Glyphdrop/readwait.mv");
    ASSERT_TRUE(text.ok) << text.errorDescription;
    EXPECT_EQ(text.body, "x*$*17$*$ list");
    const TransferReply bytes = inet.OpenURL(server.Base() + "/photo.gif", TransferData::Bytes);
    ASSERT_TRUE(bytes.ok);
    EXPECT_EQ(bytes.body, AllBytes());
}

TEST_F(TransferTest, QueryIsSentAsItStands) {
    server.Add("/Glyphdrop/getdata.mv?s12", {200, "FILE*NOT*FOUND", false, false, nullptr});
    EXPECT_EQ(inet.OpenURL(server.Base() + "/Glyphdrop/getdata.mv?s12").body, "FILE*NOT*FOUND");
    EXPECT_EQ(server.Requests().back(), "GET /Glyphdrop/getdata.mv?s12 HTTP/1.1");
}

TEST_F(TransferTest, StillExecutingWhileTheRequestRuns) {
    bool during = false;
    server.Add("/busy", {200, "ok", false, false, [&] { during = inet.StillExecuting(); }});
    EXPECT_FALSE(inet.StillExecuting());
    EXPECT_TRUE(inet.OpenURL(server.Base() + "/busy").ok);
    EXPECT_TRUE(during);
    EXPECT_FALSE(inet.StillExecuting());
}

// Guards against failures that escape as anything but a trapped error and an empty answer.
TEST_F(TransferTest, RefusedConnectionIsATrappedError) {
    const TransferReply r =
        inet.OpenURL("http://127.0.0.1:" + std::to_string(test::ClosedLoopbackPort()) + "/x");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.body.empty());
    EXPECT_EQ(r.errorNumber, 7);  // could not connect
    EXPECT_FALSE(r.errorDescription.empty());
}

TEST_F(TransferTest, HttpFailureIsATrappedError) {
    const TransferReply r = inet.OpenURL(server.Base() + "/missing");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.body.empty());
    EXPECT_EQ(r.errorNumber, 22);
    EXPECT_NE(r.errorDescription.find("404"), std::string::npos);
}

TEST_F(TransferTest, OnlyWebAddressesAreFetched) {
    const TransferReply r = inet.OpenURL("file:///etc/passwd");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.body.empty());
}

TEST_F(TransferTest, RequestWithoutAnAnswerTimesOut) {
    server.Add("/stall", {200, "", true, false, nullptr});
    inet.RequestTimeout = 1;
    const auto start = std::chrono::steady_clock::now();
    const TransferReply r = inet.OpenURL(server.Base() + "/stall");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorNumber, 28);  // timed out
    EXPECT_LT(took, std::chrono::seconds(5));
}

// Guards against a huge reply being read into memory whole.
TEST_F(TransferTest, OversizedRepliesAreRefused) {
    inet.MaxReplyBytes = 1000;
    server.Add("/big", {200, std::string(1001, 'b'), false, false, nullptr});
    server.Add("/streamed", {200, std::string(200000, 's'), false, true, nullptr});
    server.Add("/fits", {200, std::string(1000, 'f'), false, true, nullptr});
    for (const char* path : {"/big", "/streamed"}) {
        const TransferReply r = inet.OpenURL(server.Base() + path);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_TRUE(r.body.empty());
        EXPECT_EQ(r.errorNumber, 1000);
    }
    EXPECT_TRUE(inet.OpenURL(server.Base() + "/fits").ok);
}

// Guards against the proxy setting being ignored, or kept after it was switched off.
TEST_F(TransferTest, NamedProxyCarriesTheRequests) {
    LoopbackProxy proxy;
    server.Add("/Glyphdrop/updates.mv?1.1", {200, "x*CURRENT*", false, false, nullptr});
    const std::string url = server.Base() + "/Glyphdrop/updates.mv?1.1";
    ApplyProxySetting(inet, true, "  127.0.0.1:" + std::to_string(proxy.port()) + "  ");
    EXPECT_EQ(inet.AccessType, kNamedProxy);
    const TransferReply r = inet.OpenURL(url);
    ASSERT_TRUE(r.ok) << r.errorDescription;
    EXPECT_EQ(r.body, "x*CURRENT*");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0], "GET " + url + " HTTP/1.1");

    ApplyProxySetting(inet, false, "ignored");
    EXPECT_EQ(inet.AccessType, kDefaultAccess);
    EXPECT_TRUE(inet.OpenURL(url).ok);
    EXPECT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(TransferTest, UnreachableProxyIsATrappedError) {
    server.Add("/x", {200, "x", false, false, nullptr});
    ApplyProxySetting(inet, true, "127.0.0.1:" + std::to_string(test::ClosedLoopbackPort()));
    const TransferReply r = inet.OpenURL(server.Base() + "/x");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace gd
