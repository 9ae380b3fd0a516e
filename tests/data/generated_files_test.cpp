// Runs the picture and sound generator into a scratch folder and checks what it wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "temp_folder.h"

namespace {

// The unsigned number of `bytes` bytes at `at`, little-endian or big-endian.
std::uint32_t Number(const std::string& b, std::size_t at, int bytes, bool little = true) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + (little ? bytes - 1 - i : i)]);
    return v;
}
int Sample(const std::string& b, std::size_t at) {
    return std::abs(static_cast<std::int16_t>(Number(b, at, 2)));
}

class GeneratedFiles : public ::testing::Test {
  protected:
    static inline gd::test::TempFolder* folder = nullptr;
    static inline int exitCode = -1;
    static void SetUpTestSuite() {
        folder = new gd::test::TempFolder;
        exitCode = std::system(("\"" GD_MAKE_ART "\" \"" + folder->path + "\" >/dev/null").c_str());
    }
    static void TearDownTestSuite() { delete folder; }
};

// Guards against the generator failing outright, or writing stray or misspelt files: the
// folder holds exactly the expected 104.
TEST_F(GeneratedFiles, GeneratorSucceedsAndWritesNothingElse) {
    EXPECT_EQ(exitCode, 0);
    const auto files = std::filesystem::directory_iterator(folder->path);
    EXPECT_EQ(std::distance(begin(files), end(files)), 8 + 8 + 10 + 78);
}

// Guards against backgrounds the window cannot show: not 24-bit, wrong size or torn rows.
TEST_F(GeneratedFiles, BackgroundsAre24BitBitmapsOfTheWindowSize) {
    for (const char* name : {"bricks.bmp", "flowers.bmp", "forest.bmp", "Marble.bmp", "steel.bmp",
                             "sunset.bmp", "undersea.bmp", "woody.bmp"}) {
        SCOPED_TRACE(name);
        const std::string b = folder->Read(name);
        ASSERT_GE(b.size(), 54u) << "missing or truncated";
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(Number(b, 2, 4), b.size());
        // Header size, width, height, then bits per pixel and no compression.
        EXPECT_EQ(Number(b, 14, 4), 40u);
        EXPECT_EQ(Number(b, 18, 4), 618u);
        EXPECT_EQ(Number(b, 22, 4), 449u);
        EXPECT_EQ(Number(b, 28, 2), 24u);
        EXPECT_EQ(Number(b, 30, 4), 0u);
        EXPECT_EQ(b.size(), Number(b, 10, 4) + (618 * 3 + 3) / 4 * 4 * 449);  // rows padded to 4
    }
}

// Guards against sounds the player cannot play, or that are silent, long or click.
TEST_F(GeneratedFiles, SoundsAreShortSixteenBitMonoPcm) {
    for (const char* name : {"sysmess.wav", "incoming.wav", "sent.wav", "dropped.wav",
                             "dropped2.wav", "begin.wav", "app.wav", "missed.wav"}) {
        SCOPED_TRACE(name);
        const std::string b = folder->Read(name);
        ASSERT_GE(b.size(), 44u) << "missing or truncated";
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(36, 4), "RIFFWAVEfmt data");
        EXPECT_EQ(Number(b, 4, 4) + 8, b.size());
        EXPECT_EQ(Number(b, 20, 2), 1u) << "not PCM";
        EXPECT_EQ(Number(b, 22, 2), 1u) << "not mono";
        EXPECT_EQ(Number(b, 34, 2), 16u);
        const std::uint32_t rate = Number(b, 24, 4), bytes = Number(b, 40, 4);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        ASSERT_EQ(bytes + 44, b.size());
        EXPECT_GE(bytes / 2.0 / rate, 0.1);
        EXPECT_LE(bytes / 2.0 / rate, 0.6);
        int peak = 0;
        for (std::size_t at = 44; at < b.size(); at += 2)
            peak = std::max(peak, Sample(b, at));
        EXPECT_GT(peak, 3000) << "too quiet";
        EXPECT_LT(Sample(b, 44), 2000) << "clicks on";
        EXPECT_LT(Sample(b, b.size() - 2), 2000) << "clicks off";
    }
}

// Guards against a missing or mis-sized picture of the board, the panel or the buttons.
TEST_F(GeneratedFiles, PicturesArePngsOfTheirSizes) {
    std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> pictures = {
        {"photona.png", 103, 87}, {"pcplayer.png", 103, 87}, {"soundon.png", 30, 29},
        {"soundoff.png", 30, 29}, {"quickhelp.png", 30, 29}, {"onlight.png", 12, 12},
        {"offlight.png", 12, 12}, {"redlight.png", 12, 12},  {"logo.png", 125, 44},
        {"blank.png", 32, 32}};
    for (const std::string colour : {"blue_", "red_", "yel_"})
        for (char letter = 'a'; letter <= 'z'; ++letter)
            pictures.emplace_back(colour + letter + ".png", 32, 32);
    for (const auto& [name, width, height] : pictures) {
        SCOPED_TRACE(name);
        const std::string b = folder->Read(name);
        ASSERT_GE(b.size(), 33u) << "missing or truncated";
        EXPECT_EQ(b.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
        EXPECT_EQ(Number(b, 16, 4, false), width);
        EXPECT_EQ(Number(b, 20, 4, false), height);
    }
}

}  // namespace
