#include "VyChatPanel.h"

#include "VyChatSender.h"
#include "VyGameRules.h"
#include "VyMessageLog.h"
#include "vycontrol/VyEdit.h"
#include "vyplatform/VyInput.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyFrameWnd.h"

static_assert(VyChatPanel::VY_LOG_STYLE ==
              (VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT | VY_STYLE_NO_HIT | VY_STYLE_NO_FOCUS | VY_LOG_MOUSE_THROUGH));

namespace
{
constexpr unsigned int LOG_TEXT_COLOR = 0xFFFFFF;
constexpr unsigned int LOG_SHADOW_COLOR = 0x000000;
} // namespace

VyChatPanel::VyChatPanel(VyFrameWnd& wnd, const VyGameRules& rules) : m_wnd(wnd), m_rules(rules)
{
}

// ---- the log -----------------------------------------------------------------------------------

VyRect VyChatPanel::LogRect() const
{
    VyRect rect = m_wnd.GetClientRect();
    rect.top -= VY_LOG_TOP_INSET;
    return rect;
}

void VyChatPanel::CreateLog()
{
    if (m_pLog != nullptr)
        return;
    m_pLog = m_wnd.CreateChild(std::make_unique<VyMessageLog>(), VY_LOG_STYLE, LogRect());
    if (m_pLog == nullptr)
        return;
    m_pLog->SetLineColors(VyColor(LOG_TEXT_COLOR, 255), VyColor(LOG_SHADOW_COLOR, 255));
    m_pLog->SetLifetime(VY_LOG_LIFETIME_MS);
}

void VyChatPanel::PlaceLog()
{
    const VyRect rect = LogRect();
    if (m_pLog != nullptr && m_pLog->GetRect() != rect)
        m_pLog->Move(rect.left, rect.top, rect.Width(), rect.Height());
}

void VyChatPanel::RaiseLog()
{
    if (m_pLog != nullptr && m_pLog->IsVisible())
        m_wnd.BringToFront(m_pLog);
}

void VyChatPanel::RaiseWindows()
{
    m_messages.Raise();
    if (VyEdit* pEdit = m_chatLine.GetEdit())
        m_wnd.BringToFront(pEdit);
}

// ---- chat lines --------------------------------------------------------------------------------

void VyChatPanel::SetSender(VyChatSender* pSender)
{
    m_pSender = pSender;
    if (m_pSender == nullptr)
        CloseChatLine();
}

bool VyChatPanel::Send(const VyString& text)
{
    try
    {
        return m_pSender->SendChat(text);
    }
    catch (VyException& error)
    {
        error.AddContext("VyChatPanel", "SendChat", "the line was not sent");
        error.Report();
        return false;
    }
}

void VyChatPanel::SendChat(const VyString& text)
{
    if (m_pSender == nullptr || text.empty())
        return;
    if (Send(text))
        AddChatLine(VyChatHistory::SentLine(m_rules.GetPlayer1Name(), text));
}

void VyChatPanel::ReceiveChat(const VyString& text)
{
    AddChatLine(VyChatHistory::ReceivedLine(m_rules.GetPlayer2Name(), text));
}

void VyChatPanel::AddChatLine(const VyString& line)
{
    if (m_pLog != nullptr)
        m_pLog->AddLine(line);
    m_history.Append(line);
    m_messages.Append(line);
}

void VyChatPanel::OpenChatLine()
{
    if (m_pSender == nullptr)
        return;
    if (const std::optional<VyString> text = m_chatLine.Run(m_wnd))
        SendChat(*text);
}

bool VyChatPanel::FilterKey(int key)
{
    if (key == VY_KEY_RETURN)
    {
        if (m_chatLine.IsWaiting())
            m_chatLine.Accept();
        else
            OpenChatLine();
        return false;
    }
    if (key == VY_KEY_ESCAPE && m_chatLine.IsWaiting())
    {
        m_chatLine.Cancel();
        return false;
    }
    return true;
}

// ---- the Messages window -----------------------------------------------------------------------

void VyChatPanel::ShowMessages()
{
    if (m_messages.Show(m_wnd, m_wnd, m_history.GetLines()) && m_pLog != nullptr)
        m_pLog->Hide();
}

bool VyChatPanel::HandleMessage(const VyMessage& msg)
{
    if (msg.id != VY_MSG_DIALOG_CLOSED || msg.param1 != VyMessagesWindow::VY_DIALOG_ID)
        return false;
    // A window closed before a new one was shown leaves the log hidden for the new one.
    if (m_pLog != nullptr && !m_messages.IsShown())
        m_pLog->Show();
    return true;
}
