#include <gtest/gtest.h>

#include <cstring>

#include "vyio/VyArchive.h"
#include "vyio/VyArchiveBuilder.h"
#include "vyio/VyArchiveSource.h"
#include "vyio/VyBzipStream.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"
#include "vythread/VyTraceCapture.h"

namespace
{
std::string Text(const VyMemFile& file)
{
    return std::string(file.GetView());
}

const char VY_DATE[] = "01/03/2001 17:52:00";

std::string BuildArchive()
{
    VyArchiveBuilder builder;
    const std::string strings = "[Strings]\nRules=Place the piece you are given.\n";
    const std::string binary("\x00\x01\xFF\xFE\x80 raw", 9);
    builder.Add("\\strings\\strings.txt", strings.data(), static_cast<int>(strings.size()), true, VY_DATE);
    builder.Add("\\x", "ex", 2, true, VY_DATE);
    builder.Add("\\raw.bin", binary.data(), static_cast<int>(binary.size()), false, VY_DATE);
    VyMemFile out;
    builder.Write(out);
    return Text(out);
}

VyString Fetch(VyArchive& archive, const VyString& name)
{
    VyMemFile out;
    if (!archive.GetFile(name, out))
        return "<absent>";
    EXPECT_EQ(out.GetPosition(), 0);
    return Text(out);
}

std::string ErrorOf(VyArchive& archive, const std::string& bytes, const std::string& path)
{
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    try
    {
        archive.Open(path);
    }
    catch (VyFileException& error)
    {
        return error.GetMessage();
    }
    return "no exception";
}
} // namespace

TEST(VyArchive, LooksUpNamesLikeTheResourcePaths)
{
    VyTestDir dir;
    const std::string path = dir.Put("resource.vya", BuildArchive());
    VyArchive archive;
    ASSERT_TRUE(archive.Open(path));
    EXPECT_TRUE(archive.HasEntries());
    EXPECT_EQ(archive.GetEntryCount(), 3);

    EXPECT_EQ(Fetch(archive, "Strings\\Strings.TXT"), "[Strings]\nRules=Place the piece you are given.\n");
    EXPECT_EQ(Fetch(archive, "\\strings\\strings.txt"), Fetch(archive, "strings\\strings.txt"));
    EXPECT_EQ(Fetch(archive, "x"), "ex");
    EXPECT_EQ(Fetch(archive, "\\\\x"), "<absent>") << "two backslashes are not one";
    EXPECT_EQ(Fetch(archive, "strings"), "<absent>");
    EXPECT_EQ(Fetch(archive, "RAW.BIN"), std::string("\x00\x01\xFF\xFE\x80 raw", 9)) << "stored as is";

    // Appends at the stream's position, then rewinds.
    VyMemFile out;
    out.Write("AB", 2);
    ASSERT_TRUE(archive.GetFile("x", out));
    EXPECT_EQ(Text(out), "ABex");

    EXPECT_FALSE(archive.Open(dir.File("missing.vya")));
    EXPECT_FALSE(archive.HasEntries());
    EXPECT_EQ(Fetch(archive, "x"), "<absent>");
}

TEST(VyArchive, AttachedMemoryArchiveAndDuplicateNames)
{
    // Two records of one name: the later one counts.
    VyMemFile image;
    image << 2u;
    const unsigned int dataStart = 4 + 2 * (1 + 3 + 16 + 1);
    VyArchiveEntry first{"\\ab", dataStart, 2, 0, 2, ""};
    VyArchiveEntry second{"\\ab", dataStart + 2, 2, 0, 2, ""};
    first.WriteRecord(image);
    second.WriteRecord(image);
    image.Write("1122", 4);
    ASSERT_EQ(image.GetLength(), static_cast<int>(dataStart + 4));

    const std::string bytes = Text(image);
    VyArchive archive;
    archive.Attach(std::make_unique<VyMemFile>(bytes.data(), static_cast<int>(bytes.size())));
    EXPECT_EQ(archive.GetEntryCount(), 1);
    EXPECT_EQ(Fetch(archive, "AB"), "22");
}

TEST(VyArchive, DamagedTablesAreRefusedNamingTheFile)
{
    VyTestDir dir;
    const std::string path = dir.File("bad.vya");
    const std::string good = BuildArchive();
    VyArchive archive;

    // A count far beyond what the file holds.
    std::string hugeCount = good;
    hugeCount[3] = '\x7F';
    EXPECT_EQ(ErrorOf(archive, hugeCount, path),
              "*VyArchive::ReadTable : damaged archive -> File: " + path +
                  "\n*VyArchive::ReadTable : 2130706435 entries do not fit -> File: " + path);
    EXPECT_FALSE(archive.HasEntries());

    // The table cut inside a record.
    VyArchiveBuilder single;
    single.Add("\\x", "ex", 2, false, VY_DATE);
    VyMemFile singleImage;
    single.Write(singleImage);
    const std::string cut = Text(singleImage).substr(0, 22);
    EXPECT_NE(ErrorOf(archive, cut, path).find("entry table is cut short"), std::string::npos);

    // A name length running past the end.
    std::string longName = good;
    longName[4] = '\xFF';
    longName[5] = '\xFF';
    longName[6] = '\xFF';
    EXPECT_NE(ErrorOf(archive, longName, path).find("bytes left in the stream -> File: " + path), std::string::npos);

    // Data beyond the end of the file.
    EXPECT_NE(ErrorOf(archive, good.substr(0, good.size() - 1), path).find("lies beyond the end"), std::string::npos);

    // Too short to hold a count.
    EXPECT_NE(ErrorOf(archive, "ab", path).find("entries do not fit"), std::string::npos);
    EXPECT_FALSE(archive.HasEntries());

    // Good table, damaged compressed data: the entry read fails loudly.
    std::string damaged = good;
    const size_t bz = damaged.find("BZh9", damaged.find("BZh9") + 4);
    ASSERT_NE(bz, std::string::npos);
    for (size_t i = bz + 10; i < bz + 30; ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x33);
    EXPECT_EQ(ErrorOf(archive, damaged, path), "no exception");
    VyMemFile out;
    bool failed = false;
    for (const char* name : {"strings\\strings.txt", "x"})
    {
        try
        {
            archive.GetFile(name, out);
        }
        catch (VyFileException& error)
        {
            failed = true;
            EXPECT_NE(error.GetMessage().find("*VyArchive::GetFile"), VyString::npos);
        }
    }
    EXPECT_TRUE(failed);
}

namespace
{
// An archive of one compressed entry whose record gives the unpacked size as told, whatever the
// contents really unpack to.
std::string ArchiveClaiming(const std::string& contents, unsigned int unpackedSize)
{
    VyMemFile packed;
    {
        VyBzipStream packer(packed, VY_BZIP_COMPRESS);
        packer.Write(contents.data(), static_cast<int>(contents.size()));
    }
    VyArchive::Table table;
    VyArchiveEntry& entry = table["\\big.txt"];
    entry.m_name = "\\big.txt";
    entry.m_flags = VY_ARCHIVE_COMPRESSED;
    entry.m_storedSize = static_cast<unsigned int>(packed.GetLength());
    entry.m_unpackedSize = unpackedSize;
    entry.m_date = VY_DATE;
    VyMemFile image;
    VyArchive::WriteTable(image, table);
    image.Write(packed.GetData(), packed.GetLength());
    return Text(image);
}

// The failure text of reading the entry, "no exception" or "<absent>"; what was unpacked goes to out.
std::string ReadFailure(const std::string& archiveBytes, VyMemFile& out)
{
    VyArchive archive;
    archive.Attach(std::make_unique<VyMemFile>(archiveBytes.data(), static_cast<int>(archiveBytes.size())));
    try
    {
        return archive.GetFile("big.txt", out) ? "no exception" : "<absent>";
    }
    catch (VyFileException& error)
    {
        return error.GetMessage();
    }
}
} // namespace

// Unpacking stops at the record's unpacked size: a small entry of a hostile archive cannot fill the memory.
TEST(VyArchive, AnEntryThatUnpacksPastItsRecordedSizeIsDamaged)
{
    const std::string zeros(4 * 1024 * 1024, '\0');
    const std::string expands = "*VyArchive::GetFile : expands past its unpacked size -> File: \\big.txt";
    VyMemFile out;
    EXPECT_EQ(ReadFailure(ArchiveClaiming(zeros, 100), out), expands);
    EXPECT_LE(out.GetLength(), 100) << "unpacking stopped at the recorded size";
    VyMemFile one;
    EXPECT_EQ(ReadFailure(ArchiveClaiming("ab", 1), one), expands) << "one byte over is too much";
    VyMemFile none;
    EXPECT_EQ(ReadFailure(ArchiveClaiming("a", 0), none), expands);

    // The exact size and a smaller contents than recorded both read whole.
    VyMemFile exact;
    EXPECT_EQ(ReadFailure(ArchiveClaiming(zeros, static_cast<unsigned int>(zeros.size())), exact), "no exception");
    EXPECT_EQ(Text(exact), zeros);
    VyMemFile shorter;
    EXPECT_EQ(ReadFailure(ArchiveClaiming("short", 1000), shorter), "no exception");
    EXPECT_EQ(Text(shorter), "short");
    VyMemFile empty;
    EXPECT_EQ(ReadFailure(ArchiveClaiming("", 0), empty), "no exception");
    EXPECT_EQ(Text(empty), "");

    // Data damaged from its first byte under the largest size a record can give: the failed first read
    // ends the copy (it once was counted as one byte more to read, past the largest int).
    std::string damaged = ArchiveClaiming(std::string(5000, 'x') + "tolmar", 0xFFFFFFFFu);
    ASSERT_NE(damaged.find("BZh"), std::string::npos);
    damaged[damaged.find("BZh")] = 'X';
    VyMemFile broken;
    EXPECT_EQ(ReadFailure(damaged, broken), "*VyArchive::GetFile : damaged compressed data -> File: \\big.txt");
}

TEST(VyArchive, SaveRewritesDataInNameOrder)
{
    // Entries whose data lies in reverse name order, with a gap of junk between them.
    VyMemFile image;
    image << 3u;
    const char* names[] = {"\\a", "\\b", "\\c"};
    const char* contents[] = {"alpha", "bravo!", "charlie"};
    VyMemFile records;
    for (const char* name : names)
        VyArchiveEntry{name, 0, 0, 0, 0, VY_DATE}.WriteRecord(records);
    unsigned int position = 4u + static_cast<unsigned int>(records.GetLength()) + 3; // 3 junk bytes first
    unsigned int starts[3];
    for (int i = 2; i >= 0; --i)
    {
        starts[i] = position;
        position += static_cast<unsigned int>(strlen(contents[i]));
    }
    for (int i = 0; i < 3; ++i)
    {
        const unsigned int size = static_cast<unsigned int>(strlen(contents[i]));
        VyArchiveEntry{names[i], starts[i], size, 0, size, VY_DATE}.WriteRecord(image);
    }
    image.Write("###", 3);
    for (int i = 2; i >= 0; --i)
        image.Write(contents[i], static_cast<int>(strlen(contents[i])));

    VyTestDir dir;
    const std::string original = dir.Put("old.vya", Text(image));
    const std::string saved = dir.File("new.vya");
    VyArchive archive;
    ASSERT_TRUE(archive.Open(original));
    archive.Save(saved);

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Fetch(archive, names[i]), contents[i]);
    const VyArchive::Table table = archive.GetEntries();
    const unsigned int dataStart = 4u + static_cast<unsigned int>(records.GetLength());
    EXPECT_EQ(table.at("\\a").m_startingPos, dataStart);
    EXPECT_EQ(table.at("\\b").m_startingPos, dataStart + 5);
    EXPECT_EQ(table.at("\\c").m_startingPos, dataStart + 11);
    const std::string bytes = VyTestDir::Slurp(saved);
    EXPECT_EQ(bytes.substr(dataStart), "alphabravo!charlie");
    EXPECT_FALSE(std::filesystem::exists(saved + ".tmp"));

    // A modified archive saves itself to its own file when closed.
    VyArchive second;
    ASSERT_TRUE(second.Open(original));
    second.SetModified();
    second.Close();
    EXPECT_EQ(VyTestDir::Slurp(original), bytes);
}

TEST(VyArchiveSource, AnswersFromItsArchiveOnlyAndPutsThePreviousSourceBack)
{
    VyTestDir dir;
    const std::string path = dir.Put("resource.vya", BuildArchive());
    VyResourceSource* const before = VyResourceSource::GetCurrent();
    {
        VyArchiveSource outer(path);
        EXPECT_EQ(VyResourceSource::GetCurrent(), &outer);
        ASSERT_TRUE(outer.HasArchive());
        VyMemFile out;
        VyResourceSource::Fetch("strings\\strings.txt", out);
        EXPECT_EQ(Text(out), "[Strings]\nRules=Place the piece you are given.\n");
        dir.Put("only-on-disk.txt", "x");
        try
        {
            VyResourceSource::Fetch(dir.File("only-on-disk.txt"), out);
            ADD_FAILURE() << "the disk was searched";
        }
        catch (const VyFileException& error)
        {
            EXPECT_EQ(error.GetMessage(),
                      "*VyPlatform::GetResourceFile : Could not locate resource file -> File: " + dir.File("only-on-disk.txt"));
        }
        {
            // Neither a missing file nor a damaged one gives entries; the damage is reported.
            VyArchiveSource missing(dir.File("missing.vya"));
            EXPECT_FALSE(missing.HasArchive());
            VyTraceCapture trace;
            VyArchiveSource damaged(dir.Put("damaged.vya", "\x09"));
            EXPECT_FALSE(damaged.HasArchive());
            EXPECT_TRUE(trace.Has("*VyArchiveSource::VyArchiveSource : the archive file is not used -> File: " +
                                  dir.File("damaged.vya")));
            EXPECT_EQ(VyResourceSource::GetCurrent(), &damaged);
        }
        EXPECT_EQ(VyResourceSource::GetCurrent(), &outer);
    }
    EXPECT_EQ(VyResourceSource::GetCurrent(), before);
    // A program that links no archive has none.
    VyArchiveSource linked;
    EXPECT_FALSE(linked.HasArchive());
}
