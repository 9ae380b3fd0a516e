// Runs the picture and sound generator into a scratch folder and checks what it wrote.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>

#include "state.h"
#include "temp_folder.h"

namespace {

// The little-endian unsigned number of `bytes` bytes at `at`.
std::uint32_t Number(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
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
// folder holds exactly the expected ones: 8 sounds, and at 1x and 2x 9 boards, 9 window
// pictures, 11 toolbar icons and two tile sets of 78 letters and a hole.
TEST_F(GeneratedFiles, GeneratorSucceedsAndWritesNothingElse) {
    EXPECT_EQ(exitCode, 0);
    const auto files = std::filesystem::directory_iterator(folder->path);
    EXPECT_EQ(std::distance(begin(files), end(files)), 8 + 2 * (9 + 9 + 12 + 2 * 79));
}

// Guards against sounds the player cannot play, or that are silent, long or click.
TEST_F(GeneratedFiles, SoundsAreShortSixteenBitMonoPcm) {
    for (const std::string& name : gd::kDefaultSoundFiles) {
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

// Guards against a torn picture, one of a set drawn at another size than the rest of it, or one
// without a 2x twin of exactly twice its size, which a screen of twice the density would show
// blurred or out of place. (The sizes the windows need are the window tests'; that the window
// shows a background as it is is the installed program's whole-program check.)
TEST_F(GeneratedFiles, PicturesDecodeAndEachSetSharesOneSize) {
    std::map<std::string, std::set<std::pair<int, int>>> sizes;  // by set: boards, letters, tools
    for (const auto& entry : std::filesystem::directory_iterator(folder->path)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".wav" || name.find("@2x") != std::string::npos) continue;
        const QImage image(QString::fromStdString(entry.path().string()));
        EXPECT_FALSE(image.isNull()) << name;
        const std::filesystem::path twin =
            entry.path().parent_path() /
            (entry.path().stem().string() + "@2x" + entry.path().extension().string());
        EXPECT_EQ(QImage(QString::fromStdString(twin.string())).size(), image.size() * 2) << name;
        const std::string set =
            entry.path().extension() == ".bmp" ? "boards"
            : name.rfind("tool_", 0) == 0      ? "tools"
            : name.find("blank") != std::string::npos || name.find('_') != std::string::npos
                ? "letters"
                : name;
        sizes[set].insert({image.width(), image.height()});
    }
    EXPECT_EQ(sizes["boards"].size(), 1u);
    EXPECT_EQ(sizes["letters"].size(), 1u);
    EXPECT_EQ(sizes["tools"].size(), 1u);
}

}  // namespace
