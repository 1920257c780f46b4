// Memory of the game over many games, in this process: the game's main window and game window on a
// Native context without a display, the classic set loaded from the linked archive, and whole games
// against the computer played through the game window (the human takes the first free piece and the
// first free square, with Piece Movement Off).
//
//   BM_TenComputerGames/<level>   plays ten games; counters: resident memory in kB, anonymous and
//                                 total, after the set loaded (reference, *_before) and after the
//                                 ten games (*_after)
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <thread>

#include "VyGameWnd.h"
#include "VyTolmarMainWnd.h"
#include "vycontrol/VyStandardControls.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyNativeContext.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyMsgBox.h"

namespace
{
constexpr int WAIT_ROUNDS = 600000; // a guard against a hang, not a measurement

// A field of /proc/self/status in kB ("VmRSS", "RssAnon").
long StatusKb(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

bool WaitFor(const std::function<bool()>& ready)
{
    for (int round = 0; round < WAIT_ROUNDS && !ready(); ++round)
    {
        VyMessageQueue::Current()->ProcessTimers();
        VyMessageTarget::DispatchMessages();
        if (!ready())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return ready();
}

// A local human's half-move: the first free piece or the first empty square.
void PlayHumanHalfMove(VyGameRules& rules)
{
    if (rules.IsHumanChoosing())
    {
        for (int piece = 0; piece < rules.GetNumberOfPieces(); ++piece)
            if (rules.GetPieces()[static_cast<size_t>(piece)].location < 0 && piece != rules.GetCurrentPiece())
                return rules.ChoosePiece(piece);
    }
    for (int square = 0; square < rules.GetNumberOfSquares(); ++square)
        if (rules.HighlightSquare(square) && rules.PlaceOnHighlight())
            return;
}

bool IsHumansTurnOrOver(const VyGameRules& rules)
{
    return !rules.IsMoving() && (rules.IsGameOver() || rules.IsHumanChoosing() || rules.IsHumanPlacing());
}

bool PlayGame(VyGameWnd& game)
{
    VyGameRules& rules = game.GetRules();
    if (!game.SetOpponent(VyOpponent::COMPUTER, VyOpponentRequest::WITHOUT_DIALOGS))
        return false;
    for (int halfMove = 0; halfMove < 40; ++halfMove)
    {
        if (!WaitFor([&rules] { return IsHumansTurnOrOver(rules); }))
            return false;
        if (rules.IsGameOver())
            break;
        PlayHumanHalfMove(rules);
    }
    if (VyMsgBox* pQuestion = game.GetQuestionBox())
        pQuestion->Close(VY_IDNO);
    VyMessageTarget::DispatchMessages();
    return rules.IsGameOver();
}

void BM_TenComputerGames(benchmark::State& state)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "vywbenchgames";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    std::ofstream("Tolmar.cfg") << "[General]\nMovement Speed=-1\n";
    VyTrace::Sink previousSink = VyTrace::SetSink([](const VyString&) {});
    {
        VyPlatform platform;
        VyStandardControls::Install();
        VyNativeContext context;
        context.SetColorSlotResolver([](int id) { return VyColorScheme::Global().ColorOf(id); });
        context.Initialize(640, 480, 32, false);
        auto pMain = std::make_unique<VyTolmarMainWnd>(640, 480);
        VyGameWnd* pGame = pMain->CreateGameWindow();
        pGame->GetRules().SetLevel(static_cast<VyLevel>(state.range(0)));
        WaitFor([pGame] { return pGame->GetRules().GetNumberOfPieces() > 0; });
        const long anonBefore = StatusKb("RssAnon");
        const long totalBefore = StatusKb("VmRSS");
        for (auto _ : state)
            for (int game = 0; game < 10; ++game)
                if (!PlayGame(*pGame))
                    state.SkipWithError("a game did not end");
        state.counters["anon_kB_before"] = static_cast<double>(anonBefore);
        state.counters["total_kB_before"] = static_cast<double>(totalBefore);
        state.counters["anon_kB_after"] = static_cast<double>(StatusKb("RssAnon"));
        state.counters["total_kB_after"] = static_cast<double>(StatusKb("VmRSS"));
        pMain->Close();
        pMain.reset();
        context.Shutdown();
        VyControlFactory::Install(nullptr);
    }
    VyTrace::SetSink(previousSink);
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}
BENCHMARK(BM_TenComputerGames)->Arg(1)->Arg(5)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace
