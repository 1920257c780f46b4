#pragma once

#include <optional>

#include "vythread/VyMessageTarget.h"
#include "vythread/VyString.h"

class VyGameWnd;

// Whether an unattended run sends a chat line for each of its own half-moves.
enum class VyMoveChat
{
    NONE,
    EACH_MOVE,
};

// Plays games one after another with nobody at the machine (--games, --chat-each-move), beside the
// autoplayer that makes the moves (VyAutoPlayer). The game window tells it of each game's end, each
// question it shows, each own half-move it sends to the peer and each message box it would show.
//
// Answering. A question is answered from the queue by the Yes button's own command to the question
// box (what a click on Yes posts), so that the answer takes the player's path: the box closes, the
// game window hears of it (VyGameWnd::OnQuestionAnswer) and starts the next game, or in a network
// game hands it to VyNetworkGame::AnswerPlayAgain, which speaks the protocol.
//
// Who offers another network game. The serving side (the rules' opponent NETWORK_CLIENT) answers
// "play again?" with Yes, which sends the offer; the joining side leaves that question standing and
// accepts the offer when it arrives and replaces the question. So there is one offer at a time, and
// the exchange (offer; offer and state; state) runs as between two players who answer in turn. In a
// game against the computer or a second player at the machine "play again?" is always answered.
//
// The end. Each game that ends is counted once (by its position generation) and traced as
// "VyUnattendedRun : game 3 of 200 ended: <status line>". After the last one nothing more is answered
// and the program quits: at once, or in a network game once the connection has handed every queued
// byte to the system (at most QUIT_WAIT_MS), so that the last move and chat line reach the peer
// before the close. A peer that sees the close with the last half-move still moving completes it
// first (VyNetworkGame), so both sides count the same games.
//
// Failures. Nobody is there to answer a message box: a box the game window would show before the
// last game (a lost connection, a peer that is no Tolmar game, a port that cannot be served) ends the
// run instead, with "tolmar: the unattended run ends after 3 of 200 games: <the box's text>" on
// standard error and in the trace, and the program ends with status 1 (VyPlatform::QuitAfterFailure).
// After the last game such boxes are left out. Without a game count (chat lines only) boxes show as
// usual and nothing ends the program.
class VyUnattendedRun : public VyMessageTarget
{
public:
    // games: the games to play before the program quits; none for no limit (then questions are left
    // to the player as well).
    VyUnattendedRun(VyGameWnd& game, std::optional<int> games, VyMoveChat chat);
    ~VyUnattendedRun() override;
    VyUnattendedRun(const VyUnattendedRun&) = delete;
    VyUnattendedRun& operator=(const VyUnattendedRun&) = delete;

    // A game is over (the rules ask "play again?"); counted once per game.
    void GameEnded();
    // The question box was shown or replaced: it is looked at from the queue.
    void QuestionShown();
    // This side's half-move went to the peer: a choice (square -1) or a placement.
    void MoveSent(int piece, int square);
    // The game window would show a box that waits for OK. True when the run took care of it (the box
    // is not to be shown): it ended the run, or the run is over anyway.
    bool TakeMessageBox(const VyString& text);

    int GetFinishedGames() const { return m_finished; }
    // Chat lines handed to the chat sender.
    int GetChatLines() const { return m_chatLines; }
    // The last game has ended (or the run failed): the program is quitting.
    bool IsOver() const { return m_bOver; }

    void HandleMessage(const VyMessage& msg) override;

    static constexpr int MSG_ANSWER = 1301;
    static constexpr int MSG_CHAT = 1302; // param1 = piece, param2 = square
    static constexpr int VY_QUIT_TIMER = 1;
    static constexpr int QUIT_STEP_MS = 50;
    static constexpr int QUIT_WAIT_MS = 5000;

private:
    bool IsAnswering() const { return m_games.has_value() && !m_bOver; }
    bool ShouldAccept() const;
    void Answer();
    void SendMoveLine(int piece, int square);
    void Finish();
    void QuitWhenSent();
    VyString CountText() const;

    VyGameWnd& m_game;
    std::optional<int> m_games;
    VyMoveChat m_chat;
    int m_finished = 0;
    int m_countedGeneration = -1; // the position of the last game counted
    int m_ownMoves = 0;
    int m_chatLines = 0;
    int m_waitedMs = 0;
    bool m_bOver = false;
};
