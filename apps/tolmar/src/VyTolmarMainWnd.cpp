#include "VyTolmarMainWnd.h"

#include <cmath>

#include "VyGameWnd.h"
#include "VyProgressDisplay.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMsgBox.h"

namespace
{
enum : int
{
    CMD_UNDO = 8,
    CMD_BEGINNER = 200,
    CMD_ADVANCED = 204,
    CMD_HUMAN = 205,
    CMD_JOIN = 206,
    CMD_START = 207,
    CMD_EXIT = 208,
    CMD_PLAYER1_FIRST = 209,
    CMD_PLAYER2_FIRST = 210,
    CMD_RANDOM_FIRST = 211,
    CMD_ABOUT = 212,
    CMD_LOAD = 213,
    CMD_SAVE = 214,
    CMD_EXPERT = 215,
    CMD_RULES = 216,
    CMD_MOVEMENT_OFF = 218,
    CMD_MOVEMENT_SLOW = 219,
    CMD_MOVEMENT_FAST = 220,
    CMD_MESSAGES = 221,
    CMD_CHAT = 222,
    CMD_HINT = 223,
};

// The speeds of Piece Movement > Off, Slow and Fast.
constexpr float SPEED_OFF = -1.0f;
constexpr float SPEED_SLOW = 300.0f;
constexpr float SPEED_FAST = 1500.0f;

float SpeedOf(int command)
{
    return command == CMD_MOVEMENT_OFF ? SPEED_OFF : command == CMD_MOVEMENT_SLOW ? SPEED_SLOW : SPEED_FAST;
}

VyFirstPlayer FirstPlayerOf(int command)
{
    return command == CMD_PLAYER1_FIRST   ? VyFirstPlayer::PLAYER1
           : command == CMD_PLAYER2_FIRST ? VyFirstPlayer::PLAYER2
                                          : VyFirstPlayer::RANDOM;
}
} // namespace

VyTolmarMainWnd::VyTolmarMainWnd(int width, int height) : VyMainWnd(width, height)
{
}

VyGameWnd* VyTolmarMainWnd::CreateGameWindow(const VyStartRequest& start)
{
    BuildMenus();
    auto pGame = std::make_unique<VyGameWnd>();
    pGame->SetStart(start);
    pGame->SetLoadProgress(std::make_unique<VyProgressDisplay>(pGame.get()));
    m_pGame = CreateChild(std::move(pGame), VY_STYLE_VISIBLE | VyAlignStyle(VyAlignment::CLIENT),
                          VyRect{0, GetHeight(), GetWidth(), 0});
    // The keys go to the game from the start (Tab walks the pieces, Return opens the chat line), and
    // come back to it when a window that took them closes.
    if (m_pGame != nullptr)
        SetFocus(m_pGame);
    return m_pGame;
}

std::unique_ptr<VyPopupMenu> VyTolmarMainWnd::MakeGameMenu()
{
    auto pMenu = std::make_unique<VyPopupMenu>();
    pMenu->AppendItem(CMD_HUMAN, "Human");
    auto pLevels = std::make_unique<VyPopupMenu>();
    for (int command = CMD_BEGINNER; command <= CMD_ADVANCED; ++command)
        pLevels->AppendItem(command, LevelName(static_cast<VyLevel>(command - CMD_BEGINNER + 1)));
    pLevels->AppendItem(CMD_EXPERT, LevelName(VyLevel::EXPERT));
    pMenu->AppendSubMenu("Computer", std::move(pLevels));
    auto pNetwork = std::make_unique<VyPopupMenu>();
    pNetwork->AppendItem(CMD_JOIN, "Join");
    pNetwork->AppendItem(CMD_START, "Start");
    pMenu->AppendSubMenu("Network", std::move(pNetwork));
    pMenu->AppendSeparator();
    pMenu->AppendItem(CMD_LOAD, "Load");
    pMenu->AppendItem(CMD_SAVE, "Save");
    pMenu->AppendSeparator();
    pMenu->AppendItem(CMD_EXIT, "Exit");
    return pMenu;
}

std::unique_ptr<VyPopupMenu> VyTolmarMainWnd::MakeOptionsMenu()
{
    auto pMenu = std::make_unique<VyPopupMenu>();
    pMenu->AppendItem(CMD_UNDO, "Undo");
    pMenu->AppendItem(CMD_HINT, "Hint");
    pMenu->AppendSeparator();
    auto pFirst = std::make_unique<VyPopupMenu>();
    pFirst->AppendItem(CMD_PLAYER1_FIRST, "Player 1");
    pFirst->AppendItem(CMD_PLAYER2_FIRST, "Player 2");
    pFirst->AppendItem(CMD_RANDOM_FIRST, "Random");
    pMenu->AppendSubMenu("First Turn", std::move(pFirst));
    auto pMovement = std::make_unique<VyPopupMenu>();
    pMovement->AppendItem(CMD_MOVEMENT_OFF, "Off");
    pMovement->AppendItem(CMD_MOVEMENT_SLOW, "Slow");
    pMovement->AppendItem(CMD_MOVEMENT_FAST, "Fast");
    pMenu->AppendSubMenu("Piece Movement", std::move(pMovement));
    pMenu->AppendSubMenu("Display", m_display.Make());
    pMenu->AppendSubMenu("Piece Set", m_pieceSets.Make());
    pMenu->AppendSeparator();
    pMenu->AppendItem(CMD_MESSAGES, "Messages");
    pMenu->AppendItem(CMD_CHAT, "Chat");
    return pMenu;
}

std::unique_ptr<VyPopupMenu> VyTolmarMainWnd::MakeHelpMenu()
{
    auto pMenu = std::make_unique<VyPopupMenu>();
    pMenu->AppendItem(CMD_RULES, "Rules");
    pMenu->AppendSeparator();
    pMenu->AppendItem(CMD_ABOUT, "About");
    return pMenu;
}

void VyTolmarMainWnd::BuildMenus()
{
    auto* pBar = dynamic_cast<VyMenuBar*>(SetMenuBar());
    if (pBar == nullptr)
        return; // no control factory: the game is played without menus
    pBar->AppendPopup("Game", MakeGameMenu());
    pBar->AppendPopup("Options", MakeOptionsMenu());
    pBar->AppendPopup("Help", MakeHelpMenu());
}

void VyTolmarMainWnd::UpdateMenuItem(VyMenuItem& item)
{
    if (m_display.UpdateItem(item) || m_pieceSets.UpdateItem(item, m_pGame) || m_pGame == nullptr)
        return;
    const VyGameRules& rules = m_pGame->GetRules();
    const int command = item.GetId();
    const long speed = std::lround(rules.GetMoveSpeed());
    if (command == CMD_SAVE)
        item.EnableIf(rules.CanSave());
    else if (command == CMD_UNDO)
        item.EnableIf(rules.CanUndo());
    else if (command == CMD_HINT)
        item.EnableIf(m_pGame->CanAskHint());
    else if (command == CMD_CHAT)
        item.EnableIf(m_pGame->IsNetworkConnected());
    else if (command == CMD_LOAD) // a loaded game would leave the peer's board apart from ours
        item.EnableIf(!m_pGame->IsNetworkConnected());
    else if (command >= CMD_PLAYER1_FIRST && command <= CMD_RANDOM_FIRST)
        item.CheckIf(rules.GetFirstPlayer() == FirstPlayerOf(command));
    else if (command >= CMD_MOVEMENT_OFF && command <= CMD_MOVEMENT_FAST)
        item.CheckIf(speed == std::lround(SpeedOf(command)));
}

void VyTolmarMainWnd::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_COMMAND && msg.pTarget == this && OnCommand(msg.param1))
        return;
    VyMainWnd::HandleMessage(msg);
}

bool VyTolmarMainWnd::OnCommand(int command)
{
    if (m_display.Choose(command) || m_pieceSets.Choose(command, m_pGame))
        return true;
    if (m_pGame == nullptr)
        return false;
    if (command >= CMD_BEGINNER && command <= CMD_ADVANCED)
        SelectComputer(static_cast<VyLevel>(command - CMD_BEGINNER + 1));
    else if (command == CMD_EXPERT)
        SelectComputer(VyLevel::EXPERT);
    else if (command == CMD_HUMAN)
        m_pGame->SetOpponent(VyOpponent::HUMAN, VyOpponentRequest::FROM_MENU);
    else if (command == CMD_JOIN) // the other player serves
        m_pGame->SetOpponent(VyOpponent::NETWORK_SERVER, VyOpponentRequest::FROM_MENU);
    else if (command == CMD_START) // the other player joins
        m_pGame->SetOpponent(VyOpponent::NETWORK_CLIENT, VyOpponentRequest::FROM_MENU);
    else if (command >= CMD_PLAYER1_FIRST && command <= CMD_RANDOM_FIRST)
        m_pGame->SetFirstPlayer(FirstPlayerOf(command));
    else if (command >= CMD_MOVEMENT_OFF && command <= CMD_MOVEMENT_FAST)
        m_pGame->SetMoveSpeed(SpeedOf(command));
    else if (command == CMD_UNDO)
        m_pGame->GetRules().Undo();
    else if (command == CMD_HINT)
        m_pGame->AskHint();
    else if (command == CMD_LOAD)
        m_pGame->LoadGameFromFile();
    else if (command == CMD_SAVE)
        m_pGame->SaveGameToFile();
    else if (command == CMD_MESSAGES)
        m_pGame->ShowMessages();
    else if (command == CMD_CHAT)
        m_pGame->OpenChatLine();
    else if (command == CMD_ABOUT)
        ShowAbout();
    else if (command == CMD_RULES)
        ShowRules();
    else if (command == CMD_EXIT)
        Exit();
    else
        return false;
    return true;
}

void VyTolmarMainWnd::SelectComputer(VyLevel level)
{
    m_pGame->GetRules().SetLevel(level);
    m_pGame->SetOpponent(VyOpponent::COMPUTER, VyOpponentRequest::FROM_MENU);
}

void VyTolmarMainWnd::ShowAbout()
{
    VyDialog* pDialog = VyDialog::Load("about.cfg", 0);
    if (pDialog == nullptr)
        return;
    if (VyRenderContext* pContext = VyRenderContext::GetCurrent())
    {
        pDialog->SetControlText(208, "Renderer: " + pContext->GetRendererName() + "\n");
        pDialog->SetControlText(209, "Pixel Format: " + pContext->GetPixelFormatText() + "\n");
    }
    pDialog->RunModal();
}

void VyTolmarMainWnd::ShowRules()
{
    VyMsgBox::Run(VyStringHelper::GetString("Rules", "No rules were found"), "Rules", VY_MB_OK);
}

void VyTolmarMainWnd::Exit()
{
    if (m_bAskingToQuit)
        return;
    m_bAskingToQuit = true;
    const bool bQuit = m_pGame == nullptr || m_pGame->ConfirmEndOfGame();
    m_bAskingToQuit = false;
    if (bQuit)
        if (VyPlatform* pPlatform = VyPlatform::Get())
            pPlatform->Quit();
}

void VyTolmarMainWnd::OnCloseRequest()
{
    Exit();
}
