// The program's folder and an installed program's read-only files.
#include <gtest/gtest.h>

#include "files.h"
#include "temp_folder.h"

namespace gd {
namespace {

// Guards against an installed program missing its shipped files, a shipped file hiding the
// player's own, and shipped files leaking into folders other than the program's.
class ReadOnlyFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        shipped.Write("Marble.bmp", "shipped");
        shipped.Write("steel.bmp", "shipped");
        UseProgramFolders({home.path, shipped.path});
    }
    void TearDown() override {
        UseProgramFolders({});
        ChangeToAppFolder(startFolder);
    }
    std::string startFolder = std::filesystem::current_path().string();
    test::TempFolder home, shipped, elsewhere;
};

TEST_F(ReadOnlyFiles, AMissingFileOfTheProgramsFolderIsTheShippedOneWhateverItsCase) {
    EXPECT_EQ(FindFileNoCase(home.File("marble.bmp")), shipped.File("Marble.bmp"));
    EXPECT_TRUE(FileExists(home.File("STEEL.BMP")));
    ASSERT_TRUE(ChangeToAppFolder(home.path));
    EXPECT_EQ(FindFileNoCase("steel.bmp"), shipped.File("steel.bmp"));
    EXPECT_EQ(FindFileNoCase(home.File("players.dat")), home.File("players.dat"));
}

TEST_F(ReadOnlyFiles, ThePlayersOwnFileWins) {
    home.Write("MARBLE.bmp", "own");
    EXPECT_EQ(FindFileNoCase(home.File("marble.bmp")), home.File("MARBLE.bmp"));
    home.Write("ninth.bmp", "own");
    EXPECT_EQ(ListFilesNoCase(home.path, ".bmp"),
              (std::vector<std::string>{"MARBLE.bmp", "ninth.bmp", "steel.bmp"}));
}

TEST_F(ReadOnlyFiles, OtherFoldersSeeOnlyTheirOwnFiles) {
    EXPECT_FALSE(FileExists(elsewhere.File("Marble.bmp")));
    EXPECT_TRUE(ListFilesNoCase(elsewhere.path, ".bmp").empty());
    UseProgramFolders({home.path, ""});
    EXPECT_FALSE(FileExists(home.File("Marble.bmp")));
}

// Guards against a player losing his profiles, or finding them overwritten, when the data
// folder takes its new name.
TEST(MoveOldDataFolder, ThePlayersFilesFollowWithoutOverwritingNewerOnes) {
    test::TempFolder data;
    const std::string old = data.File("Glyphdrop"), now = data.File("glyphdrop");
    std::filesystem::create_directory(old);
    data.Write("Glyphdrop/players.dat", "profiles");
    data.Write("Glyphdrop/ninth.bmp", "picture");
    EXPECT_TRUE(MoveOldDataFolder(old, now));
    EXPECT_FALSE(std::filesystem::exists(old));
    EXPECT_EQ(data.Read("glyphdrop/players.dat"), "profiles");
    EXPECT_EQ(data.Read("glyphdrop/ninth.bmp"), "picture");
    EXPECT_TRUE(MoveOldDataFolder(old, now));  // once moved, nothing more happens

    std::filesystem::create_directory(old);
    data.Write("Glyphdrop/players.dat", "older profiles");
    data.Write("Glyphdrop/steel.bmp", "own steel");
    EXPECT_TRUE(MoveOldDataFolder(old, now));
    EXPECT_EQ(data.Read("glyphdrop/players.dat"), "profiles");
    EXPECT_EQ(data.Read("glyphdrop/steel.bmp"), "own steel");
    EXPECT_EQ(data.Read("Glyphdrop/players.dat"), "older profiles");
}

}  // namespace
}  // namespace gd
