#include "vycontrol/VyScrollBar.h"

#include <algorithm>

#include "vycontrol/VyPopupMenu.h"
#include "vycontrol/VyScrollBarArrow.h"
#include "vyplatform/VyInput.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
constexpr uint32_t ARROW_STYLE = VY_STYLE_VISIBLE | VY_STYLE_NO_FOCUS | VY_BUTTON_REPEAT | VY_BUTTON_ON_PRESS;
} // namespace

VyScrollBar::VyScrollBar()
{
    ModifyStyle(VY_STYLE_NO_FOCUS, 0);
}

int VyScrollBar::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::FACE: return SCROLLBAR_BACKGROUND;
    case VyControlColor::FACE_MOUSE_OVER: return SCROLLBAR_BACKGROUND_MOUSE_OVER;
    case VyControlColor::FACE_DOWN: return SCROLLBAR_THUMB_BACKGROUND;
    case VyControlColor::FACE_FOCUS: return SCROLLBAR_THUMB_MOUSE_OVER;
    default: return VY_COLOR_SLOT_NONE;
    }
}

bool VyScrollBar::OnCreate()
{
    const bool bVertical = IsVertical();
    m_pDecrease = CreateChild(
        std::make_unique<VyScrollBarArrow>(bVertical ? VyArrowDirection::UP : VyArrowDirection::LEFT), ARROW_STYLE,
        VyRect{}, VY_DECREASE_ID);
    m_pIncrease = CreateChild(
        std::make_unique<VyScrollBarArrow>(bVertical ? VyArrowDirection::DOWN : VyArrowDirection::RIGHT), ARROW_STYLE,
        VyRect{}, VY_INCREASE_ID);
    ModifyStyle(VY_STYLE_NO_FOCUS, 0);
    Relayout();
    return m_pDecrease != nullptr && m_pIncrease != nullptr;
}

// -- Values ------------------------------------------------------------------------------------------

void VyScrollBar::SetPosition(int value, VyScrollNotify notify)
{
    value = std::clamp(value, m_minimum, std::max(m_minimum, m_maximum));
    if (value == m_position)
        return;
    m_position = value;
    LayoutThumb();
    if (notify == VyScrollNotify::NOTIFY)
        PostTo(GetParent(), VY_MSG_COMMAND, GetId(), m_position);
}

void VyScrollBar::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    const int clamped = std::clamp(m_position, m_minimum, m_maximum);
    const bool bMoved = clamped != m_position;
    m_position = clamped;
    LayoutThumb();
    if (bMoved)
        PostTo(GetParent(), VY_MSG_COMMAND, GetId(), m_position);
}

void VyScrollBar::SetSteps(const VyScrollSteps& steps)
{
    m_steps = steps;
    LayoutThumb();
}

void VyScrollBar::ChangeBy(int delta)
{
    SetPosition(m_position + delta, VyScrollNotify::NOTIFY);
}

bool VyScrollBar::ScrollByWheel(int steps)
{
    ChangeBy(steps * m_steps.wheel);
    return true;
}

// -- Geometry ----------------------------------------------------------------------------------------

void VyScrollBar::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyScrollBar::Relayout()
{
    const VyRect client = GetClientRect();
    const int length = IsVertical() ? client.Height() : client.Width();
    const int thickness = IsVertical() ? client.Width() : client.Height();
    const int arrow = std::max(0, std::min(thickness, length / 2));
    if (m_pDecrease != nullptr && m_pIncrease != nullptr)
    {
        if (IsVertical())
        {
            m_pDecrease->Move(0, client.top, thickness, arrow);
            m_pIncrease->Move(0, arrow, thickness, arrow);
        }
        else
        {
            m_pDecrease->Move(0, client.top, arrow, thickness);
            m_pIncrease->Move(client.right - arrow, client.top, arrow, thickness);
        }
    }
    LayoutThumb();
}

int VyScrollBar::TrackStart() const
{
    return m_pDecrease != nullptr ? (IsVertical() ? m_pDecrease->GetHeight() : m_pDecrease->GetWidth()) : 0;
}

int VyScrollBar::TrackLength() const
{
    const VyRect client = GetClientRect();
    const int length = IsVertical() ? client.Height() : client.Width();
    return std::max(0, length - 2 * TrackStart());
}

int VyScrollBar::Along(VyPoint point) const
{
    return IsVertical() ? GetClientRect().top - 1 - point.y : point.x;
}

void VyScrollBar::LayoutThumb()
{
    const int track = TrackLength();
    const int range = m_maximum - m_minimum;
    m_thumbLength = track;
    if (range > 0)
        m_thumbLength = std::clamp(static_cast<int>(static_cast<long long>(track) * std::max(1, m_steps.page) /
                                                    (range + std::max(1, m_steps.page))),
                                   std::min(VY_MIN_THUMB, track), track);
    const int travel = track - m_thumbLength;
    m_thumbStart = TrackStart() + (range > 0 ? static_cast<int>(static_cast<long long>(travel) *
                                                                (m_position - m_minimum) / range)
                                             : 0);
    const VyRect client = GetClientRect();
    if (IsVertical())
        m_thumb = {0, client.top - m_thumbStart, client.right, client.top - m_thumbStart - m_thumbLength};
    else
        m_thumb = {m_thumbStart, client.top, m_thumbStart + m_thumbLength, 0};
    Invalidate();
}

// -- Mouse -------------------------------------------------------------------------------------------

void VyScrollBar::OnButtonPressed(VyPoint point, int flags)
{
    if ((flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT || m_maximum <= m_minimum)
        return;
    VyMainWnd* pMain = VyMainWnd::Get();
    if (pMain == nullptr || !pMain->SetCapture(this))
        return;
    const int along = Along(point);
    if (along >= m_thumbStart && along < m_thumbStart + m_thumbLength)
    {
        m_drag = Drag::THUMB;
        m_pressOffset = along - m_thumbStart;
        Invalidate();
        return;
    }
    m_drag = along < m_thumbStart ? Drag::PAGE_DOWN : Drag::PAGE_UP;
    m_pageTarget = along;
    m_bRepeating = false;
    Page();
    VyMessageTarget::SetTimer(this, VY_PAGE_TIMER, VyGetMetric(VyMetric::REPEAT_DELAY_MS));
}

void VyScrollBar::Page()
{
    if (m_drag == Drag::PAGE_DOWN && m_thumbStart > m_pageTarget)
        ChangeBy(-m_steps.page);
    else if (m_drag == Drag::PAGE_UP && m_thumbStart + m_thumbLength <= m_pageTarget)
        ChangeBy(m_steps.page);
}

void VyScrollBar::OnMouseMoved(VyPoint point, int flags)
{
    VyFrameWnd::OnMouseMoved(point, flags);
    if (m_drag == Drag::PAGE_DOWN || m_drag == Drag::PAGE_UP)
        m_pageTarget = Along(point);
    if (m_drag != Drag::THUMB)
        return;
    const int travel = TrackLength() - m_thumbLength;
    if (travel <= 0)
        return;
    const int start = Along(point) - m_pressOffset - TrackStart();
    const long long range = m_maximum - m_minimum;
    // To the nearest position, so that the thumb sits where it was let go.
    const int position = m_minimum + static_cast<int>((start * range * 2 + travel) / (2LL * travel));
    SetPosition(position, VyScrollNotify::NOTIFY);
}

void VyScrollBar::OnButtonReleased(VyPoint point, int flags)
{
    VyFrameWnd::OnButtonReleased(point, flags);
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->ReleaseCapture(this);
    if ((flags & VY_MOUSE_BUTTON_MASK) == VY_MOUSE_RIGHT)
        OpenContextMenu(point);
}

// -- The right-button menu ---------------------------------------------------------------------------

void VyScrollBar::OpenContextMenu(VyPoint point)
{
    m_menuAlong = Along(point);
    const bool bVertical = IsVertical();
    auto pMenu = std::make_unique<VyPopupMenu>();
    const auto add = [&pMenu, this](const char* text, VyScrollCommand command) {
        pMenu->AppendItem(static_cast<int>(command), text, this);
    };
    add("Scroll Here", VyScrollCommand::SCROLL_HERE);
    pMenu->AppendSeparator();
    add(bVertical ? "Top" : "Left", VyScrollCommand::MINIMUM);
    add(bVertical ? "Bottom" : "Right", VyScrollCommand::MAXIMUM);
    pMenu->AppendSeparator();
    add(bVertical ? "Page Up" : "Page Left", VyScrollCommand::PAGE_DOWN);
    add(bVertical ? "Page Down" : "Page Right", VyScrollCommand::PAGE_UP);
    pMenu->AppendSeparator();
    add(bVertical ? "Scroll Up" : "Scroll Left", VyScrollCommand::LINE_DOWN);
    add(bVertical ? "Scroll Down" : "Scroll Right", VyScrollCommand::LINE_UP);
    VyPopupMenu::OpenContextMenu(std::move(pMenu), *this, ClientToRoot(point));
}

int VyScrollBar::PositionAt(int along) const
{
    const int travel = TrackLength() - m_thumbLength;
    if (travel <= 0)
        return m_minimum;
    const long long start = along - m_thumbLength / 2 - TrackStart();
    const long long range = m_maximum - m_minimum;
    return m_minimum + static_cast<int>((start * range * 2 + travel) / (2LL * travel));
}

bool VyScrollBar::RunCommand(int id)
{
    switch (static_cast<VyScrollCommand>(id))
    {
    case VyScrollCommand::SCROLL_HERE: SetPosition(PositionAt(m_menuAlong), VyScrollNotify::NOTIFY); return true;
    case VyScrollCommand::MINIMUM: SetPosition(m_minimum, VyScrollNotify::NOTIFY); return true;
    case VyScrollCommand::MAXIMUM: SetPosition(m_maximum, VyScrollNotify::NOTIFY); return true;
    case VyScrollCommand::PAGE_DOWN: ChangeBy(-m_steps.page); return true;
    case VyScrollCommand::PAGE_UP: ChangeBy(m_steps.page); return true;
    case VyScrollCommand::LINE_DOWN: ChangeBy(-m_steps.line); return true;
    case VyScrollCommand::LINE_UP: ChangeBy(m_steps.line); return true;
    }
    return false;
}

void VyScrollBar::OnCaptureLost()
{
    VyFrameWnd::OnCaptureLost();
    m_drag = Drag::NONE;
    m_bRepeating = false;
    VyMessageTarget::KillTimer(this, VY_PAGE_TIMER);
    Invalidate();
}

void VyScrollBar::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_COMMAND && RunCommand(msg.param1))
        return;
    if (msg.id == VY_MSG_COMMAND && msg.param1 == VY_DECREASE_ID)
        ChangeBy(-m_steps.line);
    else if (msg.id == VY_MSG_COMMAND && msg.param1 == VY_INCREASE_ID)
        ChangeBy(m_steps.line);
    else if (msg.id == VY_MSG_TIMER && msg.param1 == VY_PAGE_TIMER)
    {
        if (!m_bRepeating)
        {
            m_bRepeating = true;
            VyMessageTarget::SetTimer(this, VY_PAGE_TIMER, VyGetMetric(VyMetric::REPEAT_INTERVAL_MS));
        }
        Page();
    }
    else
        VyFrameWnd::HandleMessage(msg);
}

// -- Drawing -----------------------------------------------------------------------------------------

VyColor VyScrollBar::GetBackgroundColor() const
{
    return GetColor(HasStyle(VY_STYLE_MOUSE_OVER) ? VyControlColor::FACE_MOUSE_OVER : VyControlColor::FACE);
}

void VyScrollBar::DrawContent(VyRenderContext& context, const VyRect&)
{
    if (m_thumbLength <= 0 || m_maximum <= m_minimum)
        return;
    const VyRect thumb = ClientToRoot(m_thumb);
    context.SetTexturing(false);
    context.SetBlending(true);
    const bool bLit = m_drag == Drag::THUMB || HasStyle(VY_STYLE_MOUSE_OVER);
    context.SetColor(GetColor(bLit ? VyControlColor::FACE_FOCUS : VyControlColor::FACE_DOWN));
    context.FillRect(thumb);
    context.Draw3DFrame(thumb, VyFrameColors::FromSlots(SCROLLBAR_THUMB_DARK_SHADOW), VyFrameStyle::RAISED);
}
