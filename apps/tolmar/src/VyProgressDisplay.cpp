#include "VyProgressDisplay.h"

#include <algorithm>

#include "vycontrol/VyProgressWnd.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyMainWnd.h"

namespace
{
// Whether pWnd is one of frame's children, without touching pWnd (it may be deleted).
bool HasChild(const VyFrameWnd& frame, const VyWnd* pWnd)
{
    auto isIt = [pWnd](const std::unique_ptr<VyWnd>& pChild) { return pChild.get() == pWnd; };
    return std::any_of(frame.GetVisibleChildren().begin(), frame.GetVisibleChildren().end(), isIt) ||
           std::any_of(frame.GetHiddenChildren().begin(), frame.GetHiddenChildren().end(), isIt);
}
} // namespace

VyProgressDisplay::VyProgressDisplay(VyFrameWnd* pParent, int dialogId, VyMessageTarget* pOwner)
    : m_pParent(pParent), m_nDialogId(dialogId), m_pOwner(pOwner)
{
}

VyProgressDisplay::~VyProgressDisplay()
{
    Close();
}

void VyProgressDisplay::Open(const VyString& caption, VySize size, const VyString& label)
{
    Close();
    auto pState = std::make_shared<VyProgressState>();
    pState->SetText(label);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pState = pState;
        m_low = 0;
        m_high = 100;
    }
    m_pHost = m_pParent != nullptr ? m_pParent : VyMainWnd::Get();
    m_pWindow = VyProgressWnd::Show(caption, size, pState, m_nDialogId, m_pHost, m_pOwner);
    if (m_pWindow == nullptr)
        VyTrace::Write("VyProgressDisplay::Open : the progress window could not be shown\n");
}

void VyProgressDisplay::SetRange(int low, int high)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_low = low;
    m_high = high;
}

void VyProgressDisplay::SetLabel(const VyString& label)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pState)
        m_pState->SetText(label);
}

void VyProgressDisplay::SetPos(int pos)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pState)
        m_pState->SetValue(Percent(m_low, m_high, pos));
}

void VyProgressDisplay::Close()
{
    const std::shared_ptr<VyProgressState> pState = TakeState();
    VyProgressWnd* pWindow = GetWindow();
    m_pHost = nullptr;
    m_pWindow = nullptr;
    if (pWindow != nullptr)
        pWindow->Close(pState && pState->Read().value >= 100 ? VY_IDOK : VY_IDCANCEL);
}

VyProgressWnd* VyProgressDisplay::GetWindow() const
{
    // The main window the window was shown in may be gone, or another one now.
    VyFrameWnd* pHost = m_pParent != nullptr ? m_pParent : VyMainWnd::Get();
    if (m_pWindow == nullptr || pHost == nullptr || pHost != m_pHost || !pHost->IsCreated() ||
        !HasChild(*pHost, m_pWindow))
        return nullptr;
    return m_pWindow->IsCreated() ? m_pWindow : nullptr;
}

int VyProgressDisplay::Percent(int low, int high, int pos)
{
    if (high <= low)
        return 0;
    const long long share = (static_cast<long long>(pos) - low) * 100 / (static_cast<long long>(high) - low);
    return static_cast<int>(std::clamp(share, 0LL, 100LL));
}

std::shared_ptr<VyProgressState> VyProgressDisplay::TakeState()
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::shared_ptr<VyProgressState> pState = std::move(m_pState);
    m_pState.reset();
    return pState;
}
