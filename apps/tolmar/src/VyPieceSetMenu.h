#pragma once

#include <memory>
#include <vector>

#include "vythread/VyString.h"

class VyGameWnd;
class VyMenuItem;
class VyPopupMenu;

// Options > Piece Set: one item per set VyPieceSetList finds when the menu is made, by title, in name
// order, with the commands VY_CMD_FIRST_SET + the set's place in the list (the block 350..399 of the
// main window's commands). Sets beyond the 50 the block holds are not listed (the trace says how many
// were found); they can still be named as [General] Set in Tolmar.cfg.
//
//   item        enabled when                      checked when
//   each set    no network game is connected      it is the set in use (any case)
//
// Choosing a set (VyGameWnd::ChangeSet) that is not the one in use first asks "Are you sure you want to
// quit your current game?" while a game is in play (VyGameWnd::ConfirmEndOfGame); on Yes, or with no
// game in play, the set loads behind the progress display and is stored as [General] Set once it has
// arrived. A network game's peer plays on its own set and the protocol carries none, so the items are
// disabled while one is connected. Without a game window nothing is done. Nothing here throws: a set
// that fails to load is shown as the rules show a failed load ("Load Error"), the set in use staying
// and Tolmar.cfg left as it was.
class VyPieceSetMenu
{
public:
    static constexpr int VY_CMD_FIRST_SET = 350;
    static constexpr int VY_CMD_LAST_SET = 399;

    // Finds the sets where the resource look-up in use finds them (the platform's archive and the
    // disk; without a platform an installed VyArchiveSource's archive alone, else the disk) and makes
    // the menu; its items send their commands to the menu's receiver.
    std::unique_ptr<VyPopupMenu> Make();
    // Enables and checks an item of this menu for pGame (null: disabled); false for an item of another
    // menu.
    bool UpdateItem(VyMenuItem& item, const VyGameWnd* pGame) const;
    // Carries out a command of this menu on pGame (may be null); false for another command.
    bool Choose(int command, VyGameWnd* pGame) const;

    // The set names listed, in menu order (command VY_CMD_FIRST_SET + index).
    const std::vector<VyString>& GetSets() const { return m_sets; }

private:
    static std::vector<VyString> FindSets();
    static bool IsSetCommand(int command);
    const VyString* SetOf(int command) const;

    std::vector<VyString> m_sets;
};
