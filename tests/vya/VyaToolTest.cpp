#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "vyio/VyArchive.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"

namespace
{
// Runs the built tool with the arguments (each single-quoted) and returns its exit code and output.
int RunVya(const std::vector<std::string>& args, std::string* output = nullptr, const std::string& env = "")
{
    std::string command = env + " '" + std::string(VYA_TOOL) + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, got);
    const int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(VyaTool, CreateListExtractRoundTripByteForByte)
{
    VyTestDir dir;
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary.push_back(static_cast<char>((i * 7919) >> 3));
    dir.Put("in/Strings/Strings.txt", "[Strings]\nRules=Place the piece.\n");
    dir.Put("in/sets/classic/Piece1.BMP", binary);
    dir.Put("in/empty.txt", "");
    const std::string archive = dir.File("out.vya");

    ASSERT_EQ(RunVya({"create", "--date", "01/03/2001 17:52:00", archive, dir.File("in")}), 0);
    std::string listing;
    ASSERT_EQ(RunVya({"list", archive}, &listing), 0);
    VyArchive opened;
    ASSERT_TRUE(opened.Open(archive));
    const VyArchive::Table table = opened.GetEntries();
    std::string expected;
    for (const auto& [name, entry] : table)
        expected += VyString::Format("%s %u %u 01/03/2001 17:52:00\n", name.c(), entry.m_storedSize, entry.m_unpackedSize);
    EXPECT_EQ(listing, expected);
    EXPECT_EQ(listing.substr(0, 12), "\\empty.txt 1"); // byte order: '\' 'e' < '\' 's' ...
    ASSERT_EQ(table.size(), 3u);
    for (const auto& [name, entry] : table)
    {
        EXPECT_EQ(entry.m_flags, 1u) << name;
        EXPECT_EQ(name, name.Lower());
    }
    EXPECT_EQ(table.at("\\sets\\classic\\piece1.bmp").m_unpackedSize, 70000u);

    ASSERT_EQ(RunVya({"extract", archive, "Sets\\Classic\\piece1.bmp", dir.File("piece.bmp")}), 0);
    EXPECT_EQ(VyTestDir::Slurp(dir.File("piece.bmp")), binary);
    std::string text;
    ASSERT_EQ(RunVya({"extract", archive, "\\strings\\strings.txt"}, &text), 0);
    EXPECT_EQ(text, "[Strings]\nRules=Place the piece.\n");
    ASSERT_EQ(RunVya({"extract", archive, "empty.txt", dir.File("empty.out")}), 0);
    EXPECT_EQ(VyTestDir::Slurp(dir.File("empty.out")), "");
    EXPECT_EQ(RunVya({"extract", archive, "missing.txt"}, &text), 1);
}

TEST(VyaTool, SameInputsGiveTheSameBytes)
{
    VyTestDir dir;
    dir.Put("in/a.txt", "alpha");
    dir.Put("in/b/c.txt", "charlie");
    ASSERT_EQ(RunVya({"create", dir.File("one.vya"), dir.File("in")}, nullptr, "SOURCE_DATE_EPOCH=86400"), 0);
    std::filesystem::last_write_time(dir.File("in/a.txt"), std::filesystem::file_time_type::clock::now());
    ASSERT_EQ(RunVya({"create", dir.File("two.vya"), dir.File("in")}, nullptr, "SOURCE_DATE_EPOCH=86400"), 0);
    EXPECT_EQ(VyTestDir::Slurp(dir.File("one.vya")), VyTestDir::Slurp(dir.File("two.vya")));
    std::string listing;
    RunVya({"list", dir.File("one.vya")}, &listing);
    EXPECT_NE(listing.find("\\a.txt 42 5 01/02/1970 00:00:00\n"), std::string::npos) << listing;

    // Two files that differ only in case would give one entry name.
    dir.Put("clash/A.txt", "1");
    dir.Put("clash/a.txt", "2");
    std::string error;
    EXPECT_EQ(RunVya({"create", dir.File("clash.vya"), dir.File("clash")}, &error), 1);
    EXPECT_NE(error.find("two files give the entry name"), std::string::npos);
    EXPECT_EQ(RunVya({"bogus"}, &error), 2);
}

TEST(VyaTool, ACreateThatCannotFinishLeavesTheOldArchive)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    VyTestDir dir;
    dir.Put("in/a.txt", "alpha");
    const std::string archive = dir.File("out.vya");
    ASSERT_EQ(RunVya({"create", archive, dir.File("in")}), 0);
    const std::string old = VyTestDir::Slurp(archive);
    dir.Put("in/b.txt", "bravo");

    // The device behind the temporary file is full.
    ASSERT_EQ(symlink("/dev/full", (archive + ".tmp").c_str()), 0);
    std::string error;
    EXPECT_EQ(RunVya({"create", archive, dir.File("in")}, &error), 1);
    EXPECT_EQ(error, "vya: *vya::Create : could not write -> File: " + archive + "\n*VyFile::Sync -> File: " + archive +
                         ".tmp\nNo space left on device\n");
    EXPECT_EQ(VyTestDir::Slurp(archive), old);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(archive + ".tmp")));
}
