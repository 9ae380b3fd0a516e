// The download function: what it writes into the program's folder, and what it refuses.
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

struct DownloadTest : ::testing::Test {
    test::TempFolder dir;
    test::LoopbackHttpServer server;
    CurlTransfer inet;
    test::ScriptedPrompter prompt;

    // Downloads `path` from the server; `refused` says whether the "Preview Error" must show.
    bool Download(const std::string& path, bool refused = false) {
        prompt.shown.clear();
        const bool ok = DownloadFile(inet, prompt, server.Base() + path, dir.path);
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
    // A leftover earlier download of the same name is replaced.
    server.Add("/pics/me.gif", {"newer"});
    EXPECT_TRUE(Download("/pics/me.gif"));
    EXPECT_EQ(dir.Read("me.gif"), "newer");
    EXPECT_FALSE(Download("/pics/none.jpg", true));
    EXPECT_FALSE(dir.Has("none.jpg"));
}

// Guards against a download that overwrites the program's own files.
TEST_F(DownloadTest, NeverReplacesTheProgramsFiles) {
    dir.Write("players.dat", "profiles");
    dir.Write("Marble.bmp", "board");
    dir.Write("app.wav", "sound");
    dir.Write("glyphdrop", "program");
    ::chmod(dir.File("glyphdrop").c_str(), 0755);
    for (const char* path : {"/players.dat", "/x/PLAYERS.DAT", "/players.tmp", "/wordlist.dic",
                             "/GLYPHDROP.HLP", "/marble.bmp", "/app.wav", "/glyphdrop", "/"}) {
        server.Add(path, {"evil"});
        EXPECT_FALSE(Download(path, true)) << path;
    }
    EXPECT_EQ(dir.Read("players.dat"), "profiles");
    EXPECT_EQ(dir.Read("Marble.bmp"), "board");
    EXPECT_EQ(dir.Read("app.wav"), "sound");
    EXPECT_EQ(dir.Read("glyphdrop"), "program");
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
TEST(DownloadBusy, NothingHappensWhileTheControlIsBusy) {
    test::TempFolder dir;
    test::FakeTransfer inet;
    test::ScriptedPrompter prompt;
    inet.busy = true;
    inet.Answer("http://example.com/me.gif", "gif");
    EXPECT_FALSE(DownloadFile(inet, prompt, "http://example.com/me.gif", dir.path));
    EXPECT_TRUE(inet.requests.empty());
    EXPECT_TRUE(prompt.shown.empty());
    inet.busy = false;
    EXPECT_TRUE(DownloadFile(inet, prompt, "http://example.com/me.gif", dir.path));
    EXPECT_EQ(dir.Read("me.gif"), "gif");
}

}  // namespace
}  // namespace gd
