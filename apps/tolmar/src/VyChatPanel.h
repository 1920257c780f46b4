#pragma once

#include <cstdint>

#include "VyChatHistory.h"
#include "VyChatLine.h"
#include "VyMessagesWindow.h"
#include "vythread/VyRect.h"

class VyChatSender;
class VyFrameWnd;
class VyGameRules;
class VyMessageLog;
struct VyMessage;

// The chat of a network game in the game window: the message log over the board, the chat line
// editor, the chat history and the Messages window. Chat lines go out through a VyChatSender while
// one is given (the connection is open); without one, sending and the chat line do nothing. A line
// sent or received is added to the log, to the history and to an open Messages window; the log is
// hidden while the Messages window is open.
//
// Keys, offered by the game window's key filter before the focus window sees them:
//   Return   no editor waiting: opens the chat line (when a sender is given); one waiting: sends
//            its text (an empty line sends nothing); consumed either way
//   Escape   an editor waiting: closes it, sending nothing; consumed; otherwise passed on
//
// Failures: a line the sender could not send (false, or an exception, which is reported to the
// trace) is left out of the log, the history and the window. A log that could not be made takes no
// lines; the Messages window fails as VyMessagesWindow says.
class VyChatPanel
{
public:
    // wnd is the game window, which holds the log, the chat line and the Messages window and receives
    // the window's notifications; the players' names come from rules.
    VyChatPanel(VyFrameWnd& wnd, const VyGameRules& rules);

    // Makes the log: the window's client area less 30 pixels at the top (the status line's), style
    // 0x438008 (visible, transparent, never hit, never focused, the mouse through its lines), white
    // text on a black shadow, lines living 15 s.
    void CreateLog();
    // Keeps the log over the window's client area as it was made when the window's size changes.
    void PlaceLog();
    VyMessageLog* GetLog() const { return m_pLog; }

    // The connection's chat sender (not owned), or null when there is no connection any more: an
    // open chat line then closes without sending.
    void SetSender(VyChatSender* pSender);
    bool HasSender() const { return m_pSender != nullptr; }

    // Sends text as this side's line (player 1's name in yellow): nothing without a sender or text.
    void SendChat(const VyString& text);
    // The other side's chat text (player 2's name in green).
    void ReceiveChat(const VyString& text);
    // Opens the chat line and sends what is accepted (see the class comment).
    void OpenChatLine();
    void CloseChatLine() { m_chatLine.Cancel(); }
    // Opens the Messages window with the whole history and hides the log.
    void ShowMessages();

    // Return and Escape for the window's key filter (see the class comment): false when consumed.
    bool FilterKey(int key);
    // The Messages window's closing shows the log again (in front of its siblings: the window
    // restacks); true when msg was that.
    bool HandleMessage(const VyMessage& msg);
    // Raising in the window's stacking order: the log over the pieces; the Messages window and the
    // chat line over everything.
    void RaiseLog();
    void RaiseWindows();

    const VyChatHistory& GetHistory() const { return m_history; }
    const VyChatLine& GetChatLine() const { return m_chatLine; }
    const VyMessagesWindow& GetMessagesWindow() const { return m_messages; }

    static constexpr uint32_t VY_LOG_STYLE = 0x438008;
    static constexpr int VY_LOG_TOP_INSET = 30;
    static constexpr int VY_LOG_LIFETIME_MS = 15000;

private:
    bool Send(const VyString& text);
    void AddChatLine(const VyString& line);
    VyRect LogRect() const;

    VyFrameWnd& m_wnd;
    const VyGameRules& m_rules;
    VyChatSender* m_pSender = nullptr;
    VyMessageLog* m_pLog = nullptr; // a child of m_wnd
    VyChatHistory m_history;
    VyChatLine m_chatLine;
    VyMessagesWindow m_messages;
};
