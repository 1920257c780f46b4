#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vyio/VyArchiveBuilder.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyException.h"
#include "vythread/VyTraceCapture.h"

// Every test runs in a temporary working directory: no resource.vya, no vyw.cfg there at first.
static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);

namespace
{
std::string Resource(VyResourceSource& source, const VyString& path)
{
    VyMemFile out;
    source.GetResourceFile(path, out);
    return std::string(out.GetView());
}

// A platform of a program that carries no archive inside.
class VyPlatformWithoutEmbedded : public VyPlatform
{
public:
    VyPlatformWithoutEmbedded() { OpenArchive(); }

protected:
    bool GetEmbeddedArchive(const unsigned char*&, int&) const override { return false; }
};

void WriteArchive(const std::string& path, const VyString& name, const std::string& contents)
{
    VyArchiveBuilder builder;
    builder.Add(name, contents.data(), static_cast<int>(contents.size()), true, "01/01/2026 00:00:00");
    VyFile file;
    ASSERT_TRUE(file.Open(path, VY_FILE_WRITE));
    builder.Write(file);
}
} // namespace

TEST(VyPlatform, FindsTheArchiveLinkedIntoTheProgram)
{
    ASSERT_FALSE(std::filesystem::exists("resource.vya"));
    VyPlatform platform;
    EXPECT_EQ(VyPlatform::Get(), &platform);
    EXPECT_EQ(VyResourceSource::GetCurrent(), &platform);
    EXPECT_TRUE(platform.GetArchive().HasEntries());

    const std::string source = VyTestDir::Slurp(VYW_STRINGS_SOURCE);
    EXPECT_EQ(Resource(platform, "Strings\\Strings.TXT"), source);
    EXPECT_EQ(source.rfind("[Strings]\n", 0), 0u);

    // The archive's copy wins over a file of the same path on disk.
    std::filesystem::create_directories("strings");
    std::ofstream("strings/strings.txt") << "[Strings]\nRules=from the disk\n";
    EXPECT_EQ(Resource(platform, "strings\\strings.txt"), source);
    std::filesystem::remove_all("strings");

    // Configuration files reach the archive through the installed platform; the string table's rules
    // are one line.
    VyConfigFile strings("strings\\strings.txt");
    const VyString rules = strings.GetString("Strings", "Rules", "");
    EXPECT_GT(rules.size(), 200u);
    EXPECT_EQ(rules.find('\n'), VyString::npos);
}

TEST(VyPlatform, LookUpFallsBackFromArchiveFileToDiskToTheResourceDirectory)
{
    VyTestDir dir;
    VyScopedWorkingDir inside(dir.Path());
    WriteArchive("resource.vya", "\\dialogs\\2player.dlg", "from the archive file");
    dir.Put("only/on/disk.txt", "from the disk");
    VyTestDir elsewhere;
    elsewhere.Put("colors/far.color", "from the resource directory");

    VyPlatformWithoutEmbedded platform;
    EXPECT_EQ(platform.GetArchive().GetEntryCount(), 1);
    EXPECT_EQ(Resource(platform, "Dialogs\\2Player.dlg"), "from the archive file");
    EXPECT_EQ(Resource(platform, "only\\on\\disk.txt"), "from the disk");

    VyConfigFile("vyw.cfg").SetString("Directories", "Resource", elsewhere.Path().string());
    EXPECT_EQ(Resource(platform, "colors\\far.color"), "from the resource directory");
    VyConfigFile("vyw.cfg").SetString("Directories", "Resource", "");

    try
    {
        Resource(platform, "Colors\\Default.Color");
        FAIL();
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(),
                  "*VyPlatform::GetResourceFile : Could not locate resource file -> File: Colors\\Default.Color");
    }
}

TEST(VyPlatform, DamagedArchiveFileIsTreatedAsAbsent)
{
    VyTestDir dir;
    VyScopedWorkingDir inside(dir.Path());
    dir.Put("resource.vya", std::string("\xFF\xFF\xFF\x0F garbage", 12));
    dir.Put("a.txt", "disk");
    VyTraceCapture trace;
    VyPlatformWithoutEmbedded platform;
    const VyString seen = trace.Text();
    EXPECT_FALSE(platform.GetArchive().HasEntries());
    EXPECT_NE(seen.find("*VyPlatform::OpenArchive : the archive file is not used"), VyString::npos);
    EXPECT_NE(seen.find("-> File: resource.vya"), VyString::npos);
    EXPECT_EQ(Resource(platform, "a.txt"), "disk");
}

TEST(VyPlatform, MetricTableTitlesCommandLineAndRestart)
{
    VyTraceCapture capture;
    VyPlatform platform;
    // The metrics the controls take from the desktop elsewhere: scroll bars, caret blink, double click.
    EXPECT_EQ(platform.GetSysMetric(0), 16);
    EXPECT_EQ(platform.GetSysMetric(2), 530);
    EXPECT_EQ(platform.GetSysMetric(14), 500);
    EXPECT_EQ(platform.GetSysMetric(23), 2);
    capture.Clear();
    EXPECT_EQ(platform.GetSysMetric(24), 0);
    EXPECT_EQ(platform.GetSysMetric(-1), 0);
    const VyString trace = capture.Text();
    EXPECT_EQ(trace.size() - trace.rfind("Assertion Failed:sysMetric>=0 && sysMetric<NUMBER_OF_SYS_METRICS\n"),
              std::string("Assertion Failed:sysMetric>=0 && sysMetric<NUMBER_OF_SYS_METRICS\n").size());

    platform.SetTitle("Tolmar");
    EXPECT_EQ(platform.GetTitle(), "Tolmar");
    platform.SetSubTitle("game.sav");
    EXPECT_EQ(platform.GetTitle(), "Tolmar - game.sav");
    platform.SetSubTitle("");
    EXPECT_EQ(platform.GetTitle(), "Tolmar");

    const char* argv[] = {"tolmar", "--quit-after-frames", "12", "extra"};
    platform.SetCommandLine(4, argv);
    EXPECT_EQ(platform.GetQuitAfterFrames(), 12);
    EXPECT_EQ(platform.GetCommandWords(), (std::vector<VyString>{"--quit-after-frames", "12", "extra"}));

    EXPECT_FALSE(platform.IsQuitRequested());
    platform.Restart();
    EXPECT_TRUE(platform.IsRestartRequested());
    EXPECT_TRUE(platform.IsQuitRequested());
}

TEST(VyResourceSource, WithoutPlatformTheDiskIsAsked)
{
    ASSERT_EQ(VyResourceSource::GetCurrent(), nullptr);
    VyTestDir dir;
    VyScopedWorkingDir inside(dir.Path());
    dir.Put("sets/classic/classic.cfg", "[Set]\n");
    VyMemFile out;
    VyResourceSource::Fetch("sets\\classic\\classic.cfg", out);
    EXPECT_EQ(out.GetView(), "[Set]\n");
    EXPECT_THROW(VyResourceSource::Fetch("sets\\none.cfg", out), VyFileException);

    EXPECT_EQ(VyResourceSource::JoinPath("Colors", "blue.color"), "Colors\\blue.color");
    EXPECT_EQ(VyResourceSource::JoinPath("Colors\\", "x"), "Colors\\x");
    EXPECT_EQ(VyResourceSource::JoinPath("", "dialogs\\2player.dlg"), "\\dialogs\\2player.dlg");
}

TEST(VyPlatform, FileNamesAreAskedOfTheInstalledFileDialog)
{
    VyPlatform platform;
    VyString path = "untouched";
    {
        VyTraceCapture trace;
        EXPECT_FALSE(platform.AskFileName(VyFileDialogMode::SAVE, "game.sav", path));
        EXPECT_EQ(trace.Text(), "VyPlatform::AskFileName : no file dialog is installed\n");
    }
    EXPECT_EQ(path, "untouched");

    // A dialog whose user saves under the proposed name and cancels every open.
    struct Dialog : VyFileDialogHost
    {
        bool AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath) override
        {
            asked.push_back((mode == VyFileDialogMode::OPEN ? "open " : "save ") + defaultName);
            if (mode == VyFileDialogMode::OPEN)
                return false;
            outPath = "saves/" + defaultName;
            return true;
        }
        std::vector<VyString> asked;
    } dialog;
    platform.SetFileDialogHost(&dialog);
    EXPECT_TRUE(platform.AskFileName(VyFileDialogMode::SAVE, "game.sav", path));
    EXPECT_EQ(path, "saves/game.sav");
    EXPECT_FALSE(platform.AskFileName(VyFileDialogMode::OPEN, "old.sav", path));
    EXPECT_EQ(dialog.asked, (std::vector<VyString>{"save game.sav", "open old.sav"}));

    platform.SetFileDialogHost(nullptr);
    EXPECT_FALSE(platform.AskFileName(VyFileDialogMode::OPEN, "old.sav", path));
    EXPECT_EQ(dialog.asked.size(), 2u);
}
