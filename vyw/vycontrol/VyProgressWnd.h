#pragma once

#include <memory>

#include "vycontrol/VyProgressState.h"
#include "vywindow/VyDialog.h"

class VyLabel;

// A window that shows long work: its caption, the work's text, a bar over 0 to 100, and the time the
// work has taken with an estimate of the time left. The work reports through a VyProgressState from any
// thread; the window reads it on every timer tick, draws what changed, and closes by itself when the
// value reaches 100 or the work fails (its owner gets VY_MSG_DIALOG_CLOSED with VY_IDOK or
// VY_IDCANCEL).
class VyProgressWnd : public VyDialog
{
public:
    VyProgressWnd();

    // Shows a window of the given size in pParent (the main window when null), reading state. Null
    // when it cannot be made.
    static VyProgressWnd* Show(const VyString& caption, VySize size, std::shared_ptr<VyProgressState> pState,
                               int dialogId = 0, VyFrameWnd* pParent = nullptr, VyMessageTarget* pOwner = nullptr);

    // The value shown now.
    int GetShownValue() const { return m_shown.value; }
    // "Elapsed 0:03   Remaining 0:05" (the remaining time once the value is above 0).
    VyString GetTimesText() const;
    // The clock the times come from (milliseconds); tests give their own.
    void SetClock(std::function<unsigned int()> clock);

    void HandleMessage(const VyMessage& msg) override;
    // Escape does not close it: the window goes with the work.
    bool FilterKey(int key, int flags) override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;

    static constexpr int VY_POLL_TIMER = 7;
    static constexpr int VY_TEXT_ID = 100;
    static constexpr int VY_TIMES_ID = 101;

private:
    void Poll();
    VyRect BarRect() const;
    static VyString Minutes(unsigned int ms);

    std::shared_ptr<VyProgressState> m_pState;
    VyProgressState::Snapshot m_shown;
    std::function<unsigned int()> m_clock;
    unsigned int m_start = 0;
    VyLabel* m_pText = nullptr;
    VyLabel* m_pTimes = nullptr;
};
