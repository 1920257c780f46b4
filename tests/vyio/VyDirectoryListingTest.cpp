#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "VyOrdinaryUser.h"
#include "vyio/VyDirectoryListing.h"
#include "vyio/VyTestDir.h"

namespace
{
std::vector<VyString> Names(const std::vector<VyDirectoryEntry>& entries)
{
    std::vector<VyString> names;
    for (const VyDirectoryEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}
} // namespace

TEST(VyDirectoryListing, FoldersComeFirstThenFilesEachByNameWithoutCaseAndHiddenOnesStayOut)
{
    VyTestDir dir;
    dir.Put("beta.sav", "12345");
    dir.Put("Alpha.sav", "");
    dir.Put("alpha.sav", "x");
    dir.Put(".hidden", "secret");
    dir.Put("with space \xE9.sav", "ab"); // a name that is not ASCII, listed byte for byte
    std::filesystem::create_directories(dir.Path() / "zeta");
    std::filesystem::create_directories(dir.Path() / "Saves");
    std::filesystem::create_directories(dir.Path() / ".config");
    std::vector<VyDirectoryEntry> entries;
    VyString error;
    ASSERT_TRUE(VyDirectoryListing::Read(dir.Path().string(), entries, error)) << error;
    EXPECT_EQ(Names(entries), (std::vector<VyString>{"..", "Saves", "zeta", "Alpha.sav", "alpha.sav", "beta.sav",
                                                     "with space \xE9.sav"}));
    EXPECT_TRUE(entries[1].bDirectory);
    EXPECT_FALSE(entries[5].bDirectory);
    EXPECT_EQ(entries[5].size, 5u);
    EXPECT_GT(entries[5].modified, 0);

    std::vector<VyDirectoryEntry> root;
    ASSERT_TRUE(VyDirectoryListing::Read("/", root, error));
    EXPECT_TRUE(root.empty() || root.front().name != "..");
}

TEST(VyDirectoryListing, ADirectoryThatCannotBeReadSaysWhy)
{
    std::vector<VyDirectoryEntry> entries;
    VyString error;
    EXPECT_FALSE(VyDirectoryListing::Read("/no/such/place", entries, error));
    EXPECT_EQ(error, "No such file or directory");

    const std::filesystem::path folder = VyOrdinaryUser::MakeFolder();
    ASSERT_FALSE(folder.empty());
    const int status = VyOrdinaryUser::Run([&] {
        const std::filesystem::path closed = folder / "closed";
        if (mkdir(closed.c_str(), 0700) != 0 || chmod(closed.c_str(), 0) != 0)
            return 2;
        std::vector<VyDirectoryEntry> found;
        VyString reason;
        const bool bRead = VyDirectoryListing::Read(closed.string(), found, reason);
        chmod(closed.c_str(), 0700);
        return !bRead && reason == "Permission denied" && found.empty() ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    std::filesystem::remove_all(folder);
}

TEST(VyDirectoryListing, PathsJoinAndTidyByTheirText)
{
    EXPECT_EQ(VyDirectoryListing::Join("/a/b", ".."), "/a");
    EXPECT_EQ(VyDirectoryListing::Join("/a", ".."), "/");
    EXPECT_EQ(VyDirectoryListing::Join("/", ".."), "/");
    EXPECT_EQ(VyDirectoryListing::Join("/a/", "c"), "/a/c");
    EXPECT_EQ(VyDirectoryListing::Join("/a", "c"), "/a/c");
    EXPECT_EQ(VyDirectoryListing::Join("/a", "/etc/x"), "/etc/x");
    EXPECT_EQ(VyDirectoryListing::Absolute("/a//b/./c/../d/"), "/a/b/d");
    EXPECT_EQ(VyDirectoryListing::Absolute("/../.."), "/");
    EXPECT_EQ(VyDirectoryListing::Absolute("x"), VyDirectoryListing::Absolute(std::filesystem::current_path().string()) + "/x");
}
