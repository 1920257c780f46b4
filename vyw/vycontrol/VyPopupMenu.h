#pragma once

#include <memory>
#include <vector>

#include "vycontrol/VyControl.h"
#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyMenuUpdater.h"
#include "vywindow/VyFrameWnd.h"

// Style bits of pop-up menus.
constexpr uint32_t VY_MENU_KEEP = 0x1000000;                            // hidden, not destroyed, on closing
constexpr uint32_t VY_MENU_FRAME = VY_STYLE_BORDER | VY_STYLE_THICKFRAME; // the raised frame of every menu
constexpr uint32_t VY_MENUBAR_POPUP_STYLE = 0x1000B00;                  // a bar's menus: kept, thick frame

// Which side of its anchor a menu opens on.
enum class VyMenuSide
{
    RIGHT, // beside it to the right (to the left when there is no room)
    LEFT,  // beside it to the left (to the right when there is no room)
    BELOW, // under it, left edges aligned (above when there is no room)
};

// Whether a menu opens with its first item highlighted (opened from the keyboard) or with none.
enum class VyMenuHighlight
{
    NONE,
    FIRST,
};

// A step between the titles of a menu bar.
enum class VyMenuStep
{
    PREVIOUS,
    NEXT,
};

// What an open chain of menus hands on that lies outside all its menus: a menu bar slides onto its
// other titles with it.
class VyMenuSlider
{
public:
    virtual ~VyMenuSlider() = default;
    // The mouse moved outside every menu of the chain (root point); true when the move was taken.
    virtual bool SlideTo(VyPoint rootPoint) = 0;
    // Left or Right in the chain's first menu, where it has no sub-menu to close or open; true when taken.
    virtual bool StepTitle(VyMenuStep step) = 0;
};

// Where and how a menu opens.
struct VyMenuAnchor
{
    VyRect rect;                                   // root coordinates: a title, an entry, or a point
    VyMenuSide side = VyMenuSide::RIGHT;
    VyMenuHighlight highlight = VyMenuHighlight::NONE;
    VyMenuSlider* pSlider = nullptr;               // none: moves outside the chain change nothing
};

// A pop-up menu: an overlay child of its owner (its parent window), drawn and hit-tested by the main
// window while open. It can be filled before it is a window; it is made one by its owner (a menu bar,
// the menu whose sub-menu it is, or OpenContextMenu).
//
// Layout: every item is font height + 6 high, a separator (font height + 2) / 2; the width is the
// widest text, a check-mark column at the left and a sub-menu-arrow column at the right, 3 pixels on
// each side and the frame.
//
// While open, every menu of a chain (a menu and the sub-menus opened from it) is on the modal stack,
// and the last one opened holds the capture: it hands each mouse event to the menu of the chain under
// the mouse, so the chain behaves as one window.
//   moving onto an item      highlights it; a sub-menu entry opens its sub-menu beside it, another
//                            item closes the sub-menu open from this menu
//   moving outside           hands the move to the slider (a menu bar), if any
//   releasing on an item     posts its command (VY_MSG_COMMAND: identifier, extra value) to the item's
//                            target, else to the command receiver, and closes the chain; on a sub-menu
//                            entry, a disabled item or a separator nothing happens
//   releasing outside        closes the chain, then hands the release to the main window again, so
//                            that the click reaches the window under the mouse
//   Up, Down                 the previous / next item, skipping separators and disabled items
//   Right, Return            open the highlighted sub-menu (first item highlighted); Right elsewhere
//                            steps to the slider's next title; Return takes the highlighted item
//   Left                     closes a sub-menu; in the chain's first menu, the slider's previous title
//   Escape                   closes one menu; F10 closes the chain
// Closing a menu releases the capture, leaves the modal stack, hides it and removes it from the
// overlays, posts VY_MSG_MENU_CLOSED (menu identifier) to the owner and destroys it unless it has
// VY_MENU_KEEP. Just before it opens, each item is handed to the owner's VyMenuUpdater, when the owner
// is one.
class VyPopupMenu : public VyFrameWnd, public VyControl, public VyMenuUpdater
{
public:
    VyPopupMenu();

    // -- Building -----------------------------------------------------------------------------------

    // Each returns the new item's index.
    int AppendItem(int id, const VyString& text, VyWnd* pTarget = nullptr, uint32_t flags = 0, int extra = 0);
    int AppendSeparator();
    // An entry opening pSubMenu, which this menu keeps (it becomes this menu's child, kept for reuse).
    int AppendSubMenu(const VyString& text, std::unique_ptr<VyPopupMenu> pSubMenu);
    // An entry opening a menu that another window keeps (a menu bar's menu, in its right-button menu);
    // it must be a window already and outlive this menu.
    int AppendSubMenu(const VyString& text, VyPopupMenu& subMenu);

    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    VyMenuItem& GetItem(int index) { return m_items.at(static_cast<size_t>(index)); }
    const VyMenuItem& GetItem(int index) const { return m_items.at(static_cast<size_t>(index)); }
    // The first command item with identifier id in this menu or its sub-menus, or null.
    VyMenuItem* FindItem(int id);

    // The window that gets the commands of items without a target: the one set, else the receiver of
    // the menu this one is a sub-menu of, else the owner.
    VyWnd* GetCommandReceiver() const;
    void SetCommandTarget(VyWnd* pTarget) { m_pCommandTarget = pTarget; }

    // -- Opening and closing ------------------------------------------------------------------------

    // Makes pMenu an overlay child of owner (id as its identifier) and opens it with its top-left
    // corner at rootPoint; it is destroyed when it closes. The open menu, or null when none opened.
    static VyPopupMenu* OpenContextMenu(std::unique_ptr<VyPopupMenu> pMenu, VyFrameWnd& owner, VyPoint rootPoint,
                                        int id = VY_CONTEXT_MENU_ID);
    // Opens the menu (a window already) beside the anchor, moved inside the main window.
    void Open(const VyMenuAnchor& anchor);
    // Closes this menu and the sub-menus open from it; the menu it was opened from stays open.
    void Close();
    // Closes every menu of the chain this one belongs to.
    void CloseChain();
    bool IsOpen() const { return m_bOpen; }
    // The highlighted item, -1 for none.
    int GetHighlight() const { return m_highlight; }
    VyPopupMenu* GetOpenSubMenu() const { return m_pOpenSub; }
    // The menu this one was opened from as a sub-menu, while open; else null.
    VyPopupMenu* GetParentMenu() const { return m_pParentMenu; }

    // -- Geometry -----------------------------------------------------------------------------------

    // The size the items need with the current font.
    VySize MeasureSize() const;
    // An item's row in client coordinates, and in root coordinates.
    VyRect GetItemRect(int index) const;
    VyRect GetItemRootRect(int index) const;
    // The item at a client point, -1 for none.
    int ItemAt(VyPoint clientPoint) const;

    // VyMenuUpdater: passes the request on to the owner.
    void UpdateMenuItem(VyMenuItem& item) override;

    bool OnCreate() override;
    void Relayout() override {}
    bool IsControl() const override { return true; }
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    bool FilterKey(int key, int flags) override;
    VyColor GetBackgroundColor() const override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;

    // The identifier of context menus, unless given another.
    static constexpr int VY_CONTEXT_MENU_ID = 900;
    // Space between the frame and the items, on every side.
    static constexpr int VY_PADDING = 3;
    // The item margins: the check-mark column before the text and the arrow column after it.
    static constexpr int VY_CHECK_COLUMN = 22;
    static constexpr int VY_ARROW_COLUMN = 22;

protected:
    void OnDestroy() override;
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    void AdoptSubMenu(std::unique_ptr<VyPopupMenu> pSubMenu, int index);
    int FontHeight() const;
    int ItemHeight(const VyMenuItem& item) const;
    VyPoint PlaceBeside(const VyMenuAnchor& anchor, VySize size) const;
    void UpdateItems();
    void Present(VyMainWnd& main);
    void Unlink();

    VyPopupMenu& Root();
    VyPopupMenu& Deepest();
    // The menu of the chain from this one up whose rectangle holds the root point, or null.
    VyPopupMenu* MenuAt(VyPoint rootPoint);
    void TrackMouse(VyPoint rootPoint);
    void HoverItem(int index);
    void SetHighlight(int index);
    int NextSelectable(int from, int step) const;
    void OpenSubMenu(int index, VyMenuHighlight highlight);
    void Take(int index);

    void OnMenuKey(int key);
    void OnRightKey();
    void OnLeftKey();
    void OnReturnKey();

    void DrawItem(VyRenderContext& context, int index);
    void DrawSeparator(VyRenderContext& context, const VyRect& row);
    void DrawCheckMark(VyRenderContext& context, const VyRect& row);
    void DrawArrow(VyRenderContext& context, const VyRect& row);

    std::vector<VyMenuItem> m_items;
    std::vector<std::unique_ptr<VyPopupMenu>> m_pendingSubMenus; // until this menu is a window
    std::vector<int> m_pendingIndexes;                           // their entries
    VyWnd* m_pCommandTarget = nullptr;
    VyMenuSlider* m_pSlider = nullptr;
    VyPopupMenu* m_pParentMenu = nullptr;
    VyPopupMenu* m_pOpenSub = nullptr;
    int m_highlight = -1;
    bool m_bOpen = false;
    VyPoint m_lastMouse; // the chain's first menu: where the mouse was last seen, root coordinates
};
