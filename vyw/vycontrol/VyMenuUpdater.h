#pragma once

class VyMenuItem;

// What a window that owns a menu may implement to set its items' states: just before a menu shows its
// items, each one is handed to its owner's UpdateMenuItem, which enables, disables, checks or unchecks
// it (the game's menus follow the game this way). Menus and menu bars pass the request on to their own
// owner, so that the items of a sub-menu reach the same window.
class VyMenuUpdater
{
public:
    virtual ~VyMenuUpdater() = default;

    virtual void UpdateMenuItem(VyMenuItem& item) = 0;
};
