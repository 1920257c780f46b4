#include "VyNetworkGame.h"

#include "VyAddressCall.h"
#include "VyChatHistory.h"
#include "VyChatMsg.h"
#include "VyConnectCall.h"
#include "VyGameMsg.h"
#include "VyGameSettings.h"
#include "VyGameSocket.h"
#include "VyGameWnd.h"
#include "VyMoveMsg.h"
#include "VyNameMsg.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMsgBox.h"

namespace
{
constexpr int DEFAULT_PORT = 7;
constexpr int HIGHEST_PORT = 65535;
constexpr int HIDDEN = 0; // the result a box closed by the program carries (no button has it)
constexpr const char* KILL_TEXT =
    "Waiting for previous network call to finish.  If this takes more than a minute press the [Kill] button.";
constexpr const char* FOREIGN_TEXT = "The network connection was not to another Tolmar game.";
constexpr const char* VERSION_TEXT =
    "It appears that you have successfully connected to another Tolmar game, but it's the wrong version.";
constexpr const char* OFFER_TEXT = " has offered to play another game.  Do you accept?\n";

// A port the player typed: a whole number from 1 to 65535, nothing else.
std::optional<int> ParsePort(const VyString& text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    int port = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > HIGHEST_PORT)
        return std::nullopt;
    return port;
}

void SetSubTitle(const VyString& text)
{
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->SetSubTitle(text);
}

// A message as the trace shows it: "name Ann", "move 5 10", "game 1 3", "chat 12 bytes".
VyString Describe(const VySocketMsg& msg)
{
    switch (msg.GetType())
    {
    case VyMsgType::NAME: return "name " + static_cast<const VyNameMsg&>(msg).GetName();
    case VyMsgType::MOVE:
    {
        const auto& move = static_cast<const VyMoveMsg&>(msg);
        return VyString::Format("move %d %d", move.GetPiece(), move.GetSquare());
    }
    case VyMsgType::GAME:
    {
        const auto& game = static_cast<const VyGameMsg&>(msg);
        return VyString::Format("game %d %d", game.GetCommand(), game.GetValue());
    }
    case VyMsgType::CHAT:
        return VyString::Format("chat %d bytes", static_cast<int>(static_cast<const VyChatMsg&>(msg).GetText().size()));
    }
    return "?";
}

bool IsQuitRequested()
{
    const VyPlatform* pPlatform = VyPlatform::Get();
    return pPlatform != nullptr && pPlatform->IsQuitRequested();
}
} // namespace

VyNetworkGame::VyNetworkGame(VyGameWnd& game) : m_game(game), m_pPostBox(VyPostBox::Make(this)) {}

VyNetworkGame::~VyNetworkGame()
{
    m_pPostBox->Detach();
    DropConnection();
    if (m_networkThread.IsRunning())
        m_networkThread.Terminate(0); // a look-up that cannot be cut short; it reports to nobody
    VyMessage filter;
    filter.pTarget = this;
    VyMessageTarget::RemoveMessages(filter);
}

// ---- starting -----------------------------------------------------------------------------------

bool VyNetworkGame::Join(VyNetworkAsk ask, const VyNetworkValues& values)
{
    m_game.GetRules().SetPlayerName(VyPlayer::PLAYER2, "Player 2");
    WaitForPreviousCall();
    VyString host;
    if (!AskJoinValues(ask, values, host))
        return false;
    if (m_networkThread.IsRunning())
    {
        GiveUpAttempt();
        m_networkThread.Terminate(0);
    }
    m_game.GetSettings().SetServerAddress(host);
    const int port = PortFor();
    std::shared_ptr<VyGameSocket> pConnection = NewConnection();
    ShowWaitBox(VY_WAIT_ID, "Client", "Trying to connect to " + host, "Cancel");
    auto pCall = std::make_unique<VyConnectCall>(pConnection, host, port, m_pPostBox, m_pGivenUp, m_connectHold);
    if (VyConnectCall::Start(m_networkThread, std::move(pCall)))
        return true;
    HideWaitBox();
    m_game.ShowMessageBox("The network thread could not be started.", "Error");
    return false;
}

bool VyNetworkGame::Serve(VyNetworkAsk ask, const VyNetworkValues& values)
{
    m_game.GetRules().SetPlayerName(VyPlayer::PLAYER2, "Player 2");
    if (!AskServeName(ask, values))
        return false;
    const int port = PortFor();
    std::shared_ptr<VyGameSocket> pConnection = NewConnection();
    if (!m_listen.StartServer(port, pConnection.get(), VyLaterConnections::TURNED_AWAY))
    {
        const VyString text =
            ServeFailureText(m_listen.GetFailure(), m_listen.GetErrorText(), VySocket::GetUnprivilegedPortStart());
        m_game.ShowMessageBox(text, "Error");
        return false;
    }
    VyTrace::Write(VyString::Format("VyNetworkGame : serving port %d\n", m_listen.GetLocalPort()));
    ShowWaitBox(VY_WAIT_ID, "Server", "Waiting for someone to join", "Cancel");
    return true;
}

// A connect still running (a name look-up cannot be cut short) is waited for, or let go by Kill.
bool VyNetworkGame::WaitForPreviousCall()
{
    if (!m_networkThread.IsRunning())
        return true;
    m_bKilled = false;
    ShowWaitBox(VY_KILL_ID, "Network", KILL_TEXT, "Kill");
    while (m_networkThread.IsRunning() && !m_bKilled && !IsQuitRequested())
        m_networkThread.WaitPumping(100);
    if (m_networkThread.IsRunning())
    {
        GiveUpAttempt();
        m_networkThread.Terminate(0);
    }
    HideWaitBox();
    return true;
}

bool VyNetworkGame::AskJoinValues(VyNetworkAsk ask, const VyNetworkValues& values, VyString& host)
{
    VyGameRules& rules = m_game.GetRules();
    if (ask == VyNetworkAsk::GIVEN_VALUES)
    {
        host = values.host;
        if (values.name && !values.name->empty())
            rules.SetPlayerName(VyPlayer::PLAYER1, *values.name);
        m_givenPort = values.port;
        return true;
    }
    VyDialog* pDialog = VyDialog::Load("networkjoin.dlg", VY_JOIN_DIALOG_ID, nullptr, &m_game);
    if (pDialog == nullptr)
        return false;
    pDialog->SetControlText(202, m_game.GetSettings().GetServerAddress());
    pDialog->SetControlText(204, rules.GetPlayer1Name());
    const VyDialogResult result = pDialog->RunModal();
    if (result.result != VY_IDOK)
        return false;
    host = result.GetText(202).Trimmed();
    if (!result.GetText(204).empty())
        rules.SetPlayerName(VyPlayer::PLAYER1, result.GetText(204));
    return true;
}

bool VyNetworkGame::AskServeName(VyNetworkAsk ask, const VyNetworkValues& values)
{
    VyGameRules& rules = m_game.GetRules();
    if (ask == VyNetworkAsk::GIVEN_VALUES)
    {
        if (values.name && !values.name->empty())
            rules.SetPlayerName(VyPlayer::PLAYER1, *values.name);
        m_givenPort = values.port;
        return true;
    }
    const VyString hostName = VySocket::GetHostName();
    VyDialog* pDialog = VyDialog::Load("networkstart.dlg", VY_START_DIALOG_ID, nullptr, &m_game);
    if (pDialog == nullptr)
        return false;
    pDialog->SetControlText(203, hostName);
    pDialog->SetControlText(205, "Getting computer address ...");
    pDialog->SetControlText(207, rules.GetPlayer1Name());
    m_pAddressCall = std::make_shared<VyAddressCall>(hostName, m_serial, m_pPostBox);
    if (!VyAddressCall::Start(m_networkThread, m_pAddressCall))
        pDialog->SetControlText(205, "unknown");
    m_pStartDialog = pDialog;
    const VyDialogResult result = pDialog->RunModal();
    m_pStartDialog = nullptr;
    if (result.result != VY_IDOK)
        return false;
    if (!result.GetText(207).empty())
        rules.SetPlayerName(VyPlayer::PLAYER1, result.GetText(207));
    return true;
}

int VyNetworkGame::ReadPort(VyGameSettings& settings)
{
    const int port = settings.GetPortNumber(DEFAULT_PORT);
    return port >= 1 && port <= HIGHEST_PORT ? port : DEFAULT_PORT;
}

int VyNetworkGame::PortFor()
{
    return m_givenPort.value_or(ReadPort(m_game.GetSettings()));
}

VyString VyNetworkGame::ServeFailureText(VySocketFailure failure, const VyString& systemText, int unprivilegedStart)
{
    if (failure != VySocketFailure::PrivilegedPort)
        return systemText;
    return systemText + "\n\nOn this computer only the administrator may serve ports below " +
           VyString::Format("%d", unprivilegedStart) +
           ". Choose a port above 1024 under \"Options\" in the Start dialog; the other player must use it too.";
}

// ---- the connection ------------------------------------------------------------------------------

std::shared_ptr<VyGameSocket> VyNetworkGame::NewConnection()
{
    DropConnection();
    m_pConnection = std::make_shared<VyGameSocket>(m_pPostBox, ++m_serial);
    m_pGivenUp = std::make_shared<std::atomic<bool>>(false);
    return m_pConnection;
}

void VyNetworkGame::DropConnection()
{
    m_listen.Close();
    m_listen.WaitAcceptEnded(VY_INFINITE); // it hands its connection to m_pConnection
    if (m_pConnection != nullptr)
    {
        GiveUpAttempt();
        m_pConnection->Close();
        m_retired.push_back(std::move(m_pConnection));
    }
    m_pConnection.reset();
    m_bConnected = false;
    ReleaseRetired();
}

// An attempt that has not connected yet is given up: its call begins nothing more, closes what it
// connected all the same, and no report of it is handled any more.
void VyNetworkGame::GiveUpAttempt()
{
    if (m_bConnected || m_pGivenUp == nullptr)
        return;
    m_pGivenUp->store(true);
    ++m_serial;
}

void VyNetworkGame::ReleaseRetired()
{
    std::erase_if(m_retired, [](const std::shared_ptr<VyGameSocket>& pConnection) {
        return pConnection.use_count() == 1; // the call has let go
    });
}

void VyNetworkGame::CloseConnection()
{
    HideWaitBox();
    GiveUpAttempt();
    m_listen.Close();
    if (m_pConnection != nullptr)
        m_pConnection->Close();
}

bool VyNetworkGame::IsConnected() const
{
    return m_bConnected && m_pConnection != nullptr && m_pConnection->IsOpen() && m_game.GetRules().IsNetworked();
}

bool VyNetworkGame::HasUnsentBytes() const
{
    return IsConnected() && m_pConnection->GetUnsentBytes() > 0;
}

bool VyNetworkGame::IsCurrent(const VyMessage& msg) const
{
    return m_pConnection != nullptr && msg.param2 == m_serial;
}

bool VyNetworkGame::Send(const VySocketMsg& msg)
{
    if (!IsConnected() || !m_pConnection->Send(msg))
        return false;
    VyTrace::Write("VyNetworkGame : sent " + Describe(msg) + "\n");
    return true;
}

void VyNetworkGame::SendMove(int piece, int square)
{
    Send(VyMoveMsg(piece, square));
}

bool VyNetworkGame::SendChat(const VyString& text)
{
    return Send(VyChatMsg(text));
}

void VyNetworkGame::SendGameState()
{
    Send(VyGameMsg::GameState(m_game.GetRules().GetState()));
}

// ---- boxes ---------------------------------------------------------------------------------------

void VyNetworkGame::ShowWaitBox(int id, const VyString& caption, const VyString& text, const VyString& button)
{
    HideWaitBox();
    VyMsgBoxOptions options;
    options.boxId = id;
    options.pParent = &m_game;
    options.pOwner = &m_game; // a window: a box closed after this object went reports to nobody
    options.buttonLabel = button;
    m_pWaitBox = VyMsgBox::Show(text, caption, VY_MB_CANCEL, options);
    m_waitBoxId = m_pWaitBox != nullptr ? id : 0;
}

void VyNetworkGame::HideWaitBox()
{
    VyMsgBox* pBox = m_pWaitBox;
    m_pWaitBox = nullptr;
    m_waitBoxId = 0;
    if (pBox != nullptr && pBox->IsCreated())
        pBox->Close(HIDDEN);
}

void VyNetworkGame::OnBoxClosed(int boxId, int button)
{
    if (button == HIDDEN || boxId != m_waitBoxId)
        return;
    m_pWaitBox = nullptr; // it closed itself
    m_waitBoxId = 0;
    if (boxId == VY_KILL_ID)
        m_bKilled = true;
    else
        CloseConnection(); // Cancel: the blocked connect or accept fails, and nothing is shown
}

void VyNetworkGame::OnDialogCommand(int dialogId, int control)
{
    const bool joinOptions = dialogId == VY_JOIN_DIALOG_ID && control == 205;
    const bool startOptions = dialogId == VY_START_DIALOG_ID && control == 210;
    if (joinOptions || startOptions)
        ShowOptions();
}

void VyNetworkGame::ShowOptions()
{
    VyGameSettings& settings = m_game.GetSettings();
    VyDialog* pDialog = VyDialog::Load("networkoptions.dlg", 0);
    if (pDialog == nullptr)
        return;
    pDialog->SetControlText(203, m_givenPort ? VyString::Format("%d", *m_givenPort) : settings.GetPortText());
    const VyDialogResult result = pDialog->RunModal();
    if (result.result != VY_IDOK)
        return;
    const VyString text = result.GetText(203).Trimmed();
    if (!ParsePort(text))
        return m_game.ShowMessageBox("\"" + text + "\" is no port number: a port is a number from 1 to 65535.",
                                     "Error");
    settings.SetPortText(text);
    m_givenPort.reset(); // the port chosen here counts from now on
}

// ---- events of the connection --------------------------------------------------------------------

void VyNetworkGame::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_DIALOG_CLOSED)
        return OnBoxClosed(msg.param1, msg.param2);
    if (msg.id == VY_MSG_DIALOG_COMMAND)
        return OnDialogCommand(msg.param1, msg.param2);
    if (msg.id == VyAddressCall::MSG_ADDRESS_FOUND)
        return OnAddressFound();
    ReleaseRetired();
    if (!IsCurrent(msg))
        return; // a connection given up, or one whose end was already handled
    switch (msg.id)
    {
    case VY_MSG_SOCKET_CONNECTED: return OnConnected();
    case VY_MSG_SOCKET_DATA: return OnData();
    case VY_MSG_SOCKET_CLOSED: return OnClosed();
    case VY_MSG_SOCKET_FOREIGN: return OnBadPeer(FOREIGN_TEXT);
    case VY_MSG_SOCKET_VERSION: return OnBadPeer(VERSION_TEXT);
    case VyConnectCall::MSG_CONNECT_FAILED: return OnConnectFailed();
    default: return;
    }
}

void VyNetworkGame::OnAddressFound()
{
    if (m_pStartDialog != nullptr && m_pAddressCall != nullptr)
        m_pStartDialog->SetControlText(205, m_pAddressCall->GetText());
}

void VyNetworkGame::OnConnected()
{
    HideWaitBox();
    // One opponent per game: the served port stays open and turns anyone else away at once, until the
    // connection ends.
    // Already gone again (the peer broke the protocol at once, or closed): the report of its end
    // follows and tells the player why.
    if (!m_pConnection->IsOpen())
        return;
    m_bConnected = true;
    Send(VyNameMsg(m_game.GetRules().GetPlayer1Name()));
    SetSubTitle("Connected to " + m_pConnection->GetPeerAddress());
    VyTrace::Write("VyNetworkGame : connected to " + m_pConnection->GetPeerAddress() + "\n");
    m_game.SetChatSender(this);
}

void VyNetworkGame::OnConnectFailed()
{
    HideWaitBox();
    if (m_pConnection->GetFailure() == VySocketFailure::Closed)
        return; // cancelled
    m_game.ShowMessageBox(m_pConnection->GetErrorText(), "Error");
}

void VyNetworkGame::OnClosed()
{
    ++m_serial; // nothing more of this connection is handled
    m_bConnected = false;
    m_bOfferPending = false;
    EndServing();
    HideWaitBox();
    if (m_game.GetRules().IsNetworked())
        m_game.GetRules().CompleteHalfMoveNow();
    m_game.SetChatSender(nullptr);
    m_game.CloseQuestion();
    if (m_game.GetRules().IsNetworked())
        m_game.GetRules().ConnectionClosed();
    SetSubTitle("");
    VyTrace::Write("VyNetworkGame : disconnected\n");
    m_game.ShowMessageBox("You have been disconnected.", "Network");
}

void VyNetworkGame::EndServing()
{
    m_listen.Close();
    if (m_listen.GetTurnedAway() > 0)
        VyTrace::Write(VyString::Format("VyNetworkGame : turned away %d connections\n", m_listen.GetTurnedAway()));
}

void VyNetworkGame::OnBadPeer(const VyString& text)
{
    ++m_serial;
    m_bConnected = false;
    HideWaitBox();
    m_game.ShowMessageBox(text, "Network Error");
    OnClosed();
}

// ---- messages of the peer ------------------------------------------------------------------------

void VyNetworkGame::OnData()
{
    const std::unique_ptr<VySocketMsg> pMsg = m_pConnection->PopMessage();
    if (pMsg == nullptr)
        return;
    VyTrace::Write("VyNetworkGame : received " + Describe(*pMsg) + "\n");
    switch (pMsg->GetType())
    {
    case VyMsgType::NAME: return HandleName(static_cast<const VyNameMsg&>(*pMsg).GetName());
    case VyMsgType::MOVE:
    {
        const auto& move = static_cast<const VyMoveMsg&>(*pMsg);
        return m_game.GetRules().ApplyPeerMove(move.GetPiece(), move.GetSquare());
    }
    case VyMsgType::GAME:
    {
        const auto& game = static_cast<const VyGameMsg&>(*pMsg);
        return HandleGameCommand(game.GetCommand(), game.GetValue());
    }
    case VyMsgType::CHAT: return m_game.ReceiveChat(static_cast<const VyChatMsg&>(*pMsg).GetText());
    }
}

void VyNetworkGame::HandleName(const VyString& name)
{
    VyGameRules& rules = m_game.GetRules();
    const VyString address = m_pConnection->GetPeerAddress();
    rules.NewGame();
    rules.SetPlayerName(VyPlayer::PLAYER2, name.empty() ? VyString("Player 2") : name);
    rules.ShowWaitingForPeer();
    const VyString shown = VyChatHistory::Escaped(rules.GetPlayer2Name());
    if (rules.GetOpponent() == VyOpponent::NETWORK_CLIENT)
        m_game.AddLogLine(shown + " has successfully joined the game from " + address + ".\n");
    else
        m_game.AddLogLine("Successfully connected to " + VyGameRules::Possessive(shown) + " game at " + address +
                          ".\n");
    SendGameState();
}

void VyNetworkGame::HandleGameCommand(int command, int value)
{
    VyGameRules& rules = m_game.GetRules();
    if (command == VyNumberOf(VyGameCommand::GAME_STATE))
        return rules.AdoptPeerState(VyGameStateFromNumber(value).value_or(VyGameState::NO_OPPONENT));
    if (command != VyNumberOf(VyGameCommand::OFFER_NEW_GAME))
        return;
    // The peer's game is over: the last half-move, still moving here, ends now as it did there.
    rules.CompleteHalfMoveNow();
    if (!rules.IsGameOver())
        return SendGameState();
    HideWaitBox();
    m_game.ShowQuestion(rules.GetPlayer2Name() + OFFER_TEXT);
    m_bOfferPending = true;
}

void VyNetworkGame::AnswerPlayAgain(int button)
{
    if (button != VY_IDYES)
    {
        m_bOfferPending = false;
        return CloseConnection();
    }
    if (!IsConnected())
        return;
    VyGameRules& rules = m_game.GetRules();
    Send(VyGameMsg::NewGameOffer());
    rules.OfferNewGame();
    rules.NewGame();
    rules.ShowWaitingForPeer();
    if (m_bOfferPending)
        SendGameState();
    m_bOfferPending = false;
}
