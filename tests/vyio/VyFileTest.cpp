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
