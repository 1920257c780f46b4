#include <gtest/gtest.h>

#include "vyio/VyMemFile.h"
#include "vythread/VyTraceCapture.h"

TEST(VyMemFile, GrowthPositionsAndClose)
{
    VyMemFile file;
    const char byte = 'x';
    file.Write(&byte, 1);
    EXPECT_EQ(file.GetCapacity(), 64);
    const std::string more(99, 'y');
    file.Write(more.data(), 99);
    EXPECT_EQ(file.GetLength(), 100);
    EXPECT_EQ(file.GetCapacity(), 150);

    file.SetPosition(-5);
    EXPECT_EQ(file.GetPosition(), 0);
    file.SetPosition(file.GetLength() + 10);
    EXPECT_EQ(file.GetPosition(), 100);
    EXPECT_TRUE(file.IsEOF());
    file.Seek(-30);
    EXPECT_EQ(file.GetPosition(), 70);
    file.Seek(-1000);
    EXPECT_EQ(file.GetPosition(), 0);

    // Overwriting in the middle keeps the length; writing past the end raises it.
    file.SetPosition(98);
    const char three[] = "abc";
    file.Write(three, 3);
    EXPECT_EQ(file.GetLength(), 101);
    char tail[10] = {};
    file.SetPosition(97);
    EXPECT_EQ(file.Read(tail, 10), 4) << "reads past the end return fewer bytes";
    EXPECT_EQ(std::string(tail, 4), "yabc");
    EXPECT_EQ(file.Read(tail, 10), 0);

    file.Close();
    EXPECT_EQ(file.GetLength(), 0);
    EXPECT_EQ(file.GetCapacity(), 0);
    EXPECT_EQ(file.GetPosition(), 0);
    EXPECT_EQ(file.GetData(), nullptr);
}

TEST(VyMemFile, AttachedBufferIsReadButNeverWritten)
{
    const char foreign[] = "read only";
    VyMemFile file;
    file << 42;
    file.Attach(foreign, 9);
    EXPECT_TRUE(file.IsAttached());
    EXPECT_EQ(file.GetData(), reinterpret_cast<const unsigned char*>(foreign)) << "not copied";
    EXPECT_EQ(file.GetPosition(), 0);
    EXPECT_EQ(file.GetCapacity(), 0);
    EXPECT_EQ(file.GetBytesLeft(), 9);

    VyTraceCapture trace;
    EXPECT_EQ(file.Write("XX", 2), 0);
    EXPECT_NE(trace.Text().find("Assertion Failed:!IsAttached()"), VyString::npos);
    EXPECT_STREQ(foreign, "read only");

    char out[9];
    EXPECT_EQ(file.Read(out, 9), 9);
    EXPECT_EQ(std::string(out, 9), "read only");
    file.Close(); // must not free the foreign buffer (the sanitizer build would catch it)
    EXPECT_FALSE(file.IsAttached());
}
