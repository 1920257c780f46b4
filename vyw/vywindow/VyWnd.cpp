#include "vywindow/VyWnd.h"

#include <algorithm>

#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyFrameWnd.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMenuBarInterface.h"
#include "vywindow/VyMetrics.h"

namespace
{
VyRect Offset(const VyRect& rect, VyPoint by)
{
    return {rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

VyRect Intersect(const VyRect& a, const VyRect& b)
{
    return {std::max(a.left, b.left), std::min(a.top, b.top), std::min(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}
} // namespace

VyWnd::VyWnd()
    : m_background(VyColor::FromSlot(WINDOW_BACKGROUND)), m_nFrameColorBase(WINDOW_DARK_SHADOW)
{
}

VyWnd::~VyWnd()
{
    Forget();
}

void VyWnd::Forget()
{
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->ForgetWindow(this);
    if (VyMessageQueue::Current() != nullptr)
    {
        VyMessageTarget::RemoveMessages({this, 0, 0, 0});
        VyMessageTarget::KillTimers(this);
    }
}

void VyWnd::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_MOVE_WINDOW)
        Move(m_pendingMove.left, m_pendingMove.top, m_pendingMove.Width(), m_pendingMove.Height());
}

// -- Colours -----------------------------------------------------------------------------------------

VyColor VyWnd::GetBackgroundColor() const
{
    return m_background;
}

void VyWnd::SetBackgroundColor(const VyColor& color)
{
    m_background = color;
    Invalidate();
}

int VyWnd::GetFrameColorBase() const
{
    return m_nFrameColorBase;
}

void VyWnd::SetFrameColorBase(int slotId)
{
    m_nFrameColorBase = slotId;
    Invalidate();
}

// -- Coordinates -------------------------------------------------------------------------------------

VyPoint VyWnd::ClientToParent(VyPoint point) const
{
    const VyFrameWidths frame = GetFrameWidths();
    return {point.x + m_rect.left + frame.left, point.y + m_rect.bottom + frame.bottom};
}

VyRect VyWnd::ClientToParent(const VyRect& rect) const
{
    return Offset(rect, ClientToParent(VyPoint{0, 0}));
}

VyPoint VyWnd::ParentToClient(VyPoint point) const
{
    const VyPoint offset = ClientToParent(VyPoint{0, 0});
    return {point.x - offset.x, point.y - offset.y};
}

VyRect VyWnd::ParentToClient(const VyRect& rect) const
{
    const VyPoint offset = ClientToParent(VyPoint{0, 0});
    return Offset(rect, {-offset.x, -offset.y});
}

VySize VyWnd::GetFrameSize() const
{
    if ((m_style & (VY_STYLE_BORDER | VY_STYLE_INSIDE_BORDER)) == 0)
        return {0, 0};
    if (HasStyle(VY_STYLE_THICKFRAME))
        return {VyGetMetric(VyMetric::THICK_FRAME_X), VyGetMetric(VyMetric::THICK_FRAME_Y)};
    return {VyGetMetric(VyMetric::THIN_FRAME_X), VyGetMetric(VyMetric::THIN_FRAME_Y)};
}

VyFrameWidths VyWnd::GetFrameWidths() const
{
    const VySize frame = GetFrameSize();
    return {frame.cx, frame.cy, frame.cx, frame.cy};
}

VyRect VyWnd::GetClientRect() const
{
    const VyFrameWidths frame = GetFrameWidths();
    return {0, std::max(0, GetHeight() - frame.top - frame.bottom), std::max(0, GetWidth() - frame.left - frame.right),
            0};
}

VyPoint VyWnd::ClientToRoot(VyPoint point) const
{
    for (const VyWnd* pWnd = this; pWnd != nullptr; pWnd = pWnd->m_pParent)
        point = pWnd->ClientToParent(point);
    return point;
}

VyRect VyWnd::ClientToRoot(const VyRect& rect) const
{
    return Offset(rect, ClientToRoot(VyPoint{0, 0}));
}

VyPoint VyWnd::RootToClient(VyPoint point) const
{
    const VyPoint offset = ClientToRoot(VyPoint{0, 0});
    return {point.x - offset.x, point.y - offset.y};
}

VyRect VyWnd::GetRootRect() const
{
    if (m_pParent == nullptr)
        return m_rect;
    return m_pParent->ClientToRoot(m_rect);
}

VyRect VyWnd::GetClientRootRect() const
{
    return ClientToRoot(GetClientRect());
}

// -- Tree queries ------------------------------------------------------------------------------------

VyWnd* VyWnd::ChildFromPoint(VyPoint point)
{
    if (HasStyle(VY_STYLE_NO_HIT) || !ParentToClient(m_rect).Contains(point))
        return nullptr;
    return this;
}

VyWnd* VyWnd::GetChild(int) const
{
    return nullptr;
}

bool VyWnd::IsDescendant(const VyWnd*) const
{
    return false;
}

VyWnd* VyWnd::FindDescendant(int) const
{
    return nullptr;
}

bool VyWnd::IsSelfOrDescendant(const VyWnd* pWnd) const
{
    for (; pWnd != nullptr; pWnd = pWnd->m_pParent)
        if (pWnd == this)
            return true;
    return false;
}

bool VyWnd::ContainsPoint(VyPoint point) const
{
    return m_rect.Contains(point);
}

bool VyWnd::IsShown() const
{
    for (const VyWnd* pWnd = this; pWnd != nullptr; pWnd = pWnd->m_pParent)
        if (!pWnd->IsVisible())
            return false;
    return true;
}

bool VyWnd::IsEnabled() const
{
    for (const VyWnd* pWnd = this; pWnd != nullptr; pWnd = pWnd->m_pParent)
        if (pWnd->HasStyle(VY_STYLE_DISABLED))
            return false;
    return true;
}

void VyWnd::SetEnabled(bool bEnabled)
{
    ModifyStyle(bEnabled ? 0 : VY_STYLE_DISABLED, bEnabled ? VY_STYLE_DISABLED : 0);
}

// -- Life cycle --------------------------------------------------------------------------------------

void VyWnd::MakeRoot(uint32_t style, const VyRect& rect)
{
    m_style = style | VY_STYLE_CREATED;
    m_rect = rect;
    m_pParent = nullptr;
}

bool VyWnd::OnCreate()
{
    return true;
}

void VyWnd::Destroy()
{
    m_style &= ~VY_STYLE_CREATED;
    OnDestroy();
    Forget();
    Invalidate();
}

void VyWnd::OnDestroy()
{
}

void VyWnd::DeleteLater()
{
    Destroy();
    std::unique_ptr<VyWnd> pSelf = m_pParent != nullptr ? m_pParent->ReleaseChild(this) : nullptr;
    VyMainWnd* pMain = VyMainWnd::Get();
    if (pSelf && pMain != nullptr)
        pMain->AddPendingDelete(std::move(pSelf));
    if (pMain != nullptr)
        pMain->RestoreFocus();
}

void VyWnd::Show()
{
    if (m_pParent != nullptr && !IsVisible())
        m_pParent->ShowChild(this);
}

void VyWnd::Hide()
{
    if (m_pParent != nullptr && IsVisible())
        m_pParent->HideChild(this);
}

void VyWnd::SetText(const VyString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    OnTextChanged();
    Invalidate();
}

void VyWnd::OnTextChanged()
{
}

void VyWnd::ModifyStyle(uint32_t add, uint32_t remove)
{
    const uint32_t fixed = VY_STYLE_VISIBLE | VY_STYLE_CREATED;
    const uint32_t style = (m_style & ~(remove & ~fixed)) | (add & ~fixed);
    if (style == m_style)
        return;
    m_style = style;
    Invalidate();
}

void VyWnd::Invalidate() const
{
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->RequestFrame();
}

void VyWnd::PostTo(VyMessageTarget* pTarget, int id, int param1, int param2) const
{
    VyMessageTarget* pReceiver = pTarget != nullptr ? pTarget : const_cast<VyWnd*>(this);
    if (VyMessageQueue::Current() != nullptr)
        VyMessageTarget::Post({pReceiver, id, param1, param2});
}

// -- Focus and mouse ---------------------------------------------------------------------------------

void VyWnd::OnFocusGained()
{
    if (m_pParent != nullptr)
        m_pParent->OnChildFocusGained(this);
    Invalidate();
}

void VyWnd::OnFocusLost()
{
    if (m_pParent != nullptr)
        m_pParent->OnChildFocusLost(this);
    Invalidate();
}

void VyWnd::OnChildFocusGained(VyWnd*)
{
}

void VyWnd::OnChildFocusLost(VyWnd*)
{
}

void VyWnd::OnMouseMoved(VyPoint, int)
{
}

void VyWnd::OnButtonPressed(VyPoint, int)
{
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->SetFocus(this);
}

void VyWnd::OnButtonReleased(VyPoint point, int flags)
{
    if ((flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_RIGHT)
        return;
    if (auto* pBar = dynamic_cast<VyMenuBarInterface*>(GetChild(VY_ID_MENUBAR)))
        pBar->OpenAsPopup(ClientToRoot(point));
}

void VyWnd::OnUnhandledKey(int, int)
{
}

void VyWnd::OnHoverEnter(VyWnd*)
{
    ModifyStyle(VY_STYLE_MOUSE_OVER, 0);
}

void VyWnd::OnHoverLeave(VyWnd*)
{
    ModifyStyle(0, VY_STYLE_MOUSE_OVER);
}

void VyWnd::OnCaptureGained()
{
}

void VyWnd::OnCaptureLost()
{
    ModifyStyle(0, VY_STYLE_DRAGGING);
}

void VyWnd::UpdateCursor()
{
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->SetShownCursor(m_nCursor);
}

int VyWnd::GetZone(VyPoint clientPoint) const
{
    return GetClientRect().Contains(clientPoint) ? VY_ZONE_CLIENT : VY_ZONE_FRAME;
}

bool VyWnd::FilterMouseMove(VyPoint, int)
{
    return true;
}

bool VyWnd::FilterButtonPress(VyPoint, int)
{
    return true;
}

bool VyWnd::FilterButtonRelease(VyPoint, int)
{
    return true;
}

bool VyWnd::FilterKey(int key, int flags)
{
    if (key != VY_KEY_TAB)
        return true;
    const VyTabDirection direction =
        (flags & VY_INPUT_SHIFT) != 0 ? VyTabDirection::BACKWARD : VyTabDirection::FORWARD;
    // The nearest dialog-like scope: the modal window, else the window below the main window.
    VyMainWnd* pMain = VyMainWnd::Get();
    VyWnd* pScope = pMain != nullptr ? pMain->GetModal() : nullptr;
    if (pScope == nullptr || !pScope->IsSelfOrDescendant(this))
    {
        pScope = this;
        while (pScope->m_pParent != nullptr && pScope->m_pParent != pMain)
            pScope = pScope->m_pParent;
    }
    if (auto* pFrame = dynamic_cast<VyFrameWnd*>(pScope))
        pFrame->MoveFocusToNextTabStop(this, direction);
    return false;
}

// -- Geometry ----------------------------------------------------------------------------------------

void VyWnd::Move(int x, int top, int width, int height)
{
    m_style &= ~(VY_STYLE_CENTER_HORIZONTAL | VY_STYLE_CENTER_VERTICAL);
    Place(x, top, width, height);
}

void VyWnd::Place(int x, int top, int width, int height)
{
    const VyRect before = m_rect;
    m_lastMove = {x, top};
    m_rect.left = x;
    m_rect.top = top;
    m_rect.bottom = top - height;
    Resize(width, height);
    if (m_rect != before)
        Invalidate();
}

void VyWnd::ResizeKeepingTop(int width, int height)
{
    if (width == GetWidth() && height == GetHeight())
        return;
    Place(m_rect.left, m_rect.top, width, height);
    if (m_pParent != nullptr)
        m_pParent->RelayoutChildren();
}

void VyWnd::PostMove(const VyRect& rect)
{
    m_pendingMove = rect;
    PostTo(this, VY_MSG_MOVE_WINDOW);
}

void VyWnd::Resize(int width, int height)
{
    const VyRect before = m_rect;
    m_rect.right = m_rect.left + std::max(0, width);
    m_rect.top = m_rect.bottom + std::max(0, height);
    LayoutChildren();
    if (m_rect != before)
        Invalidate();
}

void VyWnd::LayoutChildren()
{
}

// -- Drawing -----------------------------------------------------------------------------------------

bool VyWnd::ScrollByWheel(int)
{
    return false;
}

void VyWnd::ReleaseTextures()
{
}

void VyWnd::DrawBackground(VyRenderContext& context, const VyRect& rect)
{
    context.SetTexturing(false);
    context.SetBlending(true);
    context.SetColor(GetBackgroundColor());
    context.FillRect(rect);
}

void VyWnd::DrawFrame(VyRenderContext& context, const VyRect& rect)
{
    const bool bRaised = HasStyle(VY_STYLE_BORDER);
    if (!bRaised && !HasStyle(VY_STYLE_INSIDE_BORDER))
        return;
    VyFrameColors colors = VyFrameColors::FromSlots(m_nFrameColorBase);
    colors.count = HasStyle(VY_STYLE_THICKFRAME) ? 4 : 2;
    if (colors.count == 2)
        colors.colors[1] = colors.colors[2]; // one pixel: the dark shadow and the dark highlight
    context.SetTexturing(false);
    context.Draw3DFrame(rect, colors, bRaised ? VyFrameStyle::RAISED : VyFrameStyle::SUNKEN);
}

void VyWnd::DrawContent(VyRenderContext&, const VyRect&)
{
}

VyRect VyWnd::ClipToAncestors(VyRect clip) const
{
    if (!HasStyle(VY_STYLE_OVERLAY))
        for (const VyWnd* pWnd = m_pParent; pWnd != nullptr; pWnd = pWnd->m_pParent)
            clip = Intersect(clip, pWnd->GetRootRect());
    return Intersect(clip, GetRootRect());
}

void VyWnd::Draw(VyRenderContext& context)
{
    if (!IsVisible())
        return;
    const VyMainWnd* pMain = VyMainWnd::Get();
    const VyRect clip = ClipToAncestors(pMain != nullptr ? pMain->GetRect() : GetRootRect());
    if (clip.IsEmpty())
        return;
    const VyRect rect = GetRootRect();
    context.SetClipRect(clip);
    if (!HasStyle(VY_STYLE_TRANSPARENT))
        DrawBackground(context, rect);
    DrawContent(context, GetClientRootRect());
    DrawChildren(context);
    context.SetClipRect(clip);
    DrawFrame(context, rect);
}

void VyWnd::DrawChildren(VyRenderContext&)
{
}
