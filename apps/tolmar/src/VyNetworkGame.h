#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "VyChatSender.h"
#include "VyGameTypes.h"
#include "vyio/VyListenSocket.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyPostBox.h"
#include "vythread/VyThread.h"

class VyAddressCall;
class VyDialog;
class VyGameSettings;
class VyGameSocket;
class VyGameWnd;
class VyMsgBox;
class VySocketMsg;

// Where Join and Serve take their values from: the join or start dialog (the menu), or what the
// command line gave, with Tolmar.cfg for what it left out (no dialog is shown).
enum class VyNetworkAsk
{
    DIALOGS,
    GIVEN_VALUES,
};

// What the command line gave for a network game; what is missing comes from Tolmar.cfg.
struct VyNetworkValues
{
    VyString host;                  // Join: the host to join
    std::optional<int> port;        // else [Network] PortNumber (7)
    std::optional<VyString> name;   // else the local player's name as held
};

// The game window's side of network play: serving or joining, the waiting boxes, the connection and
// the messages of the game's protocol, another game against the same opponent, the chat's sender.
//
// The flow (each step on the window thread; only the blocking calls run elsewhere):
//
//   step                         box shown                          on                 next
//   Join: previous call running  202 "Network" ... [Kill]           it ends / Kill     join dialog
//   Join: dialog OK              201 "Client" "Trying to connect"   CONNECTED          connected
//                                                                   connect failed     "Error" box (not
//                                                                                      after Cancel)
//   Serve: dialog OK             201 "Server" "Waiting for someone  CONNECTED          connected
//                                to join"
//   201 Cancel                   -                                  sockets closed     idle, no box
//   connected                    -   name sent, "Connected to " + address in the title
//   peer's name                  -   new game, state 1 sent; the peer's state decides the start
//   game over, Yes               -   offer sent, new game; the peer's answer decides the start
//   peer's offer after the end   question 203 "<name> has offered ..." Yes: offer + state sent
//                                (a last half-move still moving here is completed first: the offer
//                                says the peer's game is over)
//   No to either question        -   connection closed
//   connection lost or closed    "You have been disconnected."      -                  idle (state 7)
//                                (a half-move still moving is completed first: a last move the peer
//                                sent before it closed ends the game here as it did there)
//   not our peer / wrong version "Network Error" box, then as for a lost connection
//
// Threads. The network thread runs one call at a time (VyConnectCall, VyAddressCall); the served port
// has its accept thread and the connection its receive and writer threads. They report by posting:
// only this thread touches windows. Every connection gets a serial number; reports of a connection
// given up (another Join or Serve, Kill) are dropped by it. Kill lets go of a call blocked in a name
// look-up, which then ends on its own without reaching this object (its post box is detached).
//
// Failures are shown in boxes ("Error" with the system's text, "Network Error", "Network"); none
// ends the program or the game window. A peer's bytes never block this thread: sends are queued
// (VySocket), and a peer that lets too much wait is disconnected.
class VyNetworkGame : public VyMessageTarget, public VyChatSender
{
public:
    explicit VyNetworkGame(VyGameWnd& game);
    // Closes the connection and the served port, waits for the accept and receive threads, and lets a
    // network call still running go (it reports to nobody).
    ~VyNetworkGame() override;
    VyNetworkGame(const VyNetworkGame&) = delete;
    VyNetworkGame& operator=(const VyNetworkGame&) = delete;

    // Join a served game (the rules' opponent is NETWORK_SERVER) / serve one (NETWORK_CLIENT). False
    // when the player cancelled a dialog or serving failed (the failure shown); the opponent kind then
    // stays chosen with no game. The caller has closed the earlier connection.
    bool Join(VyNetworkAsk ask, const VyNetworkValues& values);
    bool Serve(VyNetworkAsk ask, const VyNetworkValues& values);
    // Closes the connection and the served port; blocked calls fail at once. The connection's
    // closing is reported as usual ("You have been disconnected.").
    void CloseConnection();
    // The local player's answer to the end-of-game question or to the peer's offer.
    void AnswerPlayAgain(int button);

    // A connection is open (it may still be agreeing on the game).
    bool IsConnected() const;
    // The peer has offered another game and the question is on screen.
    bool IsOfferPending() const { return m_bOfferPending; }
    // The connection is open and holds bytes the system has not taken yet.
    bool HasUnsentBytes() const;
    // The local player's half-move to the peer (nothing without a connection).
    void SendMove(int piece, int square);
    // VyChatSender: a chat message to the peer; false when it could not go out.
    bool SendChat(const VyString& text) override;
    // The waiting box (201, 202) while it is shown, else null.
    VyMsgBox* GetWaitBox() const { return m_pWaitBox; }
    int GetWaitBoxId() const { return m_waitBoxId; }
    // Runs on the network thread before each connect: tests keep a connect waiting with it, as a
    // name look-up that takes long would.
    void SetConnectHold(std::function<void()> hold) { m_connectHold = std::move(hold); }
    // The port both sides use: [Network] PortNumber of Tolmar.cfg, 7 when absent or out of range.
    static int ReadPort(VyGameSettings& settings);
    // The "Error" text for a port that cannot be served; with the advice to choose a port above 1024
    // where the system keeps ports below unprivilegedStart for the administrator.
    static VyString ServeFailureText(VySocketFailure failure, const VyString& systemText, int unprivilegedStart);

    void HandleMessage(const VyMessage& msg) override;

    static constexpr int VY_WAIT_ID = 201;
    static constexpr int VY_KILL_ID = 202;
    static constexpr int VY_JOIN_DIALOG_ID = 200;
    static constexpr int VY_START_DIALOG_ID = 205;

private:
    bool WaitForPreviousCall();
    bool AskJoinValues(VyNetworkAsk ask, const VyNetworkValues& values, VyString& host);
    bool AskServeName(VyNetworkAsk ask, const VyNetworkValues& values);
    void ShowWaitBox(int id, const VyString& caption, const VyString& text, const VyString& button);
    void HideWaitBox();
    void ShowOptions();
    int PortFor();
    std::shared_ptr<VyGameSocket> NewConnection();
    void DropConnection();
    void GiveUpAttempt();
    void ReleaseRetired();
    bool IsCurrent(const VyMessage& msg) const;
    bool Send(const VySocketMsg& msg);

    void OnConnected();
    void OnConnectFailed();
    void OnClosed();
    // The served port closes once its connection ends (it turned later ones away meanwhile).
    void EndServing();
    void OnBadPeer(const VyString& text);
    void OnAddressFound();
    void OnBoxClosed(int boxId, int button);
    void OnDialogCommand(int dialogId, int control);
    void OnData();
    void HandleName(const VyString& name);
    void HandleMove(int piece, int square);
    void HandleGameCommand(int command, int value);
    void SendGameState();

    VyGameWnd& m_game;
    std::shared_ptr<VyPostBox> m_pPostBox;     // this object, for every thread that reports
    std::shared_ptr<VyGameSocket> m_pConnection; // also held by a connect call
    std::shared_ptr<std::atomic<bool>> m_pGivenUp; // the current attempt was given up
    // Connections given up while a connect call still holds them; each goes once the call let go.
    std::vector<std::shared_ptr<VyGameSocket>> m_retired;
    VyListenSocket m_listen;
    VyThread m_networkThread;
    std::shared_ptr<VyAddressCall> m_pAddressCall;
    VyDialog* m_pStartDialog = nullptr; // while the start dialog runs
    VyMsgBox* m_pWaitBox = nullptr;
    int m_waitBoxId = 0;
    bool m_bConnected = false; // the current connection came up and has not been reported closed
    bool m_bKilled = false;
    bool m_bOfferPending = false;
    std::optional<int> m_givenPort; // the command line's port, for this run only
    int m_serial = 0;               // the current connection's number
    std::function<void()> m_connectHold;
};
