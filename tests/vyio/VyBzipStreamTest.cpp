#include <gtest/gtest.h>

#include <vector>

#include "vyio/VyBzipStream.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyTraceCapture.h"

namespace
{
// Text-like bytes with some repetition, a little noise.
std::string SampleData(size_t length)
{
    std::string data;
    uint32_t state = 12345;
    const char* words[] = {"piece ", "board ", "square ", "tall ", "short ", "dark ", "white ", "\n"};
    while (data.size() < length)
    {
        state = state * 1103515245u + 12345u;
        data += words[(state >> 16) % 8];
        if ((state >> 8) % 7 == 0)
            data.push_back(static_cast<char>(state >> 24));
    }
    data.resize(length);
    return data;
}

std::string Compress(const std::string& data)
{
    VyMemFile packed;
    VyBzipStream packer(packed, VY_BZIP_COMPRESS);
    EXPECT_EQ(packer.Write(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    packer.Close();
    return std::string(packed.GetView());
}

std::string DecompressAll(const std::string& packed)
{
    VyMemFile source(packed.data(), static_cast<int>(packed.size()));
    VyBzipStream unpacker(source, VY_BZIP_DECOMPRESS);
    VyMemFile out;
    out.CopyAll(unpacker);
    return std::string(out.GetView());
}
} // namespace

TEST(VyBzipStream, RoundTripsOfManySizes)
{
    for (size_t length : {size_t{0}, size_t{1}, size_t{4999}, size_t{5001}, size_t{1234567}})
    {
        const std::string data = SampleData(length);
        const std::string packed = Compress(data);
        ASSERT_GE(packed.size(), 4u);
        EXPECT_EQ(packed.substr(0, 4), "BZh9");
        EXPECT_EQ(DecompressAll(packed), data) << length;
    }
}

TEST(VyBzipStream, ReadsEndCleanlyAtTheStreamEnd)
{
    const std::string data = SampleData(20000);
    const std::string packed = Compress(data) + "trailing bytes are not read";
    VyMemFile source(packed.data(), static_cast<int>(packed.size()));
    VyBzipStream unpacker(source, VY_BZIP_DECOMPRESS);
    std::string out(30000, '\0');
    EXPECT_EQ(unpacker.Read(out.data(), 10000), 10000);
    EXPECT_FALSE(unpacker.IsEOF());
    EXPECT_EQ(unpacker.Read(out.data() + 10000, 20000), 10000);
    EXPECT_TRUE(unpacker.IsEOF()) << "the compressed stream's end, not the source's";
    EXPECT_EQ(unpacker.Read(out.data(), 10), 0);
    EXPECT_FALSE(unpacker.HasFailed());
    out.resize(20000);
    EXPECT_EQ(out, data);

    // Lines come out whole even though the source is used up long before the last line.
    const std::string lines = "first\nsecond\nthird";
    const std::string packedLines = Compress(lines);
    VyMemFile lineSource(packedLines.data(), static_cast<int>(packedLines.size()));
    VyBzipStream lineReader(lineSource, VY_BZIP_DECOMPRESS);
    VyString line;
    std::vector<VyString> seen;
    while (lineReader.ReadLine(line))
        seen.push_back(line);
    EXPECT_EQ(seen, (std::vector<VyString>{"first\n", "second\n", "third"}));
}

TEST(VyBzipStream, TruncatedAndDamagedStreamsReportMinusOne)
{
    const std::string data = SampleData(300000);
    const std::string packed = Compress(data);

    // Cut in half: what could be decoded comes first, then -1, and the copy stops.
    const std::string half = packed.substr(0, packed.size() / 2);
    VyMemFile source(half.data(), static_cast<int>(half.size()));
    VyBzipStream unpacker(source, VY_BZIP_DECOMPRESS);
    VyMemFile out;
    out.CopyAll(unpacker);
    EXPECT_TRUE(unpacker.HasFailed());
    EXPECT_TRUE(unpacker.IsTruncated());
    EXPECT_LT(out.GetLength(), static_cast<int>(data.size()));
    EXPECT_EQ(std::string(out.GetView()),
              data.substr(0, static_cast<size_t>(out.GetLength())))
        << "the decoded part is correct";
    char byte;
    EXPECT_EQ(unpacker.Read(&byte, 1), -1) << "stays failed";

    // Only the header: nothing decoded, -1 at once.
    const std::string header = packed.substr(0, 10);
    VyMemFile headerSource(header.data(), 10);
    VyBzipStream headerOnly(headerSource, VY_BZIP_DECOMPRESS);
    EXPECT_EQ(headerOnly.Read(&byte, 1), -1);

    // Damaged bytes in the middle fail the block check.
    std::string damaged = packed;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 16; ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    VyMemFile damagedSource(damaged.data(), static_cast<int>(damaged.size()));
    VyBzipStream damagedReader(damagedSource, VY_BZIP_DECOMPRESS);
    VyMemFile sink;
    sink.CopyAll(damagedReader);
    EXPECT_TRUE(damagedReader.HasFailed());
    EXPECT_FALSE(damagedReader.IsTruncated());

    // Not bzip2 at all.
    const std::string text = "plain text, not compressed";
    VyMemFile textSource(text.data(), static_cast<int>(text.size()));
    VyBzipStream textReader(textSource, VY_BZIP_DECOMPRESS);
    EXPECT_EQ(textReader.Read(&byte, 1), -1);
}

TEST(VyBzipStream, UnsupportedDirectionAndPositioningReportAssertions)
{
    VyTraceCapture trace;
    VyMemFile memory;
    {
        VyBzipStream odd(memory, 3);
        char byte = 'x';
        EXPECT_EQ(odd.Write(&byte, 1), 0);
        EXPECT_EQ(odd.Read(&byte, 1), 0);
    }
    EXPECT_NE(trace.Text().find("Assertion Failed:false"), VyString::npos);
    EXPECT_EQ(memory.GetLength(), 0);

    trace.Clear();
    VyBzipStream packer(memory, VY_BZIP_COMPRESS);
    packer.SetPosition(3);
    EXPECT_EQ(packer.GetPosition(), 0);
    EXPECT_NE(trace.Text().find("VyBzipStream.cpp("), VyString::npos);
}
