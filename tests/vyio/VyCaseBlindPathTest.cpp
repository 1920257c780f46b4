#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "vyio/VyCaseBlindPath.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

// Resource names from files written for a system blind to letter case.

namespace
{
// The name found below the test folder, relative to it ("" for none).
std::string FindBelow(const VyTestDir& dir, const VyString& relative)
{
    const std::string root = dir.Path().string();
    const std::string found = VyCaseBlindPath::Find(root, relative);
    return found.empty() ? found : std::filesystem::relative(found, root).string();
}
} // namespace

TEST(VyCaseBlindPath, FindsFoldersAndFilesOfOtherCaseAndPrefersTheExactName)
{
    VyTestDir dir;
    dir.Put("colors/plum.color", "a");
    dir.Put("Sets/Mine/Board.BMP", "b");
    EXPECT_EQ(FindBelow(dir, "Colors\\Plum.Color"), "colors/plum.color");
    EXPECT_EQ(FindBelow(dir, "sets\\mine\\board.bmp"), "Sets/Mine/Board.BMP");
    EXPECT_EQ(FindBelow(dir, "SETS/MINE/BOARD.BMP"), "Sets/Mine/Board.BMP") << "slashes work too";
    EXPECT_EQ(FindBelow(dir, "sets\\.\\mine\\\\board.bmp"), "Sets/Mine/Board.BMP") << "'.' and empty parts";

    // Of names differing only in case the exact one wins, at every level; else the first in byte order.
    dir.Put("Sets/Mine/board.bmp", "c");
    dir.Put("sets/mine/board.bmp", "d");
    EXPECT_EQ(FindBelow(dir, "sets\\mine\\board.bmp"), "sets/mine/board.bmp");
    EXPECT_EQ(FindBelow(dir, "Sets\\Mine\\Board.BMP"), "Sets/Mine/Board.BMP");
    EXPECT_EQ(FindBelow(dir, "Sets\\Mine\\BOARD.bmp"), "Sets/Mine/Board.BMP");
    EXPECT_EQ(FindBelow(dir, "SETS\\mine\\board.BMP"), "Sets/Mine/Board.BMP");

    // Only regular files are answers; a name that matches nothing finds nothing.
    EXPECT_EQ(FindBelow(dir, "SETS\\MINE"), "");
    EXPECT_EQ(FindBelow(dir, "sets\\mine\\board.jpg"), "");
    EXPECT_EQ(FindBelow(dir, ""), "");
}

TEST(VyCaseBlindPath, NothingOutsideTheFolderIsReached)
{
    VyTestDir dir;
    dir.Put("outside.txt", "secret");
    dir.Put("res/inside/x.txt", "x");
    const std::string root = (dir.Path() / "res").string();
    EXPECT_EQ(VyCaseBlindPath::Find(root, "INSIDE\\X.TXT"), root + "/inside/x.txt");
    for (const char* escape : {"..\\outside.txt", "..\\OUTSIDE.TXT", "inside\\..\\..\\outside.txt",
                               "inside/../../Outside.txt", "inside\\..\\x.txt"})
        EXPECT_EQ(VyCaseBlindPath::Find(root, escape), "") << escape;
    const std::string absolute = dir.File("OUTSIDE.TXT");
    EXPECT_EQ(VyCaseBlindPath::Find(root, absolute), "") << "an absolute path";
    EXPECT_EQ(VyCaseBlindPath::Find(root, "\\" + std::string("inside\\x.txt")), "") << "a leading separator";
}

// The disk look-up finds the file whatever its case, in the working directory and below
// [Directories] Resource, after every exact name.
TEST(VyCaseBlindPath, TheResourceLookUpFindsNamesOfOtherCase)
{
    VyTestDir dir;
    dir.Put("game/vyw.cfg", "[Directories]\nResource=..\\Shared\n");
    dir.Put("game/colors/plum.color", "in the game");
    dir.Put("Shared/Fonts/Arial100.vyf", "shared");
    dir.Put("Shared/colors/plum.color", "shared plum");
    dir.Put("Shared/Colors/Pear.Color", "pear");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path() / "game");
    auto fetch = [](const VyString& path) {
        VyMemFile out;
        VyResourceSource::FetchFromDisk(path, out);
        return std::string(out.GetView());
    };
    EXPECT_EQ(fetch("Colors\\Plum.Color"), "in the game");
    EXPECT_EQ(fetch("fonts\\arial100.vyf"), "shared");
    EXPECT_EQ(fetch("colors\\pear.color"), "pear");
    EXPECT_EQ(fetch("colors\\plum.color"), "in the game") << "the exact name first";
    EXPECT_THROW(fetch("..\\Shared\\colors\\PEAR.COLOR"), VyFileException) << "no way out by other case";
    std::filesystem::current_path(before);
}

TEST(VyCaseBlindPath, FindsAFolderOfOtherCaseButNeitherAFileNorOneOutside)
{
    VyTestDir dir;
    dir.Put("Themes/colors/plum.color", "a");
    dir.Put("themes/notes.txt", "b");
    const std::string root = dir.Path().string();
    auto findFolder = [&](const VyString& relative) {
        const std::string found = VyCaseBlindPath::FindFolder(root, relative);
        return found.empty() ? found : std::filesystem::relative(found, root).string();
    };
    EXPECT_EQ(findFolder("THEMES\\Colors"), "Themes/colors");
    EXPECT_EQ(findFolder("themes"), "themes") << "the exact name first";
    EXPECT_EQ(findFolder("Themes\\colors\\plum.color"), "") << "a file is no folder";
    EXPECT_EQ(findFolder("themes\\notes.txt"), "");
    EXPECT_EQ(findFolder("Themes\\..\\Themes"), "");
    EXPECT_EQ(findFolder("\\Themes"), "");
}
