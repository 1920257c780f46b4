#pragma once

#include <memory>
#include <vector>

#include "vyplatform/VyColorSchemeList.h"

class VyMenuItem;
class VyPopupMenu;

// The Display menu's command identifiers: the block 300..349 of the main window's commands.
enum VyDisplayCommand : int
{
    VY_CMD_FULL_SCREEN = 300,
    VY_CMD_SCALE_AUTOMATIC = 301, // + the scale: 1x 302, 2x 303, 3x 304
    VY_CMD_SCALE_LAST = 304,
    VY_CMD_DEFAULT_SCHEME = 309,  // the framework's own colours
    VY_CMD_FIRST_SCHEME = 310,    // + the scheme's place in the list
    VY_CMD_LAST_SCHEME = 349,
};

// Options > Display: how the game looks and where it is shown. Each choice is written into vyw.cfg and
// takes effect at once, through the platform (VyPlatform::ChangeColorScheme, ChangeWindowMode,
// ChangeScale); the display is created again for full screen and for a scale, the main window and
// the game staying as they are.
//
//   item                       command      checked when
//   Default                    309          vyw.cfg names none of the schemes listed
//   the schemes, by title      310..349     vyw.cfg's [Preferences] Color Scheme names it (any case)
//   Full Screen                300          the display is full screen
//   Automatic, 1x, 2x, 3x      301..304     [Screen] Scale is 0, 1, 2, 3
//
// The schemes are those VyColorSchemeList finds when the menu is made; Default is left out when one
// of them is a file of its name. Schemes beyond the 40 the block holds are not listed.
class VyDisplayMenu
{
public:
    // Finds the schemes and makes the menu; its items send their commands to the menu's receiver.
    std::unique_ptr<VyPopupMenu> Make();
    // Checks an item of this menu as the settings are now; false for an item of another menu.
    bool UpdateItem(VyMenuItem& item) const;
    // Carries out a command of this menu (nothing without a platform); false for another command.
    bool Choose(int command);

    // The schemes listed, in menu order (command VY_CMD_FIRST_SCHEME + index).
    const std::vector<VyColorSchemeEntry>& GetSchemes() const { return m_schemes; }

private:
    bool IsDefaultListed() const;
    bool IsSchemeInUse(const VyString& fileName) const;
    bool IsAnySchemeInUse() const;
    void ChooseScheme(int command);
    void ToggleFullScreen();

    std::vector<VyColorSchemeEntry> m_schemes;
};
