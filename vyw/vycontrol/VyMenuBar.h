#pragma once

#include <memory>
#include <vector>

#include "vycontrol/VyControl.h"
#include "vycontrol/VyPopupMenu.h"
#include "vywindow/VyFrameWnd.h"
#include "vywindow/VyMenuBarInterface.h"

class VyButton;
class VyMenuTitle;

// A frame window's menu bar (child VY_ID_MENUBAR along its top): a row of titles, one per pop-up menu
// appended, each a push button whose identifier is its index. At most one of its menus is open.
//
//   a click on title i        opens menu i, or closes it when it is the open one
//   opening menu i            closes the open one; makes menu i on first use (an overlay child of the
//                             bar with VY_MENUBAR_POPUP_STYLE, identifier VY_POPUP_ID_BASE + i, kept
//                             for reuse); opens it under the title and shows the title down
//   the mouse onto title j    while a menu is open, opens menu j at once
//   Left, Right               in an open menu without a sub-menu to close or open: the menu of the
//                             previous / next title, wrapping around
//   F10                       opens the first menu with its first item highlighted
//   VY_MSG_MENU_CLOSED        from menu i: no menu is open any more (when i was), title i shows up
//   losing the focus          closes the open menu
// The menus' commands go to the bar's parent unless their items name a target, and the parent (when it
// is a VyMenuUpdater) is asked to update every item just before it shows. A right-button release on the
// parent opens one pop-up with a sub-menu entry per title (OpenAsPopup).
class VyMenuBar : public VyFrameWnd,
                  public VyControl,
                  public VyMenuBarInterface,
                  public VyMenuUpdater,
                  public VyMenuSlider
{
public:
    VyMenuBar();

    // Appends a menu under a title; the bar keeps it. Returns the title's index.
    int AppendPopup(const VyString& title, std::unique_ptr<VyPopupMenu> pPopup);
    int GetPopupCount() const { return static_cast<int>(m_titles.size()); }
    // Menu i (a window once it has been opened), or null for another index.
    VyPopupMenu* GetPopup(int index) const;
    VyButton* GetTitle(int index) const;
    // The open menu's index, -1 for none.
    int GetOpenIndex() const { return m_open; }
    // The first command item with identifier id in any menu, or null.
    VyMenuItem* FindItem(int id) const;

    void OpenPopup(int index, VyMenuHighlight highlight);
    // Closes the open menu, if any.
    void ClosePopup();

    // The height a bar needs for the current font (the caption height without a render context).
    static int PreferredHeight();

    // VyMenuBarInterface
    void OpenFirstMenu() override;
    void OpenAsPopup(VyPoint rootPoint) override;
    // VyMenuUpdater: passes the request on to the parent.
    void UpdateMenuItem(VyMenuItem& item) override;
    // VyMenuSlider
    bool SlideTo(VyPoint rootPoint) override;
    bool StepTitle(VyMenuStep step) override;

    bool OnCreate() override;
    void Relayout() override;
    void Resize(int width, int height) override;
    bool IsControl() const override { return true; }
    void HandleMessage(const VyMessage& msg) override;
    void OnFocusLost() override;
    void OnChildFocusLost(VyWnd* pChild) override;
    VyColor GetBackgroundColor() const override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;

    // Menu i's identifier is VY_POPUP_ID_BASE + i; the right-button pop-up's is VY_ALL_MENUS_ID.
    static constexpr int VY_POPUP_ID_BASE = 1000;
    static constexpr int VY_ALL_MENUS_ID = 999;
    // Space around a title's text, and before the first title.
    static constexpr int VY_TITLE_PADDING = 8;
    static constexpr int VY_BAR_MARGIN = 4;

protected:
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    struct Title
    {
        VyString text;
        VyMenuTitle* pButton = nullptr;
        std::unique_ptr<VyPopupMenu> pPending; // until it is first opened
        VyPopupMenu* pPopup = nullptr;         // once it is a window
    };

    void MakeTitleButton(int index);
    VyPopupMenu* EnsurePopup(int index);
    int TitleAt(VyPoint rootPoint) const;
    void OnTitleCommand(int index);
    void OnPopupClosed(int popupId);

    std::vector<Title> m_titles;
    int m_open = -1;
};
