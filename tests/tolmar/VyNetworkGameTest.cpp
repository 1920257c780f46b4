#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "VyGameWndTestSupport.h"
#include "VyMessageLog.h"
#include "VyNetworkGame.h"
#include "VyUnattendedRun.h"
#include "VyOrdinaryUser.h"
#include "VyRawPeer.h"
#include "WireTestSupport.h"
#include "vycontrol/VyLabel.h"
#include "vyio/VyListenSocket.h"

namespace
{
// Answers every modal message box or dialog that comes up on top with OK, or with the buttons a test
// queued, and keeps the texts it saw ("dialog <id>" for a dialog). It looks once a timer tick, so it
// also answers boxes that a network event opens inside a nested wait.
class VyBoxAnswerer : public VyMessageTarget
{
public:
    explicit VyBoxAnswerer(VyMainWnd& main) : m_main(main) { VyMessageTarget::SetTimer(this, 1, 50); }
    ~VyBoxAnswerer() override { VyMessageTarget::KillTimers(this); }

    void Queue(int button) { m_buttons.push_back(button); }
    // A dialog is answered only once ready says so (it may wait for a text to arrive).
    void SetReady(std::function<bool(VyDialog&)> ready) { m_ready = std::move(ready); }
    const std::vector<std::string>& Texts() const { return m_texts; }
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id != VY_MSG_TIMER)
            return;
        auto* pDialog = dynamic_cast<VyDialog*>(m_main.GetModal());
        if (pDialog == nullptr || !pDialog->IsCreated() || (m_ready && !m_ready(*pDialog)))
            return;
        const auto* pBox = dynamic_cast<const VyMsgBox*>(pDialog);
        m_texts.push_back(pBox != nullptr ? pBox->GetControlText(VyMsgBox::VY_TEXT_ID).c_str()
                                          : "dialog " + std::to_string(pDialog->GetDialogId()));
        int button = VY_IDOK;
        if (!m_buttons.empty())
        {
            button = m_buttons.front();
            m_buttons.erase(m_buttons.begin());
        }
        pDialog->Close(button);
    }

private:
    VyMainWnd& m_main;
    std::vector<int> m_buttons;
    std::vector<std::string> m_texts;
    std::function<bool(VyDialog&)> m_ready;
};

// A port nothing serves right now.
int FreePort()
{
    VyRawPeer probe;
    return probe.Serve();
}
} // namespace

// The game window against a peer that speaks the protocol in raw bytes on 127.0.0.1.
class VyNetworkGameTest : public VyGameWndTest
{
protected:
    void WriteSettings() override
    {
        m_dir.Put("Tolmar.cfg", "[General]\nMovement Speed=-1\nPlayer1=Bob\n");
    }
    void TearDown() override
    {
        m_pAnswerer.reset();
        VyGameWndTest::TearDown();
    }

    VyNetworkGame& Network() { return m_pGame->GetNetwork(); }
    VyBoxAnswerer& Answerer()
    {
        if (!m_pAnswerer)
            m_pAnswerer = std::make_unique<VyBoxAnswerer>(*m_pMain);
        return *m_pAnswerer;
    }

    // This side joins the peer, which serves; returns once the peer holds the connection.
    void JoinPeer()
    {
        const int port = m_peer.Serve();
        ASSERT_NE(port, 0);
        VyNetworkValues values;
        values.host = "127.0.0.1";
        values.port = port;
        ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
        WaitFor([this] { return m_peer.TryAccept(); });
    }
    // This side serves a free port and the peer joins it.
    void ServeForPeer()
    {
        VyNetworkValues values;
        values.port = FreePort();
        ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_CLIENT, values));
        ASSERT_NE(Network().GetWaitBox(), nullptr);
        ASSERT_TRUE(m_peer.Connect(*values.port));
    }
    // Everything the game sent after its handshake, one line per message ("name Bob", "game 1 3").
    std::vector<std::string> SentByGame()
    {
        m_peer.Poll();
        const Bytes& bytes = m_peer.Received();
        if (bytes.size() < HANDSHAKE.size())
            return {};
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), HANDSHAKE);
        VyMsgDecoder decoder;
        std::vector<std::string> decoded;
        decoder.Feed(bytes.data(), bytes.size());
        Drain(decoder, decoded);
        return decoded;
    }
    void WaitForSent(size_t count)
    {
        WaitFor([&] { return SentByGame().size() >= count; });
    }
    // The peer's part of coming up: its handshake and name, then the state it plays from.
    void PeerIntroduces(const Bytes& state)
    {
        m_peer.Send(HANDSHAKE + NAME_ANN);
        WaitForSent(2); // our name, and our state in answer to Ann's
        m_peer.Send(state);
        WaitFor([this] { return Rules().GetPlayer2Name() == "Ann" && !Rules().IsAwaitingPeerStart(); });
    }
    // Plays until someone wins or the board is full: this side by clicks, Ann by the first free piece
    // and square.
    void PlayAgainstAnn()
    {
        for (int turn = 0; turn < 40 && !Rules().IsGameOver(); ++turn)
        {
            Settle();
            const VyGameState before = Rules().GetState();
            if (Rules().IsHumanChoosing())
                ChoosePieceByClick(FirstFreePiece());
            else if (Rules().IsHumanPlacing())
                PlaceByClick(FirstEmptySquare());
            else if (before == VyGameState::PLAYER2_PLACES)
                m_peer.Send(VyMoveMsg(Rules().GetCurrentPiece(), FirstEmptySquare()).Encode());
            else if (before == VyGameState::PLAYER2_CHOOSES)
                m_peer.Send(VyMoveMsg(FirstFreePiece(), -1).Encode());
            WaitFor([&] { return Rules().GetState() != before || Rules().IsGameOver(); });
        }
        ASSERT_TRUE(Rules().IsGameOver());
        ASSERT_NE(m_pGame->GetQuestionBox(), nullptr);
    }
    bool IsAnnsTurn()
    {
        const VyGameState state = Rules().GetState();
        return !Rules().IsMoving() && !Rules().IsAwaitingPeerStart() &&
               (state == VyGameState::PLAYER2_PLACES || state == VyGameState::PLAYER2_CHOOSES);
    }
    // Ann's half-move as PlayAgainstAnn makes it: the first empty square, the first free piece.
    void AnnMoves()
    {
        const int generation = Rules().GetPositionGeneration();
        if (Rules().GetState() == VyGameState::PLAYER2_PLACES)
            m_peer.Send(VyMoveMsg(Rules().GetCurrentPiece(), FirstEmptySquare()).Encode());
        else
            m_peer.Send(VyMoveMsg(FirstFreePiece(), -1).Encode());
        WaitFor([&] { return Rules().GetPositionGeneration() != generation; });
    }
    // Against the unattended side (its autoplayer makes this side's half-moves): Ann moves whenever it
    // is her turn, until the run has counted games finished games.
    void AnnPlaysUntilFinished(int games)
    {
        const VyUnattendedRun& run = *m_pGame->GetUnattended();
        for (int turn = 0; turn < 40 && run.GetFinishedGames() < games; ++turn)
        {
            WaitFor([&] { return run.GetFinishedGames() >= games || IsAnnsTurn(); });
            if (run.GetFinishedGames() < games)
                AnnMoves();
        }
        ASSERT_EQ(run.GetFinishedGames(), games);
    }
    // Whether placing the current piece on square ends the game: a line, or the board full.
    bool EndsTheGame(int square) const
    {
        std::vector<VySquare> squares = m_pGame->GetRules().GetSquares();
        squares[static_cast<size_t>(square)].piece = m_pGame->GetRules().GetCurrentPiece();
        int combination = -1;
        VyString value;
        const bool bFull = std::none_of(squares.begin(), squares.end(), [](const VySquare& s) { return s.piece < 0; });
        return bFull || m_pGame->GetRules().CheckWin(squares, combination, value);
    }
    // Plays as PlayAgainstAnn does (this side by clicks) up to Ann's placement that would end the
    // game, and stops before it; false when the game ended on another half-move.
    bool PlayUpToAnnsLastPlacement()
    {
        for (int turn = 0; turn < 40 && !Rules().IsGameOver(); ++turn)
        {
            Settle();
            if (Rules().GetState() == VyGameState::PLAYER2_PLACES && EndsTheGame(FirstEmptySquare()))
                return true;
            const VyGameState before = Rules().GetState();
            if (Rules().IsHumanChoosing())
                ChoosePieceByClick(FirstFreePiece());
            else if (Rules().IsHumanPlacing())
                PlaceByClick(FirstEmptySquare());
            else
                AnnMoves();
            WaitFor([&] { return Rules().GetState() != before || Rules().IsGameOver(); });
        }
        return false;
    }
    // Ann's last placement, slow enough here that it is still moving when what follows arrives.
    void AnnPlacesTheLastPieceSlowly()
    {
        Rules().SetMoveSpeed(20.0f); // the rules alone: the settings file outlives the test in its cache
        m_peer.Send(VyMoveMsg(Rules().GetCurrentPiece(), FirstEmptySquare()).Encode());
        WaitFor([this] { return Rules().IsMoving(); });
    }
    static size_t CountOf(const std::vector<std::string>& lines, const std::string& start)
    {
        return static_cast<size_t>(std::count_if(lines.begin(), lines.end(),
                                                 [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
    }
    static Bytes GameState(int state) { return VyGameMsg(1, state).Encode(); }
    static Bytes Offer() { return VyGameMsg::NewGameOffer().Encode(); }
    void WaitForBoxes(size_t count)
    {
        WaitFor([&] { return Answerer().Texts().size() >= count; });
    }

    VyRawPeer m_peer;
    std::unique_ptr<VyBoxAnswerer> m_pAnswerer;
};

// ---- the protocol ---------------------------------------------------------------------------------

TEST_F(VyNetworkGameTest, JoiningSendsTheHandshakeAndNameAndPlaysTheExampleMovesByteForByte)
{
    JoinPeer();
    WaitFor([this] { return m_peer.Poll() && m_peer.Received().size() >= 8; });
    const Bytes bob = VyNameMsg("Bob").Encode();
    WaitFor([&] { return m_peer.Poll() && m_peer.Received().size() >= 8 + bob.size(); });
    EXPECT_EQ(m_peer.Received(), HANDSHAKE + bob) << "the handshake first, then the name, nothing else yet";
    EXPECT_TRUE(m_pGame->IsNetworkConnected());
    EXPECT_TRUE(UpdatedItem(*m_pMain, 222).IsEnabled()) << "Chat";
    EXPECT_FALSE(UpdatedItem(*m_pMain, 213).IsEnabled()) << "Load would take this side's board apart from the peer's";
    EXPECT_NE(Platform().GetTitle().find(" - Connected to 127.0.0.1"), VyString::npos) << Platform().GetTitle();
    EXPECT_EQ(Network().GetWaitBox(), nullptr) << "the connecting box goes once connected";

    // Ann serves with her First Player set to Player 2 (state 3): this side begins, choosing.
    m_peer.Send(HANDSHAKE + NAME_ANN);
    WaitForSent(2);
    EXPECT_EQ(SentByGame()[1], "game 1 1");
    EXPECT_EQ(Rules().GetPlayer2Name(), "Ann");
    EXPECT_EQ(Rules().GetStatus(), "Waiting for Ann...");
    m_peer.Send(GameState(3));
    WaitFor([this] { return Rules().GetState() == VyGameState::PLAYER1_CHOOSES && !Rules().IsAwaitingPeerStart(); });

    // This side chooses piece 6; Ann places it and hands over piece 5 (the examples' bytes); this
    // side places piece 5 on square 10 and the peer reads exactly the example's bytes.
    ChoosePieceByClick(6);
    Settle();
    WaitForSent(3);
    EXPECT_EQ(SentByGame()[2], "move 6 -1");
    m_peer.Send(VyMoveMsg(6, 0).Encode() + PIECE_5_CHOSEN);
    WaitFor([this] { return Rules().GetState() == VyGameState::PLAYER1_PLACES; });
    EXPECT_EQ(Rules().GetSquares()[0].piece, 6);
    EXPECT_EQ(Rules().GetCurrentPiece(), 5);
    const size_t before = m_peer.Received().size();
    PlaceByClick(10);
    Settle();
    WaitFor([&] { return m_peer.Poll() && m_peer.Received().size() >= before + PIECE_5_ON_SQUARE_10.size(); });
    EXPECT_EQ(Bytes(m_peer.Received().begin() + static_cast<long>(before), m_peer.Received().end()),
              PIECE_5_ON_SQUARE_10);
    EXPECT_EQ(Rules().GetSquares()[10].piece, 5);
}

TEST_F(VyNetworkGameTest, ServingGreetsTheJoiningPeerAndKeepsItsOwnStart)
{
    m_pGame->SetFirstPlayer(VyFirstPlayer::PLAYER2);
    ServeForPeer();
    WaitForSent(1);
    EXPECT_EQ(SentByGame()[0], "name Bob");
    EXPECT_EQ(Network().GetWaitBox(), nullptr);
    // The peer's name arrives in one segment with a command of its own (state 1): this side's state
    // stays its own (3: the joining player chooses), and a state answers the name.
    m_peer.Send(HANDSHAKE + NAME_ANN + GameState(1));
    WaitFor([this] { return Rules().GetPlayer2Name() == "Ann" && !Rules().IsAwaitingPeerStart(); });
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_CHOOSES);
    WaitForSent(2);
    EXPECT_EQ(SentByGame(), (std::vector<std::string>{"name Bob", "game 1 3"}));
    const VyMessageLog* pLog = m_pGame->GetMessageLog();
    ASSERT_NE(pLog, nullptr);
    ASSERT_GT(pLog->GetLineCount(), 0);
    EXPECT_EQ(pLog->GetLine(pLog->GetLineCount() - 1)->GetText(), "Ann has successfully joined the game from 127.0.0.1.\n");

    // Ann's choice, split over single-byte writes, then an unknown type code before her chat line.
    m_peer.SendByteByByte(PIECE_5_CHOSEN);
    WaitFor([this] { return Rules().GetState() == VyGameState::PLAYER1_PLACES; });
    const Bytes unknown = {0x09, 0x00, 0x00, 0x00};
    m_peer.Send(unknown + VyChatMsg("hello <b>").Encode());
    WaitFor([this] { return !m_pGame->GetChat().GetHistory().GetLines().empty(); });
    EXPECT_EQ(m_pGame->GetChat().GetHistory().GetLines().back(), "<><green>Ann: <white>hello <<b>");
    m_pGame->SendChat("hi Ann");
    WaitForSent(3);
    EXPECT_EQ(SentByGame()[2], "chat hi Ann");
}

// Strangers on the served port during a game are turned away at once and change nothing; once the
// game's connection ends, the port is no longer served.
TEST_F(VyNetworkGameTest, WhileServingAGameStrangersAreTurnedAwayAndThePortClosesWithTheConnection)
{
    Answerer();
    VyNetworkValues values;
    values.port = FreePort();
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_CLIENT, values));
    ASSERT_TRUE(m_peer.Connect(*values.port));
    m_peer.Send(HANDSHAKE + NAME_ANN);
    WaitFor([this] { return Rules().GetPlayer2Name() == "Ann"; });
    for (int i = 0; i < 3; ++i)
    {
        VyRawPeer stranger;
        ASSERT_TRUE(stranger.Connect(*values.port)) << i;
        stranger.Send(HANDSHAKE + NAME_ANN);
        WaitFor([&stranger] { return stranger.IsClosedByOther(); });
        EXPECT_TRUE(stranger.Received().empty()) << "a stranger is told nothing";
    }
    m_pGame->SendChat("still here");
    WaitForSent(3);
    EXPECT_EQ(SentByGame()[2], "chat still here");
    EXPECT_TRUE(m_pGame->IsNetworkConnected());

    m_peer.CloseConnection();
    WaitForBoxes(1);
    EXPECT_EQ(Answerer().Texts()[0], "You have been disconnected.");
    VyRawPeer late;
    EXPECT_FALSE(late.Connect(*values.port)) << "the port is no longer served";
}

TEST_F(VyNetworkGameTest, APeerMoveThatArrivesDuringAMovementIsAppliedAndTheBoardsAgree)
{
    JoinPeer();
    PeerIntroduces(GameState(3)); // this side chooses first
    m_pGame->SetMoveSpeed(150.0f); // slow: the choice is still moving when Ann's placement comes
    ChoosePieceByClick(2);
    ASSERT_TRUE(Rules().IsMoving());
    WaitForSent(3);
    m_peer.Send(VyMoveMsg(2, 7).Encode() + VyMoveMsg(9, -1).Encode());
    WaitFor([this] { return Rules().GetCurrentPiece() == 9; });
    Settle();
    // What Ann did is what this side shows: piece 2 on square 7, piece 9 to be placed here.
    EXPECT_EQ(Rules().GetSquares()[7].piece, 2);
    EXPECT_EQ(Rules().GetHistory(), (std::vector<int>{2}));
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
    const VyRect onSquare = m_pGame->GetPiece(2)->RectForAnchor(Rules().GetSquares()[7].center);
    EXPECT_EQ(m_pGame->GetPiece(2)->GetRect().left, onSquare.left);
    // Moves that name nothing, or come out of turn, change nothing.
    m_peer.Send(VyMoveMsg(99, 3).Encode() + VyMoveMsg(9, 99).Encode() + VyMoveMsg(4, -1).Encode());
    m_peer.Send(VyChatMsg("sync").Encode());
    WaitFor([this] { return !m_pGame->GetChat().GetHistory().GetLines().empty(); });
    EXPECT_EQ(Rules().GetHistory(), (std::vector<int>{2}));
    EXPECT_EQ(Rules().GetCurrentPiece(), 9);
}

// ---- a peer that breaks the rules --------------------------------------------------------------

TEST_F(VyNetworkGameTest, AForeignPeerAndAWrongVersionEndInTheirBoxesThenTheDisconnectedBox)
{
    Answerer();
    JoinPeer();
    m_peer.Send(std::string("GET / HTTP/1.0\r\n\r\n"));
    WaitForBoxes(2);
    EXPECT_EQ(Answerer().Texts()[0], "The network connection was not to another Tolmar game.");
    EXPECT_EQ(Answerer().Texts()[1], "You have been disconnected.");
    EXPECT_EQ(Rules().GetState(), VyGameState::NO_OPPONENT);
    EXPECT_FALSE(m_pGame->IsNetworkConnected());
    WaitFor([this] { return m_peer.IsClosedByOther(); });

    VyRawPeer second;
    const int port = second.Serve();
    VyNetworkValues values;
    values.host = "127.0.0.1";
    values.port = port;
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
    WaitFor([&] { return second.TryAccept(); });
    second.Send(Bytes{0x78, 0x34, 0x56, 0x12, 0x02, 0x00, 0x01, 0x00});
    WaitForBoxes(4);
    EXPECT_EQ(Answerer().Texts()[2],
              "It appears that you have successfully connected to another Tolmar game, but it's the wrong version.");
    EXPECT_EQ(Answerer().Texts()[3], "You have been disconnected.");
}

TEST_F(VyNetworkGameTest, ABadMessageVersionOrAnOversizedNameClosesTheConnection)
{
    Answerer();
    JoinPeer();
    Bytes badVersion = VyNameMsg("Ann").Encode();
    badVersion[8] = 1; // m_msgVersion 1
    m_peer.Send(HANDSHAKE + badVersion);
    WaitForBoxes(1);
    EXPECT_EQ(Answerer().Texts()[0], "You have been disconnected.");
    EXPECT_EQ(Rules().GetPlayer2Name(), "Player 2") << "nothing of the broken message was applied";

    VyRawPeer second;
    VyNetworkValues values;
    values.host = "127.0.0.1";
    values.port = second.Serve();
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
    WaitFor([&] { return second.TryAccept(); });
    // A name of 16 MiB announced by its 7-byte length prefix; the bytes never follow.
    const Bytes header = {0x01, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01};
    second.Send(HANDSHAKE + header);
    WaitForBoxes(2);
    EXPECT_EQ(Answerer().Texts()[1], "You have been disconnected.");
}

TEST_F(VyNetworkGameTest, APeerThatNeverReadsIsDisconnectedWhileTheWindowGoesOn)
{
    Answerer();
    JoinPeer();
    PeerIntroduces(GameState(3));
    m_peer.ShrinkReceiveBuffer();
    const VyString line(60000, 'x');
    int rounds = 0;
    // Each line is queued at once; the queue overflows long before the window could be held up.
    while (m_pGame->IsNetworkConnected() && rounds < 2000)
    {
        m_pGame->SendChat(line);
        Tick();
        ++rounds;
    }
    EXPECT_LT(rounds, 2000);
    WaitForBoxes(1);
    EXPECT_EQ(Answerer().Texts()[0], "You have been disconnected.");
    EXPECT_EQ(Rules().GetState(), VyGameState::NO_OPPONENT);
}

// ---- the flow -------------------------------------------------------------------------------------

TEST_F(VyNetworkGameTest, TheMenuItemsRunTheJoinAndStartDialogsWithTheSettings)
{
    const int port = m_peer.Serve();
    m_pGame->GetSettings().SetServerAddress("127.0.0.1");
    m_pGame->GetSettings().SetPortText(std::to_string(port).c_str());
    VyString joinHost;
    VyString address;
    Answerer().SetReady([&](VyDialog& dialog) {
        if (dialog.GetDialogId() == VyNetworkGame::VY_JOIN_DIALOG_ID)
            joinHost = dialog.GetControlText(202);
        if (dialog.GetDialogId() != VyNetworkGame::VY_START_DIALOG_ID)
            return true;
        address = dialog.GetControlText(205);
        return address != "Getting computer address ...";
    });
    m_pMain->OnCommand(206); // Join: the dialog offers the last server; OK joins it at the set port
    EXPECT_EQ(joinHost, "127.0.0.1");
    WaitFor([this] { return m_peer.TryAccept(); });
    WaitFor([this] { return m_pGame->IsNetworkConnected(); });
    EXPECT_EQ(m_pGame->GetSettings().GetLastGame(), VyOpponent::NETWORK_SERVER);

    const int servedPort = FreePort();
    m_pGame->GetSettings().SetPortText(std::to_string(servedPort).c_str());
    m_pMain->OnCommand(207); // Start: the connection goes; the dialog shows where to find this side
    EXPECT_FALSE(address.empty());
    EXPECT_NE(address, "Getting computer address ...");
    ASSERT_NE(Network().GetWaitBox(), nullptr);
    EXPECT_EQ(Network().GetWaitBox()->GetControlText(VyMsgBox::VY_TEXT_ID), "Waiting for someone to join");
    EXPECT_EQ(m_pGame->GetSettings().GetLastGame(), VyOpponent::NETWORK_CLIENT);
    VyRawPeer joiner;
    ASSERT_TRUE(joiner.Connect(servedPort));
    WaitFor([this] { return m_pGame->IsNetworkConnected(); });
    WaitFor([this] { return m_peer.IsClosedByOther(); });
}

TEST_F(VyNetworkGameTest, ThePortComesFromTheSettingsAndIsSevenWithoutThem)
{
    EXPECT_EQ(VyNetworkGame::ReadPort(m_pGame->GetSettings()), 7);
    m_pGame->GetSettings().SetPortText("7001");
    EXPECT_EQ(VyNetworkGame::ReadPort(m_pGame->GetSettings()), 7001);
    for (const char* bad : {"0", "70000", "-5", "seven"})
    {
        m_pGame->GetSettings().SetPortText(bad);
        EXPECT_EQ(VyNetworkGame::ReadPort(m_pGame->GetSettings()), 7) << bad;
    }
}

TEST_F(VyNetworkGameTest, ServingAPortInUseShowsTheSystemsText)
{
    Answerer();
    VyRawPeer holder;
    VyNetworkValues values;
    values.port = holder.Serve();
    EXPECT_FALSE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_CLIENT, values));
    ASSERT_EQ(Answerer().Texts().size(), 1u);
    EXPECT_EQ(Answerer().Texts()[0], "Address already in use");
    EXPECT_EQ(Network().GetWaitBox(), nullptr);
}

TEST_F(VyNetworkGameTest, AnUnknownHostOrARefusedPortShowsTheReason)
{
    Answerer();
    VyNetworkValues values;
    values.host = "no-such-host.invalid";
    values.port = FreePort();
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
    ASSERT_NE(Network().GetWaitBox(), nullptr);
    EXPECT_EQ(Network().GetWaitBoxId(), VyNetworkGame::VY_WAIT_ID);
    WaitForBoxes(1);
    // Without a name server the system may say why it could not ask instead.
    EXPECT_FALSE(Answerer().Texts()[0].empty());
    EXPECT_EQ(Network().GetWaitBox(), nullptr);

    values.host = "127.0.0.1";
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
    WaitForBoxes(2);
    EXPECT_EQ(Answerer().Texts()[1], "Connection refused");
}

TEST_F(VyNetworkGameTest, TheIpv6LoopbackConnects)
{
    VySocket accepted; // outlives the server's accept thread
    VyListenSocket server;
    const int port = FreePort();
    if (!server.StartServer(port, &accepted))
        GTEST_SKIP() << "this machine serves no IPv6";
    VyNetworkValues values;
    values.host = "::1";
    values.port = port;
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
    WaitFor([this] { return m_pGame->IsNetworkConnected(); });
    // The joining side may report its connection before the accept thread has handed over its own.
    ASSERT_TRUE(server.WaitAcceptEnded(10000));
    EXPECT_EQ(accepted.GetPeerAddress(), "::1");
}

TEST_F(VyNetworkGameTest, CancellingTheWaitForAPlayerEndsServingWithoutABox)
{
    Answerer();
    VyNetworkValues values;
    values.port = FreePort();
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_CLIENT, values));
    VyMsgBox* pBox = Network().GetWaitBox();
    ASSERT_NE(pBox, nullptr);
    EXPECT_EQ(pBox->GetControlText(VyMsgBox::VY_TEXT_ID), "Waiting for someone to join");
    pBox->Close(VY_IDCANCEL);
    Dispatch();
    VyRawPeer late;
    EXPECT_FALSE(late.Connect(*values.port)) << "the port is no longer served";
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_TRUE(Answerer().Texts().empty());
    EXPECT_EQ(Network().GetWaitBox(), nullptr);
}

TEST_F(VyNetworkGameTest, JoiningWhileAConnectStillWaitsShowsTheKillBox)
{
    // The connect waits as a long name look-up would, until the test lets it go.
    auto pRelease = std::make_shared<std::atomic<bool>>(false);
    auto pEnded = std::make_shared<std::atomic<bool>>(false);
    Network().SetConnectHold([pRelease, pEnded] {
        while (!pRelease->load())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        pEnded->store(true);
    });
    VyNetworkValues values;
    values.host = "127.0.0.1";
    values.port = FreePort();
    ASSERT_TRUE(m_pGame->StartNetworkGame(VyOpponent::NETWORK_SERVER, values));
    // Join from the menu: the Kill box first (answered with Kill from the wait's own pump), then the
    // join dialog (cancelled).
    std::vector<std::string> waitTexts;
    auto previous = VyThread::SetEventPump([&](unsigned int) {
        VyMessageQueue::Current()->ProcessTimers();
        if (VyMsgBox* pBox = Network().GetWaitBox(); pBox != nullptr && Network().GetWaitBoxId() == 202)
        {
            waitTexts.push_back(pBox->GetControlText(VyMsgBox::VY_TEXT_ID).c_str());
            pBox->Close(2);
        }
    });
    Answerer().Queue(VY_IDCANCEL);
    EXPECT_FALSE(m_pGame->SetOpponent(VyOpponent::NETWORK_SERVER, VyOpponentRequest::FROM_MENU));
    VyThread::SetEventPump(previous);
    ASSERT_EQ(waitTexts.size(), 1u);
    EXPECT_EQ(waitTexts[0], "Waiting for previous network call to finish.  If this takes more than a "
                            "minute press the [Kill] button.");
    EXPECT_EQ(Answerer().Texts(), (std::vector<std::string>{"dialog 200"}));
    pRelease->store(true);
    WaitFor([&] { return pEnded->load(); });
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(Answerer().Texts().size(), 1u) << "the call let go reports nothing";
}

TEST_F(VyNetworkGameTest, ChoosingAnotherOpponentWhileConnectedClosesTheConnection)
{
    JoinPeer();
    PeerIntroduces(GameState(1));
    Answerer().Queue(VY_IDYES); // "Are you sure you want to quit your current game?"
    m_pMain->OnCommand(205);    // Human: the names dialog, answered with OK
    WaitFor([this] { return m_peer.IsClosedByOther(); });
    WaitFor([this] { return Answerer().Texts().size() >= 3; });
    EXPECT_EQ(Answerer().Texts()[0], "Are you sure you want to quit your current game?");
    // The names dialog, and over it (or after it) the connection's end.
    const std::vector<std::string>& texts = Answerer().Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "dialog 0"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "You have been disconnected."), texts.end());
    EXPECT_EQ(Rules().GetOpponent(), VyOpponent::HUMAN);
    EXPECT_TRUE(Rules().IsInPlay()) << "the new game goes on after the old connection's end";
}

TEST_F(VyNetworkGameTest, AnotherGameIsOfferedAndAcceptedEitherWayRound)
{
    JoinPeer();
    PeerIntroduces(GameState(3));
    PlayAgainstAnn();
    // Ann offers first: the question changes, and Yes sends the offer and this side's state.
    m_peer.Send(Offer());
    WaitFor([this] { return Network().IsOfferPending(); });
    EXPECT_EQ(m_pGame->GetQuestionBox()->GetControlText(VyMsgBox::VY_TEXT_ID),
              "Ann has offered to play another game.  Do you accept?\n");
    m_pGame->GetQuestionBox()->Close(VY_IDYES);
    WaitFor([this] { return !SentByGame().empty() && SentByGame().back() == "game 1 1"; });
    std::vector<std::string> sent = SentByGame();
    EXPECT_EQ(sent[sent.size() - 2], "game 2 -1");
    m_peer.Send(GameState(1)); // Ann's answer to the offer: her player 1 begins
    WaitFor([this] { return !Rules().IsAwaitingPeerStart(); });
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_CHOOSES);
    EXPECT_TRUE(Rules().GetHistory().empty());

    // This side says Yes first: only the offer goes; Ann's acceptance (offer, then her state) is
    // answered with this side's state, and her state decides the start.
    PlayAgainstAnn();
    m_pGame->GetQuestionBox()->Close(VY_IDYES);
    WaitFor([this] { return !SentByGame().empty() && SentByGame().back() == "game 2 -1"; });
    EXPECT_TRUE(Rules().IsAwaitingPeerStart());
    m_peer.Send(Offer() + GameState(3));
    WaitFor([this] { return !Rules().IsAwaitingPeerStart(); });
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);
    WaitFor([this] { return SentByGame().back() == "game 1 1"; });
}

// ---- the end of a game across the wire ------------------------------------------------------------

TEST_F(VyNetworkGameTest, AnOfferThatArrivesWhileTheLastHalfMoveStillMovesEndsThatGameFirst)
{
    JoinPeer();
    PeerIntroduces(GameState(1)); // Ann chooses first: hers is the last placement of the first row
    ASSERT_TRUE(PlayUpToAnnsLastPlacement());
    AnnPlacesTheLastPieceSlowly();
    m_peer.Send(Offer());
    WaitFor([this] { return Network().IsOfferPending(); });
    // The game ended here as it did on Ann's side, and the offer is the question.
    EXPECT_TRUE(Rules().IsGameOver());
    EXPECT_FALSE(Rules().IsMoving());
    EXPECT_EQ(m_pGame->GetQuestionBox()->GetControlText(VyMsgBox::VY_TEXT_ID),
              "Ann has offered to play another game.  Do you accept?\n");
    EXPECT_EQ(CountOf(SentByGame(), "game 1 "), 1u) << "no state in the middle of the last move";
}

TEST_F(VyNetworkGameTest, TheLastHalfMoveStillMovingWhenThePeerClosesEndsTheGameBeforeTheConnection)
{
    Answerer();
    m_pGame->SetUnattended(1, VyMoveChat::NONE); // counts the game; this side plays by clicks
    JoinPeer();
    PeerIntroduces(GameState(1));
    ASSERT_TRUE(PlayUpToAnnsLastPlacement());
    AnnPlacesTheLastPieceSlowly();
    m_peer.CloseConnection();
    WaitFor([this] { return Platform().IsQuitRequested(); });
    EXPECT_EQ(m_pGame->GetUnattended()->GetFinishedGames(), 1);
    EXPECT_FALSE(Platform().HasFailed()) << "the one game was played";
    EXPECT_TRUE(Answerer().Texts().empty()) << "an unattended run shows no box";
}

// ---- unattended games (--games, --chat-each-move) -------------------------------------------------

TEST_F(VyNetworkGameTest, UnattendedTheServingSideOffersEachGameChatsEachMoveAndQuitsAfterItsGames)
{
    Answerer();
    m_pGame->SetAutoPlay(VyLevel::EASY);
    m_pGame->SetUnattended(2, VyMoveChat::EACH_MOVE);
    ServeForPeer();
    m_peer.Send(HANDSHAKE + NAME_ANN + GameState(1));
    WaitFor([this] { return Rules().GetPlayer2Name() == "Ann" && !Rules().IsAwaitingPeerStart(); });
    AnnPlaysUntilFinished(1);
    // "Play again?" is answered Yes by itself: the offer goes out and the question is gone.
    WaitFor([this] { return CountOf(SentByGame(), "game 2 -1") == 1; });
    EXPECT_EQ(m_pGame->GetQuestionBox(), nullptr);
    EXPECT_TRUE(Rules().IsAwaitingPeerStart());
    EXPECT_FALSE(Platform().IsQuitRequested());
    m_peer.Send(Offer() + GameState(1)); // Ann accepts
    WaitFor([this] { return !Rules().IsAwaitingPeerStart(); });
    EXPECT_TRUE(Rules().GetHistory().empty());
    AnnPlaysUntilFinished(2);
    WaitFor([this] { return Platform().IsQuitRequested(); });
    EXPECT_FALSE(Platform().HasFailed());
    EXPECT_TRUE(Answerer().Texts().empty());

    // One offer for two games; each of this side's half-moves followed by its chat line.
    const size_t handed = static_cast<size_t>(m_pGame->GetUnattended()->GetChatLines());
    WaitFor([&] { return CountOf(SentByGame(), "chat ") == handed; });
    const std::vector<std::string> sent = SentByGame();
    EXPECT_EQ(CountOf(sent, "game 2 -1"), 1u);
    std::vector<std::string> moves;
    std::vector<std::string> lines;
    for (const std::string& line : sent)
    {
        if (line.rfind("move ", 0) == 0)
            moves.push_back(line);
        if (line.rfind("chat ", 0) == 0)
            lines.push_back(line);
    }
    ASSERT_GE(moves.size(), 8u);
    ASSERT_EQ(lines.size(), moves.size());
    for (size_t i = 0; i < moves.size(); ++i)
    {
        int piece = -1;
        int square = -2;
        ASSERT_EQ(std::sscanf(moves[i].c_str(), "move %d %d", &piece, &square), 2);
        const std::string expected =
            square < 0 ? "chat move " + std::to_string(i + 1) + ": piece " + std::to_string(piece) + " chosen"
                       : "chat move " + std::to_string(i + 1) + ": piece " + std::to_string(piece) + " on square " +
                             std::to_string(square);
        EXPECT_EQ(lines[i], expected);
    }
    EXPECT_EQ(m_pGame->GetChat().GetHistory().GetLines().size(), lines.size()) << "kept as typed lines are";
}

TEST_F(VyNetworkGameTest, UnattendedTheJoiningSideWaitsForTheOfferAcceptsItAndFailsOnALostConnection)
{
    Answerer();
    m_pGame->SetAutoPlay(VyLevel::BEGINNER);
    m_pGame->SetUnattended(3, VyMoveChat::NONE);
    JoinPeer();
    PeerIntroduces(GameState(3));
    AnnPlaysUntilFinished(1);
    // The serving side offers: "play again?" stands unanswered, and nothing is offered from here.
    for (int round = 0; round < 50; ++round)
        Tick();
    ASSERT_NE(m_pGame->GetQuestionBox(), nullptr);
    EXPECT_EQ(m_pGame->GetQuestionBox()->GetControlText(VyMsgBox::VY_TEXT_ID), "Would you like to play again?\n\n");
    EXPECT_EQ(CountOf(SentByGame(), "game 2 "), 0u);
    m_peer.Send(Offer());
    // Accepted as a click on Yes accepts: the offer back and this side's state.
    WaitFor([this] { return !SentByGame().empty() && SentByGame().back() == "game 1 1"; });
    std::vector<std::string> sent = SentByGame();
    EXPECT_EQ(sent[sent.size() - 2], "game 2 -1");
    EXPECT_EQ(m_pGame->GetQuestionBox(), nullptr);
    m_peer.Send(GameState(1));
    WaitFor([this] { return !Rules().IsAwaitingPeerStart(); });
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_CHOOSES);
    AnnPlaysUntilFinished(2);
    EXPECT_EQ(CountOf(SentByGame(), "chat "), 0u) << "no chat asked for";

    // Ann leaves before the third game: the run cannot go on, and ends the program as failed.
    m_peer.CloseConnection();
    WaitFor([this] { return Platform().IsQuitRequested(); });
    EXPECT_TRUE(Platform().HasFailed());
    EXPECT_TRUE(m_pGame->GetUnattended()->IsOver());
    EXPECT_TRUE(Answerer().Texts().empty()) << "the disconnected box is not left waiting for an answer";
}

TEST(VyNetworkServing, APrivilegedPortAsAnOrdinaryUserGetsTheAdvice)
{
    const VyString advice = VyNetworkGame::ServeFailureText(VySocketFailure::PrivilegedPort, "Permission denied", 1024);
    EXPECT_EQ(advice.find("Permission denied"), 0u);
    EXPECT_NE(advice.find("Options"), VyString::npos);
    EXPECT_EQ(VyNetworkGame::ServeFailureText(VySocketFailure::AddressInUse, "Address already in use", 1024),
              "Address already in use");
    if (VySocket::GetUnprivilegedPortStart() <= 7)
        GTEST_SKIP() << "this system lets everyone serve port 7";
    const int status = VyOrdinaryUser::Run([] {
        VySocket connection;
        VyListenSocket server;
        if (server.StartServer(7, &connection))
            return 1;
        const VyString text = VyNetworkGame::ServeFailureText(server.GetFailure(), server.GetErrorText(),
                                                              VySocket::GetUnprivilegedPortStart());
        return text.find("Options") != VyString::npos ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
}
