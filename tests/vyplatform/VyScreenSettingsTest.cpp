#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "vyio/VyConfigFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyScreenSettings.h"
#include "vythread/VyTraceCapture.h"

// The program's tests run in a temporary working directory (see VyPlatformTest.cpp). Every test here
// reads a settings file of its own name, since a configuration file is parsed once per process.

namespace
{
std::atomic<int> g_fileNumber{0};

// Writes the lines into a fresh settings file and binds a configuration object to it.
class SettingsFile
{
public:
    explicit SettingsFile(const std::string& lines)
        : m_name(VyString::Format("screen-%d.cfg", g_fileNumber.fetch_add(1)))
    {
        std::ofstream(m_name) << lines;
        m_pConfig = std::make_unique<VyConfigFile>(m_name);
    }

    VyConfigFile& Config() { return *m_pConfig; }
    std::string Saved()
    {
        m_pConfig->Save();
        return VyTestDir::Slurp(m_name);
    }

private:
    VyString m_name;
    std::unique_ptr<VyConfigFile> m_pConfig;
};

const char* const UNKNOWN_CONTEXT = "Unknown specified rendering context, using Default.  Valid options are: "
                                    "OpenGL, Native and DirectDraw.\n";
} // namespace

TEST(VyScreenSettings, AnEmptyFileGivesTheDefaultsAndGainsThemAsKeys)
{
    SettingsFile file("");
    VyTraceCapture trace;
    const VyScreenSettings settings = VyScreenSettings::Read(file.Config());
    EXPECT_EQ(settings.bits, 16);
    EXPECT_EQ(settings.resX, 640);
    EXPECT_EQ(settings.resY, 480);
    EXPECT_EQ(settings.context, VY_CONTEXT_NONE);
    EXPECT_FALSE(settings.bFullScreen);
    EXPECT_EQ(settings.scale, VyScreenSettings::VY_AUTOMATIC_SCALE);
    EXPECT_FALSE(settings.bShowFps);
    EXPECT_EQ(settings.cursorDirectory, "Cursors");
    // An absent Context is reported like an unknown one; nothing else is.
    EXPECT_EQ(trace.Text(), UNKNOWN_CONTEXT);

    const std::string saved = file.Saved();
    for (const char* line : {"Bits=16\n", "ResX=640\n", "ResY=480\n", "Context=\n", "FullScreen=FALSE\n",
                             "Scale=0\n", "FPS=FALSE\n", "Cursors=Cursors\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
}

TEST(VyScreenSettings, UsableValuesAreKept)
{
    // A size of 0 (or the system-default value) asks for the system's default size: no complaint.
    SettingsFile file("[Screen]\nBits=32\nResX=0\nResY=600\nContext=Native\nFullScreen=TRUE\n"
                      "[Preferences]\nFPS=t\n[Directories]\nCursors=Pointers\n");
    VyTraceCapture trace;
    const VyScreenSettings settings = VyScreenSettings::Read(file.Config());
    EXPECT_EQ(settings.bits, 32);
    EXPECT_EQ(settings.resX, VY_SYSTEM_DEFAULT_WIDTH);
    EXPECT_EQ(settings.resY, 600);
    EXPECT_EQ(settings.context, VY_CONTEXT_NATIVE);
    EXPECT_TRUE(settings.bFullScreen);
    EXPECT_TRUE(settings.bShowFps);
    EXPECT_EQ(settings.cursorDirectory, "Pointers");
    EXPECT_EQ(trace.Text(), "");
}

TEST(VyScreenSettings, NonsenseIsReplacedBySaneValuesAndTraced)
{
    SettingsFile file("[Screen]\nBits=7\nResX=-5\nResY=100000\nContext=opengl\n[Directories]\nCursors= \n");
    VyTraceCapture trace;
    const VyScreenSettings settings = VyScreenSettings::Read(file.Config());
    EXPECT_EQ(settings.bits, 16);
    EXPECT_EQ(settings.resX, 640);
    EXPECT_EQ(settings.resY, 480);
    EXPECT_EQ(settings.context, VY_CONTEXT_NONE); // the names are exact: "opengl" is unknown
    EXPECT_EQ(settings.cursorDirectory, "Cursors");
    for (const char* reported : {"Bits=7", "ResX=-5", "ResY=100000", "Cursors is empty", UNKNOWN_CONTEXT})
        EXPECT_NE(trace.Text().find(reported), std::string::npos) << reported;
}

TEST(VyScreenSettings, AScaleIsKeptWhereTheWindowCanHaveItAndElseMadeAutomatic)
{
    struct Case
    {
        const char* lines;
        int scale;
        const char* reported; // "" for none
    };
    const Case cases[] = {
        {"[Screen]\nScale=1\n", 1, ""},
        {"[Screen]\nScale=3\n", 3, ""},
        {"[Screen]\nScale=8\nResX=2048\nResY=2048\n", 8, ""}, // 16384, just the largest side
        {"[Screen]\nScale=0\n", 0, ""},
        {"[Screen]\nScale=-2\n", 0, "Scale=-2 is no usable factor for 640 x 480"},
        {"[Screen]\nScale=9\n", 0, "Scale=9 is no usable factor"},
        {"[Screen]\nScale=3\nResX=6000\n", 0, "Scale=3 is no usable factor for 6000 x 480"},
        {"[Screen]\nScale=2\nResY=8193\n", 0, "Scale=2 is no usable factor for 640 x 8193"},
    };
    for (const Case& c : cases)
    {
        SettingsFile file(c.lines);
        VyTraceCapture trace;
        const VyScreenSettings settings = VyScreenSettings::Read(file.Config());
        EXPECT_EQ(settings.scale, c.scale) << c.lines;
        if (*c.reported == '\0')
            EXPECT_EQ(trace.Text().find("Scale"), std::string::npos) << c.lines << trace.Text();
        else
            EXPECT_NE(trace.Text().find(c.reported), std::string::npos) << c.lines << trace.Text();
    }
}

TEST(VyScreenSettings, AChangedScaleIsReadAgainOnItsOwn)
{
    SettingsFile file("[Screen]\nScale=1\n");
    EXPECT_EQ(VyScreenSettings::Read(file.Config()).scale, 1);
    file.Config().SetString("Screen", "Scale", "2");
    EXPECT_EQ(VyScreenSettings::ReadScale(file.Config(), 640, 480), 2);
    EXPECT_EQ(VyScreenSettings::ReadScale(file.Config(), 9000, 480), 0);
}
