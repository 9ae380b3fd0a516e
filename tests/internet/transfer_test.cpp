// The HTTP transfer control against a server and a proxy on 127.0.0.1.
#include <gtest/gtest.h>

#include "curl_transfer.h"
#include "loopback_http.h"

namespace gd {
namespace {

using test::ClosedLoopbackPort;

struct TransferTest : ::testing::Test {
    test::LoopbackHttpServer server;
    CurlTransfer inet;
};

// Guards against bodies or queries changed on the way, in either answer type.
TEST_F(TransferTest, TextBytesAndQueriesGoUnchanged) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    server.Add("/Glyphdrop/getdata.mv?s12", {"x*$*17$*$ list"});
    server.Add("/photo.gif", {bytes});
    const TransferReply text = inet.OpenURL(server.Base() + "/Glyphdrop/getdata.mv?s12");
    ASSERT_TRUE(text.ok) << text.errorDescription;
    EXPECT_EQ(text.body, "x*$*17$*$ list");
    EXPECT_EQ(server.Requests().back(), "GET /Glyphdrop/getdata.mv?s12 HTTP/1.1");
    const TransferReply binary = inet.OpenURL(server.Base() + "/photo.gif", TransferData::Bytes);
    ASSERT_TRUE(binary.ok);
    EXPECT_EQ(binary.body, bytes);
}

// Guards against a busy flag that the game cannot rely on while a request runs.
TEST_F(TransferTest, StillExecutingWhileTheRequestRuns) {
    bool during = false;
    server.Add("/busy", {"ok", false, false, [&] { during = inet.StillExecuting(); }});
    EXPECT_FALSE(inet.StillExecuting());
    EXPECT_TRUE(inet.OpenURL(server.Base() + "/busy").ok);
    EXPECT_TRUE(during);
    EXPECT_FALSE(inet.StillExecuting());
}

// Guards against failures that escape as anything but a trapped error and an empty answer.
TEST_F(TransferTest, FailuresAreTrappedErrors) {
    inet.MaxReplyBytes = 1000;
    server.Add("/big", {std::string(1001, 'b')});
    server.Add("/streamed", {std::string(200000, 's'), true});
    server.Add("/fits", {std::string(1000, 'f'), true});
    server.Add("/stall", {"", false, true});
    struct Case {
        const char* name;
        std::string url;
        int errorNumber;
        int timeout = 10;
    };
    const std::vector<Case> cases{
        {"refused connection", "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()), 7},
        {"404", server.Base() + "/missing", 22},
        {"not a web address", "file:///etc/passwd", 1},
        {"oversized with length", server.Base() + "/big", 1000},
        {"oversized streamed", server.Base() + "/streamed", 1000},
        {"no answer", server.Base() + "/stall", 28, 1}};
    for (const Case& c : cases) {
        inet.RequestTimeout = c.timeout;
        const auto start = std::chrono::steady_clock::now();
        const TransferReply r = inet.OpenURL(c.url);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.name;
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_TRUE(r.body.empty()) << c.name;
        EXPECT_EQ(r.errorNumber, c.errorNumber) << c.name;
        EXPECT_FALSE(r.errorDescription.empty()) << c.name;
    }
    EXPECT_NE(inet.OpenURL(server.Base() + "/missing").errorDescription.find("404"),
              std::string::npos);
    EXPECT_TRUE(inet.OpenURL(server.Base() + "/fits").ok);
}

// Guards against the proxy setting being ignored, or kept after it was switched off.
TEST_F(TransferTest, NamedProxyCarriesTheRequests) {
    test::LoopbackProxy proxy;
    server.Add("/Glyphdrop/updates.mv?1.1", {"x*CURRENT*"});
    const std::string url = server.Base() + "/Glyphdrop/updates.mv?1.1";
    ApplyProxySetting(inet, true, "  127.0.0.1:" + std::to_string(proxy.port()) + "  ");
    EXPECT_EQ(inet.AccessType, kNamedProxy);
    const TransferReply r = inet.OpenURL(url);
    ASSERT_TRUE(r.ok) << r.errorDescription;
    EXPECT_EQ(r.body, "x*CURRENT*");
    EXPECT_EQ(proxy.Requests(), std::vector<std::string>{"GET " + url + " HTTP/1.1"});

    ApplyProxySetting(inet, false, "ignored");
    EXPECT_EQ(inet.AccessType, kDefaultAccess);
    EXPECT_TRUE(inet.OpenURL(url).ok);
    EXPECT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(server.Requests().size(), 2u);

    ApplyProxySetting(inet, true, "127.0.0.1:" + std::to_string(ClosedLoopbackPort()));
    EXPECT_FALSE(inet.OpenURL(url).ok);
    EXPECT_EQ(server.Requests().size(), 2u);
}

}  // namespace
}  // namespace gd
