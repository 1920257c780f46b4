#include <gtest/gtest.h>

#include "vyio/VyFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

TEST(VyFile, ModesReadsAndEndOfFile)
{
    VyTestDir dir;
    const std::string path = dir.Put("four.bin", "abcd");
    VyFile file;
    EXPECT_FALSE(file.Open(dir.File("missing.bin"), VY_FILE_READ));
    EXPECT_FALSE(file.Open(dir.File("missing.bin"), VY_FILE_READWRITE));
    ASSERT_TRUE(file.Open(path, VY_FILE_READ));
    EXPECT_EQ(file.GetName(), path);
    EXPECT_EQ(file.GetBytesLeft(), 4);
    char buffer[10];
    EXPECT_EQ(file.Read(buffer, 0), 0);
    EXPECT_EQ(file.Read(buffer, 10), 4);
    EXPECT_EQ(file.Read(buffer, 10), 0);
    EXPECT_TRUE(file.IsEOF());
    file.Close();
    EXPECT_EQ(file.GetName(), "");

    // "wb" truncates, "r+b" keeps and overwrites in place, "w+b" reads back what it wrote.
    ASSERT_TRUE(file.Open(path, VY_FILE_WRITE));
    file << VyString("xy");
    file.Close();
    EXPECT_EQ(VyTestDir::Slurp(path), "\x02xy");
    ASSERT_TRUE(file.Open(path, VY_FILE_READWRITE));
    file.SetPosition(1);
    file.Write("Q", 1);
    file.Close();
    EXPECT_EQ(VyTestDir::Slurp(path), "\x02Qy");
    ASSERT_TRUE(file.Open(dir.File("new.bin"), VY_FILE_CREATE_READWRITE));
    file << 7 << 8;
    EXPECT_EQ(file.GetPosition(), 8);
    file.Seek(-4);
    int value = 0;
    file >> value;
    EXPECT_EQ(value, 8);
    file.SeekToBegin();
    file >> value;
    EXPECT_EQ(value, 7);
    file.SeekToEnd();
    EXPECT_EQ(file.GetPosition(), 8);
}

TEST(VyFile, FailuresThrowWithTheFileName)
{
    VyTestDir dir;
    VyFile file;
    try
    {
        file.Open("some.file", 5);
        FAIL();
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyFile::Open : unsupported file mode -> File: some.file");
    }

    // A directory opens for reading but every read fails.
    const std::string folder = dir.Path().string();
    ASSERT_TRUE(file.Open(folder, VY_FILE_READ));
    int value = 0;
    try
    {
        file >> value;
        FAIL();
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyIO::operator >> int\n*VyFile::Read -> File: " + folder);
    }

    const std::string path = dir.Put("x.bin", "abc");
    ASSERT_TRUE(file.Open(path, VY_FILE_READ));
    try
    {
        file.SetPosition(-1);
        FAIL();
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyFile::SetPosition -> File: " + path);
    }
    EXPECT_THROW(file.Seek(-100), VyFileException);
    file.Close();
    EXPECT_THROW(file.Write("a", 1), VyFileException) << "a closed file";
}

TEST(VyFile, WriteToAFullDeviceThrows)
{
    VyFile file;
    if (!file.Open("/dev/full", VY_FILE_WRITE))
        GTEST_SKIP() << "no /dev/full";
    const std::string block(1 << 20, 'x');
    try
    {
        file.Write(block.data(), static_cast<int>(block.size()));
        FAIL();
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyFile::Write -> File: /dev/full");
    }
}

TEST(VyFile, WriteReplacingSwapsInTheWholeFileOrLeavesTheOldOne)
{
    VyTestDir dir;
    const std::string path = dir.Put("data.bin", "old");
    const auto writeNew = [](VyFile& file) { file.Write("new", 3); };
    VyFile::WriteReplacing(path, writeNew);
    EXPECT_EQ(VyTestDir::Slurp(path), "new");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // A failing writer: its exception passes, the partial temporary file goes.
    try
    {
        VyFile::WriteReplacing(path, [](VyFile& file) {
            file.Write("half", 4);
            throw VyFileException("Writer", "Write", "stopped");
        });
        ADD_FAILURE() << "no exception";
    }
    catch (const VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*Writer::Write : stopped");
    }
    EXPECT_EQ(VyTestDir::Slurp(path), "new");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // The rename fails (the target is a folder that is not empty): the temporary file goes.
    const std::string folder = dir.File("folder");
    dir.Put("folder/inside.txt", "x");
    try
    {
        VyFile::WriteReplacing(folder, writeNew);
        ADD_FAILURE() << "no exception";
    }
    catch (const VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyFile::WriteReplacing : could not replace the file -> File: " + folder);
    }
    EXPECT_FALSE(std::filesystem::exists(folder + ".tmp"));

    // A temporary file that cannot be made: whatever blocks its name is not the helper's to remove.
    std::filesystem::create_directory(path + ".tmp");
    try
    {
        VyFile::WriteReplacing(path, writeNew);
        ADD_FAILURE() << "no exception";
    }
    catch (const VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyFile::WriteReplacing : could not create the file -> File: " + path + ".tmp");
    }
    EXPECT_TRUE(std::filesystem::is_directory(path + ".tmp"));
    EXPECT_EQ(VyTestDir::Slurp(path), "new");
}
