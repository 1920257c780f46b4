#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/VyDisplayTool.h"
#include "e2e/VyProcess.h"
#include "e2e/VyXvfb.h"
#include "vyio/VyListenSocket.h"
#include "vyio/VyTestDir.h"

// Two copies of the built program play each other over 127.0.0.1 on one Xvfb screen of 1920 x 1080:
// one serves (--serve), the other joins (--join), the computer's decisions play both seats
// (--autoplay), the players chat both ways by the keyboard, one offers another game and the other
// accepts, then one quits and the other tells its player. What each copy did is read from its trace.
// Skipped where Xvfb or xdotool are not installed. Time limits only guard against a hang.

namespace
{
constexpr int LIMIT_MS = 120000;

// A port nothing serves right now.
int FreePort()
{
    VySocket unused; // outlives the probe's accept thread
    VyListenSocket probe;
    if (!probe.StartServer(0, &unused))
        return 0;
    return probe.GetLocalPort();
}

// The moves a copy's trace shows in order, each as seen from the serving side: "A 5 -1" for a move
// of the serving player, "B 5 10" for one of the joining player.
std::vector<std::string> MovesFromServersView(const std::string& trace, bool bServing)
{
    std::vector<std::string> moves;
    std::istringstream in(trace);
    std::string line;
    while (std::getline(in, line))
    {
        for (const char* kind : {"sent move ", "received move "})
        {
            const size_t at = line.find(std::string("VyNetworkGame : ") + kind);
            if (at == std::string::npos)
                continue;
            const bool bSent = kind[0] == 's';
            const std::string what = line.substr(at + 16 + std::string(kind).size());
            moves.push_back(std::string(bSent == bServing ? "A " : "B ") + what);
        }
    }
    return moves;
}

class VyNetworkPlayTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!VyProcess::IsInstalled("Xvfb") || !VyProcess::IsInstalled("xdotool"))
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        for (const char* side : {"serving", "joining"})
        {
            const std::filesystem::path folder = m_dir.Path() / side;
            std::filesystem::create_directories(folder);
            std::filesystem::copy_file(TOLMAR_EXE, folder / "tolmar");
            std::ofstream(folder / "vyw.cfg") << "[Screen]\nContext=DirectDraw\nResX=640\nResY=480\n";
        }
        // One side moves its pieces, the other jumps them: moves arrive while a movement still runs.
        std::ofstream(m_dir.Path() / "serving" / "Tolmar.cfg") << "[General]\nMovement Speed=1500\n";
        std::ofstream(m_dir.Path() / "joining" / "Tolmar.cfg") << "[General]\nMovement Speed=-1\n";
        m_port = FreePort();
        ASSERT_NE(m_port, 0);
        ASSERT_TRUE(m_xvfb.Start(m_dir.File("xvfb.txt"), "1920x1080")) << VyTestDir::Slurp(m_dir.File("xvfb.txt"));
    }
    void TearDown() override
    {
        m_serving.Terminate(LIMIT_MS);
        m_joining.Terminate(LIMIT_MS);
    }

    VyDisplayTool Tools() const { return {m_xvfb.Display(), m_dir.File("tool.txt"), LIMIT_MS}; }
    // Starts one copy in its folder and returns its window, moved to x.
    std::string Start(VyProcess& process, const std::string& side, const std::vector<std::string>& arguments, int x)
    {
        const std::filesystem::path folder = m_dir.Path() / side;
        std::vector<std::string> argv{(folder / "tolmar").string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const std::map<std::string, std::string> environment{{"SDL_VIDEODRIVER", "x11"},
                                                             {"DISPLAY", m_xvfb.Display()},
                                                             {"VYW_TRACE", "1"},
                                                             {"ASAN_OPTIONS", "detect_leaks=0"}};
        if (!process.Start(argv, environment, Trace(side), -1, {}, folder.string()))
            return {};
        const std::string window = Tools().FindWindow({"--pid", std::to_string(process.Pid())});
        if (!window.empty() && WaitForTrace(side, VY_SET_DRAWN))
            Tools().Run({"xdotool", "windowmove", "--sync", window, std::to_string(x), "0"});
        return window;
    }
    std::string Trace(const std::string& side) const { return m_dir.File(side + ".txt"); }
    std::string TraceOf(const std::string& side) const { return VyTestDir::Slurp(Trace(side)); }
    // Waits until the side's trace holds part at least count times.
    bool WaitForTrace(const std::string& side, const std::string& part, size_t count = 1)
    {
        return VyWaitForText(Trace(side), part, LIMIT_MS, count);
    }
    // Return opens the chat line, the text is typed, Return sends it.
    void Chat(const std::string& window, const std::string& text)
    {
        Tools().Keys(window, {"Return"});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Tools().Run({"xdotool", "type", "--window", window, "--delay", "20", text});
        Tools().Keys(window, {"Return"});
    }

    VyTestDir m_dir;
    VyXvfb m_xvfb;
    int m_port = 0;
    VyProcess m_serving;
    VyProcess m_joining;
};
} // namespace

TEST_F(VyNetworkPlayTest, TwoCopiesPlayChatPlayAgainAndPartOverTheNetwork)
{
    const std::string port = std::to_string(m_port);
    const std::string serving =
        Start(m_serving, "serving", {"--serve", "--port", port, "--name", "Ann", "--autoplay", "3"}, 0);
    ASSERT_FALSE(serving.empty()) << TraceOf("serving");
    ASSERT_TRUE(WaitForTrace("serving", "serving port " + port)) << TraceOf("serving");
    const std::string joining =
        Start(m_joining, "joining", {"--join", "127.0.0.1", "--port", port, "--name", "Bob", "--autoplay", "3"}, 700);
    ASSERT_FALSE(joining.empty()) << TraceOf("joining");
    ASSERT_TRUE(WaitForTrace("serving", "connected to 127.0.0.1")) << TraceOf("serving");
    ASSERT_TRUE(WaitForTrace("joining", "received name Ann")) << TraceOf("joining");
    ASSERT_TRUE(WaitForTrace("serving", "received name Bob")) << TraceOf("serving");

    Chat(serving, "hello Bob");
    ASSERT_TRUE(WaitForTrace("joining", "received chat 9 bytes")) << TraceOf("joining");
    Chat(joining, "hi Ann!");
    ASSERT_TRUE(WaitForTrace("serving", "received chat 7 bytes")) << TraceOf("serving");

    // The game is played to its end on both sides, with the same moves in the same order.
    const std::string question = "asks \"Would you like to play again?\"";
    ASSERT_TRUE(WaitForTrace("serving", question)) << TraceOf("serving");
    ASSERT_TRUE(WaitForTrace("joining", question)) << TraceOf("joining");
    const std::vector<std::string> servingMoves = MovesFromServersView(TraceOf("serving"), true);
    EXPECT_GE(servingMoves.size(), 8u);
    EXPECT_EQ(servingMoves, MovesFromServersView(TraceOf("joining"), false));

    // Ann says Yes first (Return answers the question); Bob is asked and accepts.
    Tools().Keys(serving, {"Return"});
    ASSERT_TRUE(WaitForTrace("joining", "asks \"Ann has offered to play another game.  Do you accept?\"")) << TraceOf("joining");
    Tools().Keys(joining, {"Return"});
    ASSERT_TRUE(WaitForTrace("serving", "received game 1", 2)) << TraceOf("serving");
    const size_t movesBefore = VyCountOf(TraceOf("serving"), "move ");
    for (int waited = 0; waited < LIMIT_MS && VyCountOf(TraceOf("serving"), "move ") < movesBefore + 2; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_GE(VyCountOf(TraceOf("serving"), "move "), movesBefore + 2) << "the second game is played";

    // Ann quits; Bob is told.
    EXPECT_EQ(m_serving.Terminate(LIMIT_MS), 0) << TraceOf("serving");
    EXPECT_TRUE(WaitForTrace("joining", "VyNetworkGame : disconnected")) << TraceOf("joining");
    EXPECT_EQ(m_joining.Terminate(LIMIT_MS), 0) << TraceOf("joining");
}
