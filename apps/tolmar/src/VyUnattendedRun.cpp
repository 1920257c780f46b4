#include "VyUnattendedRun.h"

#include <cstdio>

#include "VyGameWnd.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyMsgBox.h"

VyUnattendedRun::VyUnattendedRun(VyGameWnd& game, std::optional<int> games, VyMoveChat chat)
    : m_game(game), m_games(games), m_chat(chat)
{
}

VyUnattendedRun::~VyUnattendedRun()
{
    VyMessageTarget::KillTimers(this);
    VyMessageTarget::RemoveMessages({this, 0, 0, 0});
}

VyString VyUnattendedRun::CountText() const
{
    return VyString::Format("%d of %d games", m_finished, m_games.value_or(0));
}

// ---- the games -----------------------------------------------------------------------------------

void VyUnattendedRun::GameEnded()
{
    const VyGameRules& rules = m_game.GetRules();
    if (!IsAnswering() || rules.GetPositionGeneration() == m_countedGeneration)
        return;
    m_countedGeneration = rules.GetPositionGeneration();
    ++m_finished;
    VyTrace::Write(VyString::Format("VyUnattendedRun : game %d of %d ended: ", m_finished, *m_games) +
                   rules.GetStatus() + "\n");
    if (m_finished >= *m_games)
        Finish();
}

void VyUnattendedRun::QuestionShown()
{
    if (IsAnswering() && !VyMessageTarget::HasMessage({this, MSG_ANSWER, 0, 0}))
        VyMessageTarget::Post({this, MSG_ANSWER, 0, 0});
}

bool VyUnattendedRun::ShouldAccept() const
{
    const VyGameRules& rules = m_game.GetRules();
    if (!rules.IsNetworked())
        return true;
    // The serving side offers; the joining side waits for the offer and accepts it.
    return m_game.GetNetwork().IsOfferPending() || rules.GetOpponent() == VyOpponent::NETWORK_CLIENT;
}

void VyUnattendedRun::Answer()
{
    VyMsgBox* pBox = m_game.GetQuestionBox();
    if (!IsAnswering() || pBox == nullptr || !pBox->IsCreated() || !ShouldAccept())
        return;
    VyTrace::Write("VyUnattendedRun : answers Yes\n");
    // What the Yes button posts when it is clicked, handed to the box at once: the box it was meant for
    // is the one shown now.
    pBox->HandleMessage({pBox, VY_MSG_COMMAND, VY_IDYES, 0});
}

// ---- chat ----------------------------------------------------------------------------------------

void VyUnattendedRun::MoveSent(int piece, int square)
{
    if (m_chat == VyMoveChat::EACH_MOVE)
        VyMessageTarget::Post({this, MSG_CHAT, piece, square});
}

void VyUnattendedRun::SendMoveLine(int piece, int square)
{
    if (!m_game.GetChat().HasSender())
        return;
    ++m_ownMoves;
    const VyString text = square < 0 ? VyString::Format("move %d: piece %d chosen", m_ownMoves, piece)
                                     : VyString::Format("move %d: piece %d on square %d", m_ownMoves, piece, square);
    m_game.SendChat(text);
    ++m_chatLines;
}

// ---- the end -------------------------------------------------------------------------------------

bool VyUnattendedRun::TakeMessageBox(const VyString& text)
{
    if (!m_games)
        return false;
    if (m_bOver)
        return true;
    m_bOver = true;
    const VyString reason = "the unattended run ends after " + CountText() + ": " + text.Trimmed();
    VyTrace::Write("VyUnattendedRun : " + reason + "\n");
    std::fputs(("tolmar: " + reason + "\n").c_str(), stderr);
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->QuitAfterFailure();
    return true;
}

void VyUnattendedRun::Finish()
{
    m_bOver = true;
    VyTrace::Write("VyUnattendedRun : all " + CountText() + " played\n");
    QuitWhenSent();
}

void VyUnattendedRun::QuitWhenSent()
{
    if (m_game.GetNetwork().HasUnsentBytes() && m_waitedMs < QUIT_WAIT_MS)
    {
        if (m_waitedMs == 0)
            VyMessageTarget::SetTimer(this, VY_QUIT_TIMER, QUIT_STEP_MS);
        m_waitedMs += QUIT_STEP_MS;
        return;
    }
    VyMessageTarget::KillTimer(this, VY_QUIT_TIMER);
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->Quit();
}

void VyUnattendedRun::HandleMessage(const VyMessage& msg)
{
    if (msg.id == MSG_ANSWER)
        return Answer();
    if (msg.id == MSG_CHAT)
        return SendMoveLine(msg.param1, msg.param2);
    if (msg.id == VY_MSG_TIMER && msg.param1 == VY_QUIT_TIMER)
        QuitWhenSent();
}
