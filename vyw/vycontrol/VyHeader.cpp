#include "vycontrol/VyHeader.h"

#include <algorithm>

#include "vyplatform/VyInput.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"

namespace
{
constexpr int TITLE_INSET = 5;
const VyString NO_TITLE;
} // namespace

VyHeader::VyHeader()
{
    SetBackgroundColor(VyColor::FromSlot(BUTTON_FACE));
}

int VyHeader::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT: return BUTTON_TEXT;
    case VyControlColor::TEXT_SHADOW: return BUTTON_TEXT_SHADOW;
    case VyControlColor::FACE: return BUTTON_FACE;
    default: return VY_COLOR_SLOT_NONE;
    }
}

bool VyHeader::IsIndex(int index) const
{
    const bool bValid = index >= 0 && index < GetPaneCount();
    VY_ASSERT_TEXT(bValid, "index>=0 && index<GetPaneCount()");
    return bValid;
}

int VyHeader::AddPane(const VyString& title, int width)
{
    m_panes.push_back({title, std::max(VY_MIN_PANE, width)});
    Invalidate();
    return GetPaneCount() - 1;
}

const VyString& VyHeader::GetPaneTitle(int index) const
{
    return IsIndex(index) ? m_panes[static_cast<size_t>(index)].title : NO_TITLE;
}

int VyHeader::GetPaneWidth(int index) const
{
    return IsIndex(index) ? m_panes[static_cast<size_t>(index)].width : 0;
}

int VyHeader::GetPaneLeft(int index) const
{
    if (!IsIndex(index))
        return 0;
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += m_panes[static_cast<size_t>(i)].width;
    return left;
}

void VyHeader::SetPaneWidth(int index, int width)
{
    if (!IsIndex(index))
        return;
    width = std::max(VY_MIN_PANE, width);
    if (width == m_panes[static_cast<size_t>(index)].width)
        return;
    m_panes[static_cast<size_t>(index)].width = width;
    PostTo(GetParent(), VY_MSG_COMMAND, GetId());
    Invalidate();
}

int VyHeader::GetTotalWidth() const
{
    int total = 0;
    for (const Pane& pane : m_panes)
        total += pane.width;
    return total;
}

void VyHeader::SetOffset(int offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    Invalidate();
}

int VyHeader::GetNaturalHeight() const
{
    const VyFont* pFont = GetDrawFont();
    return (pFont != nullptr ? pFont->GetHeight() : 13) + 8;
}

void VyHeader::Relayout()
{
    Invalidate();
}

// -- Resizing panes ----------------------------------------------------------------------------------

int VyHeader::EdgeAt(int x) const
{
    int right = -m_offset;
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        right += m_panes[static_cast<size_t>(i)].width;
        if (std::abs(x - right) <= VY_GRIP)
            return i;
    }
    return -1;
}

void VyHeader::OnButtonPressed(VyPoint point, int flags)
{
    if ((flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT)
        return;
    m_dragged = EdgeAt(point.x);
    if (m_dragged < 0)
        return;
    m_dragStart = point.x - m_panes[static_cast<size_t>(m_dragged)].width;
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->SetCapture(this);
}

void VyHeader::OnMouseMoved(VyPoint point, int flags)
{
    VyFrameWnd::OnMouseMoved(point, flags);
    if (m_dragged >= 0)
        SetPaneWidth(m_dragged, point.x - m_dragStart);
    const bool bOnEdge = m_dragged >= 0 || EdgeAt(point.x) >= 0;
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->SetShownCursor(bOnEdge ? VY_CURSOR_EAST_WEST : VY_CURSOR_DEFAULT);
}

void VyHeader::OnButtonReleased(VyPoint point, int flags)
{
    VyFrameWnd::OnButtonReleased(point, flags);
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->ReleaseCapture(this);
}

void VyHeader::OnCaptureLost()
{
    VyFrameWnd::OnCaptureLost();
    m_dragged = -1;
}

// -- Drawing -----------------------------------------------------------------------------------------

void VyHeader::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    VyFont* pFont = GetDrawFont();
    int left = clientRect.left - m_offset;
    context.SetTexturing(false);
    for (const Pane& pane : m_panes)
    {
        const VyRect face{left, clientRect.top, left + pane.width, clientRect.bottom};
        context.Draw3DFrame(face, VyFrameColors::FromSlots(BUTTON_UP_DARK_SHADOW), VyFrameStyle::RAISED);
        if (pFont != nullptr)
        {
            context.SelectFont(pFont);
            const VyRect box{face.left + TITLE_INSET, face.top, face.right - TITLE_INSET, face.bottom};
            DrawShadowedText(context, pane.title, box, VY_TEXT_LEFT | VY_TEXT_VCENTER | VY_TEXT_ELLIPSIS,
                             VyControlColor::TEXT, VyControlColor::TEXT_SHADOW);
        }
        left += pane.width;
    }
}
