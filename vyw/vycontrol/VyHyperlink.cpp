#include "vycontrol/VyHyperlink.h"

#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyutil/VyColorSlots.h"

VyHyperlink::VyHyperlink()
{
    SetCursor(VY_CURSOR_HAND);
    SetMouseOverFontChoice(VyFontChoice{VY_FONT_UNDERLINE, {}});
}

int VyHyperlink::DefaultSlot(VyControlColor role) const
{
    return role == VyControlColor::TEXT ? HOTTRACK : VyLabel::DefaultSlot(role);
}

void VyHyperlink::OnButtonPressed(VyPoint point, int flags)
{
    VyLabel::OnButtonPressed(point, flags);
    m_bPressed = (flags & VY_MOUSE_BUTTON_MASK) == VY_MOUSE_LEFT;
}

void VyHyperlink::OnButtonReleased(VyPoint point, int flags)
{
    VyLabel::OnButtonReleased(point, flags);
    const bool bClicked = m_bPressed && GetRect().Contains(ClientToParent(point));
    m_bPressed = false;
    VyPlatform* pPlatform = VyPlatform::Get();
    if (bClicked && pPlatform != nullptr && !m_link.empty())
        pPlatform->OpenHyperlink(m_link);
}
