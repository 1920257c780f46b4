#pragma once

#include <cstdint>

#include "vythread/VyString.h"

class VyPopupMenu;
class VyWnd;

// Flags of a menu item.
constexpr uint32_t VY_MENU_ITEM_DISABLED = 0x1;  // drawn disabled, sends nothing
constexpr uint32_t VY_MENU_ITEM_CHECKED = 0x2;   // drawn with a check mark
constexpr uint32_t VY_MENU_ITEM_SUBMENU = 0x4;   // opens a sub-menu instead of sending a command
constexpr uint32_t VY_MENU_ITEM_SEPARATOR = 0x8; // a rule between groups of items

// One entry of a pop-up menu: a command with its text, or a separator, or the entry of a sub-menu.
// Choosing a command posts VY_MSG_COMMAND (identifier, extra value) to the target window, or to the
// menu's command receiver when the item has none.
class VyMenuItem
{
public:
    VyMenuItem(int id, const VyString& text, VyWnd* pTarget = nullptr, uint32_t flags = 0, int extra = 0);
    static VyMenuItem Separator();
    // An entry that opens pSubMenu (not owned: the menu holding the entry keeps it).
    static VyMenuItem SubMenu(const VyString& text, VyPopupMenu* pSubMenu);

    int GetId() const { return m_id; }
    const VyString& GetText() const { return m_text; }
    void SetText(const VyString& text) { m_text = text; }
    // Null: the menu's command receiver.
    VyWnd* GetTarget() const { return m_pTarget; }
    int GetExtra() const { return m_extra; }
    uint32_t GetFlags() const { return m_flags; }
    VyPopupMenu* GetSubMenu() const { return m_pSubMenu; }

    void Enable() { m_flags &= ~VY_MENU_ITEM_DISABLED; }
    void Disable() { m_flags |= VY_MENU_ITEM_DISABLED; }
    // Enables or disables as the condition says (what an update request usually does).
    void EnableIf(bool bCondition);
    bool IsEnabled() const { return (m_flags & VY_MENU_ITEM_DISABLED) == 0; }
    void Check() { m_flags |= VY_MENU_ITEM_CHECKED; }
    void Uncheck() { m_flags &= ~VY_MENU_ITEM_CHECKED; }
    void CheckIf(bool bCondition);
    bool IsChecked() const { return (m_flags & VY_MENU_ITEM_CHECKED) != 0; }
    bool IsSeparator() const { return (m_flags & VY_MENU_ITEM_SEPARATOR) != 0; }
    bool HasSubMenu() const { return (m_flags & VY_MENU_ITEM_SUBMENU) != 0 && m_pSubMenu != nullptr; }
    // Whether the mouse or the keyboard can land on it: an enabled item that is no separator.
    bool IsSelectable() const { return IsEnabled() && !IsSeparator(); }

private:
    int m_id = 0;
    VyString m_text;
    VyWnd* m_pTarget = nullptr;
    uint32_t m_flags = 0;
    int m_extra = 0;
    VyPopupMenu* m_pSubMenu = nullptr;
};
