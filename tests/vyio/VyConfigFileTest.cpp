#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "VyOrdinaryUser.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"
#include "vythread/VyTraceCapture.h"

// The cache lives as long as the process, so every test works on file names of its own, and the
// program runs in a temporary working directory, where vyw.cfg is made.
static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);

TEST(VyConfigFile, SyntaxRules)
{
    VyTestDir dir;
    const std::string path = dir.Put("syntax.cfg", "ignored=before any section\n"
                                                   "[General]\n"
                                                   "Size=250, 205\t\r\n"
                                                   "=x\n"
                                                   "abc\n"
                                                   "a=b=c\n"
                                                   "*comment=1\n"
                                                   "\\comment=2\n"
                                                   "# x\n"
                                                   "  spaced key  =  spaced value \x80\xFF\n"
                                                   "twice=1\n"
                                                   "[]\n"
                                                   "[ Other ]\n"
                                                   "k=v\n"
                                                   "[General]\n"
                                                   "twice=2");
    VyConfigFile config(path);
    EXPECT_EQ(config.GetString("General", "Size", "?"), "250, 205");
    EXPECT_EQ(config.GetInt("General", "Size", 0), 250);
    std::vector<VyString> keys, values;
    config.GetSection("General", keys, values);
    EXPECT_EQ(keys, (std::vector<VyString>{"# x", "Size", "a", "abc", "spaced key", "twice"}));
    EXPECT_EQ(values, (std::vector<VyString>{"", "250, 205", "b=c", "", "spaced value", "2"}));
    config.GetSection(" Other ", keys, values);
    EXPECT_EQ(keys, (std::vector<VyString>{"k"})) << "section names are not trimmed";
    config.GetSection("Missing", keys, values);
    EXPECT_TRUE(keys.empty() && values.empty());
    EXPECT_EQ(VyTestDir::Slurp(path).substr(0, 7), "ignored") << "reading never writes";
}

TEST(VyConfigFile, TypedGettersAndTheirDefaults)
{
    VyTestDir dir;
    const std::string path = dir.Put("typed.cfg", "[B]\na=TRUE\nb=True\nc=t\nd=T\ne=1\nf=yes\ng=01\nh=\n");
    VyConfigFile config(path);
    for (const char* key : {"a", "b", "c", "d", "e"})
        EXPECT_TRUE(config.GetBool("B", key, false)) << key;
    for (const char* key : {"f", "g", "h"})
        EXPECT_FALSE(config.GetBool("B", key, true)) << key;
    EXPECT_TRUE(config.GetBool("B", "new", true));
    EXPECT_EQ(config.GetInt("N", "n", -42), -42);
    EXPECT_EQ(config.GetString("B", "new", "?"), "TRUE");
    EXPECT_EQ(config.GetString("N", "n", "?"), "-42");
}

TEST(VyConfigFile, MissingKeyIsAddedAndTheFileRewrittenSorted)
{
    VyTestDir dir;
    const std::string path = dir.Put("Tolmar.cfg", "* settings\r\n[Player]\r\nName=Ann\r\n\r\n[Game]\r\nLevel=3\r\n");
    VyConfigFile config(path);
    EXPECT_EQ(config.GetString("Player", "Colour", "dark"), "dark");
    EXPECT_EQ(VyTestDir::Slurp(path), "[Game]\nLevel=3\n\n[Player]\nColour=dark\nName=Ann\n\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_FALSE(config.IsModified()) << "adding a default is not a change of the object";
}

TEST(VyConfigFile, ReadOnlyObjectsNeverChangeTheCache)
{
    VyTestDir dir;
    const VyString name = dir.File("scheme.color");
    const char text[] = "[Colors]\nBUTTON_FACE=140, 166, 242\n";
    VyMemFile stream(text, sizeof text - 1);
    VyConfigFile scheme(name, stream);
    EXPECT_TRUE(scheme.IsReadOnly());
    EXPECT_EQ(scheme.GetString("Colors", "BUTTON_FACE", ""), "140, 166, 242");
    EXPECT_EQ(scheme.GetString("Colors", "CARET", "default"), "default");
    std::vector<VyString> keys, values;
    scheme.GetSection("Colors", keys, values);
    EXPECT_EQ(keys.size(), 1u);

    VyTraceCapture trace;
    scheme.SetString("Colors", "CARET", "1,2,3");
    EXPECT_NE(trace.Text().find("Assertion Failed:!m_bReadOnly"), VyString::npos);
    EXPECT_EQ(scheme.GetString("Colors", "CARET", "default"), "default");
    EXPECT_FALSE(std::filesystem::exists(std::string(name))) << "nothing is written for a read-only object";

    // A second stream for a cached name is not parsed again.
    const char other[] = "[Colors]\nBUTTON_FACE=1,1,1\n";
    VyMemFile second(other, sizeof other - 1);
    scheme.SetFile(name, second);
    EXPECT_EQ(scheme.GetString("Colors", "BUTTON_FACE", ""), "140, 166, 242");
}

TEST(VyConfigFile, ObjectsOnOneNameShareValuesAndSetIntWaitsForTheNextSave)
{
    VyTestDir dir;
    const std::string path = dir.Put("shared.cfg", "[S]\nk=1\n");
    VyConfigFile first(path);
    VyConfigFile second(path);
    first.SetString("S", "k", "2");
    EXPECT_EQ(second.GetString("S", "k", "?"), "2") << "seen before any save";
    EXPECT_EQ(VyTestDir::Slurp(path), "[S]\nk=1\n");
    EXPECT_TRUE(first.IsModified());

    second.SetInt("S", "n", 7);
    EXPECT_FALSE(second.IsModified());
    EXPECT_EQ(VyTestDir::Slurp(path), "[S]\nk=1\n") << "SetInt does not save at once";
    EXPECT_EQ(first.GetInt("S", "n", 0), 7);

    // The next save of the file by any object takes both values along.
    second.GetString("T", "added", "x");
    EXPECT_EQ(VyTestDir::Slurp(path), "[S]\nk=2\nn=7\n\n[T]\nadded=x\n\n");

    second.SetInt("S", "n", 8, VY_CONFIG_SAVE_NOW);
    EXPECT_EQ(VyTestDir::Slurp(path), "[S]\nk=2\nn=8\n\n[T]\nadded=x\n\n");

    // Re-targeting a modified object saves under the old name first.
    first.SetString("S", "k", "3");
    const std::string otherPath = dir.Put("other.cfg", "[O]\n");
    first.SetFile(otherPath);
    EXPECT_EQ(VyTestDir::Slurp(path), "[S]\nk=3\nn=8\n\n[T]\nadded=x\n\n");
    EXPECT_FALSE(first.IsReadOnly());
}

TEST(VyConfigFile, FailedSavesLeaveTheOldFile)
{
    VyTestDir dir;
    // The temporary file cannot be created: nothing is written.
    const std::string blocked = dir.Put("blocked.cfg", "[S]\nold=1\n");
    std::filesystem::create_directory(blocked + ".tmp");
    {
        VyConfigFile config(blocked);
        EXPECT_EQ(config.GetString("S", "new", "x"), "x");
        config.SetString("S", "old", "2");
    }
    EXPECT_EQ(VyTestDir::Slurp(blocked), "[S]\nold=1\n");

    // The temporary file cannot be written completely (the disk is full): the old file stays whole
    // and the partial temporary file is removed.
    const std::string full = dir.Put("full.cfg", "[S]\nold=1\n");
    std::error_code noFullDevice;
    std::filesystem::create_symlink("/dev/full", full + ".tmp", noFullDevice);
    if (noFullDevice || !std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    VyTraceCapture trace;
    {
        VyConfigFile config(full);
        config.SetString("S", "old", "2");
    }
    EXPECT_EQ(VyTestDir::Slurp(full), "[S]\nold=1\n");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(full + ".tmp")));
    EXPECT_NE(trace.Text().find("*VyConfigFile::Save : not saved -> File: " + full), VyString::npos);
    EXPECT_TRUE(trace.Has("*VyConfigFile::Save : not saved -> File: " + full + "\n*VyFile::Sync -> File: " + full +
                          ".tmp\nReason: No space left on device\n"));
}

TEST(VyConfigFile, ASaveIntoAFolderTheUserCannotWriteLeavesTheOldFileAndIsReported)
{
    const std::filesystem::path folder = VyOrdinaryUser::MakeFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = (folder / "locked.cfg").string();
    // Codes the child ends with: 0 as expected, otherwise the first check that failed.
    const int status = VyOrdinaryUser::Run([&]() {
        {
            std::ofstream(path, std::ios::binary) << "[S]\nold=1\n";
        }
        if (chmod(folder.c_str(), 0555) != 0)
            return 10;
        VyTraceCapture trace;
        {
            VyConfigFile config(path);
            config.SetString("S", "old", "2");
        }
        if (!trace.Has("*VyConfigFile::Save : not saved -> File: " + path +
                       "\n*VyFile::WriteReplacing : could not create the file -> File: " + path +
                       ".tmp\nReason: Permission denied\n"))
            return 11;
        return VyTestDir::Slurp(path) == "[S]\nold=1\n" && !std::filesystem::exists(path + ".tmp") ? 0 : 12;
    });
    chmod(folder.c_str(), 0755);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    EXPECT_EQ(status, 0);
}

TEST(VyConfigFile, SavesThatCannotStartOrFinishAreReported)
{
    VyTestDir dir;
    const std::string blocked = dir.Put("blocked.cfg", "[S]\nold=1\n");
    std::filesystem::create_directory(blocked + ".tmp");
    // The file is read, then a folder takes its name, so the finished temporary file cannot replace it.
    const std::string replaced = dir.Put("replaced.cfg", "[S]\nold=1\n");
    VyTraceCapture trace;
    {
        VyConfigFile first(blocked);
        first.SetString("S", "old", "2");
        VyConfigFile second(replaced);
        std::filesystem::remove(replaced);
        dir.Put("replaced.cfg/inside.txt", "x");
        second.SetString("S", "old", "2");
    }
    EXPECT_TRUE(trace.Has("*VyConfigFile::Save : not saved -> File: " + blocked +
                          "\n*VyFile::WriteReplacing : could not create the file -> File: " + blocked + ".tmp"));
    EXPECT_TRUE(trace.Has("*VyConfigFile::Save : not saved -> File: " + replaced +
                          "\n*VyFile::WriteReplacing : could not replace the file -> File: " + replaced));
    EXPECT_FALSE(std::filesystem::exists(replaced + ".tmp"));
}

TEST(VyConfigFile, MissingFilesAndTheFrameworkSettings)
{
    VyTestDir dir;
    const std::string path = dir.File("absent.cfg");
    try
    {
        VyConfigFile config(path);
        FAIL();
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyPlatform::GetResourceFile : Could not locate resource file -> File: " + path);
    }
    // Nothing was cached: once the file exists it is read.
    dir.Put("absent.cfg", "[A]\nb=c\n");
    VyConfigFile config(path);
    EXPECT_EQ(config.GetString("A", "b", ""), "c");

    // The failed look-up asked vyw.cfg for [Directories] Resource: the file was made in the working
    // directory and the key added with its empty default.
    EXPECT_TRUE(std::filesystem::exists("vyw.cfg"));
    VyConfigFile framework("vyw.cfg");
    EXPECT_EQ(framework.GetInt("Screen", "ResX", 640), 640);
    const std::string saved = VyTestDir::Slurp("vyw.cfg");
    EXPECT_NE(saved.find("[Directories]\nResource=\n\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[Screen]\nResX=640\n\n"), std::string::npos) << saved;
}

TEST(VyConfigFile, ManyThreadsOnOneFile)
{
    VyTestDir dir;
    const std::string path = dir.Put("threads.cfg", "[T]\n");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            VyConfigFile config(path);
            for (int i = 0; i < 50; ++i)
            {
                config.SetInt("T", VyString::Format("k%d_%d", t, i), i);
                config.GetInt("T", VyString::Format("k%d_%d", t, i), -1);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    VyConfigFile config(path);
    std::vector<VyString> keys, values;
    config.GetSection("T", keys, values);
    EXPECT_EQ(keys.size(), 200u);
}

TEST(VyConfigFile, ForgetDropsTheCachedCopySoTheNextStreamIsParsed)
{
    const char first[] = "[S]\nk=first\n";
    const char second[] = "[S]\nk=second\n";
    VyMemFile firstStream(first, sizeof first - 1);
    VyMemFile secondStream(second, sizeof second - 1);
    {
        VyConfigFile config("forget.color", firstStream);
        EXPECT_EQ(config.GetString("S", "k", "?"), "first");
    }
    {
        VyConfigFile config("forget.color", secondStream);
        EXPECT_EQ(config.GetString("S", "k", "?"), "first") << "a cached name is not parsed again";
    }
    VyConfigFile::Forget("forget.color");
    secondStream.SeekToBegin();
    VyConfigFile config("forget.color", secondStream);
    EXPECT_EQ(config.GetString("S", "k", "?"), "second");
    VyConfigFile::Forget("never.cached");
}
