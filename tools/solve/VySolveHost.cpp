#include "VySolveHost.h"

#include "VyGameRules.h"

void VySolveHost::HandleMessage(const VyMessage& msg)
{
    if (m_pRules != nullptr)
        m_pRules->HandleMessage(msg);
}

void VySolveHost::MovePiece(int piece, VyPoint, float, VyMoveStyle)
{
    Post({this, MSG_MOVE_DONE, piece, piece + 1});
}

void VySolveHost::ShowMessageBox(const VyString& text, const VyString& caption)
{
    m_errors.push_back(caption + ": " + text);
}

void VySolveHost::ShowFatalError(const VyString& text)
{
    m_errors.push_back(text);
}
