#include "vycontrol/VyScrollBarArrow.h"

#include <algorithm>

#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"

VyScrollBarArrow::VyScrollBarArrow(VyArrowDirection direction) : m_direction(direction)
{
    SetFaceFrameSlots(SCROLLBAR_BUTTON_UP_DARK_SHADOW, SCROLLBAR_BUTTON_DOWN_DARK_SHADOW);
}

int VyScrollBarArrow::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT:
    case VyControlColor::TEXT_FOCUS: return SCROLLBAR_BUTTON_ARROW;
    case VyControlColor::TEXT_SHADOW:
    case VyControlColor::TEXT_FOCUS_SHADOW: return SCROLLBAR_BUTTON_ARROW_SHADOW;
    case VyControlColor::TEXT_DISABLED: return SCROLLBAR_BUTTON_ARROW_DISABLED;
    case VyControlColor::TEXT_DISABLED_SHADOW: return SCROLLBAR_BUTTON_ARROW_DISABLED_SHADOW;
    case VyControlColor::TEXT_MOUSE_OVER: return SCROLLBAR_BUTTON_ARROW_MOUSE_OVER;
    case VyControlColor::TEXT_MOUSE_OVER_SHADOW: return SCROLLBAR_BUTTON_ARROW_MOUSE_OVER_SHADOW;
    case VyControlColor::FACE: return SCROLLBAR_BUTTON_FACE;
    case VyControlColor::FACE_DOWN: return SCROLLBAR_BUTTON_FACE_DOWN;
    case VyControlColor::FACE_FOCUS: return SCROLLBAR_BUTTON_FACE_FOCUS;
    case VyControlColor::FACE_MOUSE_OVER: return SCROLLBAR_BUTTON_FACE_MOUSE_OVER;
    default: return VyButton::DefaultSlot(role);
    }
}

void VyScrollBarArrow::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    // A triangle of half the smaller side, pointing its way, moved with the face when pressed.
    const int shift = IsShownDown() ? 1 : 0;
    const int half = std::max(2, std::min(clientRect.Width(), clientRect.Height()) / 4);
    const int cx = (clientRect.left + clientRect.right) / 2 + shift;
    const int cy = (clientRect.bottom + clientRect.top) / 2 - shift;
    VyPoint points[3];
    switch (m_direction)
    {
    case VyArrowDirection::UP:
        points[0] = {cx - half, cy - half / 2};
        points[1] = {cx + half + 1, cy - half / 2};
        points[2] = {cx, cy + half / 2 + 1};
        break;
    case VyArrowDirection::DOWN:
        points[0] = {cx - half, cy + half / 2 + 1};
        points[1] = {cx, cy - half / 2};
        points[2] = {cx + half + 1, cy + half / 2 + 1};
        break;
    case VyArrowDirection::LEFT:
        points[0] = {cx + half / 2 + 1, cy - half};
        points[1] = {cx + half / 2 + 1, cy + half + 1};
        points[2] = {cx - half / 2, cy};
        break;
    case VyArrowDirection::RIGHT:
        points[0] = {cx - half / 2, cy - half};
        points[1] = {cx + half / 2 + 1, cy};
        points[2] = {cx - half / 2, cy + half + 1};
        break;
    }
    context.SetTexturing(false);
    context.SetBlending(true);
    context.SetColor(GetColor(IsEnabled() ? VyControlColor::TEXT : VyControlColor::TEXT_DISABLED));
    context.DrawPolygon(points, 3, VyPolygonStyle::FILLED);
}
