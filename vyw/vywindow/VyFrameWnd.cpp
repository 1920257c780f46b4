#include "vywindow/VyFrameWnd.h"

#include <algorithm>

#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyControlFactory.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
using Children = std::vector<std::unique_ptr<VyWnd>>;
using Guard = std::lock_guard<std::recursive_mutex>;

Children::iterator FindIn(Children& list, const VyWnd* pWnd)
{
    return std::find_if(list.begin(), list.end(), [pWnd](const std::unique_ptr<VyWnd>& p) { return p.get() == pWnd; });
}
} // namespace

VyFrameWnd::VyFrameWnd() = default;

VyFrameWnd::~VyFrameWnd()
{
    Guard guard(m_lock);
    m_childById.clear();
    m_children.clear();
    m_hiddenChildren.clear();
}

// -- Children ----------------------------------------------------------------------------------------

bool VyFrameWnd::AdoptChild(std::unique_ptr<VyWnd> pChild, uint32_t style, const VyRect& rect, int id)
{
    VY_ASSERT(pChild);
    VY_ASSERT(IsCreated());
    if (!pChild || !IsCreated())
        return false;
    VyWnd* pRaw = pChild.get();
    pRaw->m_pParent = this;
    pRaw->m_style = style | VY_STYLE_CREATED;
    pRaw->m_rect = rect;
    pRaw->m_lastMove = {rect.left, rect.top};
    pRaw->m_id = id;
    {
        Guard guard(m_lock);
        VY_ASSERT_TEXT(id == 0 || m_childById.count(id) == 0, "identifier unique among siblings");
        if (id != 0)
            m_childById.emplace(id, pRaw);
        Children& list = pRaw->IsVisible() ? m_children : m_hiddenChildren;
        list.insert(pRaw->IsVisible() ? list.begin() : list.end(), std::move(pChild));
    }
    if (!pRaw->OnCreate())
    {
        pRaw->Destroy();
        ReleaseChild(pRaw); // the refused child goes at once: none of its handlers runs
        return false;
    }
    pRaw->Resize(rect.Width(), rect.Height()); // a window lays its own children out from the start
    if (auto* pFrame = dynamic_cast<VyFrameWnd*>(pRaw); pFrame != nullptr && !pFrame->IsControl())
    {
        if (pFrame->HasStyle(VY_STYLE_VSCROLL))
            pFrame->ShowScrollBar(VY_ID_VSCROLL, VyBarVisibility::SHOWN);
        if (pFrame->HasStyle(VY_STYLE_HSCROLL))
            pFrame->ShowScrollBar(VY_ID_HSCROLL, VyBarVisibility::SHOWN);
    }
    if (pRaw->IsVisible())
        LayoutChildren();
    Invalidate();
    return true;
}

bool VyFrameWnd::IsChild(const VyWnd* pWnd) const
{
    return pWnd != nullptr && pWnd->m_pParent == this;
}

bool VyFrameWnd::MoveBetweenLists(VyWnd* pChild, VyListChange change)
{
    Guard guard(m_lock);
    const bool bShow = change == VyListChange::SHOW;
    Children& from = bShow ? m_hiddenChildren : m_children;
    Children& to = bShow ? m_children : m_hiddenChildren;
    auto it = FindIn(from, pChild);
    if (it == from.end())
        return false;
    std::unique_ptr<VyWnd> pOwned = std::move(*it);
    from.erase(it);
    to.insert(bShow ? to.begin() : to.end(), std::move(pOwned)); // shown in front of its siblings
    if (bShow)
        pChild->m_style |= VY_STYLE_VISIBLE;
    else
        pChild->m_style &= ~VY_STYLE_VISIBLE;
    return true;
}

void VyFrameWnd::ShowChild(VyWnd* pChild)
{
    if (!MoveBetweenLists(pChild, VyListChange::SHOW))
        return;
    LayoutChildren();
    Invalidate();
}

void VyFrameWnd::HideChild(VyWnd* pChild)
{
    if (!MoveBetweenLists(pChild, VyListChange::HIDE))
        return;
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->OnWindowHidden(pChild);
    LayoutChildren();
    Invalidate();
}

std::unique_ptr<VyWnd> VyFrameWnd::ReleaseChild(VyWnd* pChild)
{
    std::unique_ptr<VyWnd> pOwned;
    bool bWasVisible = false;
    {
        Guard guard(m_lock);
        for (Children* pList : {&m_children, &m_hiddenChildren})
        {
            auto it = FindIn(*pList, pChild);
            if (it == pList->end())
                continue;
            bWasVisible = pList == &m_children;
            pOwned = std::move(*it);
            pList->erase(it);
        }
        auto byId = m_childById.find(pChild->m_id);
        if (byId != m_childById.end() && byId->second == pChild)
            m_childById.erase(byId);
    }
    if (pOwned)
        pOwned->m_pParent = nullptr;
    if (bWasVisible && IsCreated())
        LayoutChildren();
    return pOwned;
}

void VyFrameWnd::BringToFront(VyWnd* pChild)
{
    VY_ASSERT_TEXT(IsChild(pChild), "IsChild(pWnd)");
    {
        Guard guard(m_lock);
        auto it = FindIn(m_children, pChild);
        if (it == m_children.end() || it == m_children.begin())
            return;
        std::rotate(m_children.begin(), it, it + 1);
    }
    LayoutChildren();
    Invalidate();
}

void VyFrameWnd::SendToBack(VyWnd* pChild)
{
    VY_ASSERT_TEXT(IsChild(pChild), "IsChild(pWnd)");
    {
        Guard guard(m_lock);
        auto it = FindIn(m_children, pChild);
        if (it == m_children.end() || it + 1 == m_children.end())
            return;
        std::rotate(it, it + 1, m_children.end());
    }
    LayoutChildren();
    Invalidate();
}

// -- Queries -----------------------------------------------------------------------------------------

VyWnd* VyFrameWnd::ChildFromPoint(VyPoint point)
{
    Guard guard(m_lock);
    const bool bOverlay = HasStyle(VY_STYLE_OVERLAY);
    for (const std::unique_ptr<VyWnd>& pChild : m_children)
    {
        if (pChild->HasStyle(VY_STYLE_OVERLAY) || !(bOverlay || pChild->ContainsPoint(point)))
            continue;
        if (VyWnd* pHit = pChild->ChildFromPoint(pChild->ParentToClient(point)))
            return pHit;
    }
    return VyWnd::ChildFromPoint(point);
}

VyWnd* VyFrameWnd::GetPreviousChild(VyWnd* pChild) const
{
    Guard guard(m_lock);
    if (pChild == nullptr)
        return m_children.empty() ? nullptr : m_children.back().get();
    VY_ASSERT_TEXT(IsChild(pChild), "IsChild(pWnd)");
    auto& list = const_cast<Children&>(m_children);
    auto it = FindIn(list, pChild);
    return it == list.end() || it == list.begin() ? nullptr : (it - 1)->get();
}

VyWnd* VyFrameWnd::GetNextChild(VyWnd* pChild) const
{
    Guard guard(m_lock);
    if (pChild == nullptr)
        return m_children.empty() ? nullptr : m_children.front().get();
    VY_ASSERT_TEXT(IsChild(pChild), "IsChild(pWnd)");
    auto& list = const_cast<Children&>(m_children);
    auto it = FindIn(list, pChild);
    return it == list.end() || it + 1 == list.end() ? nullptr : (it + 1)->get();
}

VyWnd* VyFrameWnd::GetChild(int id) const
{
    Guard guard(m_lock);
    auto it = m_childById.find(id);
    return it != m_childById.end() ? it->second : nullptr;
}

bool VyFrameWnd::IsDescendant(const VyWnd* pWnd) const
{
    return pWnd != nullptr && pWnd != this && IsSelfOrDescendant(pWnd);
}

VyWnd* VyFrameWnd::FindDescendant(int id) const
{
    Guard guard(m_lock);
    for (const Children* pList : {&m_children, &m_hiddenChildren})
        for (const std::unique_ptr<VyWnd>& pChild : *pList)
        {
            if (pChild->GetId() == id)
                return pChild.get();
            if (VyWnd* pFound = pChild->FindDescendant(id))
                return pFound;
        }
    return nullptr;
}

void VyFrameWnd::ForEachDescendant(const std::function<void(VyWnd&)>& visit, VyWalk walk) const
{
    Guard guard(m_lock);
    auto visitList = [&](const Children& list) {
        for (auto it = list.rbegin(); it != list.rend(); ++it)
        {
            visit(**it);
            if (const auto* pFrame = dynamic_cast<const VyFrameWnd*>(it->get()))
                pFrame->ForEachDescendant(visit, walk);
        }
    };
    visitList(m_children);
    if (walk == VyWalk::ALL)
        visitList(m_hiddenChildren);
}

bool VyFrameWnd::MoveFocusToNextTabStop(VyWnd* pFrom, VyTabDirection direction)
{
    std::vector<VyWnd*> stops;
    ForEachDescendant([&stops](VyWnd& wnd) {
        if (wnd.HasStyle(VY_STYLE_TABSTOP) && !wnd.HasStyle(VY_STYLE_NO_FOCUS) && wnd.IsEnabled())
            stops.push_back(&wnd);
    });
    VyMainWnd* pMain = VyMainWnd::Get();
    if (stops.empty() || pMain == nullptr)
        return false;
    const int count = static_cast<int>(stops.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (stops[static_cast<size_t>(i)]->IsSelfOrDescendant(pFrom))
            at = i;
    int next = 0;
    if (direction == VyTabDirection::FORWARD)
        next = (at + 1) % count;
    else
        next = at <= 0 ? count - 1 : at - 1;
    return pMain->SetFocus(stops[static_cast<size_t>(next)]);
}

// -- Scroll bars and the menu bar -------------------------------------------------------------------

VyScrollBarInterface* VyFrameWnd::ScrollBar(int id) const
{
    if (id != VY_ID_VSCROLL && id != VY_ID_HSCROLL)
        return nullptr;
    return dynamic_cast<VyScrollBarInterface*>(GetChild(id));
}

int VyFrameWnd::GetScrollPosition(int id) const
{
    const VyScrollBarInterface* pBar = ScrollBar(id);
    return pBar != nullptr ? pBar->GetPosition() : 0;
}

void VyFrameWnd::SetScrollPosition(int id, int position, VyScrollNotify notify)
{
    if (VyScrollBarInterface* pBar = ScrollBar(id))
        pBar->SetPosition(position, notify);
}

int VyFrameWnd::GetScrollMinimum(int id) const
{
    const VyScrollBarInterface* pBar = ScrollBar(id);
    return pBar != nullptr ? pBar->GetMinimum() : 0;
}

int VyFrameWnd::GetScrollMaximum(int id) const
{
    const VyScrollBarInterface* pBar = ScrollBar(id);
    return pBar != nullptr ? pBar->GetMaximum() : 0;
}

void VyFrameWnd::SetScrollRange(int id, int minimum, int maximum)
{
    if (VyScrollBarInterface* pBar = ScrollBar(id))
        pBar->SetRange(minimum, maximum);
}

void VyFrameWnd::SetScrollSteps(int id, const VyScrollSteps& steps)
{
    if (VyScrollBarInterface* pBar = ScrollBar(id))
        pBar->SetSteps(steps);
}

VyScrollSteps VyFrameWnd::GetScrollSteps(int id) const
{
    const VyScrollBarInterface* pBar = ScrollBar(id);
    return pBar != nullptr ? pBar->GetSteps() : VyScrollSteps{};
}

bool VyFrameWnd::IsScrollBarVisible(int id) const
{
    const VyWnd* pBar = GetChild(id);
    return pBar != nullptr && pBar->IsVisible() && (id == VY_ID_VSCROLL || id == VY_ID_HSCROLL);
}

void VyFrameWnd::ShowScrollBar(int id, VyBarVisibility visibility)
{
    if (id != VY_ID_VSCROLL && id != VY_ID_HSCROLL)
        return;
    VyWnd* pBar = GetChild(id);
    VyControlFactory* pFactory = VyControlFactory::Get();
    if (pBar == nullptr && visibility == VyBarVisibility::SHOWN && pFactory != nullptr)
        pBar = pFactory->CreateScrollBar(*this, id);
    if (pBar == nullptr)
        return;
    if (visibility == VyBarVisibility::SHOWN)
        pBar->Show();
    else
        pBar->Hide();
    UpdateCorner();
}

void VyFrameWnd::UpdateCorner()
{
    const bool bBoth = IsScrollBarVisible(VY_ID_VSCROLL) && IsScrollBarVisible(VY_ID_HSCROLL);
    VyWnd* pCorner = GetChild(VY_ID_CORNER);
    if (pCorner == nullptr && bBoth)
    {
        const int width = VyGetMetric(VyMetric::VSCROLL_WIDTH);
        const int height = VyGetMetric(VyMetric::HSCROLL_HEIGHT);
        pCorner = CreateChild(std::make_unique<VyWnd>(), VyAlignStyle(VyAlignment::CORNER),
                              VyRect{0, height, width, 0}, VY_ID_CORNER);
        if (pCorner != nullptr)
            pCorner->SetBackgroundColor(VyColor::FromSlot(SCROLLBAR_BACKGROUND));
    }
    if (pCorner == nullptr)
        return;
    if (bBoth)
        pCorner->Show();
    else
        pCorner->Hide();
    LayoutChildren();
}

void VyFrameWnd::FitBar(int id, int content, int visible)
{
    if (content <= visible)
    {
        ShowScrollBar(id, VyBarVisibility::HIDDEN);
        SetScrollRange(id, 0, 0);
        return;
    }
    ShowScrollBar(id, VyBarVisibility::SHOWN);
    SetScrollRange(id, 0, content - visible);
    SetScrollSteps(id, {1, visible, -1});
}

void VyFrameWnd::FitScrollBars(VySize content)
{
    const VyRect client = GetClientRect();
    int visibleWidth = client.Width() + (IsScrollBarVisible(VY_ID_VSCROLL) ? VyGetMetric(VyMetric::VSCROLL_WIDTH) : 0);
    int visibleHeight =
        client.Height() + (IsScrollBarVisible(VY_ID_HSCROLL) ? VyGetMetric(VyMetric::HSCROLL_HEIGHT) : 0);
    const bool bVertical = content.cy > visibleHeight;
    if (bVertical)
        visibleWidth -= VyGetMetric(VyMetric::VSCROLL_WIDTH);
    const bool bHorizontal = content.cx > visibleWidth;
    if (bHorizontal)
        visibleHeight -= VyGetMetric(VyMetric::HSCROLL_HEIGHT);
    if (!bVertical && content.cy > visibleHeight) // the horizontal bar took the room the content needed
        visibleWidth -= VyGetMetric(VyMetric::VSCROLL_WIDTH);
    FitBar(VY_ID_VSCROLL, content.cy, visibleHeight);
    FitBar(VY_ID_HSCROLL, content.cx, visibleWidth);
}

VyWnd* VyFrameWnd::SetMenuBar(std::unique_ptr<VyWnd> pMenuBar)
{
    if (VyWnd* pOld = GetChild(VY_ID_MENUBAR))
        pOld->DeleteLater();
    if (pMenuBar)
        return CreateChild(std::move(pMenuBar), VY_STYLE_VISIBLE | VyAlignStyle(VyAlignment::TOP),
                           VyRect{0, VyGetMetric(VyMetric::CAPTION_HEIGHT), GetClientRect().Width(), 0},
                           VY_ID_MENUBAR);
    VyControlFactory* pFactory = VyControlFactory::Get();
    return pFactory != nullptr ? pFactory->CreateMenuBar(*this) : nullptr;
}

// -- Life cycle, layout, drawing ---------------------------------------------------------------------

void VyFrameWnd::Destroy()
{
    m_style &= ~VY_STYLE_CREATED;
    Children children;
    {
        Guard guard(m_lock);
        children = std::move(m_children);
        for (std::unique_ptr<VyWnd>& pChild : m_hiddenChildren)
            children.push_back(std::move(pChild));
        m_children.clear();
        m_hiddenChildren.clear();
        m_childById.clear();
    }
    for (std::unique_ptr<VyWnd>& pChild : children)
        pChild->Destroy();
    VY_ASSERT_TEXT(m_children.empty(), "m_children.size()==0");
    VY_ASSERT_TEXT(m_hiddenChildren.empty(), "m_hiddenChildren.size()==0");
    VyMainWnd* pMain = VyMainWnd::Get();
    for (std::unique_ptr<VyWnd>& pChild : children)
    {
        pChild->m_pParent = nullptr;
        if (pMain != nullptr && pMain != this)
            pMain->AddPendingDelete(std::move(pChild));
    }
    children.clear(); // without a main window (or for its own children at its end) they go now
    VyWnd::Destroy();
}

void VyFrameWnd::LayoutChildren()
{
    Guard guard(m_lock);
    const VyRect client = GetClientRect();
    VyRect remaining = client;
    VyWnd* pClientChild = nullptr;
    for (const std::unique_ptr<VyWnd>& pChild : m_children)
    {
        if (pChild->GetAlignment() == VyAlignment::NONE)
            PlaceUnaligned(*pChild);
        else
            PlaceAligned(*pChild, remaining, pClientChild);
    }
    if (pClientChild != nullptr)
        pClientChild->Place(remaining.left, remaining.top, remaining.Width(), remaining.Height());
}

void VyFrameWnd::PlaceAligned(VyWnd& child, VyRect& remaining, VyWnd*& pClientChild) const
{
    const int width = child.GetWidth();
    const int height = child.GetHeight();
    // The scroll bars leave the corner square free, whichever of them was placed first.
    const VyRect client = GetClientRect();
    const VyWnd* pCorner = GetChild(VY_ID_CORNER);
    const bool bCorner = pCorner != nullptr && pCorner->IsVisible();
    switch (child.GetAlignment())
    {
    case VyAlignment::LEFT:
        child.Place(remaining.left, remaining.top, width, remaining.Height());
        remaining.left += width;
        break;
    case VyAlignment::RIGHT:
    {
        int bottom = remaining.bottom;
        if (child.GetId() == VY_ID_VSCROLL && bCorner)
            bottom = std::max(bottom, client.bottom + pCorner->GetHeight());
        child.Place(remaining.right - width, remaining.top, width, std::max(0, remaining.top - bottom));
        remaining.right -= width;
        break;
    }
    case VyAlignment::TOP:
        child.Place(remaining.left, remaining.top, remaining.Width(), height);
        remaining.top -= height;
        break;
    case VyAlignment::BOTTOM:
    {
        int right = remaining.right;
        if (child.GetId() == VY_ID_HSCROLL && bCorner)
            right = std::min(right, client.right - pCorner->GetWidth());
        child.Place(remaining.left, remaining.bottom + height, std::max(0, right - remaining.left), height);
        remaining.bottom += height;
        break;
    }
    case VyAlignment::CLIENT:
        VY_ASSERT_TEXT(pClientChild == nullptr, "pClientAlignedChild==NULL");
        pClientChild = &child;
        break;
    case VyAlignment::CORNER:
        child.Place(client.right - width, client.bottom + height, width, height);
        break;
    case VyAlignment::NONE:
        break;
    }
}

void VyFrameWnd::PlaceUnaligned(VyWnd& child) const
{
    const bool bHorizontal = child.HasStyle(VY_STYLE_CENTER_HORIZONTAL);
    const bool bVertical = child.HasStyle(VY_STYLE_CENTER_VERTICAL);
    if (!bHorizontal && !bVertical)
        return;
    const VyRect client = GetClientRect();
    const VyRect rect = child.GetRect();
    const int x = bHorizontal ? (client.Width() - rect.Width()) / 2 : rect.left;
    const int top = bVertical ? (client.Height() + rect.Height()) / 2 : rect.top;
    child.Place(x, top, rect.Width(), rect.Height());
}

void VyFrameWnd::DrawChildren(VyRenderContext& context)
{
    Guard guard(m_lock);
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        if (!(*it)->HasStyle(VY_STYLE_OVERLAY))
            (*it)->Draw(context);
}
