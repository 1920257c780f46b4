#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyPopupMenu.h"

// Looking up the game's menus by their titles, for the menu tests.

// The position of the item titled text; a test failure and 0 when there is none.
inline int MenuItemIndex(VyPopupMenu& menu, const VyString& text)
{
    for (int i = 0; i < menu.GetItemCount(); ++i)
        if (menu.GetItem(i).GetText() == text)
            return i;
    ADD_FAILURE() << "no item " << text;
    return 0;
}

// The sub-menu of the item titled text.
inline VyPopupMenu& SubMenuOf(VyPopupMenu& menu, const VyString& text)
{
    return *menu.GetItem(MenuItemIndex(menu, text)).GetSubMenu();
}

// The items' titles, "-" for a separator.
inline std::vector<VyString> MenuTitles(VyPopupMenu& menu)
{
    std::vector<VyString> titles;
    for (int i = 0; i < menu.GetItemCount(); ++i)
        titles.push_back(menu.GetItem(i).IsSeparator() ? "-" : menu.GetItem(i).GetText());
    return titles;
}
