#include "vycontrol/VyButton.h"

#include <algorithm>

#include "vyplatform/VyInput.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
// The face frame: two pixels of the BUTTON_UP_* or BUTTON_DOWN_* colours.
constexpr int FACE_FRAME = 2;
// The focus rectangle's distance from the edge.
constexpr int FOCUS_INSET = 4;
} // namespace

VyButton::VyButton() : m_nUpFrameSlot(BUTTON_UP_DARK_SHADOW), m_nDownFrameSlot(BUTTON_DOWN_DARK_SHADOW)
{
    SetJustification(VyJustification::CENTER);
    SetFrameColorBase(BUTTON_UP_DARK_SHADOW);
}

int VyButton::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT: return BUTTON_TEXT;
    case VyControlColor::TEXT_SHADOW: return BUTTON_TEXT_SHADOW;
    case VyControlColor::TEXT_DISABLED: return BUTTON_TEXT_DISABLED;
    case VyControlColor::TEXT_DISABLED_SHADOW: return BUTTON_TEXT_DISABLED_SHADOW;
    case VyControlColor::TEXT_FOCUS: return BUTTON_TEXT_FOCUS;
    case VyControlColor::TEXT_FOCUS_SHADOW: return BUTTON_TEXT_FOCUS_SHADOW;
    case VyControlColor::TEXT_MOUSE_OVER: return BUTTON_TEXT_MOUSE_OVER;
    case VyControlColor::TEXT_MOUSE_OVER_SHADOW: return BUTTON_TEXT_MOUSE_OVER_SHADOW;
    case VyControlColor::FACE: return BUTTON_FACE;
    case VyControlColor::FACE_DOWN: return BUTTON_FACE_DOWN;
    case VyControlColor::FACE_FOCUS: return BUTTON_FACE_FOCUS;
    case VyControlColor::FACE_MOUSE_OVER: return BUTTON_FACE_MOUSE_OVER;
    default: return VY_COLOR_SLOT_NONE;
    }
}

void VyButton::SetFaceFrameSlots(int upFirstSlot, int downFirstSlot)
{
    m_nUpFrameSlot = upFirstSlot;
    m_nDownFrameSlot = downFirstSlot;
    Invalidate();
}

// -- State -------------------------------------------------------------------------------------------

void VyButton::SetState(VyButtonState state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (HasStyle(VY_BUTTON_STATE_MESSAGES))
        PostTo(GetParent(), VY_MSG_BUTTON_STATE, GetId(), static_cast<int>(state));
    Invalidate();
}

void VyButton::PostCommand()
{
    PostTo(GetParent(), VY_MSG_COMMAND, GetId());
}

bool VyButton::IsInside(VyPoint clientPoint) const
{
    return GetRect().Contains(ClientToParent(clientPoint));
}

bool VyButton::HasFocus() const
{
    const VyMainWnd* pMain = VyMainWnd::Get();
    return pMain != nullptr && pMain->GetFocus() == this;
}

// -- Mouse -------------------------------------------------------------------------------------------

void VyButton::OnButtonPressed(VyPoint point, int flags)
{
    VyFrameWnd::OnButtonPressed(point, flags); // takes the focus
    m_lastMouse = point;
    if (IsToggle())
        PressToggle();
    else
        PressPush();
}

void VyButton::PressPush()
{
    SetState(VyButtonState::DOWN);
    if (HasStyle(VY_BUTTON_ON_PRESS))
        PostCommand();
    if (VyMainWnd* pMain = VyMainWnd::Get())
        m_bCaptured = pMain->SetCapture(this);
    if (HasStyle(VY_BUTTON_REPEAT) && m_bCaptured)
    {
        m_bRepeating = false;
        VyMessageTarget::SetTimer(this, VY_REPEAT_TIMER, VyGetMetric(VyMetric::REPEAT_DELAY_MS));
    }
}

void VyButton::PressToggle()
{
    if (HasStyle(VY_BUTTON_ON_PRESS))
    {
        SetState(m_state == VyButtonState::DOWN ? VyButtonState::UP : VyButtonState::DOWN);
        PostCommand();
        return;
    }
    SetState(m_state == VyButtonState::DOWN ? VyButtonState::ON_PRESSED : VyButtonState::OFF_PRESSED);
    if (VyMainWnd* pMain = VyMainWnd::Get())
        m_bCaptured = pMain->SetCapture(this);
}

void VyButton::OnMouseMoved(VyPoint point, int flags)
{
    m_lastMouse = point;
    VyFrameWnd::OnMouseMoved(point, flags);
    if (!m_bCaptured)
        return;
    const bool bInside = IsInside(point);
    if (!IsToggle())
    {
        if (bInside)
            SetState(VyButtonState::DOWN);
        else if (VyMainWnd* pMain = VyMainWnd::Get())
            pMain->ReleaseCapture(this);
        return;
    }
    if (bInside && m_state == VyButtonState::DOWN)
        SetState(VyButtonState::ON_PRESSED);
    else if (bInside && m_state == VyButtonState::UP)
        SetState(VyButtonState::OFF_PRESSED);
    else if (!bInside && m_state == VyButtonState::ON_PRESSED)
        SetState(VyButtonState::DOWN);
    else if (!bInside && m_state == VyButtonState::OFF_PRESSED)
        SetState(VyButtonState::UP);
}

void VyButton::OnButtonReleased(VyPoint point, int flags)
{
    VyFrameWnd::OnButtonReleased(point, flags);
    if (!m_bCaptured)
        return;
    bool bCommand = false;
    if (!IsToggle())
        bCommand = m_state == VyButtonState::DOWN && !HasStyle(VY_BUTTON_ON_PRESS) && IsInside(point);
    else if (m_state == VyButtonState::OFF_PRESSED || m_state == VyButtonState::ON_PRESSED)
    {
        SetState(m_state == VyButtonState::OFF_PRESSED ? VyButtonState::DOWN : VyButtonState::UP);
        bCommand = true;
    }
    if (bCommand)
        PostCommand();
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->ReleaseCapture(this);
}

void VyButton::OnCaptureLost()
{
    VyFrameWnd::OnCaptureLost();
    m_bCaptured = false;
    StopRepeat();
    if (!IsToggle())
        SetState(VyButtonState::UP);
    else if (m_state == VyButtonState::ON_PRESSED)
        SetState(VyButtonState::DOWN);
    else if (m_state == VyButtonState::OFF_PRESSED)
        SetState(VyButtonState::UP);
}

void VyButton::StopRepeat()
{
    m_bRepeating = false;
    VyMessageTarget::KillTimer(this, VY_REPEAT_TIMER);
    VyMessageTarget::KillTimer(this, VY_REPEAT_TIMER + 1);
}

void VyButton::HandleMessage(const VyMessage& msg)
{
    if (msg.id != VY_MSG_TIMER || msg.param1 != VY_REPEAT_TIMER)
    {
        VyFrameWnd::HandleMessage(msg);
        return;
    }
    if (!m_bRepeating)
    {
        m_bRepeating = true;
        VyMessageTarget::SetTimer(this, VY_REPEAT_TIMER, VyGetMetric(VyMetric::REPEAT_INTERVAL_MS));
    }
    if (m_bCaptured && IsInside(m_lastMouse))
        PostCommand();
}

void VyButton::OnDestroy()
{
    StopRepeat();
    VyFrameWnd::OnDestroy();
}

bool VyButton::FilterKey(int key, int flags)
{
    // Only Return acts: Space and the rest go on to Tab navigation and the dialog's own keys. A
    // toggle keeps its state, so Return means "do it" for both kinds of button alike.
    if (key != VY_KEY_RETURN)
        return VyFrameWnd::FilterKey(key, flags);
    PostCommand();
    return false;
}

// -- Size --------------------------------------------------------------------------------------------

VyFrameWidths VyButton::GetFrameWidths() const
{
    return VyFrameWnd::GetFrameWidths().Inflated(FACE_FRAME);
}

void VyButton::OnTextChanged()
{
    Relayout();
}

void VyButton::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyButton::Relayout()
{
    const VyFont* pFont = GetDrawFont();
    const bool bAutomatic = HasStyle(VY_BUTTON_AUTO_HEIGHT) || HasStyle(VY_BUTTON_AUTO_WIDTH);
    if (m_bLayingOut || pFont == nullptr || !bAutomatic)
        return;
    m_bLayingOut = true;
    const int inset = VyGetMetric(VyMetric::BUTTON_TEXT_INSET);
    const VySize frame = GetFrameSize();
    int width = GetWidth();
    int height = GetHeight();
    if (HasStyle(VY_BUTTON_AUTO_HEIGHT))
        height = pFont->GetHeight() + 2 * (inset + frame.cy + VyGetMetric(VyMetric::THICK_FRAME_Y)) + 2;
    if (HasStyle(VY_BUTTON_AUTO_WIDTH))
        width = pFont->GetTextWidth(GetText()) + 2 * (inset + frame.cx + VyGetMetric(VyMetric::THICK_FRAME_X)) + 2;
    ResizeKeepingTop(width, height);
    m_bLayingOut = false;
}

// -- Drawing -----------------------------------------------------------------------------------------

VyColor VyButton::FaceColor() const
{
    if (IsShownDown())
        return GetColor(VyControlColor::FACE_DOWN);
    if (HasStyle(VY_STYLE_MOUSE_OVER) && IsEnabled())
        return GetColor(VyControlColor::FACE_MOUSE_OVER);
    if (HasFocus())
        return GetColor(VyControlColor::FACE_FOCUS);
    return GetColor(VyControlColor::FACE);
}

VyButton::TextRoles VyButton::GetTextRoles() const
{
    if (!IsEnabled())
        return {VyControlColor::TEXT_DISABLED, VyControlColor::TEXT_DISABLED_SHADOW};
    if (HasStyle(VY_STYLE_MOUSE_OVER))
        return {VyControlColor::TEXT_MOUSE_OVER, VyControlColor::TEXT_MOUSE_OVER_SHADOW};
    if (HasFocus())
        return {VyControlColor::TEXT_FOCUS, VyControlColor::TEXT_FOCUS_SHADOW};
    return {VyControlColor::TEXT, VyControlColor::TEXT_SHADOW};
}

void VyButton::DrawBackground(VyRenderContext& context, const VyRect& rect)
{
    context.SetTexturing(false);
    context.SetBlending(true);
    context.SetColor(FaceColor());
    context.FillRect(rect);
}

void VyButton::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    VyFont* pFont = GetDrawFont();
    if (pFont == nullptr)
        return;
    // Pressed in, the text moves with the face.
    const int shift = IsShownDown() ? 1 : 0;
    const VyRect box{clientRect.left + shift, clientRect.top - shift, clientRect.right + shift,
                     clientRect.bottom - shift};
    context.SelectFont(pFont);
    const TextRoles roles = GetTextRoles();
    DrawShadowedText(context, GetText(), box, GetJustificationFlags() | VY_TEXT_VCENTER | VY_TEXT_ELLIPSIS,
                     roles.text, roles.shadow);
}

void VyButton::DrawFrame(VyRenderContext& context, const VyRect& rect)
{
    VyFrameWnd::DrawFrame(context, rect);
    const VySize outer = GetFrameSize();
    const VyRect face{rect.left + outer.cx, rect.top - outer.cy, rect.right - outer.cx, rect.bottom + outer.cy};
    context.SetTexturing(false);
    if (IsShownDown())
        context.Draw3DFrame(face, VyFrameColors::FromSlots(m_nDownFrameSlot), VyFrameStyle::SUNKEN);
    else
        context.Draw3DFrame(face, VyFrameColors::FromSlots(m_nUpFrameSlot), VyFrameStyle::RAISED);
    if (!HasFocus() || HasStyle(VY_STYLE_NO_FOCUS))
        return;
    context.SetColor(VyColor::FromSlot(FOCUS_RECT));
    context.DrawRect({face.left + FOCUS_INSET, face.top - FOCUS_INSET, face.right - FOCUS_INSET,
                      face.bottom + FOCUS_INSET});
}
