#include "VyMessageLog.h"

#include <algorithm>

#include "vycontrol/VyLabel.h"
#include "vythread/VyMessageQueue.h"

namespace
{
constexpr uint32_t LINE_STYLE = VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT | VY_STYLE_NO_FOCUS | VY_LABEL_AUTO_HEIGHT;
} // namespace

VyMessageLog::VyMessageLog() = default;

unsigned int VyMessageLog::Now()
{
    const VyMessageQueue* pQueue = VyMessageQueue::Current();
    return pQueue != nullptr ? pQueue->GetTickCounter() : 0;
}

void VyMessageLog::SetLineColors(const VyColor& text, const VyColor& shadow)
{
    m_textColor = text;
    m_shadowColor = shadow;
}

VyLabel* VyMessageLog::GetLine(int index) const
{
    if (index < 0 || index >= GetLineCount())
        return nullptr;
    return m_lines[static_cast<size_t>(index)].pLabel;
}

void VyMessageLog::AddLine(const VyString& text)
{
    if (VyLabel* pLabel = MakeLabel(std::nullopt))
    {
        pLabel->SetText(text);
        Append(pLabel);
    }
}

void VyMessageLog::AddLine(const VyString& text, const VyColor& color)
{
    if (VyLabel* pLabel = MakeLabel(color))
    {
        pLabel->SetText(text);
        Append(pLabel);
    }
}

VyLabel* VyMessageLog::MakeLabel(const std::optional<VyColor>& color)
{
    const VyRect client = GetClientRect();
    const int top = client.top - VY_TOP_MARGIN;
    const int right = std::max(VY_SIDE_MARGIN, client.right - VY_SIDE_MARGIN);
    VyLabel* pLabel = CreateChild(std::make_unique<VyLabel>(), LINE_STYLE, VyRect{VY_SIDE_MARGIN, top, right, top});
    if (pLabel == nullptr)
        return nullptr;
    if (m_textColor)
        pLabel->SetColor(VyControlColor::TEXT, *m_textColor);
    if (m_shadowColor)
        pLabel->SetColor(VyControlColor::TEXT_SHADOW, *m_shadowColor);
    if (color)
        pLabel->SetColor(VyControlColor::TEXT, *color);
    return pLabel;
}

void VyMessageLog::Append(VyLabel* pLabel)
{
    m_lines.push_back({pLabel, Now()});
    LayoutLines();
    if (m_lines.size() == 1)
        VyMessageTarget::SetTimer(this, VY_EXPIRY_TIMER, VY_EXPIRY_PERIOD_MS);
    DropOverflow();
}

void VyMessageLog::DropOverflow()
{
    while (m_lines.size() >= 2 && GetClientRect().top - VY_TOP_MARGIN - LinesHeight() < VY_MIN_FREE)
        RemoveOldest();
}

void VyMessageLog::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_TIMER && msg.param1 == VY_EXPIRY_TIMER)
        return ExpireOldest();
    VyFrameWnd::HandleMessage(msg);
}

bool VyMessageLog::IsExpired(const Line& line) const
{
    // A difference of ticks stays right when the counter wraps around.
    const long long ageMs = static_cast<long long>(Now() - line.tick) * VyMessageQueue::TICK_MS;
    return ageMs >= m_lifetime;
}

void VyMessageLog::ExpireOldest()
{
    if (!m_lines.empty() && IsExpired(m_lines.front()))
        RemoveOldest();
    if (m_lines.empty())
        VyMessageTarget::KillTimer(this, VY_EXPIRY_TIMER);
}

void VyMessageLog::RemoveOldest()
{
    VyLabel* pLabel = m_lines.front().pLabel;
    m_lines.pop_front();
    pLabel->DeleteLater();
    LayoutLines();
}

int VyMessageLog::LinesHeight() const
{
    int height = 0;
    for (const Line& line : m_lines)
        height += line.pLabel->GetHeight();
    return height;
}

void VyMessageLog::LayoutChildren()
{
    VyFrameWnd::LayoutChildren();
    LayoutLines();
}

void VyMessageLog::LayoutLines()
{
    // A line that takes its height from its text asks the log to lay out again: the lines below it
    // are placed by the round that is already going.
    if (m_bLayingOut)
        return;
    m_bLayingOut = true;
    const VyRect client = GetClientRect();
    const int width = std::max(0, client.Width() - 2 * VY_SIDE_MARGIN);
    int top = client.top - VY_TOP_MARGIN;
    for (const Line& line : m_lines)
    {
        line.pLabel->Move(client.left + VY_SIDE_MARGIN, top, width, line.pLabel->GetHeight());
        top -= line.pLabel->GetHeight();
    }
    m_bLayingOut = false;
}

VyWnd* VyMessageLog::ChildFromPoint(VyPoint point)
{
    if (HasStyle(VY_LOG_MOUSE_THROUGH))
        return nullptr;
    return VyFrameWnd::ChildFromPoint(point);
}
