#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "vyio/VyConfigFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyColorSchemeList.h"
#include "vyplatform/VyPlatform.h"

// The program's tests run in a temporary working directory (see VyPlatformTest.cpp); the platform's
// archive is the one linked into the test program, which holds the shipped schemes.

namespace
{
std::vector<VyString> FileNames(const std::vector<VyColorSchemeEntry>& schemes)
{
    std::vector<VyString> names;
    for (const VyColorSchemeEntry& scheme : schemes)
        names.push_back(scheme.fileName);
    return names;
}

// Files below the working directory for one test, removed afterwards.
class DiskFiles
{
public:
    ~DiskFiles()
    {
        for (const std::string& path : m_paths)
            std::filesystem::remove_all(path);
    }
    void Put(const std::string& path, const std::string& bytes = "[Colors]\n")
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << bytes;
        m_paths.push_back(path.substr(0, path.find('/')));
    }

private:
    std::vector<std::string> m_paths;
};
} // namespace

TEST(VyColorSchemeList, TitlesAreTheNamesWithoutTheExtension)
{
    EXPECT_EQ(VyColorSchemeList::TitleOf("plum.color"), "Plum");
    EXPECT_EQ(VyColorSchemeList::TitleOf("deep_sea.Color"), "Deep sea");
    EXPECT_EQ(VyColorSchemeList::TitleOf("NIGHT.COLOR"), "NIGHT");
    EXPECT_EQ(VyColorSchemeList::TitleOf("readme.txt"), "Readme.txt");
    EXPECT_TRUE(VyColorSchemeList::IsSchemeFile("a.CoLoR"));
    EXPECT_FALSE(VyColorSchemeList::IsSchemeFile(".color"));
    EXPECT_FALSE(VyColorSchemeList::IsSchemeFile("a.colors"));
}

TEST(VyColorSchemeList, TheArchiveAndBothDiskFoldersAreListedOnceEachWhateverTheCase)
{
    VyPlatform platform;
    const std::vector<VyString> shipped{"blank.color", "blue.color", "plum.color"};
    EXPECT_EQ(FileNames(VyColorSchemeList::Find(platform.GetArchive())), shipped);

    DiskFiles files;
    files.Put("COLORS/Night.Color");
    files.Put("COLORS/BLUE.color");          // the archive's blue.color is what the look-up finds
    files.Put("COLORS/notes.txt");
    files.Put("COLORS/deeper/sub.color");    // not in the folder itself
    files.Put("COLORS/folder.color/x.txt");  // a folder, not a scheme
    files.Put("extra/colors/amber.color");
    VyConfigFile config("vyw.cfg");
    config.SetString("Directories", "Resource", "extra");
    const std::vector<VyColorSchemeEntry> schemes = VyColorSchemeList::Find(platform.GetArchive());
    config.SetString("Directories", "Resource", "");
    EXPECT_EQ(FileNames(schemes),
              (std::vector<VyString>{"amber.color", "blank.color", "blue.color", "Night.Color", "plum.color"}));
    ASSERT_EQ(schemes.size(), 5u);
    EXPECT_EQ(schemes[3].title, "Night");

    // Another colours folder: only what it holds.
    config.SetString("Directories", "Colors", "Colors\\..\\COLORS");
    EXPECT_TRUE(VyColorSchemeList::Find(platform.GetArchive()).empty());
    config.SetString("Directories", "Colors", "Colors");
}
