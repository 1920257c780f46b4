#pragma once

#include <memory>
#include <mutex>

#include "VySetLoadProgress.h"

class VyFrameWnd;
class VyMessageTarget;
class VyProgressState;
class VyProgressWnd;

// The set loader's progress in the framework's progress window (VyProgressWnd). Open and Close run on
// the window thread; SetRange, SetLabel and SetPos may come from any thread and go, under the
// display's lock, to the window's VyProgressState, which the window reads on its timer ticks. A
// position is shown as its share of the range (low shows 0, high 100: the window then closes by
// itself); an empty or reversed range shows 0.
//
// Open shows a new window (and closes one still open); when there is no window to show it in (no
// main window) it shows nothing, with a trace, and reports go nowhere. Reports before the first Open
// or after Close are ignored. Close closes a window still open (with VY_IDOK when its bar stands at
// 100, else VY_IDCANCEL) and does nothing when there is none. The window's VY_MSG_DIALOG_CLOSED
// (dialogId, result) goes to pOwner.
class VyProgressDisplay : public VySetLoadProgress
{
public:
    // The window shows in pParent (null: the main window at Open); pOwner (null: the parent) is told
    // when it closes. pParent and pOwner outlive the display.
    explicit VyProgressDisplay(VyFrameWnd* pParent = nullptr, int dialogId = 0, VyMessageTarget* pOwner = nullptr);
    // Closes a window still open (window thread).
    ~VyProgressDisplay() override;
    VyProgressDisplay(const VyProgressDisplay&) = delete;
    VyProgressDisplay& operator=(const VyProgressDisplay&) = delete;

    void Open(const VyString& caption, VySize size, const VyString& label) override;
    // The range starts as 0..100 at every Open.
    void SetRange(int low, int high) override;
    void SetLabel(const VyString& label) override;
    void SetPos(int pos) override;
    void Close() override;

    // Window thread: the window while it is open, else null (also once it closed by itself).
    VyProgressWnd* GetWindow() const;
    // pos's share of low..high in percent, 0 to 100; 0 for an empty or reversed range.
    static int Percent(int low, int high, int pos);

private:
    std::shared_ptr<VyProgressState> TakeState();

    VyFrameWnd* m_pParent;
    int m_nDialogId;
    VyMessageTarget* m_pOwner;
    // Window thread only. Both may be gone: GetWindow compares the host with the parent (the main
    // window) of now and looks for the window among its children before it uses either.
    VyFrameWnd* m_pHost = nullptr;
    VyProgressWnd* m_pWindow = nullptr;

    mutable std::mutex m_lock; // guards what the reports use
    std::shared_ptr<VyProgressState> m_pState;
    int m_low = 0;
    int m_high = 100;
};
