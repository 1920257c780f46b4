#include "vycontrol/VyHyperlink.h"

#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"

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
    if ((flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT)
        return;
    // Held, so that a release elsewhere is seen here and a press that began elsewhere opens nothing.
    VyMainWnd* pMain = VyMainWnd::Get();
    m_bPressed = pMain != nullptr && pMain->SetCapture(this);
}

void VyHyperlink::OnButtonReleased(VyPoint point, int flags)
{
    VyLabel::OnButtonReleased(point, flags);
    if (!m_bPressed || (flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT)
        return;
    const bool bInside = GetRect().Contains(ClientToParent(point));
    m_bPressed = false;
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->ReleaseCapture(this);
    VyPlatform* pPlatform = VyPlatform::Get();
    if (bInside && pPlatform != nullptr && !m_link.empty())
        pPlatform->OpenHyperlink(m_link);
}

void VyHyperlink::OnCaptureLost()
{
    VyLabel::OnCaptureLost();
    m_bPressed = false;
}
