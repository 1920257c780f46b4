#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "vywindow/VyScrollBarInterface.h"
#include "vywindow/VyWnd.h"

// A window with children. The visible children are kept front to back (the first is on top), the
// hidden ones apart; the window owns both. Every child with an identifier is found by it, visible or
// not. A recursive lock guards the lists and the map (the main window holds its own for a whole frame).
class VyFrameWnd : public VyWnd
{
public:
    VyFrameWnd();
    ~VyFrameWnd() override; // deletes the children that are left

    // Makes pChild a child of this window with the style (VY_STYLE_VISIBLE shows it in front of its
    // siblings), the rectangle (this window's client coordinates) and the identifier, sets
    // VY_STYLE_CREATED and calls its OnCreate. The window keeps the child; null (and the child gone)
    // when OnCreate refused it or this window is not created itself.
    template <class T>
    T* CreateChild(std::unique_ptr<T> pChild, uint32_t style, const VyRect& rect, int id = 0)
    {
        T* pRaw = pChild.get();
        return AdoptChild(std::move(pChild), style, rect, id) ? pRaw : nullptr;
    }

    // 13, 14. Brings a visible child to the front of the z-order, or sends it to the back; the window
    //         lays out again. Another window reports "IsChild(pWnd)".
    void BringToFront(VyWnd* pChild);
    void SendToBack(VyWnd* pChild);
    // 15. The deepest visible window under point (client coordinates): the children from the front
    //     (every child when this window is an overlay), then the window itself.
    VyWnd* ChildFromPoint(VyPoint point) override;
    // 16, 17. The visible child behind / in front of pChild in the z-order (null: the last / the
    //         first); a window that is no child reports "IsChild(pWnd)" and gives null.
    VyWnd* GetPreviousChild(VyWnd* pChild) const;
    VyWnd* GetNextChild(VyWnd* pChild) const;
    // 18-20.
    VyWnd* GetChild(int id) const override;
    bool IsDescendant(const VyWnd* pWnd) const override;
    VyWnd* FindDescendant(int id) const override;
    // 30. Moves the main window's focus to the next (or previous) tab stop after pFrom among this
    //     window's descendants, in drawing order (the order a dialog's controls were made in),
    //     wrapping around at the end. False when there is no tab stop.
    bool MoveFocusToNextTabStop(VyWnd* pFrom, VyTabDirection direction);

    // 21-28. The scroll bars VY_ID_VSCROLL and VY_ID_HSCROLL by identifier; another identifier, or a bar
    //        not made yet, answers 0 and ignores changes. Showing a bar makes it on first use (through
    //        the control factory); with both shown, the corner square VY_ID_CORNER fills the corner.
    int GetScrollPosition(int id) const;
    void SetScrollPosition(int id, int position, VyScrollNotify notify);
    int GetScrollMinimum(int id) const;
    int GetScrollMaximum(int id) const;
    void SetScrollRange(int id, int minimum, int maximum);
    enum class VyBarVisibility
    {
        HIDDEN,
        SHOWN,
    };
    void ShowScrollBar(int id, VyBarVisibility visibility);
    void SetScrollSteps(int id, const VyScrollSteps& steps);
    VyScrollSteps GetScrollSteps(int id) const;
    bool IsScrollBarVisible(int id) const;
    // 29. Shows the vertical bar when content is taller than the client area, the horizontal one when it
    //     is wider (each checked again once the other took its room), with range 0..(content -
    //     visible) and steps (1, visible, -1); hides a bar that is not needed.
    void FitScrollBars(VySize content);
    // 31, 32. Makes the menu bar (child VY_ID_MENUBAR) through the control factory, or adopts the one
    //         given; null when none could be made. The menu bar, or null.
    VyWnd* SetMenuBar(std::unique_ptr<VyWnd> pMenuBar = nullptr);
    VyWnd* GetMenuBar() const { return GetChild(VY_ID_MENUBAR); }

    // 35.
    void Destroy() override;

    // The visible children, front to back, and the hidden ones.
    const std::vector<std::unique_ptr<VyWnd>>& GetVisibleChildren() const { return m_children; }
    const std::vector<std::unique_ptr<VyWnd>>& GetHiddenChildren() const { return m_hiddenChildren; }
    bool IsChild(const VyWnd* pWnd) const;
    // Calls visit for every descendant, depth first in drawing order (back to front), hidden ones too
    // when asked.
    enum class VyWalk
    {
        VISIBLE,
        ALL,
    };
    void ForEachDescendant(const std::function<void(VyWnd&)>& visit, VyWalk walk = VyWalk::VISIBLE) const;

    std::recursive_mutex& GetLock() const { return m_lock; }
    // Lays the children out again (a child that changed its own size asks its parent for this).
    void RelayoutChildren() { LayoutChildren(); }

protected:
    void LayoutChildren() override;
    // Back to front, overlays left to the main window.
    void DrawChildren(VyRenderContext& context) override;

private:
    friend class VyWnd;

    bool AdoptChild(std::unique_ptr<VyWnd> pChild, uint32_t style, const VyRect& rect, int id);
    VyScrollBarInterface* ScrollBar(int id) const;
    void UpdateCorner();
    void FitBar(int id, int content, int visible);
    // Moves a child between the two lists (Show and Hide); false when it is not in the one it leaves.
    enum class VyListChange
    {
        SHOW,
        HIDE,
    };
    bool MoveBetweenLists(VyWnd* pChild, VyListChange change);
    void ShowChild(VyWnd* pChild);
    void HideChild(VyWnd* pChild);
    // Gives up a child: the caller takes it (DeleteLater).
    std::unique_ptr<VyWnd> ReleaseChild(VyWnd* pChild);
    void PlaceAligned(VyWnd& child, VyRect& remaining, VyWnd*& pClientChild) const;
    void PlaceUnaligned(VyWnd& child) const;

    std::map<int, VyWnd*> m_childById;
    std::vector<std::unique_ptr<VyWnd>> m_children;       // visible, front to back
    std::vector<std::unique_ptr<VyWnd>> m_hiddenChildren;
    mutable std::recursive_mutex m_lock;
};
