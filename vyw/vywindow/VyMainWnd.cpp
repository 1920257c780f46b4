#include "vywindow/VyMainWnd.h"

#include <algorithm>
#include <cstdlib>

#include "vyio/VyConfigFile.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyClock.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMenuBarInterface.h"
#include "vywindow/VyMetrics.h"
#include "vywindow/VyMsgBox.h"

namespace
{
VyMainWnd* g_pMainWnd = nullptr;

// The frame-rate overlay: font 2, blue, 4 pixels from the right edge and the top.
constexpr int FPS_FONT = 2;
constexpr uint32_t FPS_COLOR = 0x0000FF;
constexpr int FPS_MARGIN = 4;

// The debug outlines of [Preferences] Outline.
constexpr uint32_t OUTLINE_COLOR = 0xFF00FF;
constexpr uint32_t OUTLINE_FOCUS_COLOR = 0xFFFF00;
constexpr uint32_t OUTLINE_CAPTURE_COLOR = 0xFF0000;

// How much of a dragged window stays inside the main window: its caption's top and this many pixels.
constexpr int DRAG_KEEP_VISIBLE = 40;

bool IsScreenshotKey(int character, int flags)
{
    return character == 'p' && (flags & VY_INPUT_CONTROL) != 0;
}

template <class T>
void Erase(std::vector<T*>& list, const T* pItem)
{
    list.erase(std::remove(list.begin(), list.end(), pItem), list.end());
}

void InsetRect(VyRenderContext& context, VyRect rect, int times)
{
    for (int i = 0; i < times && !rect.IsEmpty(); ++i)
    {
        context.DrawRect(rect);
        rect = {rect.left + 1, rect.top - 1, rect.right - 1, rect.bottom + 1};
    }
}
} // namespace

VyMainWnd::VyMainWnd(int width, int height) : m_clickClock(VyClock::TickCount)
{
    VY_ASSERT(g_pMainWnd == nullptr);
    g_pMainWnd = this;
    MakeRoot(VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT, VyRect{0, height, width, 0});
    if (VyPlatform* pPlatform = VyPlatform::Get())
        m_bShowFps = pPlatform->GetScreen().bShowFps;
    m_bOutline = VyConfigFile("vyw.cfg").GetBool("Preferences", "Outline", false);
    SetFocus(this);
}

VyMainWnd::~VyMainWnd()
{
    if (IsCreated())
        Destroy();
    DeletePending();
    VyMessageTarget::KillTimers(this);
    if (g_pMainWnd == this)
        g_pMainWnd = nullptr;
}

VyMainWnd* VyMainWnd::Get()
{
    return g_pMainWnd;
}

// -- Focus -------------------------------------------------------------------------------------------

VyWnd* VyMainWnd::FallbackFocus() const
{
    for (auto it = m_focusHistory.rbegin(); it != m_focusHistory.rend(); ++it)
        if ((*it)->IsCreated() && (*it)->IsShown())
            return *it;
    return const_cast<VyMainWnd*>(this);
}

bool VyMainWnd::SetFocus(VyWnd* pWnd)
{
    if (pWnd == nullptr)
        pWnd = FallbackFocus();
    if (pWnd == m_pFocus)
        return true;
    if (pWnd->HasStyle(VY_STYLE_NO_FOCUS) || !pWnd->IsCreated())
        return false;
    Erase(m_focusHistory, pWnd);
    m_focusHistory.push_back(pWnd);
    VyWnd* pOld = m_pFocus;
    m_pFocus = pWnd;
    if (pOld != nullptr)
        pOld->OnFocusLost();
    pWnd->OnFocusGained();
    return true;
}

void VyMainWnd::RestoreFocus()
{
    if (m_pFocus == nullptr && IsCreated())
        SetFocus(nullptr);
}

// -- Capture, modal windows, overlays ----------------------------------------------------------------

VyWnd* VyMainWnd::GetCapture() const
{
    return m_captures.empty() ? nullptr : m_captures.back().pWnd;
}

bool VyMainWnd::SetCapture(VyWnd* pWnd, VyCaptureRouting routing)
{
    const VyWnd* pModal = GetModal();
    if (pWnd != nullptr && pModal != nullptr && !pModal->IsSelfOrDescendant(pWnd))
    {
        VyTrace::Write("VyMainWnd::SetCapture : refused for a window outside the modal window\n");
        return false;
    }
    if (!m_captures.empty())
    {
        const Capture& top = m_captures.back();
        if (pWnd == nullptr || top.routing == VyCaptureRouting::TO_CAPTURE || !top.pWnd->IsSelfOrDescendant(pWnd))
            ReleaseAllCaptures();
    }
    if (pWnd == nullptr)
        return true;
    m_captures.erase(std::remove_if(m_captures.begin(), m_captures.end(),
                                    [pWnd](const Capture& c) { return c.pWnd == pWnd; }),
                     m_captures.end());
    m_captures.push_back({pWnd, routing});
    pWnd->OnCaptureGained();
    RerouteMouse();
    return true;
}

void VyMainWnd::ReleaseCapture(VyWnd* pWnd)
{
    auto it = std::find_if(m_captures.begin(), m_captures.end(), [pWnd](const Capture& c) { return c.pWnd == pWnd; });
    if (it == m_captures.end())
        return;
    const bool bTop = it + 1 == m_captures.end();
    m_captures.erase(it);
    if (!bTop)
        return;
    pWnd->OnCaptureLost();
    RerouteMouse();
}

void VyMainWnd::ReleaseAllCaptures()
{
    while (!m_captures.empty())
    {
        VyWnd* pWnd = m_captures.back().pWnd;
        m_captures.pop_back();
        pWnd->OnCaptureLost();
    }
}

VyWnd* VyMainWnd::GetModal() const
{
    return m_modals.empty() ? nullptr : m_modals.back();
}

void VyMainWnd::PushModal(VyWnd* pWnd)
{
    Erase(m_modals, pWnd);
    m_modals.push_back(pWnd);
    ReleaseAllCaptures();
    Invalidate();
}

void VyMainWnd::PopModal(VyWnd* pWnd)
{
    Erase(m_modals, pWnd);
    Invalidate();
}

void VyMainWnd::AddOverlay(VyWnd* pWnd)
{
    Erase(m_overlays, pWnd);
    m_overlays.push_back(pWnd);
    Invalidate();
}

void VyMainWnd::RemoveOverlay(VyWnd* pWnd)
{
    Erase(m_overlays, pWnd);
    Invalidate();
}

// -- Cursor and caret --------------------------------------------------------------------------------

void VyMainWnd::SetShownCursor(int cursor)
{
    if (cursor == m_nShownCursor)
        return;
    m_nShownCursor = cursor;
    Invalidate();
}

void VyMainWnd::SetCaret(VyWnd* pOwner, const VyRect& rect)
{
    m_pCaretOwner = pOwner;
    m_caretRect = rect;
    m_bCaretOn = true; // visible at once after every move, as typing expects
    VyMessageTarget::SetTimer(this, VY_CARET_TIMER, VyGetMetric(VyMetric::CARET_BLINK_MS));
    Invalidate();
}

void VyMainWnd::RemoveCaret(VyWnd* pOwner)
{
    if (pOwner != m_pCaretOwner || pOwner == nullptr)
        return;
    m_pCaretOwner = nullptr;
    VyMessageTarget::KillTimer(this, VY_CARET_TIMER);
    Invalidate();
}

void VyMainWnd::ToggleCaret()
{
    m_bCaretOn = !m_bCaretOn;
    if (m_pCaretOwner != nullptr)
        Invalidate();
}

// -- Deletion and forgetting -------------------------------------------------------------------------

void VyMainWnd::AddPendingDelete(std::unique_ptr<VyWnd> pWnd)
{
    if (!pWnd)
        return;
    m_pendingDeletes.push_back({std::move(pWnd), m_nModalDepth});
    if (IsCreated() && !VyMessageTarget::HasMessage({this, VY_MSG_DELETE, 0, 0}))
        PostTo(this, VY_MSG_DELETE);
}

void VyMainWnd::DeletePending()
{
    std::vector<PendingDelete> doomed;
    std::vector<PendingDelete> kept;
    for (PendingDelete& pending : m_pendingDeletes)
        (pending.depth >= m_nModalDepth || !IsCreated() ? doomed : kept).push_back(std::move(pending));
    m_pendingDeletes = std::move(kept);
    doomed.clear(); // their destructors call ForgetWindow, which must not see the list being changed
    RestoreFocus();
}

void VyMainWnd::EnterModalRun()
{
    ++m_nModalDepth;
}

void VyMainWnd::LeaveModalRun()
{
    VY_ASSERT(m_nModalDepth > 0);
    if (m_nModalDepth > 0)
        --m_nModalDepth;
    if (!m_pendingDeletes.empty() && IsCreated())
        PostTo(this, VY_MSG_DELETE);
}

void VyMainWnd::ForgetWindow(const VyWnd* pWnd)
{
    if (pWnd == this)
        return;
    if (m_pFocus == pWnd)
        m_pFocus = nullptr;
    Erase(m_focusHistory, pWnd);
    m_captures.erase(std::remove_if(m_captures.begin(), m_captures.end(),
                                    [pWnd](const Capture& c) { return c.pWnd == pWnd; }),
                     m_captures.end());
    Erase(m_modals, pWnd);
    Erase(m_overlays, pWnd);
    if (m_pHover == pWnd)
        m_pHover = nullptr;
    if (m_pDragged == pWnd)
        m_pDragged = nullptr;
    if (m_pCaretOwner == pWnd)
        RemoveCaret(m_pCaretOwner);
    for (ClickMemory* pMemory : {&m_lastPress, &m_lastRelease})
        if (pMemory->pWnd == pWnd)
            *pMemory = ClickMemory{};
}

void VyMainWnd::OnWindowHidden(VyWnd* pWnd)
{
    if (m_pHover != nullptr && pWnd->IsSelfOrDescendant(m_pHover))
        ChangeHover(nullptr);
    std::vector<VyWnd*> inside;
    for (const Capture& capture : m_captures)
        if (pWnd->IsSelfOrDescendant(capture.pWnd))
            inside.push_back(capture.pWnd);
    for (VyWnd* pCaptured : inside)
        ReleaseCapture(pCaptured);
    if (m_pFocus != nullptr && pWnd->IsSelfOrDescendant(m_pFocus))
        SetFocus(nullptr);
}

// -- Messages and size -------------------------------------------------------------------------------

void VyMainWnd::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_TIMER && msg.param1 == VY_CARET_TIMER)
        ToggleCaret();
    else if (msg.id == VY_MSG_DELETE)
        DeletePending();
    else
        VyFrameWnd::HandleMessage(msg);
}

void VyMainWnd::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    RerouteMouse();
}

void VyMainWnd::OnActivate(bool bActive)
{
    if (bActive)
        Invalidate();
}

// -- Keys --------------------------------------------------------------------------------------------

void VyMainWnd::OnKey(int key, int flags)
{
    RouteKey(key, flags);
}

void VyMainWnd::OnChar(int character, int flags)
{
    if (IsScreenshotKey(character, flags))
    {
        TakeScreenshot(); // never passed on
        return;
    }
    RouteKey(character, flags);
}

void VyMainWnd::TakeScreenshot()
{
    VyRenderContext* pContext = VyRenderContext::GetCurrent();
    if (pContext != nullptr && pContext->SaveScreenshot())
        ++m_nScreenshots;
    Invalidate(); // the picture is read at the end of the next frame
}

VyWnd* VyMainWnd::KeyTarget() const
{
    VyWnd* pTarget = m_pFocus != nullptr ? m_pFocus : const_cast<VyMainWnd*>(this);
    VyWnd* pModal = GetModal();
    if (pModal != nullptr && !pModal->IsSelfOrDescendant(pTarget))
        return pModal;
    return pTarget;
}

bool VyMainWnd::OpenMenuBarFrom(VyWnd* pTarget)
{
    for (VyWnd* pWnd = pTarget; pWnd != nullptr; pWnd = pWnd->GetParent())
        if (auto* pBar = dynamic_cast<VyMenuBarInterface*>(pWnd->GetChild(VY_ID_MENUBAR)))
        {
            pBar->OpenFirstMenu();
            return true;
        }
    return false;
}

void VyMainWnd::RouteKey(int key, int flags)
{
    RestoreFocus();
    VyWnd* pTarget = KeyTarget();
    // F10 belongs to the nearest menu bar, unless a modal window (an open menu among them) has the keys.
    if (key == VY_KEY_F10 && GetModal() == nullptr && OpenMenuBarFrom(pTarget))
        return;
    for (VyWnd* pWnd = pTarget; pWnd != nullptr; pWnd = pWnd->GetParent())
        if (!pWnd->FilterKey(key, flags))
            return;
    pTarget->OnUnhandledKey(key, flags);
}

// -- Mouse buttons -----------------------------------------------------------------------------------

VyWnd* VyMainWnd::HitOverlays(VyPoint point) const
{
    for (auto it = m_overlays.rbegin(); it != m_overlays.rend(); ++it)
    {
        VyWnd* pOverlay = *it;
        if (pOverlay->IsShown() && pOverlay->GetRootRect().Contains(point))
            return pOverlay->ChildFromPoint(pOverlay->RootToClient(point));
    }
    return nullptr;
}

VyWnd* VyMainWnd::MouseTarget(VyPoint point) const
{
    if (!m_captures.empty())
    {
        const Capture& top = m_captures.back();
        if (top.routing == VyCaptureRouting::TO_CHILDREN)
            if (VyWnd* pHit = top.pWnd->ChildFromPoint(top.pWnd->RootToClient(point)))
                return pHit;
        return top.pWnd;
    }
    if (VyWnd* pHit = HitOverlays(point))
        return pHit;
    return const_cast<VyMainWnd*>(this)->ChildFromPoint(point);
}

VyWnd* VyMainWnd::LimitToModal(VyWnd* pTarget) const
{
    VyWnd* pModal = GetModal();
    if (pModal != nullptr && (pTarget == nullptr || !pModal->IsSelfOrDescendant(pTarget)))
        return pModal;
    return pTarget;
}

bool VyMainWnd::PassesButtonFilters(VyWnd* pTarget, VyPoint point, int flags) const
{
    const bool bPress = (flags & VY_MOUSE_PRESS) != 0;
    for (VyWnd* pWnd = pTarget; pWnd != nullptr; pWnd = pWnd->GetParent())
        if (!(bPress ? pWnd->FilterButtonPress(point, flags) : pWnd->FilterButtonRelease(point, flags)))
            return false;
    return true;
}

void VyMainWnd::OnMouseButton(VyPoint point, int flags)
{
    m_mouse = point;
    VyWnd* pTarget = LimitToModal(MouseTarget(point));
    if (pTarget == nullptr || !PassesButtonFilters(pTarget, point, flags) || !pTarget->IsEnabled())
        return;
    if ((flags & VY_MOUSE_PRESS) != 0)
        DeliverPress(*pTarget, point, flags);
    else
        DeliverRelease(*pTarget, point, flags);
}

void VyMainWnd::DeliverPress(VyWnd& target, VyPoint point, int flags)
{
    const VyPoint client = target.RootToClient(point);
    const int zone = target.GetZone(client);
    const int button = flags & VY_MOUSE_BUTTON_MASK;
    if (zone == VY_ZONE_CAPTION && (button == VY_MOUSE_LEFT || button == VY_MOUSE_RIGHT))
    {
        BeginDrag(target, point);
        return;
    }
    const int doubleClick = IsDoubleClick(m_lastPress, target, point) ? VY_MOUSE_DOUBLE_CLICK : 0;
    target.OnButtonPressed(client, flags | zone | doubleClick);
}

void VyMainWnd::DeliverRelease(VyWnd& target, VyPoint point, int flags)
{
    if (target.HasStyle(VY_STYLE_DRAGGING))
    {
        EndDrag();
        return;
    }
    const VyPoint client = target.RootToClient(point);
    const int zone = target.GetZone(client);
    const int doubleClick = IsDoubleClick(m_lastRelease, target, point) ? VY_MOUSE_DOUBLE_CLICK : 0;
    target.OnButtonReleased(client, flags | zone | doubleClick);
}

bool VyMainWnd::IsDoubleClick(ClickMemory& memory, const VyWnd& target, VyPoint point)
{
    const unsigned int now = m_clickClock();
    const int distance = VyGetMetric(VyMetric::DOUBLE_CLICK_DISTANCE);
    const bool bDouble = memory.bArmed && memory.pWnd == &target &&
                         now - memory.time < static_cast<unsigned int>(VyGetMetric(VyMetric::DOUBLE_CLICK_MS)) &&
                         std::abs(point.x - memory.point.x) < distance && std::abs(point.y - memory.point.y) < distance;
    if (bDouble)
        memory = ClickMemory{};
    else
        memory = ClickMemory{&target, now, point, true};
    return bDouble;
}

// -- Dragging by the caption -------------------------------------------------------------------------

void VyMainWnd::BeginDrag(VyWnd& target, VyPoint point)
{
    const VyRect rect = target.GetRootRect();
    m_pDragged = &target;
    m_dragOffset = {point.x - rect.left, point.y - rect.top};
    target.ModifyStyle(VY_STYLE_DRAGGING, 0);
    if (VyFrameWnd* pParent = target.GetParent())
        pParent->BringToFront(&target);
    SetFocus(&target);
    SetCapture(&target);
}

void VyMainWnd::EndDrag()
{
    VyWnd* pDragged = m_pDragged;
    m_pDragged = nullptr;
    if (pDragged == nullptr)
        return;
    pDragged->ModifyStyle(0, VY_STYLE_DRAGGING);
    ReleaseCapture(pDragged);
}

void VyMainWnd::FollowDrag(VyPoint point)
{
    VyWnd& dragged = *m_pDragged;
    const int width = dragged.GetWidth();
    const int height = dragged.GetHeight();
    // The caption stays within reach: the top inside the window, some of the width too.
    const VyRect bounds = GetRect();
    VyPoint topLeft{point.x - m_dragOffset.x, point.y - m_dragOffset.y};
    topLeft.x = std::clamp(topLeft.x, bounds.left + DRAG_KEEP_VISIBLE - width, bounds.right - DRAG_KEEP_VISIBLE);
    topLeft.y = std::clamp(topLeft.y, bounds.bottom + VyGetMetric(VyMetric::CAPTION_HEIGHT), bounds.top);
    const VyFrameWnd* pParent = dragged.GetParent();
    const VyPoint inParent = pParent != nullptr ? pParent->RootToClient(topLeft) : topLeft;
    if (inParent.x != dragged.GetRect().left || inParent.y != dragged.GetRect().top)
        dragged.Move(inParent.x, inParent.y, width, height);
}

// -- Mouse moves, hover, wheel -----------------------------------------------------------------------

bool VyMainWnd::PassesMoveFilters(VyWnd* pTarget, VyPoint point, int flags) const
{
    for (VyWnd* pWnd = pTarget; pWnd != nullptr; pWnd = pWnd->GetParent())
        if (!pWnd->FilterMouseMove(point, flags))
            return false;
    return true;
}

void VyMainWnd::OnMouseMove(VyPoint point, int flags)
{
    RouteMove(point, flags);
}

void VyMainWnd::RouteMove(VyPoint point, int flags)
{
    if (m_bRoutingMove)
        return;
    m_bRoutingMove = true;
    m_mouse = point;
    m_nMouseFlags = flags;
    VyWnd* pTarget = MouseTarget(point);
    const VyWnd* pModal = GetModal();
    if (pTarget != nullptr && pModal != nullptr && !pModal->IsSelfOrDescendant(pTarget))
        pTarget = nullptr; // moves outside a modal window are dropped
    const bool bPasses = pTarget != nullptr && PassesMoveFilters(pTarget, point, flags);
    ChangeHover(pTarget);
    if (m_pDragged != nullptr)
        FollowDrag(point);
    if (pTarget == nullptr)
        SetShownCursor(VY_CURSOR_DEFAULT);
    else if (bPasses && pTarget->IsEnabled())
    {
        const VyPoint client = pTarget->RootToClient(point);
        pTarget->UpdateCursor();
        pTarget->OnMouseMoved(client, flags | pTarget->GetZone(client));
    }
    m_bRoutingMove = false;
}

void VyMainWnd::ChangeHover(VyWnd* pNew)
{
    if (pNew == m_pHover)
        return;
    VyWnd* pOld = m_pHover;
    m_pHover = pNew;
    if (pOld != nullptr)
        pOld->OnHoverLeave(pNew);
    if (pNew != nullptr && pNew == m_pHover)
        pNew->OnHoverEnter(pOld);
}

void VyMainWnd::RerouteMouse()
{
    if (m_bMouseInside)
        RouteMove(m_mouse, m_nMouseFlags);
}

void VyMainWnd::OnMouseEntered()
{
    m_bMouseInside = true;
    Invalidate();
}

void VyMainWnd::OnMouseLeft()
{
    m_bMouseInside = false;
    ChangeHover(nullptr);
    Invalidate();
}

bool VyMainWnd::ScrollWheelFrom(VyWnd* pStart, int steps)
{
    for (VyWnd* pWnd = pStart; pWnd != nullptr; pWnd = pWnd->GetParent())
    {
        if (pWnd->GetId() == VY_ID_VSCROLL && pWnd->ScrollByWheel(steps))
            return true;
        VyWnd* pBar = pWnd->GetChild(VY_ID_VSCROLL);
        if (pBar != nullptr && pBar->IsVisible() && pBar->ScrollByWheel(steps))
            return true;
    }
    return false;
}

void VyMainWnd::OnMouseWheel(VyPoint point, int steps)
{
    m_mouse = point;
    VyWnd* pUnder = MouseTarget(point);
    const VyWnd* pModal = GetModal();
    if (pUnder != nullptr && pModal != nullptr && !pModal->IsSelfOrDescendant(pUnder))
        pUnder = nullptr;
    if (!ScrollWheelFrom(pUnder, steps))
        ScrollWheelFrom(KeyTarget(), steps);
}

// -- Drawing -----------------------------------------------------------------------------------------

void VyMainWnd::Draw()
{
    VyRenderContext* pContext = VyRenderContext::GetCurrent();
    if (pContext == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> guard(GetLock());
    if (!m_bCursorLoaded)
        LoadCursor();
    Draw(*pContext);
    DrawOverlays(*pContext);
    pContext->SetClipRect(GetRect());
    DrawCaret(*pContext);
    if (m_bOutline)
        DrawOutlines(*pContext);
    if (m_bShowFps)
        DrawFrameRate(*pContext);
    m_cursor.Draw(*pContext, m_mouse, GetShownCursor());
}

void VyMainWnd::DrawOverlays(VyRenderContext& context)
{
    const std::vector<VyWnd*> overlays = m_overlays; // drawing may not change the list, but be safe
    for (VyWnd* pOverlay : overlays)
        if (pOverlay->IsShown())
            pOverlay->Draw(context);
}

void VyMainWnd::DrawCaret(VyRenderContext& context)
{
    if (!IsCaretShown() || !m_pCaretOwner->IsShown())
        return;
    context.SetTexturing(false);
    context.SetBlending(false);
    context.SetColor(VyColor::FromSlot(CARET));
    context.FillRect(m_pCaretOwner->ClientToRoot(m_caretRect));
}

void VyMainWnd::DrawOutlines(VyRenderContext& context)
{
    context.SetTexturing(false);
    context.SetBlending(false);
    context.SetColor(VyColor(OUTLINE_COLOR));
    ForEachDescendant([&context](VyWnd& wnd) { context.DrawRect(wnd.GetRootRect()); });
    for (VyWnd* pOverlay : m_overlays)
        context.DrawRect(pOverlay->GetRootRect());
    if (m_pFocus != nullptr && m_pFocus != this)
    {
        context.SetColor(VyColor(OUTLINE_FOCUS_COLOR));
        InsetRect(context, m_pFocus->GetRootRect(), 2);
    }
    if (VyWnd* pCapture = GetCapture())
    {
        context.SetColor(VyColor(OUTLINE_CAPTURE_COLOR));
        InsetRect(context, pCapture->GetRootRect(), 3);
    }
}

void VyMainWnd::DrawFrameRate(VyRenderContext& context)
{
    VyPlatform* pPlatform = VyPlatform::Get();
    if (pPlatform == nullptr)
        return;
    const VyRenderStatistics& statistics = context.GetStatistics();
    const VyString text = VyString::Format("%d fps : %d quads: ", pPlatform->GetFrameClock().GetDisplayedRate(),
                                           statistics.filledQuads + statistics.texturedQuads);
    VyRect box{0, GetRect().top - FPS_MARGIN, GetRect().right - FPS_MARGIN, 0};
    context.SelectFont(FPS_FONT);
    context.SetColor(VyColor(FPS_COLOR));
    context.DrawTextBox(text, box, VY_TEXT_RIGHT | VY_TEXT_TOP);
}

void VyMainWnd::LoadCursor()
{
    m_bCursorLoaded = true;
    VyPlatform* pPlatform = VyPlatform::Get();
    const bool bLoaded = pPlatform != nullptr && m_cursor.Load(pPlatform->GetScreen().cursorDirectory);
    if (pPlatform != nullptr)
        pPlatform->SetSystemCursorVisible(!bLoaded);
}

void VyMainWnd::ReleaseTextures()
{
    m_cursor.Unload();
    m_bCursorLoaded = false;
    ForEachDescendant([](VyWnd& wnd) { wnd.ReleaseTextures(); }, VyWalk::ALL);
    for (const PendingDelete& pending : m_pendingDeletes)
        pending.pWnd->ReleaseTextures();
}

void VyMainWnd::Close()
{
    if (IsCreated())
        Destroy();
    DeletePending();
    if (VyMessageQueue::Current() == &m_queue)
        m_queue.DispatchMessages();
    ReleaseTextures();
}

bool VyMainWnd::ShowFatalError(const VyString& caption, const VyString& text)
{
    if (!IsCreated() || VyRenderContext::GetCurrent() == nullptr)
        return false;
    VyMsgBoxOptions options;
    VyMsgBox* pBox = VyMsgBox::Show(text, caption, VY_MB_OK, options);
    if (pBox == nullptr)
        return false;
    pBox->RunModal();
    return true;
}
