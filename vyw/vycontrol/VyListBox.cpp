#include "vycontrol/VyListBox.h"

#include <algorithm>

#include "vybitmap/VyKeyedImage.h"
#include "vycontrol/VyHeader.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyResourceSource.h"
#include "vyplatform/VyInput.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"

namespace
{
constexpr int CELL_INSET = 4;
constexpr int ICON_SIZE = 16;
constexpr uint32_t ICON_KEY = 0x0000FF;
const VyListItem NO_ITEM;

VyRect Intersect(const VyRect& a, const VyRect& b)
{
    return {std::max(a.left, b.left), std::min(a.top, b.top), std::min(a.right, b.right), std::max(a.bottom, b.bottom)};
}
} // namespace

VyListBox::VyListBox()
{
    SetCursor(VY_CURSOR_DEFAULT);
}

int VyListBox::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::FACE: return LISTBOX_BACKGROUND;
    case VyControlColor::SELECTION: return LISTBOX_BACKGROUND_SELECTION;
    case VyControlColor::FACE_MOUSE_OVER: return LISTBOX_BACKGROUND_MOUSE_OVER;
    case VyControlColor::TEXT: return LISTBOX_TEXT;
    case VyControlColor::TEXT_SHADOW: return LISTBOX_TEXT_SHADOW;
    case VyControlColor::TEXT_SELECTION: return LISTBOX_TEXT_SELECTION;
    case VyControlColor::TEXT_SELECTION_SHADOW: return LISTBOX_TEXT_SELECTION_SHADOW;
    case VyControlColor::TEXT_MOUSE_OVER: return LISTBOX_TEXT_MOUSE_OVER;
    case VyControlColor::TEXT_MOUSE_OVER_SHADOW: return LISTBOX_TEXT_MOUSE_OVER_SHADOW;
    default: return VY_COLOR_SLOT_NONE;
    }
}

bool VyListBox::OnCreate()
{
    auto pHeader = std::make_unique<VyHeader>();
    const int height = pHeader->GetNaturalHeight();
    m_pHeader = CreateChild(std::move(pHeader), VyAlignStyle(VyAlignment::TOP),
                            VyRect{0, height, GetClientRect().Width(), 0}, VY_HEADER_ID);
    return m_pHeader != nullptr;
}

// -- Items -------------------------------------------------------------------------------------------

void VyListBox::AddColumn(const VyString& title, int width)
{
    m_pHeader->AddPane(title, width);
    Relayout();
}

int VyListBox::AddItem(const VyListItem& item)
{
    m_items.push_back(item);
    FitBars();
    Invalidate();
    return GetItemCount() - 1;
}

int VyListBox::AddItem(const VyString& text)
{
    return AddItem(VyListItem{{text}, {}});
}

void VyListBox::ClearItems()
{
    m_items.clear();
    m_selection = -1;
    m_hover = -1;
    SetScrollPosition(VY_ID_VSCROLL, 0, VyScrollNotify::SILENT);
    FitBars();
    Invalidate();
}

const VyListItem& VyListBox::GetItem(int index) const
{
    return index >= 0 && index < GetItemCount() ? m_items[static_cast<size_t>(index)] : NO_ITEM;
}

void VyListBox::SetSelection(int index, VyChoiceNotify notify)
{
    index = index < 0 || GetItemCount() == 0 ? -1 : std::min(index, GetItemCount() - 1);
    if (index == m_selection)
        return;
    m_selection = index;
    if (index >= 0)
        EnsureVisible(index);
    if (notify == VyChoiceNotify::NOTIFY && index >= 0)
        PostTo(GetParent(), VY_MSG_COMMAND, GetId(), index);
    Invalidate();
}

// -- Geometry ----------------------------------------------------------------------------------------

int VyListBox::GetItemHeight() const
{
    const VyFont* pFont = GetDrawFont();
    return std::max((pFont != nullptr ? pFont->GetHeight() : 13) + 4, ICON_SIZE + 2);
}

VyRect VyListBox::ItemArea() const
{
    VyRect area = GetClientRect();
    if (m_pHeader != nullptr && m_pHeader->IsVisible())
        area.top = m_pHeader->GetRect().bottom;
    if (IsScrollBarVisible(VY_ID_VSCROLL))
        area.right = GetChild(VY_ID_VSCROLL)->GetRect().left;
    if (IsScrollBarVisible(VY_ID_HSCROLL))
        area.bottom = GetChild(VY_ID_HSCROLL)->GetRect().top;
    return area;
}

int VyListBox::GetVisibleRows() const
{
    return std::max(1, ItemArea().Height() / GetItemHeight());
}

int VyListBox::GetTopItem() const
{
    return GetScrollPosition(VY_ID_VSCROLL);
}

int VyListBox::ItemAt(VyPoint clientPoint) const
{
    const VyRect area = ItemArea();
    if (!area.Contains(clientPoint))
        return -1;
    const int index = GetTopItem() + (area.top - 1 - clientPoint.y) / GetItemHeight();
    return index < GetItemCount() ? index : -1;
}

void VyListBox::EnsureVisible(int index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    const int top = GetTopItem();
    const int rows = GetVisibleRows();
    if (index < top)
        SetScrollPosition(VY_ID_VSCROLL, index, VyScrollNotify::SILENT);
    else if (index >= top + rows)
        SetScrollPosition(VY_ID_VSCROLL, index - rows + 1, VyScrollNotify::SILENT);
    Invalidate();
}

void VyListBox::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyListBox::Relayout()
{
    if (m_pHeader == nullptr || m_bLayingOut)
        return;
    m_bLayingOut = true;
    if (m_pHeader->GetPaneCount() > 0)
        m_pHeader->Show();
    else
        m_pHeader->Hide();
    FitBars();
    m_bLayingOut = false;
    Invalidate();
}

void VyListBox::FitBars()
{
    if (m_pHeader == nullptr)
        return;
    // Twice: each bar takes room the other may then need.
    for (int pass = 0; pass < 2; ++pass)
    {
        const int rows = GetVisibleRows();
        const bool bVertical = GetItemCount() > rows;
        ShowScrollBar(VY_ID_VSCROLL, bVertical ? VyBarVisibility::SHOWN : VyBarVisibility::HIDDEN);
        SetScrollRange(VY_ID_VSCROLL, 0, std::max(0, GetItemCount() - rows));
        SetScrollSteps(VY_ID_VSCROLL, {1, rows, -VY_WHEEL_ITEMS});
        const int width = ItemArea().Width();
        const int wanted = m_pHeader->GetPaneCount() > 0 ? m_pHeader->GetTotalWidth() + VY_HEADER_SPARE : 0;
        const bool bHorizontal = wanted > width;
        ShowScrollBar(VY_ID_HSCROLL, bHorizontal ? VyBarVisibility::SHOWN : VyBarVisibility::HIDDEN);
        SetScrollRange(VY_ID_HSCROLL, 0, std::max(0, wanted - width));
        SetScrollSteps(VY_ID_HSCROLL, {CELL_INSET * 4, std::max(1, width), -CELL_INSET * 4});
    }
    m_pHeader->SetOffset(GetScrollPosition(VY_ID_HSCROLL));
}

// -- Input -------------------------------------------------------------------------------------------

void VyListBox::HandleMessage(const VyMessage& msg)
{
    if (msg.id != VY_MSG_COMMAND)
    {
        VyFrameWnd::HandleMessage(msg);
        return;
    }
    // The list's own parts: the bars scrolled, or the header's panes changed.
    if (msg.param1 == VY_ID_HSCROLL)
        m_pHeader->SetOffset(msg.param2);
    else if (msg.param1 == VY_HEADER_ID)
        Relayout();
    Invalidate();
}

void VyListBox::OnButtonPressed(VyPoint point, int flags)
{
    VyFrameWnd::OnButtonPressed(point, flags); // the focus
    if ((flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT)
        return;
    const int index = ItemAt(point);
    if (index < 0)
        return;
    SetSelection(index, VyChoiceNotify::NOTIFY);
    if ((flags & VY_MOUSE_DOUBLE_CLICK) != 0)
        PostTo(GetParent(), VY_MSG_ITEM_ACTIVATED, GetId(), index);
}

void VyListBox::OnMouseMoved(VyPoint point, int flags)
{
    VyFrameWnd::OnMouseMoved(point, flags);
    const int hover = ItemAt(point);
    if (hover != m_hover)
    {
        m_hover = hover;
        Invalidate();
    }
}

void VyListBox::OnHoverLeave(VyWnd* pNext)
{
    VyFrameWnd::OnHoverLeave(pNext);
    m_hover = -1;
}

void VyListBox::MoveSelection(int to)
{
    if (GetItemCount() == 0)
        return;
    SetSelection(std::clamp(to, 0, GetItemCount() - 1), VyChoiceNotify::NOTIFY);
}

void VyListBox::OnUnhandledKey(int key, int flags)
{
    const int rows = GetVisibleRows();
    switch (key)
    {
    case VY_KEY_UP: MoveSelection(m_selection - 1); break;
    case VY_KEY_DOWN: MoveSelection(m_selection + 1); break;
    case VY_KEY_PAGE_UP: MoveSelection(m_selection - rows); break;
    case VY_KEY_PAGE_DOWN: MoveSelection(m_selection + rows); break;
    case VY_KEY_HOME: MoveSelection(0); break;
    case VY_KEY_END: MoveSelection(GetItemCount() - 1); break;
    case VY_KEY_RETURN:
        if (m_selection >= 0)
            PostTo(GetParent(), VY_MSG_ITEM_ACTIVATED, GetId(), m_selection);
        break;
    default: VyFrameWnd::OnUnhandledKey(key, flags); break;
    }
}

// -- Drawing -----------------------------------------------------------------------------------------

VyColor VyListBox::GetBackgroundColor() const
{
    return m_bBackgroundSet ? VyFrameWnd::GetBackgroundColor() : GetColor(VyControlColor::FACE);
}

void VyListBox::SetBackgroundColor(const VyColor& color)
{
    m_bBackgroundSet = true;
    VyFrameWnd::SetBackgroundColor(color);
}

void VyListBox::ReleaseTextures()
{
    m_icons.clear();
}

const VyTexture& VyListBox::IconTexture(VyRenderContext& context, const VyString& name)
{
    auto found = m_icons.find(name);
    if (found != m_icons.end())
        return found->second;
    VyTexture texture;
    const VyString path =
        VyResourceSource::JoinPath(VyConfigFile("vyw.cfg").GetString("Directories", "Bitmaps", "Bitmaps"), name);
    try
    {
        texture = context.MakeTextureHandle(*VyKeyedImage::Load(path, ICON_KEY));
    }
    catch (VyException& error)
    {
        error.AddContext("VyListBox", "IconTexture", "the icon is not shown", path);
        error.Report();
    }
    return m_icons[name] = texture;
}

void VyListBox::DrawContent(VyRenderContext& context, const VyRect&)
{
    const VyRect area = ClientToRoot(ItemArea());
    const VyRect saved = context.GetClipRect();
    const VyRect clip = Intersect(saved, area);
    if (clip.IsEmpty())
        return;
    context.SetClipRect(clip);
    const int top = GetTopItem();
    const int rows = GetVisibleRows() + 1;
    for (int i = top; i < GetItemCount() && i < top + rows; ++i)
        DrawItem(context, area, i, area.top - (i - top) * GetItemHeight());
    context.SetClipRect(saved);
}

void VyListBox::DrawItem(VyRenderContext& context, const VyRect& area, int index, int top)
{
    const VyRect row{area.left, top, area.right, top - GetItemHeight()};
    const bool bSelected = index == m_selection;
    context.SetTexturing(false);
    context.SetBlending(true);
    if (bSelected || index == m_hover)
    {
        context.SetColor(GetColor(bSelected ? VyControlColor::SELECTION : VyControlColor::FACE_MOUSE_OVER));
        context.FillRect(row);
    }
    const bool bHover = !bSelected && index == m_hover;
    const VyControlColor text = bSelected ? VyControlColor::TEXT_SELECTION
                                : bHover  ? VyControlColor::TEXT_MOUSE_OVER
                                          : VyControlColor::TEXT;
    const VyControlColor shadow = bSelected ? VyControlColor::TEXT_SELECTION_SHADOW
                                  : bHover  ? VyControlColor::TEXT_MOUSE_OVER_SHADOW
                                            : VyControlColor::TEXT_SHADOW;
    DrawCells(context, m_items[static_cast<size_t>(index)], row, text, shadow);
}

void VyListBox::DrawCells(VyRenderContext& context, const VyListItem& item, const VyRect& row, VyControlColor text,
                          VyControlColor shadow)
{
    VyFont* pFont = GetDrawFont();
    if (pFont == nullptr)
        return;
    context.SelectFont(pFont);
    const int columns = std::max(1, m_pHeader->GetPaneCount());
    const int origin = row.left - m_pHeader->GetOffset();
    for (int column = 0; column < columns && column < static_cast<int>(item.cells.size()); ++column)
    {
        const bool bPanes = m_pHeader->GetPaneCount() > 0;
        int left = bPanes ? origin + m_pHeader->GetPaneLeft(column) : row.left;
        const int right = bPanes ? left + m_pHeader->GetPaneWidth(column) : row.right;
        left += CELL_INSET;
        if (column == 0 && !item.icon.empty())
        {
            const VyTexture& icon = IconTexture(context, item.icon);
            const int bottom = row.bottom + (row.Height() - ICON_SIZE) / 2;
            context.SetColor(VyColor(0xFFFFFF));
            context.SetTexturing(true);
            context.SelectTexture(icon);
            context.DrawTexture({left, bottom + ICON_SIZE, left + ICON_SIZE, bottom}, VyRect());
            context.SetTexturing(false);
            left += ICON_SIZE + CELL_INSET;
        }
        const VyRect box{left, row.top, right - CELL_INSET, row.bottom};
        DrawShadowedText(context, item.cells[static_cast<size_t>(column)], box,
                         VY_TEXT_LEFT | VY_TEXT_VCENTER | VY_TEXT_ELLIPSIS, text, shadow);
    }
}
