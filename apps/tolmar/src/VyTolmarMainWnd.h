#pragma once

#include "VyDisplayMenu.h"
#include "VyPieceSetMenu.h"
#include "VyStartRequest.h"
#include "vycontrol/VyMenuUpdater.h"
#include "vywindow/VyMainWnd.h"

class VyGameWnd;
class VyPopupMenu;

// The game's main window: the menu bar of Game, Options and Help over the game window, and the menus'
// commands. Items are enabled and checked from the game just before they show:
//
//   command   item                         enabled when            checked when
//   200..204  Computer > Beginner..Advanced (levels 1..5)
//   215       Computer > Expert
//   205       Human
//   206, 207  Network > Join, Start
//   213, 214  Load, Save                   Load: no network connection; Save: a game was started
//   208       Exit
//   8         Undo                         the rules can undo
//   223       Hint                         a local human's turn, not networked, no hint being
//                                          worked out (VyGameWnd::CanAskHint)
//   209..211  First Turn > Player 1, 2, Random                     that first player
//   218..220  Piece Movement > Off, Slow, Fast                     speed -1, 300, 1500 (rounded)
//   300..349  Display > schemes, Full Screen, scales               see VyDisplayMenu
//   350..399  Piece Set > the sets         see VyPieceSetMenu      see VyPieceSetMenu
//   221       Messages
//   222       Chat                         a network game is connected
//   216, 212  Rules, About
//
// Exit and the window's close button ask first while a game is running, also over an open dialog.
class VyTolmarMainWnd : public VyMainWnd, public VyMenuUpdater
{
public:
    VyTolmarMainWnd(int width, int height);

    // Makes the menu bar and the game window, which reads the settings, loads the set behind the
    // progress window and then does what start asks; the game window has the focus. Null when the
    // window cannot be made.
    VyGameWnd* CreateGameWindow(const VyStartRequest& start = {});
    VyGameWnd* GetGameWindow() const { return m_pGame; }

    void HandleMessage(const VyMessage& msg) override;
    void UpdateMenuItem(VyMenuItem& item) override;
    void OnCloseRequest() override;

    // Runs one menu command as if chosen (tests use it too). False for a command of no item.
    bool OnCommand(int command);

private:
    void BuildMenus();
    std::unique_ptr<VyPopupMenu> MakeGameMenu();
    std::unique_ptr<VyPopupMenu> MakeOptionsMenu();
    std::unique_ptr<VyPopupMenu> MakeHelpMenu();
    // The menu's computer levels: the level, then the computer as opponent.
    void SelectComputer(VyLevel level);
    void ShowAbout();
    void ShowRules();
    void Exit();

    VyDisplayMenu m_display;
    VyPieceSetMenu m_pieceSets;
    VyGameWnd* m_pGame = nullptr;
    bool m_bAskingToQuit = false;
};
