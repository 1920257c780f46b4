#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "vyio/VyMemFile.h"
#include "vyio/VyReadBytes.h"
#include "vythread/VyException.h"

namespace
{
std::string Bytes(VyMemFile& file)
{
    return std::string(file.GetView());
}

std::string Hex(const std::string& bytes, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count && i < bytes.size(); ++i)
        text += VyString::Format("%s%02X", i ? " " : "", static_cast<unsigned char>(bytes[i]));
    return text;
}

// Counts the size of every Read and can fail on request or yield a fixed result.
class VyScriptedStream : public VyIO
{
public:
    explicit VyScriptedStream(int available, int mode = VY_IO_ANY) : VyIO(mode), m_available(available) {}

    int Read(void* buffer, int count) override
    {
        m_reads.push_back(count);
        if (m_bFail)
            throw VyFileException("VyScripted", "Read", {}, "socket");
        if (m_nReadResult != 0)
            return m_nReadResult;
        const int got = std::min({count, m_available, m_nMaxRead});
        std::fill_n(static_cast<char*>(buffer), got, 'z');
        m_available -= got;
        return got;
    }
    int Write(const void*, int count) override
    {
        if (m_bFail)
            throw VyFileException("VyScripted", "Write", {}, "socket");
        m_written += count;
        return count;
    }
    void SeekToBegin() override {}
    void SeekToEnd() override {}
    void Seek(int) override {}
    void SetPosition(int) override {}
    int GetPosition() override { return 0; }
    bool IsEOF() override { return false; }

    std::vector<int> m_reads;
    int m_available;
    int m_written = 0;
    int m_nReadResult = 0;
    int m_nMaxRead = 1 << 30; // the most one Read delivers
    bool m_bFail = false;
};
} // namespace

TEST(VyIO, IntegerAndRectangleEncodingsAreLittleEndian)
{
    VyMemFile file;
    file << -1 << 0x12563478u << static_cast<unsigned short>(0xBEEF) << static_cast<short>(-2)
         << static_cast<unsigned char>(0x81) << 'A' << true << false << VyRect{1, 2, 3, 4};
    EXPECT_EQ(Hex(Bytes(file), 40), "FF FF FF FF 78 34 56 12 EF BE FE FF 81 41 01 00 "
                                     "01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00");

    file.SeekToBegin();
    int minusOne = 0;
    unsigned int word = 0;
    unsigned short half = 0;
    short negative = 0;
    unsigned char byte = 0;
    char letter = 0;
    bool yes = false, no = true;
    VyRect rect;
    file >> minusOne >> word >> half >> negative >> byte >> letter >> yes >> no >> rect;
    EXPECT_EQ(minusOne, -1);
    EXPECT_EQ(word, 0x12563478u);
    EXPECT_EQ(half, 0xBEEF);
    EXPECT_EQ(negative, -2);
    EXPECT_EQ(byte, 0x81);
    EXPECT_EQ(letter, 'A');
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    EXPECT_EQ(rect, (VyRect{1, 2, 3, 4}));

    const unsigned char seven = 7;
    VyMemFile nonzero(&seven, 1);
    bool flag = false;
    nonzero >> flag;
    EXPECT_TRUE(flag) << "any nonzero byte reads as true";
}

TEST(VyIO, ExtraTypesRoundTrip)
{
    VyMemFile file;
    file << 3.5f << -0.25 << VySize{640, 480} << VyPoint{-7, 9} << 0xFFFFFFFFul;
    EXPECT_EQ(file.GetLength(), 4 + 8 + 8 + 8 + 4);
    EXPECT_EQ(Hex(Bytes(file), 4), "00 00 60 40");
    file.SeekToBegin();
    float f = 0;
    double d = 0;
    VySize size;
    VyPoint point;
    unsigned long ul = 0;
    file >> f >> d >> size >> point >> ul;
    EXPECT_EQ(f, 3.5f);
    EXPECT_EQ(d, -0.25);
    EXPECT_EQ(size, (VySize{640, 480}));
    EXPECT_EQ(point, (VyPoint{-7, 9}));
    EXPECT_EQ(ul, 0xFFFFFFFFul);
}

TEST(VyIO, StringPrefixFormsAtEveryBoundary)
{
    struct Case
    {
        size_t length;
        const char* prefix;
    } cases[] = {{0, "00"},
                 {3, "03"},
                 {254, "FE"},
                 {255, "FF FF 00"},
                 {300, "FF 2C 01"},
                 {65533, "FF FD FF"},
                 {65534, "FF FF FF FE FF 00 00"},
                 {65535, "FF FF FF FF FF 00 00"}};
    for (const Case& c : cases)
    {
        VyString text(c.length, 'a');
        for (size_t i = 0; i < c.length; ++i)
            text[i] = static_cast<char>('a' + i % 26);
        VyMemFile file;
        file << text;
        const std::string bytes = Bytes(file);
        const size_t prefixLength = (std::string(c.prefix).size() + 1) / 3;
        EXPECT_EQ(Hex(bytes, prefixLength), c.prefix) << c.length;
        EXPECT_EQ(bytes.size(), prefixLength + c.length) << "no terminator";
        EXPECT_EQ(bytes.substr(prefixLength), text);

        file.SeekToBegin();
        VyString back("previous");
        file >> back;
        EXPECT_EQ(back, text) << c.length;
        EXPECT_TRUE(file.IsEOF());
    }
}

TEST(VyIO, HostileStringLengthThrowsInsteadOfAllocating)
{
    // FF FF FF then 0x7FFFFFF0: a 2 GB string claimed by a 9-byte stream.
    const unsigned char bytes[] = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b'};
    VyMemFile file(bytes, sizeof bytes);
    VyString text;
    try
    {
        file >> text;
        FAIL() << "no exception";
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(),
                  "*VyIO::operator >> VyString : string length 2147483632 is more than the 2 bytes left in the stream");
    }
    EXPECT_TRUE(text.empty());

    // A length that fits exactly is fine; one byte too many is not.
    const unsigned char exact[] = {0x02, 'h', 'i'};
    VyMemFile fits(exact, 3);
    fits >> text;
    EXPECT_EQ(text, "hi");
    VyMemFile oneShort(exact, 2);
    EXPECT_THROW(oneShort >> text, VyFileException);
}

TEST(VyIO, StringOfUnknownRemainingSizeKeepsWhatArrives)
{
    VyScriptedStream socket(10);
    // The prefix bytes come from the scripted source too ('z' = 0x7A = 122 bytes claimed).
    VyString text;
    socket >> text;
    EXPECT_EQ(text, std::string(9, 'z')) << "a stream that runs dry ends the string";
}

TEST(VyReadBytes, StreamsThatDeliverInPiecesAreReadToTheCount)
{
    VyScriptedStream trickle(10);
    trickle.m_nMaxRead = 3;
    std::string text;
    EXPECT_TRUE(VyReadExactly(trickle, 7, text));
    EXPECT_EQ(text, std::string(7, 'z'));
    EXPECT_FALSE(VyReadExactly(trickle, 7, text));
    EXPECT_EQ(text, "zzz") << "what arrived before the stream ran dry";

    // A stream that knows its size refuses a longer count before reading.
    VyMemFile small("abc", 3);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(VyReadExactly(small, 4, bytes));
    EXPECT_EQ(small.GetPosition(), 0);
    char buffer[8];
    EXPECT_EQ(VyReadUpTo(small, buffer, sizeof buffer), 3u);

    // A string of unknown remaining size whose bytes come in pieces is read whole ('z' claims 122).
    VyScriptedStream socket(200);
    socket.m_nMaxRead = 5;
    VyString whole;
    socket >> whole;
    EXPECT_EQ(whole, std::string(122, 'z'));
}

TEST(VyIO, SerializeWritesOnlyInWriteMode)
{
    for (int mode : {VY_IO_ANY, VY_IO_READ, VY_IO_WRITE})
    {
        const unsigned char bytes[] = {5, 0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
        VyMemFile source(bytes, sizeof bytes, mode);
        VyMemFile target(mode);
        VyIO& io = mode == VY_IO_WRITE ? static_cast<VyIO&>(target) : source;
        unsigned int u = 9;
        int i = -9;
        VyRect r{7, 8, 9, 10};
        io.Serialize(u);
        io.Serialize(i);
        io.Serialize(r);
        if (mode == VY_IO_WRITE)
        {
            EXPECT_TRUE(io.IsWriting());
            EXPECT_EQ(target.GetLength(), 24);
            EXPECT_EQ(Hex(Bytes(target), 8), "09 00 00 00 F7 FF FF FF");
        }
        else
        {
            EXPECT_FALSE(io.IsWriting());
            EXPECT_EQ(io.IsReading(), mode == VY_IO_READ);
            EXPECT_EQ(u, 5u);
            EXPECT_EQ(i, 6);
            EXPECT_EQ(r, (VyRect{1, 2, 3, 4}));
        }
    }
}

TEST(VyIO, ShortReadKeepsThePreviousValue)
{
    const unsigned char two[] = {0x34, 0x12};
    VyMemFile file(two, 2);
    int value = static_cast<int>(0xAABBCCDD);
    file >> value;
    EXPECT_EQ(static_cast<unsigned int>(value), 0xAABB1234u);
    VyRect rect{1, 2, 3, 4};
    file >> rect;
    EXPECT_EQ(rect, (VyRect{1, 2, 3, 4}));
}

TEST(VyIO, ReadLineAndWriteLine)
{
    const char text[] = "ab\ncd";
    VyMemFile file(text, 5);
    VyString line;
    EXPECT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "ab\n");
    EXPECT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "cd");
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(line, "");

    const char crlf[] = "x\r\n";
    VyMemFile withReturn(crlf, 3);
    EXPECT_TRUE(withReturn.ReadLine(line));
    EXPECT_EQ(line, "x\r\n") << "a carriage return is an ordinary byte";

    VyMemFile out;
    out.WriteLine("x");
    out.WriteLine("x\n");
    out.WriteLine("");
    EXPECT_EQ(Bytes(out), "x\nx\n");

    // A source that yields nothing without ever reporting its end must still end the reading.
    VyScriptedStream dry(0);
    EXPECT_FALSE(dry.ReadLine(line));
}

TEST(VyIO, CopiesUseTheirBlockSizesAndStopWhenTheSourceRunsDry)
{
    VyScriptedStream plenty(1000000);
    VyMemFile target;
    target.CopyFrom(plenty, 100000);
    EXPECT_EQ(plenty.m_reads, (std::vector<int>{32768, 32768, 32768, 1696}));
    EXPECT_EQ(target.GetLength(), 100000);

    VyScriptedStream shortSource(40000);
    VyMemFile second;
    second.CopyFrom(shortSource, 100000);
    EXPECT_EQ(shortSource.m_reads, (std::vector<int>{32768, 32768, 32768}));
    EXPECT_EQ(second.GetLength(), 40000);

    VyScriptedStream all(9000);
    VyMemFile third;
    third.CopyAll(all);
    EXPECT_EQ(all.m_reads, (std::vector<int>{4096, 4096, 4096, 4096}));
    EXPECT_EQ(third.GetLength(), 9000);

    VyScriptedStream broken(9000);
    broken.m_nReadResult = -1;
    VyMemFile fourth;
    fourth.CopyAll(broken);
    EXPECT_EQ(broken.m_reads.size(), 1u) << "a negative count ends the copy";
    EXPECT_EQ(fourth.GetLength(), 0);

    const char data[] = "0123456789";
    VyMemFile source(data, 10);
    VyScriptedStream sink(0);
    source.CopyAllTo(sink);
    EXPECT_EQ(sink.m_written, 10);
}

TEST(VyIO, EveryOperatorAddsItsContextLine)
{
    VyScriptedStream failing(0);
    failing.m_bFail = true;
    auto messageOf = [&](auto operation) {
        try
        {
            operation();
        }
        catch (VyFileException& error)
        {
            return VyString(error.GetMessage());
        }
        return VyString("no exception");
    };
    EXPECT_EQ(messageOf([&] { failing << VyString(300, 'x'); }),
              "*VyIO::operator << VyString\n*VyIO::operator << unsigned char\n*VyScripted::Write -> File: socket");
    EXPECT_EQ(messageOf([&] { failing << 'c'; }), "*VyIO::operator << char\n*VyScripted::Write -> File: socket");
    EXPECT_EQ(messageOf([&] { failing << true; }),
              "*VyIO::operator << unsigned char\n*VyScripted::Write -> File: socket");
    char c;
    EXPECT_EQ(messageOf([&] { failing >> c; }),
              "*VyIO::operator >> unsigned char\n*VyScripted::Read -> File: socket");
    VyRect r;
    EXPECT_EQ(messageOf([&] { failing >> r; }), "*VyIO::operator >> rect\n*VyScripted::Read -> File: socket");
    VyString s;
    EXPECT_EQ(messageOf([&] { failing >> s; }),
              "*VyIO::operator >> VyString\n*VyIO::operator >> unsigned char\n*VyScripted::Read -> File: socket");
    EXPECT_EQ(messageOf([&] { failing << 1u << 2; }),
              "*VyIO::operator << unsigned int\n*VyScripted::Write -> File: socket");
}
