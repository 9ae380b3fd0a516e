// The HTTP transfer control and the download function against a loopback server and proxy.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "curl_transfer.h"
#include "download.h"
#include "fake_transfer.h"
#include "fakes.h"
#include "loopback_http.h"
#include "temp_folder.h"

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
    test::LoopbackHttpServer proxy;
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

struct DownloadTest : TransferTest {
    test::TempFolder dir;
    test::ScriptedPrompter prompt;

    // Downloads `path` from the server; `refused` says whether the "Preview Error" must show.
    bool Download(const std::string& path, bool refused = false) {
        prompt.shown.clear();
        const bool ok = DownloadFile(inet, prompt, server.Base() + path, dir.path).has_value();
        EXPECT_EQ(prompt.shown.size(), refused ? 1u : 0u) << path;
        for (const auto& box : prompt.shown) {
            EXPECT_EQ(box.text,
                      "An error has occured in the internet file download.  Please check "
                      "connection and try again later.");
            EXPECT_EQ(box.title, "Preview Error");
        }
        return ok;
    }
};

// Guards against a picture written under the wrong name, or changed on the way.
TEST_F(DownloadTest, WritesTheBodyUnderTheLastPartOfTheUrl) {
    const std::string picture("GIF89a\0\x01\xff", 9);
    server.Add("/pics/me.gif", {picture});
    EXPECT_TRUE(Download("/pics/me.gif"));
    EXPECT_EQ(dir.Read("me.gif"), picture);
    // A file already there keeps its bytes, in any letter case; the picture goes beside it.
    server.Add("/pics/ME.gif", {"newer"});
    EXPECT_EQ(DownloadFile(inet, prompt, server.Base() + "/pics/ME.gif", dir.path),
              dir.path + "/ME-1.gif");
    EXPECT_EQ(dir.Read("me.gif"), picture);
    EXPECT_EQ(dir.Read("ME-1.gif"), "newer");
    EXPECT_FALSE(Download("/pics/none.jpg", true));
    EXPECT_FALSE(dir.Has("none.jpg"));
}

// Guards against a download that overwrites the program's own files.
TEST_F(DownloadTest, NeverReplacesTheProgramsFiles) {
    const std::vector<std::pair<std::string, std::string>> own{{"players.dat", "profiles"},
                                                               {"Marble.bmp", "board"},
                                                               {"app.wav", "sound"},
                                                               {"glyphdrop", "program"}};
    for (const auto& [name, bytes] : own)
        dir.Write(name, bytes);
    ::chmod(dir.File("glyphdrop").c_str(), 0755);
    for (const char* path : {"/players.dat", "/x/PLAYERS.DAT", "/players.tmp", "/wordlist.dic",
                             "/GLYPHDROP.HLP", "/marble.bmp", "/app.wav", "/glyphdrop", "/"}) {
        server.Add(path, {"evil"});
        EXPECT_FALSE(Download(path, true)) << path;
    }
    for (const auto& [name, bytes] : own)
        EXPECT_EQ(dir.Read(name), bytes);
    EXPECT_FALSE(dir.Has("players.tmp"));
    EXPECT_FALSE(dir.Has("wordlist.dic"));
    // New pictures, and earlier downloads, may be written.
    dir.Write("old.jpg", "earlier download");
    EXPECT_FALSE(IsProtectedDownloadName(dir.path, "photo.bmp"));
    EXPECT_FALSE(IsProtectedDownloadName(dir.path, "old.jpg"));
    EXPECT_TRUE(IsProtectedDownloadName(dir.path, ".."));
    EXPECT_TRUE(IsProtectedDownloadName(dir.path, "Wordlist.Dic"));
}

// Guards against a huge body filling the disk, from this control or any other.
TEST_F(DownloadTest, BodyLargerThanFiveMegabytesIsRefused) {
    server.Add("/huge.jpg", {std::string(kMaxDownloadBytes + 1, 'j'), true});
    server.Add("/max.jpg", {std::string(kMaxDownloadBytes, 'm')});
    EXPECT_FALSE(Download("/huge.jpg", true));
    EXPECT_FALSE(dir.Has("huge.jpg"));
    EXPECT_EQ(inet.MaxReplyBytes, kDefaultMaxReplyBytes);
    EXPECT_TRUE(Download("/max.jpg"));

    test::FakeTransfer fake;
    fake.Answer("http://example.com/big.gif", std::string(kMaxDownloadBytes + 1, 'g'));
    EXPECT_FALSE(DownloadFile(fake, prompt, "http://example.com/big.gif", dir.path));
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_FALSE(dir.Has("big.gif"));
}

// Guards against a second request started while the control is still busy.
TEST_F(DownloadTest, NothingHappensWhileTheControlIsBusy) {
    test::FakeTransfer fake;
    fake.busy = true;
    fake.Answer("http://example.com/me.gif", "gif");
    EXPECT_FALSE(DownloadFile(fake, prompt, "http://example.com/me.gif", dir.path));
    EXPECT_TRUE(fake.requests.empty());
    EXPECT_TRUE(prompt.shown.empty());
    fake.busy = false;
    EXPECT_TRUE(DownloadFile(fake, prompt, "http://example.com/me.gif", dir.path));
    EXPECT_EQ(dir.Read("me.gif"), "gif");
}

}  // namespace
}  // namespace gd
