#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>

#include "VyOrdinaryUser.h"
#include "vyio/VyFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"
#include "vythread/VyRandom.h"

namespace
{
// Large enough that a save takes a while and that the writes themselves (not only the flush) fail.
constexpr size_t VY_LARGE = 3 * 1024 * 1024;

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The exception of a save of bytes over path, or none.
std::optional<VyFileException> FailureOfSave(const std::string& path, const std::string& bytes)
{
    try
    {
        VyFile::WriteReplacing(path,
                               [&bytes](VyFile& file) { file.Write(bytes.data(), static_cast<int>(bytes.size())); });
    }
    catch (const VyFileException& error)
    {
        return error;
    }
    return std::nullopt;
}

bool PutFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return out.good();
}

} // namespace

TEST(VyFileReplacing, AFullDeviceLeavesTheOldFileAndSaysWhy)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    VyTestDir dir;
    const std::string old = "old contents\n";
    const std::string path = dir.Put("data.bin", old);
    const std::string temporary = path + ".tmp";

    // A small file is all buffered: the device refuses it at the flush before the rename.
    ASSERT_EQ(symlink("/dev/full", temporary.c_str()), 0);
    std::optional<VyFileException> failure = FailureOfSave(path, "new");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->GetMessage(), "*VyFile::Sync -> File: " + temporary);
    EXPECT_EQ(failure->GetSystemError(), ENOSPC);
    EXPECT_EQ(failure->GetReason(), "No space left on device");
    EXPECT_EQ(VyTestDir::Slurp(path), old);
    EXPECT_FALSE(Exists(temporary)) << "the link is removed, the device is not written over";

    // A large one fails while it is written.
    ASSERT_EQ(symlink("/dev/full", temporary.c_str()), 0);
    failure = FailureOfSave(path, std::string(VY_LARGE, 'x'));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->GetMessage(), "*VyFile::Write -> File: " + temporary);
    EXPECT_EQ(failure->GetReason(), "No space left on device");
    EXPECT_EQ(VyTestDir::Slurp(path), old);
    EXPECT_FALSE(Exists(temporary));

    // Failures that are not the system's carry no reason.
    try
    {
        VyFile::WriteReplacing(path, [](VyFile&) { throw VyFileException("Writer", "Write", "stopped"); });
        ADD_FAILURE() << "no exception";
    }
    catch (const VyFileException& error)
    {
        EXPECT_EQ(error.GetSystemError(), 0);
        EXPECT_EQ(error.GetReason(), "");
    }
    EXPECT_EQ(VyTestDir::Slurp(path), old);
}

TEST(VyFileReplacing, AFolderTheUserCannotWriteLeavesTheOldFileAndSaysWhy)
{
    const std::filesystem::path folder = VyOrdinaryUser::MakeFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = (folder / "data.bin").string();
    // Codes the child ends with: 0 as expected, otherwise the first check that failed.
    const int status = VyOrdinaryUser::Run([&]() {
        if (!PutFile(path, "old") || chmod(folder.c_str(), 0555) != 0)
            return 10;
        const std::optional<VyFileException> failure = FailureOfSave(path, "new");
        if (!failure)
            return 11;
        if (failure->GetMessage() != "*VyFile::WriteReplacing : could not create the file -> File: " + path + ".tmp")
            return 12;
        if (failure->GetSystemError() != EACCES || failure->GetReason() != "Permission denied")
            return 13;
        return VyTestDir::Slurp(path) == "old" && !Exists(path + ".tmp") ? 0 : 14;
    });
    chmod(folder.c_str(), 0755);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    EXPECT_EQ(status, 0);
}

// A save killed at any point leaves the complete old or the complete new file, never an empty or a torn
// one; the temporary file an interrupted save leaves behind does not stop the next save.
TEST(VyFileReplacing, ASaveKilledAtAnyPointLeavesTheOldOrTheNewFile)
{
    VyTestDir dir;
    // Two contents of different bytes and lengths: any mix or cut of them is neither.
    const std::string first(VY_LARGE, 'a');
    const std::string second(VY_LARGE + 4096, 'b');
    const std::string path = dir.Put("big.bin", first);
    VyRandom random(20261209);
    int tornOrEmpty = 0;
    for (int round = 0; round < 30; ++round)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            // Saves the two contents in turn until it is killed.
            for (int save = 0;; ++save)
                FailureOfSave(path, save % 2 == 0 ? second : first);
        }
        usleep(static_cast<useconds_t>(1000 + random.Below(30000)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::string found = VyTestDir::Slurp(path);
        if (found != first && found != second)
            ++tornOrEmpty;
    }
    EXPECT_EQ(tornOrEmpty, 0);
    // Whether or not the last kill left one, a half-written temporary file is there now.
    dir.Put("big.bin.tmp", std::string(4096, 'c'));
    EXPECT_FALSE(FailureOfSave(path, "last").has_value()) << "a temporary file left by a killed save is no obstacle";
    EXPECT_EQ(VyTestDir::Slurp(path), "last");
    EXPECT_FALSE(Exists(path + ".tmp"));
}
