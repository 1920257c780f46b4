#include <gtest/gtest.h>

#include <functional>

#include "vybitmap/rgb.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyFrameClock.h"
#include "vyrender/VyNativeContext.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyMessageQueue.h"
#include "vywindow/VyWindowTestSupport.h"

// Frames drawn only when something asked for one must show exactly what drawing every frame shows. The
// same scripted changes run twice, through the platform's frame step on a clock of the test's own: once
// on demand and once drawing continuously; the picture after every step must be the same.

namespace
{
// A window that shows its text, its focus and the mouse over it.
class Swatch : public VyFrameWnd
{
public:
    void DrawContent(VyRenderContext& context, const VyRect& client) override
    {
        if (HasStyle(VY_STYLE_MOUSE_OVER))
        {
            context.SetColor(VyColor(0xFFFF00));
            context.FillRect({client.left, client.top, client.left + 6, client.top - 6});
        }
        if (VyMainWnd::Get()->GetFocus() == this)
        {
            context.SetColor(VyColor(0x00FFFF));
            context.FillRect({client.right - 6, client.top, client.right, client.top - 6});
        }
        context.SelectFont(2);
        context.SetColor(VyColor(0x000000));
        context.DrawText(GetText(), client.left + 2, client.top - 8);
    }
};

// The platform with a Native context of its own, on the test's time.
class ScriptPlatform : public VyPlatform
{
public:
    ScriptPlatform(int width, int height)
    {
        GetFrameClock().SetTimeSource(Source());
        SetRenderContext(std::make_unique<VyNativeContext>());
        InitializeRenderContext(width, height);
    }
    VyFrameClock::TimeSource Source()
    {
        VyFrameClock::TimeSource source;
        source.milliseconds = [this] { return static_cast<unsigned int>(m_us / 1000); };
        source.microseconds = [this] { return m_us; };
        source.sleep = [this](unsigned int ms) { m_us += ms * 1000u; };
        return source;
    }
    void Advance(unsigned int ms) { m_us += ms * 1000u; }

private:
    std::uint64_t m_us = 1'000'000;
};

constexpr int W = 240;
constexpr int H = 160;

// Runs the script and returns the frame buffer after each step.
std::vector<rgb> RunScript(bool bContinuous)
{
    ScriptPlatform platform(W, H);
    if (bContinuous)
    {
        const char* argv[] = {"test", "--quit-after-frames", "1000000"};
        platform.SetCommandLine(3, argv);
    }
    auto pOwnedMain = std::make_unique<VyMainWnd>(W, H);
    VyMainWnd* pMain = pOwnedMain.get();
    platform.SetRootWindow(std::move(pOwnedMain));
    auto add = [&](const VyRect& rect, uint32_t color, uint32_t style = VY_STYLE_VISIBLE) {
        Swatch* pSwatch = pMain->CreateChild(std::make_unique<Swatch>(), style | VY_STYLE_TABSTOP, rect);
        pSwatch->SetBackgroundColor(VyColor(color));
        return pSwatch;
    };
    add({0, H, W, 0}, 0x405060);
    Swatch* pA = add({10, 150, 110, 90}, 0xC08040);
    Swatch* pB = add({130, 150, 230, 90}, 0x40C080);
    Swatch* pHidden = add({10, 80, 110, 20}, 0x8040C0, 0);
    Swatch* pDoomed = add({130, 80, 230, 20}, 0xC04080);
    // Input reaches the main window as the platform hands it over, with the frame the platform asks
    // for after every input event.
    auto input = [&](const std::function<void()>& action) {
        action();
        platform.RequestFrame();
    };
    auto later = [&](std::function<void()> action) {
        auto pLater = std::make_unique<VyLater>(std::move(action));
        pLater->Post();
        return pLater;
    };

    std::vector<std::function<void()>> steps = {
        [] {},
        [&] { input([&] { pMain->OnMouseEntered(); pMain->OnMouseMove({50, 50}, 0); }); },
        [&] { input([&] { pMain->SetFocus(pA); pMain->OnKey(VY_KEY_TAB, VY_INPUT_KEY); }); },
    };
    std::vector<std::unique_ptr<VyLater>> keep;
    auto queued = [&](std::function<void()> action) { steps.push_back([&, action] { keep.push_back(later(action)); }); };
    queued([&] { pA->SetText("a new text"); });
    queued([&] { pHidden->Show(); });                       // appears under the mouse: hover changes too
    queued([&] { pB->PostMove({120, 140, 220, 100}); });    // moves on a message of its own
    queued([&] { pB->SetBackgroundColor(VyColor(0x2020F0)); });
    queued([&] { pMain->SetCaret(pA, {20, 40, 21, 25}); }); // then blinks on its timer
    for (int i = 0; i < 24; ++i)
        steps.push_back([] {});                             // time passes: the caret blinks twice
    queued([&] { pDoomed->DeleteLater(); });
    queued([&] { pHidden->Hide(); });
    queued([&] { pMain->RemoveCaret(pA); });

    std::vector<rgb> frames;
    for (const std::function<void()>& step : steps)
    {
        step();
        platform.Advance(50); // one timer tick per step; the queue is dispatched with it
        platform.FrameStep();
        rgb frame;
        platform.GetRenderContext()->ReadFrame(frame);
        frames.push_back(std::move(frame));
    }
    platform.DeleteRootWindow();
    return frames;
}
} // namespace

TEST(VyFrameOnDemand, ShowsExactlyWhatDrawingEveryFrameShows)
{
    const std::vector<rgb> continuous = RunScript(true);
    const std::vector<rgb> onDemand = RunScript(false);
    ASSERT_EQ(continuous.size(), onDemand.size());
    for (size_t step = 0; step < continuous.size(); ++step)
    {
        const VyRGBFormat* pA = continuous[step].Image();
        const VyRGBFormat* pB = onDemand[step].Image();
        ASSERT_TRUE(pA != nullptr && pB != nullptr) << "step " << step;
        int different = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                different += (pA->GetPixel(x, y) & 0xFFFFFF) != (pB->GetPixel(x, y) & 0xFFFFFF);
        EXPECT_EQ(different, 0) << "step " << step;
    }
    // The script really changed the picture, and the caret really blinked.
    int changes = 0;
    for (size_t step = 1; step < continuous.size(); ++step)
        changes += continuous[step].Image()->GetPixel(30, 120) != continuous[step - 1].Image()->GetPixel(30, 120);
    EXPECT_GE(changes, 4);
}
