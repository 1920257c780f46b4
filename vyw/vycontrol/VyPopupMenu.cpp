#include "vycontrol/VyPopupMenu.h"

#include <algorithm>

#include "vyplatform/VyInput.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"

namespace
{
// The mouse flags a release is handed on with: the zone and double-click bits are the router's own.
constexpr int REDELIVERED_FLAGS = VY_MOUSE_BUTTON_MASK | VY_INPUT_CONTROL | VY_INPUT_SHIFT | VY_MOUSE_RELEASE;
// Sub-menus of a menu are kept with it, since its entries point at them.
constexpr uint32_t SUB_MENU_STYLE = VY_MENU_FRAME | VY_MENU_KEEP | VY_STYLE_OVERLAY;
// The highlight band stays this far inside the item area, the separator's rule further in.
constexpr int SEPARATOR_INSET = 4;
// Half the size of the check mark and of the sub-menu arrow.
constexpr int MARK_SIZE = 4;
} // namespace

VyPopupMenu::VyPopupMenu()
{
    SetFrameColorBase(MENU_DARK_SHADOW);
}

int VyPopupMenu::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT: return MENU_TEXT;
    case VyControlColor::TEXT_SHADOW: return MENU_TEXT_SHADOW;
    case VyControlColor::TEXT_DISABLED: return MENU_TEXT_DISABLED;
    case VyControlColor::TEXT_DISABLED_SHADOW: return MENU_TEXT_DISABLED_SHADOW;
    case VyControlColor::TEXT_SELECTION: return MENU_TEXT_SELECTION;
    case VyControlColor::TEXT_SELECTION_SHADOW: return MENU_TEXT_SELECTION_SHADOW;
    case VyControlColor::FACE: return MENU_BACKGROUND;
    case VyControlColor::SELECTION: return MENU_BACKGROUND_SELECTION;
    default: return VY_COLOR_SLOT_NONE;
    }
}

// -- Building ----------------------------------------------------------------------------------------

int VyPopupMenu::AppendItem(int id, const VyString& text, VyWnd* pTarget, uint32_t flags, int extra)
{
    // Sub-menu entries are made by AppendSubMenu alone: an entry needs its menu.
    m_items.emplace_back(id, text, pTarget, flags & ~VY_MENU_ITEM_SUBMENU, extra);
    Invalidate();
    return GetItemCount() - 1;
}

int VyPopupMenu::AppendSeparator()
{
    m_items.push_back(VyMenuItem::Separator());
    return GetItemCount() - 1;
}

int VyPopupMenu::AppendSubMenu(const VyString& text, std::unique_ptr<VyPopupMenu> pSubMenu)
{
    m_items.push_back(VyMenuItem::SubMenu(text, pSubMenu.get()));
    const int index = GetItemCount() - 1;
    if (IsCreated())
        AdoptSubMenu(std::move(pSubMenu), index);
    else
    {
        m_pendingSubMenus.push_back(std::move(pSubMenu));
        m_pendingIndexes.push_back(index);
    }
    return index;
}

int VyPopupMenu::AppendSubMenu(const VyString& text, VyPopupMenu& subMenu)
{
    m_items.push_back(VyMenuItem::SubMenu(text, &subMenu));
    return GetItemCount() - 1;
}

void VyPopupMenu::AdoptSubMenu(std::unique_ptr<VyPopupMenu> pSubMenu, int index)
{
    // Entry index + 1 keeps the identifiers of a menu's sub-menus apart.
    CreateChild(std::move(pSubMenu), SUB_MENU_STYLE, VyRect{}, index + 1);
}

bool VyPopupMenu::OnCreate()
{
    // Menus leave the focus where it is: a field keeps its selection and its undo buffer.
    ModifyStyle(VY_STYLE_NO_FOCUS, 0);
    for (size_t i = 0; i < m_pendingSubMenus.size(); ++i)
        AdoptSubMenu(std::move(m_pendingSubMenus[i]), m_pendingIndexes[i]);
    m_pendingSubMenus.clear();
    m_pendingIndexes.clear();
    return true;
}

VyMenuItem* VyPopupMenu::FindItem(int id)
{
    for (VyMenuItem& item : m_items)
        if (!item.IsSeparator() && !item.HasSubMenu() && item.GetId() == id)
            return &item;
    for (VyMenuItem& item : m_items)
        if (item.HasSubMenu())
            if (VyMenuItem* pFound = item.GetSubMenu()->FindItem(id))
                return pFound;
    return nullptr;
}

VyWnd* VyPopupMenu::GetCommandReceiver() const
{
    if (m_pCommandTarget != nullptr)
        return m_pCommandTarget;
    if (const auto* pOwnerMenu = dynamic_cast<const VyPopupMenu*>(GetParent()))
        return pOwnerMenu->GetCommandReceiver();
    return GetParent();
}

void VyPopupMenu::UpdateMenuItem(VyMenuItem& item)
{
    if (auto* pUpdater = dynamic_cast<VyMenuUpdater*>(GetParent()))
        pUpdater->UpdateMenuItem(item);
}

void VyPopupMenu::UpdateItems()
{
    for (VyMenuItem& item : m_items)
        if (!item.IsSeparator())
            UpdateMenuItem(item);
}

// -- Geometry ----------------------------------------------------------------------------------------

int VyPopupMenu::FontHeight() const
{
    const VyFont* pFont = GetDrawFont();
    return pFont != nullptr ? pFont->GetHeight() : 0;
}

int VyPopupMenu::ItemHeight(const VyMenuItem& item) const
{
    return item.IsSeparator() ? (FontHeight() + 2) / 2 : FontHeight() + 6;
}

VySize VyPopupMenu::MeasureSize() const
{
    const VyFont* pFont = GetDrawFont();
    int widest = 0;
    int height = 0;
    for (const VyMenuItem& item : m_items)
    {
        if (pFont != nullptr && !item.IsSeparator())
            widest = std::max(widest, pFont->GetTextWidth(item.GetText()));
        height += ItemHeight(item);
    }
    const VyFrameWidths frame = GetFrameWidths();
    return {widest + VY_CHECK_COLUMN + VY_ARROW_COLUMN + frame.left + frame.right + 2 * VY_PADDING,
            height + frame.top + frame.bottom + 2 * VY_PADDING};
}

VyRect VyPopupMenu::GetItemRect(int index) const
{
    const VyRect client = GetClientRect();
    int top = client.top - VY_PADDING;
    for (int i = 0; i < index && i < GetItemCount(); ++i)
        top -= ItemHeight(m_items[static_cast<size_t>(i)]);
    const int height = index >= 0 && index < GetItemCount() ? ItemHeight(GetItem(index)) : 0;
    return {client.left + VY_PADDING, top, client.right - VY_PADDING, top - height};
}

VyRect VyPopupMenu::GetItemRootRect(int index) const
{
    return ClientToRoot(GetItemRect(index));
}

int VyPopupMenu::ItemAt(VyPoint clientPoint) const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetItemRect(i).Contains(clientPoint))
            return i;
    return -1;
}

VyPoint VyPopupMenu::PlaceBeside(const VyMenuAnchor& anchor, VySize size) const
{
    const VyRect bounds = VyMainWnd::Get()->GetRect();
    const VyRect& a = anchor.rect;
    int x = a.right;
    int top = a.top;
    if (anchor.side == VyMenuSide::RIGHT && x + size.cx > bounds.right && a.left - size.cx >= bounds.left)
        x = a.left - size.cx;
    else if (anchor.side == VyMenuSide::LEFT)
        x = a.left - size.cx >= bounds.left || a.right + size.cx > bounds.right ? a.left - size.cx : a.right;
    else if (anchor.side == VyMenuSide::BELOW)
    {
        x = a.left;
        top = a.bottom - size.cy >= bounds.bottom || a.top + size.cy > bounds.top ? a.bottom : a.top + size.cy;
    }
    // Whatever side it took, the whole menu stays inside the main window (its top-left when too big).
    x = std::max(bounds.left, std::min(x, bounds.right - size.cx));
    top = std::min(bounds.top, std::max(top, bounds.bottom + size.cy));
    return {x, top};
}

// -- Opening and closing -----------------------------------------------------------------------------

VyPopupMenu* VyPopupMenu::OpenContextMenu(std::unique_ptr<VyPopupMenu> pMenu, VyFrameWnd& owner, VyPoint rootPoint,
                                          int id)
{
    VyPopupMenu* pOpen = owner.CreateChild(std::move(pMenu), VY_MENU_FRAME | VY_STYLE_OVERLAY, VyRect{}, id);
    if (pOpen == nullptr)
        return nullptr;
    pOpen->Open({VyRect{rootPoint.x, rootPoint.y, rootPoint.x, rootPoint.y}, VyMenuSide::RIGHT,
                 VyMenuHighlight::NONE, nullptr});
    if (pOpen->IsOpen())
        return pOpen;
    pOpen->DeleteLater();
    return nullptr;
}

void VyPopupMenu::Open(const VyMenuAnchor& anchor)
{
    VyMainWnd* pMain = VyMainWnd::Get();
    VyFrameWnd* pOwner = GetParent();
    if (m_bOpen || !IsCreated() || pMain == nullptr || pOwner == nullptr)
        return;
    UpdateItems();
    const VySize size = MeasureSize();
    const VyPoint topLeft = pOwner->RootToClient(PlaceBeside(anchor, size));
    Move(topLeft.x, topLeft.y, size.cx, size.cy);
    m_pSlider = anchor.pSlider;
    m_highlight = anchor.highlight == VyMenuHighlight::FIRST ? NextSelectable(-1, 1) : -1;
    if (m_pParentMenu == nullptr)
        m_lastMouse = pMain->GetMousePosition(); // only moves from here on choose items
    Present(*pMain);
}

void VyPopupMenu::Present(VyMainWnd& main)
{
    m_bOpen = true;
    Show();
    main.AddOverlay(this);
    main.PushModal(this);
    main.SetCapture(this);
    Invalidate();
}

void VyPopupMenu::Close()
{
    if (!m_bOpen)
        return;
    m_bOpen = false; // first: what the changes below reroute finds the menu closed
    if (m_pOpenSub != nullptr)
        m_pOpenSub->Close();
    VyMainWnd* pMain = VyMainWnd::Get();
    if (pMain != nullptr)
    {
        pMain->ReleaseCapture(this);
        pMain->PopModal(this);
    }
    Hide();
    if (pMain != nullptr)
        pMain->RemoveOverlay(this);
    VyPopupMenu* pParentMenu = m_pParentMenu;
    Unlink();
    if (pMain != nullptr && pParentMenu != nullptr && pParentMenu->m_bOpen)
        pMain->SetCapture(pParentMenu); // the chain's mouse goes back to the menu now last
    m_highlight = -1;
    PostTo(GetParent(), VY_MSG_MENU_CLOSED, GetId());
    if (!HasStyle(VY_MENU_KEEP))
        DeleteLater();
}

void VyPopupMenu::CloseChain()
{
    Root().Close();
}

void VyPopupMenu::Unlink()
{
    if (m_pParentMenu != nullptr && m_pParentMenu->m_pOpenSub == this)
        m_pParentMenu->m_pOpenSub = nullptr;
    m_pParentMenu = nullptr;
}

void VyPopupMenu::OnDestroy()
{
    if (m_pOpenSub != nullptr)
        m_pOpenSub->m_pParentMenu = nullptr;
    m_pOpenSub = nullptr;
    Unlink();
    m_bOpen = false;
    VyFrameWnd::OnDestroy();
}

// -- The chain ---------------------------------------------------------------------------------------

VyPopupMenu& VyPopupMenu::Root()
{
    VyPopupMenu* pMenu = this;
    while (pMenu->m_pParentMenu != nullptr)
        pMenu = pMenu->m_pParentMenu;
    return *pMenu;
}

VyPopupMenu& VyPopupMenu::Deepest()
{
    VyPopupMenu* pMenu = this;
    while (pMenu->m_pOpenSub != nullptr)
        pMenu = pMenu->m_pOpenSub;
    return *pMenu;
}

VyPopupMenu* VyPopupMenu::MenuAt(VyPoint rootPoint)
{
    for (VyPopupMenu* pMenu = this; pMenu != nullptr; pMenu = pMenu->m_pParentMenu)
        if (pMenu->GetRootRect().Contains(rootPoint))
            return pMenu;
    return nullptr;
}

void VyPopupMenu::OpenSubMenu(int index, VyMenuHighlight highlight)
{
    const VyMenuItem& item = GetItem(index);
    VyPopupMenu* pSub = item.GetSubMenu();
    if (!item.HasSubMenu() || !item.IsEnabled() || pSub == m_pOpenSub || pSub->IsOpen())
        return;
    if (m_pOpenSub != nullptr)
        m_pOpenSub->Close();
    pSub->m_pParentMenu = this;
    m_pOpenSub = pSub;
    // Beside this menu's frame, with the sub-menu's first item level with the entry.
    const VyRect outer = GetRootRect();
    const VyRect entry = GetItemRootRect(index);
    const int raise = pSub->GetFrameWidths().top + VY_PADDING;
    pSub->Open({VyRect{outer.left, entry.top + raise, outer.right, entry.bottom}, VyMenuSide::RIGHT, highlight,
                nullptr});
    if (!pSub->IsOpen())
        pSub->Unlink();
}

void VyPopupMenu::Take(int index)
{
    const VyMenuItem& item = GetItem(index);
    if (!item.IsSelectable() || item.HasSubMenu())
        return;
    VyWnd* pReceiver = item.GetTarget() != nullptr ? item.GetTarget() : GetCommandReceiver();
    if (pReceiver != nullptr)
        PostTo(pReceiver, VY_MSG_COMMAND, item.GetId(), item.GetExtra());
    CloseChain();
}

// -- Mouse -------------------------------------------------------------------------------------------

void VyPopupMenu::OnMouseMoved(VyPoint point, int)
{
    if (m_bOpen)
        Root().Deepest().TrackMouse(ClientToRoot(point));
}

void VyPopupMenu::TrackMouse(VyPoint rootPoint)
{
    VyPopupMenu& root = Root();
    // A capture handed on re-routes the mouse where it stands; only real moves choose items.
    if (rootPoint == root.m_lastMouse)
        return;
    root.m_lastMouse = rootPoint;
    if (VyPopupMenu* pOver = MenuAt(rootPoint))
        pOver->HoverItem(pOver->ItemAt(pOver->RootToClient(rootPoint)));
    else if (root.m_pSlider == nullptr || !root.m_pSlider->SlideTo(rootPoint))
        SetHighlight(-1);
}

void VyPopupMenu::HoverItem(int index)
{
    if (index >= 0 && !GetItem(index).IsSelectable())
        index = -1;
    // Between items, the sub-menu open from here stays open with its entry lit.
    if (index == m_highlight || (index < 0 && m_pOpenSub != nullptr))
        return;
    SetHighlight(index);
    if (m_pOpenSub != nullptr)
        m_pOpenSub->Close();
    if (index >= 0 && GetItem(index).HasSubMenu())
        OpenSubMenu(index, VyMenuHighlight::NONE);
}

void VyPopupMenu::SetHighlight(int index)
{
    if (index == m_highlight)
        return;
    m_highlight = index;
    Invalidate();
}

void VyPopupMenu::OnButtonPressed(VyPoint, int)
{
    // Nothing: a menu acts on the release, and takes no focus.
}

void VyPopupMenu::OnButtonReleased(VyPoint point, int flags)
{
    if (!m_bOpen)
        return;
    const VyPoint rootPoint = ClientToRoot(point);
    if (VyPopupMenu* pOver = Root().Deepest().MenuAt(rootPoint))
    {
        const int index = pOver->ItemAt(pOver->RootToClient(rootPoint));
        if (index >= 0)
            pOver->Take(index);
        return;
    }
    CloseChain();
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->OnMouseButton(rootPoint, flags & REDELIVERED_FLAGS);
}

// -- Keys --------------------------------------------------------------------------------------------

bool VyPopupMenu::FilterKey(int key, int flags)
{
    if (!m_bOpen)
        return VyFrameWnd::FilterKey(key, flags);
    Root().Deepest().OnMenuKey(key); // an open menu has every key
    return false;
}

int VyPopupMenu::NextSelectable(int from, int step) const
{
    const int count = GetItemCount();
    for (int i = 1; i <= count; ++i)
    {
        const int index = ((from + step * i) % count + count) % count;
        if (GetItem(index).IsSelectable())
            return index;
    }
    return -1;
}

void VyPopupMenu::OnMenuKey(int key)
{
    switch (key)
    {
    case VY_KEY_UP:
        SetHighlight(NextSelectable(m_highlight < 0 ? 0 : m_highlight, -1));
        break;
    case VY_KEY_DOWN:
        SetHighlight(NextSelectable(m_highlight, 1));
        break;
    case VY_KEY_RIGHT:
        OnRightKey();
        break;
    case VY_KEY_LEFT:
        OnLeftKey();
        break;
    case VY_KEY_RETURN:
        OnReturnKey();
        break;
    case VY_KEY_ESCAPE:
        Close();
        break;
    case VY_KEY_F10:
        CloseChain();
        break;
    default:
        break;
    }
}

void VyPopupMenu::OnRightKey()
{
    if (m_highlight >= 0 && GetItem(m_highlight).HasSubMenu() && GetItem(m_highlight).IsEnabled())
        OpenSubMenu(m_highlight, VyMenuHighlight::FIRST);
    else if (VyMenuSlider* pSlider = Root().m_pSlider)
        pSlider->StepTitle(VyMenuStep::NEXT);
}

void VyPopupMenu::OnLeftKey()
{
    if (m_pParentMenu != nullptr)
        Close();
    else if (m_pSlider != nullptr)
        m_pSlider->StepTitle(VyMenuStep::PREVIOUS);
}

void VyPopupMenu::OnReturnKey()
{
    if (m_highlight < 0)
        return;
    if (GetItem(m_highlight).HasSubMenu())
        OpenSubMenu(m_highlight, VyMenuHighlight::FIRST);
    else
        Take(m_highlight);
}

// -- Drawing -----------------------------------------------------------------------------------------

VyColor VyPopupMenu::GetBackgroundColor() const
{
    return GetColor(VyControlColor::FACE);
}

void VyPopupMenu::DrawContent(VyRenderContext& context, const VyRect&)
{
    VyFont* pFont = GetDrawFont();
    if (pFont == nullptr)
        return;
    context.SelectFont(pFont);
    for (int i = 0; i < GetItemCount(); ++i)
        DrawItem(context, i);
}

void VyPopupMenu::DrawItem(VyRenderContext& context, int index)
{
    const VyMenuItem& item = GetItem(index);
    const VyRect row = GetItemRootRect(index);
    if (item.IsSeparator())
    {
        DrawSeparator(context, row);
        return;
    }
    VyControlColor text = VyControlColor::TEXT;
    VyControlColor shadow = VyControlColor::TEXT_SHADOW;
    if (!item.IsEnabled())
    {
        text = VyControlColor::TEXT_DISABLED;
        shadow = VyControlColor::TEXT_DISABLED_SHADOW;
    }
    else if (index == m_highlight)
    {
        context.SetTexturing(false);
        context.SetColor(GetColor(VyControlColor::SELECTION));
        context.FillRect(row);
        text = VyControlColor::TEXT_SELECTION;
        shadow = VyControlColor::TEXT_SELECTION_SHADOW;
    }
    const VyRect box{row.left + VY_CHECK_COLUMN, row.top, row.right - VY_ARROW_COLUMN, row.bottom};
    DrawShadowedText(context, item.GetText(), box, VY_TEXT_LEFT | VY_TEXT_VCENTER, text, shadow);
    context.SetTexturing(false);
    context.SetColor(GetColor(text));
    if (item.IsChecked())
        DrawCheckMark(context, row);
    if (item.HasSubMenu())
        DrawArrow(context, row);
}

void VyPopupMenu::DrawSeparator(VyRenderContext& context, const VyRect& row)
{
    // A groove: a shadow line over a highlight line.
    const int y = (row.top + row.bottom) / 2;
    context.SetTexturing(false);
    context.SetColor(VyColor::FromSlot(MENU_LIGHT_SHADOW));
    context.FillRect({row.left + SEPARATOR_INSET, y + 1, row.right - SEPARATOR_INSET, y});
    context.SetColor(VyColor::FromSlot(MENU_DARK_HILIGHT));
    context.FillRect({row.left + SEPARATOR_INSET, y, row.right - SEPARATOR_INSET, y - 1});
}

void VyPopupMenu::DrawCheckMark(VyRenderContext& context, const VyRect& row)
{
    // A tick two pixels thick: a short stroke down to the right, then a long one up.
    const int cx = row.left + VY_CHECK_COLUMN / 2;
    const int cy = (row.top + row.bottom) / 2;
    for (int thickness = 0; thickness < 2; ++thickness)
    {
        const int y = cy - thickness;
        context.DrawLine(cx - MARK_SIZE, y + 1, cx - 1, y - 2, VyLineEnd::INCLUDED);
        context.DrawLine(cx - 1, y - 2, cx + MARK_SIZE + 1, y + MARK_SIZE + 1, VyLineEnd::INCLUDED);
    }
}

void VyPopupMenu::DrawArrow(VyRenderContext& context, const VyRect& row)
{
    // Columns that shorten by a pixel at each end: a crisp triangle pointing right.
    const int x = row.right - VY_ARROW_COLUMN / 2 - MARK_SIZE / 2;
    const int cy = (row.top + row.bottom) / 2;
    for (int column = 0; column <= MARK_SIZE; ++column)
    {
        const int half = MARK_SIZE - column;
        context.FillRect({x + column, cy + half + 1, x + column + 1, cy - half});
    }
}
