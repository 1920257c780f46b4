#pragma once

#include <map>
#include <vector>

#include "vycontrol/VyControl.h"
#include "vyutil/VyTexture.h"
#include "vywindow/VyFrameWnd.h"

class VyHeader;

// A list's item was taken (a double click, or Return): param1 = the list's identifier, param2 = the
// item's index. A choice alone is a VY_MSG_COMMAND with the same parameters.
constexpr int VY_MSG_ITEM_ACTIVATED = 18;

// One row of a list: its cells, one per column, and an optional icon before the first.
struct VyListItem
{
    std::vector<VyString> cells;
    VyString icon; // a bitmap of the bitmap directory, pure blue transparent; empty for none
};

// A multi-column list of text items with one selected item and the item under the mouse. Its columns
// follow the panes of its header (child 100), which is shown only when it has panes; without panes the
// list has one column as wide as itself. Items that do not fit show the vertical scroll bar (scrolling by
// items, three per wheel step); panes wider than the list show the horizontal one (page = the list's
// width), which shifts the header along with the items. The header keeps at least 10 pixels of spare
// width after its panes.
//
//   a press on an item       selects it: VY_MSG_COMMAND (list identifier, index) to the parent
//   a double click, Return   VY_MSG_ITEM_ACTIVATED (list identifier, index) to the parent
//   Up, Down, Page Up/Down, Home, End   move the selection (and command) and scroll it into view
// A list made from a definition file takes its items from Data, one per value, cells split at tabs.
class VyListBox : public VyFrameWnd, public VyControl
{
public:
    VyListBox();

    VyHeader& GetHeader() const { return *m_pHeader; }
    // Adds a column (a pane of the header, which then shows) and lays the list out again.
    void AddColumn(const VyString& title, int width);
    // Adds an item at the end (the view does not move); returns its index.
    int AddItem(const VyListItem& item);
    int AddItem(const VyString& text);
    void ClearItems();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // The item at index; an index out of range gives an empty item.
    const VyListItem& GetItem(int index) const;

    // The selected item, -1 for none. Selecting tells the parent when asked.
    int GetSelection() const { return m_selection; }
    enum class VyChoiceNotify
    {
        SILENT,
        NOTIFY,
    };
    void SetSelection(int index, VyChoiceNotify notify);
    // The item under the mouse, -1 for none.
    int GetHover() const { return m_hover; }
    // Scrolls so that the item is fully in view.
    void EnsureVisible(int index);
    // The first item in view, and how many fit.
    int GetTopItem() const;
    int GetVisibleRows() const;
    int GetItemHeight() const;
    // The item at a client point, -1 for none.
    int ItemAt(VyPoint clientPoint) const;

    bool OnCreate() override;
    void Relayout() override;
    void Resize(int width, int height) override;
    bool IsControl() const override { return true; }
    void HandleMessage(const VyMessage& msg) override;
    void OnButtonPressed(VyPoint point, int flags) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnHoverLeave(VyWnd* pNext) override;
    void OnUnhandledKey(int key, int flags) override;
    VyColor GetBackgroundColor() const override;
    void SetBackgroundColor(const VyColor& color) override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void ReleaseTextures() override;

    static constexpr int VY_HEADER_ID = 100;
    static constexpr int VY_WHEEL_ITEMS = 3;
    static constexpr int VY_HEADER_SPARE = 10;

protected:
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    // The items' area: the client area below the header and inside the bars.
    VyRect ItemArea() const;
    void FitBars();
    void MoveSelection(int to);
    void DrawItem(VyRenderContext& context, const VyRect& area, int index, int top);
    void DrawCells(VyRenderContext& context, const VyListItem& item, const VyRect& row, VyControlColor text,
                   VyControlColor shadow);
    const VyTexture& IconTexture(VyRenderContext& context, const VyString& name);

    VyHeader* m_pHeader = nullptr;
    std::vector<VyListItem> m_items;
    int m_selection = -1;
    int m_hover = -1;
    bool m_bBackgroundSet = false;
    bool m_bLayingOut = false;
    std::map<VyString, VyTexture> m_icons;
};
