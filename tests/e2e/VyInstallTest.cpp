#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "VyOrdinaryUser.h"
#include "e2e/GameDirectory.h"
#include "e2e/VyDisplayTool.h"
#include "e2e/VyProcess.h"
#include "e2e/VyXvfb.h"
#include "vyio/VyTestDir.h"

// The game installed as a desktop program: cmake --install into a temporary prefix, and the Debian
// package cpack makes, unpacked into a scratch folder. The desktop tools check what was laid out;
// the installed program takes itself for installed and keeps its files in the player's own folder.
// Skipped where the desktop tools (or, for the package, dpkg-deb) are not installed. Time limits only
// guard against a hang.

namespace
{
namespace fs = std::filesystem;
constexpr int LIMIT_MS = 120000;

// Runs a program to its end; its output, and whether it ended with status 0.
bool RunTool(const std::vector<std::string>& argv, const std::string& outputPath, std::string& output,
         const std::map<std::string, std::string>& set = {})
{
    fs::remove(outputPath);
    VyProcess process;
    const bool bDone = process.Start(argv, set, outputPath) && process.Wait(LIMIT_MS) == 0;
    output = VyTestDir::Slurp(outputPath);
    return bDone;
}

bool HasTools(std::initializer_list<const char*> tools)
{
    for (const char* tool : tools)
        if (!VyProcess::IsInstalled(tool))
            return false;
    return true;
}

// The first bytes of every saved game: the magic 0x62625084, little-endian.
const std::string SAVED_GAME_START("\x84\x50\x62\x62\x01\x00\x01\x00", 8);

class VyInstallTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // The prefix is open to everyone, as /usr/local is: the ordinary user below may run the
        // program but write nothing there.
        chmod(m_dir.Path().c_str(), 0755);
        m_prefix = m_dir.Path() / "prefix";
    }

    std::string Output(const std::string& name) const { return m_dir.File(name); }
    bool Install(std::string& output)
    {
        return RunTool({CMAKE_EXE, "--install", TOLMAR_BUILD_DIR, "--prefix", m_prefix.string()}, Output("install.txt"),
                   output);
    }
    // The type gio's MIME database (the one below share/mime of the prefix) gives a file.
    std::string ContentType(const fs::path& file)
    {
        std::string output;
        RunTool({"gio", "info", "-a", "standard::content-type", file.string()}, Output("gio.txt"), output,
            {{"XDG_DATA_DIRS", (m_prefix / "share").string()}, {"XDG_DATA_HOME", m_dir.File("nohome")}});
        const size_t at = output.find("standard::content-type: ");
        return at == std::string::npos ? output : output.substr(at + 24, output.find('\n', at) - at - 24);
    }

    VyTestDir m_dir;
    fs::path m_prefix;
};
} // namespace

TEST_F(VyInstallTest, InstallLaysOutADesktopProgramTheDesktopToolsAccept)
{
    if (!HasTools({"desktop-file-validate", "xmllint", "update-mime-database", "gio", "identify"}))
        GTEST_SKIP() << "desktop-file-utils, libxml2-utils, shared-mime-info, gio and imagemagick are needed";
    std::string output;
    ASSERT_TRUE(Install(output)) << output;
    for (const char* file : {"bin/tolmar", "share/applications/tolmar.desktop", "share/mime/packages/tolmar.xml",
                             "share/man/man6/tolmar.6", "share/tolmar/layout.txt"})
        EXPECT_TRUE(fs::is_regular_file(m_prefix / file)) << file;

    const std::string desktop = (m_prefix / "share/applications/tolmar.desktop").string();
    EXPECT_TRUE(RunTool({"desktop-file-validate", desktop}, Output("validate.txt"), output)) << output;
    EXPECT_EQ(output, "") << "not even a hint";
    const std::string mime = (m_prefix / "share/mime/packages/tolmar.xml").string();
    EXPECT_TRUE(RunTool({"xmllint", "--noout", mime}, Output("xmllint.txt"), output)) << output;
    EXPECT_TRUE(RunTool({"update-mime-database", (m_prefix / "share/mime").string()}, Output("mime.txt"), output)) << output;

    // A saved game is told by its first bytes whatever its name; the name alone does not make one.
    std::ofstream(m_dir.File("game.bin"), std::ios::binary) << SAVED_GAME_START << "Chris";
    EXPECT_EQ(ContentType(m_dir.File("game.bin")), "application/x-tolmar-saved-game");
    std::ofstream(m_dir.File("notes.txt"), std::ios::binary) << SAVED_GAME_START << "Chris";
    EXPECT_EQ(ContentType(m_dir.File("notes.txt")), "application/x-tolmar-saved-game") << "over the name";

    // The icons in the theme's sizes, each a PNG of its size with transparent corners.
    for (int size : {16, 24, 32, 48, 64, 128, 256})
    {
        const std::string side = std::to_string(size);
        const fs::path icon = m_prefix / "share/icons/hicolor" / (side + "x" + side) / "apps/tolmar.png";
        ASSERT_TRUE(fs::is_regular_file(icon)) << icon;
        EXPECT_TRUE(RunTool({"identify", "-format", "%m %w %h %A", icon.string()}, Output("identify.txt"), output));
        EXPECT_EQ(output.substr(0, output.rfind(' ')), "PNG " + side + " " + side) << output;
        EXPECT_EQ(output.substr(output.rfind(' ') + 1), "True") << "with alpha: " << output;
        EXPECT_TRUE(RunTool({"convert", icon.string(), "-format", "%[fx:p{0,0}.a]", "info:"}, Output("corner.txt"),
                            output));
        // The rounded corner leaves the corner pixel at most a sample's worth covered.
        EXPECT_LT(std::atof(output.c_str()), 0.1) << "a transparent corner at " << side << ": " << output;
    }

    EXPECT_TRUE(RunTool({(m_prefix / "bin/tolmar").string(), "--version"}, Output("version.txt"), output)) << output;
    EXPECT_EQ(output.rfind("tolmar ", 0), 0u) << output;
    EXPECT_TRUE(RunTool({"man", "-l", "-P", "cat", (m_prefix / "share/man/man6/tolmar.6").string()}, Output("man.txt"),
                    output, {{"MANWIDTH", "80"}}) ||
                !VyProcess::IsInstalled("man"))
        << output;
}

// As an ordinary user (CI runs as root) whose program folder is read-only: the installed game starts,
// writes its settings below the user's data folder and a screenshot there on Control+P.
TEST_F(VyInstallTest, TheInstalledGameKeepsItsFilesInTheUsersFolder)
{
    if (!HasTools({"Xvfb", "xdotool"}))
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    std::string output;
    ASSERT_TRUE(Install(output)) << output;
    VyXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(Output("xvfb.txt"))) << VyTestDir::Slurp(Output("xvfb.txt"));
    const fs::path home = VyOrdinaryUser::MakeFolder();
    ASSERT_FALSE(home.empty());
    const fs::path folder = home / "data" / "tolmar";
    const int status = VyOrdinaryUser::Run([&] {
        VyProcess game;
        const std::map<std::string, std::string> environment{
            {"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", xvfb.Display()}, {"HOME", home.string()},
            {"XDG_DATA_HOME", (home / "data").string()}, {"VYW_TRACE", "1"}, {"ASAN_OPTIONS", "detect_leaks=0"}};
        if (!game.Start({(m_prefix / "bin/tolmar").string()}, environment, (home / "out.txt").string()))
            return 10;
        const VyDisplayTool tools(xvfb.Display(), (home / "tool.txt").string(), LIMIT_MS);
        const std::string window = tools.FindWindow({"--pid", std::to_string(game.Pid())});
        if (window.empty())
            return 11;
        if (!VyWaitForText((home / "out.txt").string(), VY_SET_DRAWN, LIMIT_MS))
            return 12;
        tools.Run({"xdotool", "windowfocus", "--sync", window});
        tools.Keys(window, {"ctrl+p"});
        for (int waited = 0; waited < LIMIT_MS && !fs::exists(folder / "screenshot.jpg"); waited += 50)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return game.Terminate(LIMIT_MS) == 0 ? 0 : 13;
    });
    const std::string trace = VyTestDir::Slurp((home / "out.txt").string());
    EXPECT_EQ(status, 0) << trace;
    EXPECT_NE(trace.find("VyWin : installed, working in " + folder.string() + "/"), std::string::npos) << trace;
    EXPECT_TRUE(fs::is_regular_file(folder / "vyw.cfg")) << trace;
    EXPECT_TRUE(fs::is_regular_file(folder / "Tolmar.cfg")) << trace;
    EXPECT_TRUE(fs::is_regular_file(folder / "screenshot.jpg")) << trace;
    EXPECT_GT(fs::exists(folder / "screenshot.jpg") ? fs::file_size(folder / "screenshot.jpg") : 0u, 1000u) << trace;
    EXPECT_FALSE(fs::exists(m_prefix / "bin/vyw.cfg")) << "nothing beside the program";
    fs::remove_all(home);
}

// The package: its dependencies, its files where the desktop expects them, and an unpacked binary that
// takes itself for installed. A copy of the program alone, as the build tree keeps it, does not.
TEST_F(VyInstallTest, ThePackageUnpacksToAnInstalledProgram)
{
    if (!HasTools({"cpack", "dpkg-deb", "dpkg-shlibdeps"}))
        GTEST_SKIP() << "cpack and dpkg-dev are needed";
    std::string output;
    ASSERT_TRUE(RunTool({CPACK_EXE, "--config", std::string(TOLMAR_BUILD_DIR) + "/CPackConfig.cmake", "-B",
                     m_dir.File("package")},
                    Output("cpack.txt"), output))
        << output;
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(m_dir.Path() / "package"))
        if (entry.path().extension() == ".deb")
            deb = entry.path();
    ASSERT_FALSE(deb.empty()) << output;
    ASSERT_TRUE(RunTool({"dpkg-deb", "--info", deb.string()}, Output("info.txt"), output)) << output;
    EXPECT_NE(output.find("Package: tolmar"), std::string::npos) << output;
    EXPECT_NE(output.find("Depends: "), std::string::npos) << output;
    EXPECT_NE(output.find("libsdl2"), std::string::npos) << output;

    const fs::path scratch = m_dir.Path() / "scratch";
    ASSERT_TRUE(RunTool({"dpkg-deb", "-x", deb.string(), scratch.string()}, Output("unpack.txt"), output)) << output;
    for (const char* file : {"usr/bin/tolmar", "usr/share/applications/tolmar.desktop",
                             "usr/share/mime/packages/tolmar.xml", "usr/share/man/man6/tolmar.6",
                             "usr/share/tolmar/layout.txt"})
        EXPECT_TRUE(fs::is_regular_file(scratch / file)) << file;

    std::map<std::string, std::string> environment = OffscreenEnvironment();
    environment["XDG_DATA_HOME"] = m_dir.File("data");
    EXPECT_TRUE(RunTool({(scratch / "usr/bin/tolmar").string(), "--quit-after-frames", "1"}, Output("run.txt"), output,
                    environment))
        << output;
    EXPECT_NE(output.find("VyWin : installed, working in " + m_dir.File("data") + "/tolmar/"), std::string::npos)
        << output;
    EXPECT_TRUE(fs::is_regular_file(m_dir.Path() / "data/tolmar/vyw.cfg")) << output;

    GameDirectory portable("");
    EXPECT_TRUE(RunTool({portable.Exe(), "--quit-after-frames", "1"}, Output("portable.txt"), output, environment))
        << output;
    EXPECT_EQ(output.find("VyWin : installed"), std::string::npos) << output;
    EXPECT_TRUE(fs::is_regular_file(portable.File("vyw.cfg"))) << output;
}
