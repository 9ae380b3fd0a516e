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

using test::FakeTransfer;
using test::LoopbackHttpServer;
using test::ScriptedPrompter;
using test::TempFolder;

struct DownloadTest : ::testing::Test {
    TempFolder dir;
    LoopbackHttpServer server;
    CurlTransfer inet;
    ScriptedPrompter prompt;

    bool Download(const std::string& path) {
        return DownloadFile(inet, prompt, server.Base() + path, dir.path);
    }
    void ExpectPreviewError() {
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text,
                  "An error has occured in the internet file download.  Please check connection "
                  "and try again later.");
        EXPECT_EQ(prompt.shown[0].title, "Preview Error");
    }
};

TEST_F(DownloadTest, WritesTheBodyUnderTheLastPartOfTheUrl) {
    const std::string picture("GIF89a\0\x01\xff", 9);
    server.Add("/pics/me.gif", {200, picture, false, false, nullptr});
    EXPECT_TRUE(Download("/pics/me.gif"));
    EXPECT_EQ(dir.Read("me.gif"), picture);
    EXPECT_TRUE(prompt.shown.empty());
    // A leftover earlier download of the same name is replaced.
    server.Add("/pics/me.gif", {200, "newer", false, false, nullptr});
    EXPECT_TRUE(Download("/pics/me.gif"));
    EXPECT_EQ(dir.Read("me.gif"), "newer");
}

TEST_F(DownloadTest, FailedRequestShowsThePreviewError) {
    EXPECT_FALSE(Download("/pics/none.jpg"));
    ExpectPreviewError();
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
        server.Add(path, {200, "evil", false, false, nullptr});
        prompt.shown.clear();
        EXPECT_FALSE(Download(path)) << path;
        ExpectPreviewError();
    }
    EXPECT_EQ(dir.Read("players.dat"), "profiles");
    EXPECT_EQ(dir.Read("Marble.bmp"), "board");
    EXPECT_EQ(dir.Read("app.wav"), "sound");
    EXPECT_EQ(dir.Read("glyphdrop"), "program");
    EXPECT_FALSE(dir.Has("players.tmp"));
    EXPECT_FALSE(dir.Has("wordlist.dic"));
}

TEST(DownloadNames, NewPicturesAreAllowedExistingProgramFilesAreNot) {
    TempFolder dir;
    dir.Write("woody.bmp", "board");
    dir.Write("old.jpg", "earlier download");
    EXPECT_FALSE(IsProtectedDownloadName(dir.path, "photo.bmp"));
    EXPECT_FALSE(IsProtectedDownloadName(dir.path, "old.jpg"));
    EXPECT_TRUE(IsProtectedDownloadName(dir.path, "WOODY.BMP"));
    EXPECT_TRUE(IsProtectedDownloadName(dir.path, ".."));
    EXPECT_TRUE(IsProtectedDownloadName(dir.path, ""));
    EXPECT_TRUE(IsProtectedDownloadName(dir.path, "Wordlist.Dic"));
}

// Guards against a huge body filling the disk.
TEST_F(DownloadTest, BodyLargerThanFiveMegabytesIsRefused) {
    server.Add("/huge.jpg", {200, std::string(kMaxDownloadBytes + 1, 'j'), false, true, nullptr});
    server.Add("/max.jpg", {200, std::string(kMaxDownloadBytes, 'm'), false, false, nullptr});
    EXPECT_FALSE(Download("/huge.jpg"));
    ExpectPreviewError();
    EXPECT_FALSE(dir.Has("huge.jpg"));
    EXPECT_EQ(inet.MaxReplyBytes, kDefaultMaxReplyBytes);
    prompt.shown.clear();
    EXPECT_TRUE(Download("/max.jpg"));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(DownloadBusy, NothingHappensWhileTheControlIsBusy) {
    TempFolder dir;
    FakeTransfer inet;
    ScriptedPrompter prompt;
    inet.busy = true;
    inet.Answer("http://example.com/me.gif", "gif");
    EXPECT_FALSE(DownloadFile(inet, prompt, "http://example.com/me.gif", dir.path));
    EXPECT_TRUE(inet.requests.empty());
    EXPECT_TRUE(prompt.shown.empty());
    inet.busy = false;
    EXPECT_TRUE(DownloadFile(inet, prompt, "http://example.com/me.gif", dir.path));
    EXPECT_EQ(dir.Read("me.gif"), "gif");
}

TEST(DownloadBusy, OversizedBodyFromAnyControlIsRefused) {
    TempFolder dir;
    FakeTransfer inet;
    ScriptedPrompter prompt;
    inet.Answer("http://example.com/big.gif", std::string(kMaxDownloadBytes + 1, 'g'));
    EXPECT_FALSE(DownloadFile(inet, prompt, "http://example.com/big.gif", dir.path));
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_FALSE(dir.Has("big.gif"));
}

}  // namespace
}  // namespace gd
