#include "vycontrol/VyMenuTitle.h"

#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"

VyMenuTitle::VyMenuTitle()
{
    SetFrameColorBase(MENU_DARK_SHADOW);
}

int VyMenuTitle::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT: return MENU_TEXT;
    case VyControlColor::TEXT_SHADOW: return MENU_TEXT_SHADOW;
    case VyControlColor::TEXT_DISABLED: return MENU_TEXT_DISABLED;
    case VyControlColor::TEXT_DISABLED_SHADOW: return MENU_TEXT_DISABLED_SHADOW;
    case VyControlColor::TEXT_MOUSE_OVER: return MENU_TEXT_SELECTION;
    case VyControlColor::TEXT_MOUSE_OVER_SHADOW: return MENU_TEXT_SELECTION_SHADOW;
    case VyControlColor::FACE:
    case VyControlColor::FACE_FOCUS: return MENU_BACKGROUND;
    case VyControlColor::FACE_DOWN:
    case VyControlColor::FACE_MOUSE_OVER: return MENU_BACKGROUND_SELECTION;
    default: return VY_COLOR_SLOT_NONE;
    }
}

void VyMenuTitle::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    VyFont* pFont = GetDrawFont();
    if (pFont == nullptr)
        return;
    context.SelectFont(pFont);
    VyControlColor text = VyControlColor::TEXT;
    VyControlColor shadow = VyControlColor::TEXT_SHADOW;
    if (!IsEnabled())
    {
        text = VyControlColor::TEXT_DISABLED;
        shadow = VyControlColor::TEXT_DISABLED_SHADOW;
    }
    else if (IsShownDown() || HasStyle(VY_STYLE_MOUSE_OVER))
    {
        text = VyControlColor::TEXT_MOUSE_OVER;
        shadow = VyControlColor::TEXT_MOUSE_OVER_SHADOW;
    }
    DrawShadowedText(context, GetText(), clientRect, VY_TEXT_HCENTER | VY_TEXT_VCENTER, text, shadow);
}

void VyMenuTitle::DrawFrame(VyRenderContext&, const VyRect&)
{
    // Flat: the lit face alone tells the open title.
}
