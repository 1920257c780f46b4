#pragma once

#include "vythread/VyPoint.h"

// What the window tree asks of a menu bar, which the control module builds: a frame window's menu bar
// is its child VY_ID_MENUBAR and implements this.
class VyMenuBarInterface
{
public:
    virtual ~VyMenuBarInterface() = default;

    // Opens the bar's first menu and lets the keyboard walk it (F10).
    virtual void OpenFirstMenu() = 0;
    // Opens the bar's menus as one pop-up at a point of the main window (the right-button menu of a
    // window that has a menu bar): an entry per title, each opening that title's menu.
    virtual void OpenAsPopup(VyPoint rootPoint) = 0;
};
