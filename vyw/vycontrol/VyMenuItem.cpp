#include "vycontrol/VyMenuItem.h"

VyMenuItem::VyMenuItem(int id, const VyString& text, VyWnd* pTarget, uint32_t flags, int extra)
    : m_id(id), m_text(text), m_pTarget(pTarget), m_flags(flags), m_extra(extra)
{
}

VyMenuItem VyMenuItem::Separator()
{
    return VyMenuItem(0, {}, nullptr, VY_MENU_ITEM_SEPARATOR);
}

VyMenuItem VyMenuItem::SubMenu(const VyString& text, VyPopupMenu* pSubMenu)
{
    VyMenuItem item(0, text, nullptr, VY_MENU_ITEM_SUBMENU);
    item.m_pSubMenu = pSubMenu;
    return item;
}

void VyMenuItem::EnableIf(bool bCondition)
{
    if (bCondition)
        Enable();
    else
        Disable();
}

void VyMenuItem::CheckIf(bool bCondition)
{
    if (bCondition)
        Check();
    else
        Uncheck();
}
