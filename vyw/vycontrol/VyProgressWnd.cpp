#include "vycontrol/VyProgressWnd.h"

#include <algorithm>

#include "vycontrol/VyLabel.h"
#include "vyplatform/VyInput.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyClock.h"
#include "vythread/VyMessageQueue.h"
#include "vyutil/VyColorSlots.h"

namespace
{
constexpr int MARGIN = 10;
constexpr int BAR_HEIGHT = 14;
constexpr int LINE = 18;
} // namespace

VyProgressWnd::VyProgressWnd() : m_clock(VyClock::TickCount)
{
}

VyProgressWnd* VyProgressWnd::Show(const VyString& caption, VySize size, std::shared_ptr<VyProgressState> pState,
                                   int dialogId, VyFrameWnd* pParent, VyMessageTarget* pOwner)
{
    auto* pWnd = static_cast<VyProgressWnd*>(
        Create(std::make_unique<VyProgressWnd>(), size, caption, dialogId, pParent, pOwner));
    if (pWnd == nullptr)
        return nullptr;
    pWnd->m_pState = std::move(pState);
    pWnd->m_start = pWnd->m_clock();
    pWnd->SetDefaultId(0); // neither Return nor Escape ends the work's window
    const VyRect client = pWnd->GetClientRect();
    VyControlDesc label;
    label.kind = VyControlKind::LABEL;
    label.style = VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT;
    label.id = VY_TEXT_ID;
    label.rect = {MARGIN, client.top - MARGIN + 2, client.right - MARGIN, client.top - MARGIN - LINE + 2};
    pWnd->m_pText = dynamic_cast<VyLabel*>(pWnd->AddControl(label));
    label.id = VY_TIMES_ID;
    label.rect = {MARGIN, MARGIN + LINE - 4, client.right - MARGIN, MARGIN - 4};
    label.justification = VyJustification::RIGHT;
    pWnd->m_pTimes = dynamic_cast<VyLabel*>(pWnd->AddControl(label));
    VyMessageTarget::SetTimer(pWnd, VY_POLL_TIMER, VyMessageQueue::TICK_MS);
    pWnd->Poll();
    return pWnd;
}

void VyProgressWnd::SetClock(std::function<unsigned int()> clock)
{
    m_clock = std::move(clock);
    m_start = m_clock();
}

VyString VyProgressWnd::Minutes(unsigned int ms)
{
    const unsigned int seconds = ms / 1000;
    return VyString::Format("%u:%02u", seconds / 60, seconds % 60);
}

VyString VyProgressWnd::GetTimesText() const
{
    const unsigned int elapsed = m_clock() - m_start;
    VyString text = "Elapsed " + Minutes(elapsed);
    if (m_shown.value > 0 && m_shown.value < 100)
    {
        const unsigned long long left =
            static_cast<unsigned long long>(elapsed) * static_cast<unsigned>(100 - m_shown.value) /
            static_cast<unsigned>(m_shown.value);
        text += "   Remaining " + Minutes(static_cast<unsigned int>(left));
    }
    return text;
}

void VyProgressWnd::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_TIMER && msg.param1 == VY_POLL_TIMER)
        Poll();
    else
        VyDialog::HandleMessage(msg);
}

bool VyProgressWnd::FilterKey(int key, int flags)
{
    return key == VY_KEY_ESCAPE ? false : VyDialog::FilterKey(key, flags);
}

void VyProgressWnd::Poll()
{
    if (!m_pState || !IsCreated())
        return;
    const VyProgressState::Snapshot state = m_pState->Read();
    if (state.changes != m_shown.changes)
    {
        m_shown = state;
        if (m_pText != nullptr)
            m_pText->SetText(state.text);
        Invalidate();
    }
    if (m_pTimes != nullptr)
        m_pTimes->SetText(GetTimesText()); // asks for a frame only when the seconds changed
    if (m_shown.bFailed)
        Close(VY_IDCANCEL);
    else if (m_shown.value >= 100)
        Close(VY_IDOK);
}

VyRect VyProgressWnd::BarRect() const
{
    const VyRect client = GetClientRect();
    const int middle = client.Height() / 2;
    return {MARGIN, middle + BAR_HEIGHT / 2, client.right - MARGIN, middle - BAR_HEIGHT / 2};
}

void VyProgressWnd::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    VyDialog::DrawContent(context, clientRect);
    const VyRect bar = ClientToRoot(BarRect());
    context.SetTexturing(false);
    context.SetBlending(true);
    context.SetColor(VyColor::FromSlot(EDIT_BACKGROUND));
    context.FillRect(bar);
    const int inner = bar.Width() - 4;
    const VyRect done{bar.left + 2, bar.top - 2, bar.left + 2 + inner * std::clamp(m_shown.value, 0, 100) / 100,
                      bar.bottom + 2};
    context.SetColor(VyColor::FromSlot(PROGRESSBAR));
    if (!done.IsEmpty())
        context.FillRect(done);
    context.Draw3DFrame(bar, VyFrameColors::FromSlots(EDIT_DARK_SHADOW), VyFrameStyle::SUNKEN);
}
