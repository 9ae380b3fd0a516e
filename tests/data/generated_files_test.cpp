// Runs the picture and sound generator into a scratch folder and checks what it wrote.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Little(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::uint32_t Big(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

class GeneratedFiles : public ::testing::Test {
  protected:
    static inline fs::path folder;
    static inline int exitCode = -1;

    static void SetUpTestSuite() {
        folder = fs::temp_directory_path() / ("gd_art_test_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        const std::string command =
            std::string("\"") + GD_MAKE_ART + "\" \"" + folder.string() + "\" >/dev/null";
        exitCode = std::system(command.c_str());
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }

    // Checks a PNG's signature and the size in its IHDR chunk.
    static void ExpectPng(const std::string& name, std::uint32_t width, std::uint32_t height) {
        SCOPED_TRACE(name);
        const std::string b = ReadAll(folder / name);
        ASSERT_GE(b.size(), 33u) << "missing or truncated";
        EXPECT_EQ(b.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(b.substr(12, 4), "IHDR");
        EXPECT_EQ(Big(b, 16), width);
        EXPECT_EQ(Big(b, 20), height);
    }
};

// Guards against the generator failing outright or writing into the wrong place.
TEST_F(GeneratedFiles, GeneratorSucceeds) {
    EXPECT_EQ(exitCode, 0);
}

// Guards against backgrounds the window cannot show: not 24-bit, wrong size or torn rows.
TEST_F(GeneratedFiles, BackgroundsAre24BitBitmapsOfTheWindowSize) {
    for (const char* name : {"bricks.bmp", "flowers.bmp", "forest.bmp", "Marble.bmp", "steel.bmp",
                             "sunset.bmp", "undersea.bmp", "woody.bmp"}) {
        SCOPED_TRACE(name);
        const std::string b = ReadAll(folder / name);
        ASSERT_GE(b.size(), 54u) << "missing or truncated";
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(Little(b, 2, 4), b.size());
        EXPECT_EQ(Little(b, 14, 4), 40u);
        EXPECT_EQ(Little(b, 18, 4), 618u);
        EXPECT_EQ(Little(b, 22, 4), 449u);
        EXPECT_EQ(Little(b, 28, 2), 24u);
        EXPECT_EQ(Little(b, 30, 4), 0u) << "compressed";
        const std::size_t row = (618 * 3 + 3) / 4 * 4;
        EXPECT_EQ(b.size(), Little(b, 10, 4) + row * 449);
    }
}

// Guards against sounds the player cannot play, or that are silent, long or click.
TEST_F(GeneratedFiles, SoundsAreShortSixteenBitMonoPcm) {
    for (const char* name : {"sysmess.wav", "incoming.wav", "sent.wav", "dropped.wav",
                             "dropped2.wav", "begin.wav", "app.wav", "missed.wav"}) {
        SCOPED_TRACE(name);
        const std::string b = ReadAll(folder / name);
        ASSERT_GE(b.size(), 44u) << "missing or truncated";
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(Little(b, 4, 4) + 8, b.size());
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(Little(b, 20, 2), 1u) << "not PCM";
        EXPECT_EQ(Little(b, 22, 2), 1u) << "not mono";
        const std::uint32_t rate = Little(b, 24, 4);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        EXPECT_EQ(Little(b, 34, 2), 16u);
        ASSERT_EQ(b.substr(36, 4), "data");
        const std::uint32_t bytes = Little(b, 40, 4);
        ASSERT_EQ(bytes + 44, b.size());
        const double seconds = bytes / 2.0 / rate;
        EXPECT_GE(seconds, 0.1);
        EXPECT_LE(seconds, 0.6);

        int peak = 0;
        const std::size_t count = bytes / 2;
        for (std::size_t i = 0; i < count; ++i)
            peak = std::max(peak, std::abs(static_cast<std::int16_t>(Little(b, 44 + 2 * i, 2))));
        EXPECT_GT(peak, 3000) << "too quiet";
        EXPECT_LT(std::abs(static_cast<std::int16_t>(Little(b, 44, 2))), 2000) << "clicks on";
        EXPECT_LT(std::abs(static_cast<std::int16_t>(Little(b, 44 + 2 * (count - 1), 2))), 2000)
            << "clicks off";
    }
}

// Guards against a missing or mis-sized picture of the board, the panel or the buttons.
TEST_F(GeneratedFiles, PicturesHaveTheirSizes) {
    ExpectPng("photona.png", 103, 87);
    ExpectPng("pcplayer.png", 103, 87);
    ExpectPng("soundon.png", 30, 29);
    ExpectPng("soundoff.png", 30, 29);
    ExpectPng("quickhelp.png", 30, 29);
    ExpectPng("onlight.png", 12, 12);
    ExpectPng("offlight.png", 12, 12);
    ExpectPng("redlight.png", 12, 12);
    ExpectPng("logo.png", 125, 44);
    ExpectPng("blank.png", 32, 32);
    for (const std::string colour : {"blue_", "red_", "yel_"})
        for (char letter = 'a'; letter <= 'z'; ++letter)
            ExpectPng(colour + letter + ".png", 32, 32);
}

// Guards against stray or misspelt files: the folder holds exactly the expected 104.
TEST_F(GeneratedFiles, WritesNothingElse) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    EXPECT_EQ(names.size(), 8u + 8u + 10u + 78u);
}

}  // namespace
