#pragma once

#include <memory>
#include <vector>

#include "VyAutoPlayer.h"
#include "VyChatPanel.h"
#include "VyComputerPlayer.h"
#include "VyGameHost.h"
#include "VyGameRules.h"
#include "VyGameSettings.h"
#include "VyHintAnswer.h"
#include "VyNetworkGame.h"
#include "VyStartRequest.h"
#include "VyUnattendedRun.h"
#include "vyutil/VyTexture.h"
#include "vywindow/VyFrameWnd.h"

class VyChatSender;
class VyMessageLog;
class VyMsgBox;
class VyPiece;

// How SetOpponent was asked for: from the menu (the dialogs run), or by the answer Yes to "play again"
// and the command line (no dialogs; the names stay as they are).
enum class VyOpponentRequest
{
    FROM_MENU,
    WITHOUT_DIALOGS,
};

// The window the game is seen and played in: a child of the main window that holds the rules, the
// computer's worker and one VyPiece child window per piece, and implements VyGameHost for the rules.
//
// Drawing, back to front: the background colour above and right of the board, the board picture from
// (0, 0) to the set's board size, the highlighted square's outline (three pixels wide, in the square's
// colour), the hinted square's outline in VY_HINT_COLOR, the status line in white at the top left
// (with the computer's thinking dots, redrawn every 333 ms while it thinks); the pieces, the
// end-of-game question and other children over it; last, a ring in VY_HINT_COLOR around the hinted
// piece, over its neighbours. A hint shows while the position it was worked out for stands.
//
// Input:
//   mouse move            highlights the empty square under the mouse while a local human places
//   button release        places on the highlighted square
//   space                 the same (a piece with the focus chooses itself on space)
//   Tab, Shift+Tab        choosing: the focus to the previous (Shift: next) piece off the board;
//                         placing: the next (Shift: previous) empty square is highlighted
//   command 201..200+N    from a piece: chooses it
//   Return, Escape        the chat's (VyChatPanel): the chat line opens on Return and sends on the
//                         next, Escape closes it unsent
// The cursor is the busy cursor while a movement runs or the computer thinks.
//
// Over the board lies the message log (made first when the settings are read), in which chat lines
// and the connection's notices stand for 15 s; the chat line, the chat history and the Messages
// window are VyChatPanel's. Stacking order, back to front: pieces, log, end-of-game question,
// Messages window, chat line.
//
// The settings (VyGameSettings) are read when the window is created, and the piece set they name is
// loaded; once it has loaded, what the command line asked for (VyStartRequest) is done.
class VyGameWnd : public VyFrameWnd, public VyGameHost
{
public:
    VyGameWnd();
    ~VyGameWnd() override;

    VyGameRules& GetRules() { return m_rules; }
    const VyGameRules& GetRules() const { return m_rules; }
    VyGameSettings& GetSettings() { return *m_pSettings; }
    // The computer's decisions play player 1 from now on at level (the --autoplay option).
    void SetAutoPlay(VyLevel level);
    // From now on games are played unattended (--games, --chat-each-move; see VyUnattendedRun): the
    // questions are answered, and after games finished games the program quits.
    void SetUnattended(std::optional<int> games, VyMoveChat chat);
    // The unattended run, or null.
    const VyUnattendedRun* GetUnattended() const { return m_pUnattended.get(); }
    // The piece window of a piece index, or null.
    VyPiece* GetPiece(int piece) const;
    // The end-of-game question while it is shown, else null.
    VyMsgBox* GetQuestionBox() const { return m_pQuestion; }
    // What to do once the first set has loaded: the command line's request (before the window is
    // created).
    void SetStart(const VyStartRequest& start) { m_start = start; }
    // The display of set loads; none when not given.
    void SetLoadProgress(std::unique_ptr<VySetLoadProgress> pProgress) { m_pProgress = std::move(pProgress); }

    // Changes the opponent: asks first when a game is running ("Are you sure you want to quit your
    // current game?"); from the menu closes a network connection first. Then for a human opponent
    // from the menu runs the "New Game" names dialog and starts a game; for the network kinds runs
    // the join or start flow (VyNetworkGame; from the menu only: another network game is agreed with
    // the peer instead). False when the player said No or cancelled a dialog (the opponent kind is
    // then taken only in the second case, as the menu's item says), or serving failed.
    bool SetOpponent(VyOpponent kind, VyOpponentRequest request);
    // The command line's --join / --serve: the network flow with its values and no dialog.
    bool StartNetworkGame(VyOpponent kind, const VyNetworkValues& values);
    VyNetworkGame& GetNetwork() { return *m_pNetwork; }
    // The question box (203) beside the board with text, replacing one that is shown; its answer
    // plays again (or, in a network game, goes to the network flow). An unattended run is told.
    void ShowQuestion(const VyString& text);
    // Closes the question box unanswered, if it is shown.
    void CloseQuestion();
    void SetFirstPlayer(VyFirstPlayer firstPlayer);
    void SetMoveSpeed(float pixelsPerSecond);
    // Asks first when a game is running; true when the game may end (none runs, or Yes).
    bool ConfirmEndOfGame();
    // The player's choice of a piece set (Options > Piece Set): nothing for the set in use (any case);
    // otherwise asks first while a game is in play (ConfirmEndOfGame), then loads the set (the rules'
    // LoadSet: behind the progress display, a failure shown as a load error) and writes it into
    // Tolmar.cfg as [General] Set once it has arrived. False when nothing was loaded.
    bool ChangeSet(const VyString& name);
    // Load and Save through the file dialog; failures are shown ("Load Error", "Save Error").
    void LoadGameFromFile();
    void SaveGameToFile();
    // Loads a saved game from a path; failures and broken files are shown as for Load.
    void LoadGamePath(const VyString& path);

    // The chat of a network game. The connection gives its sender when it opens and null when it
    // closes (an open chat line then closes, unsent), before the sender goes: the window keeps no
    // other hold on it. Without one the chat line and SendChat do nothing.
    void SetChatSender(VyChatSender* pSender) { m_chat.SetSender(pSender); }
    // This side's line: sent, then shown in the log, kept in the history and listed by an open
    // Messages window; nothing without a sender or text, or when it could not be sent.
    void SendChat(const VyString& text) { m_chat.SendChat(text); }
    // A chat message's text from the other side, shown and kept as a sent line is.
    void ReceiveChat(const VyString& text) { m_chat.ReceiveChat(text); }
    // A notice of the connection, shown in the log alone: in the log's colours (its markup deciding),
    // or in color.
    void AddLogLine(const VyString& text);
    void AddLogLine(const VyString& text, const VyColor& color);
    // Command 223: the Expert works out the best move for the local human to act (VyGameRules::CanHint)
    // on the worker, under the Expert's budget. Nothing unless CanAskHint. The answer (MSG_HINT) is
    // shown for as long as the position stays: the square outlined in VY_HINT_COLOR when placing, a
    // ring of that colour around the piece to hand over when choosing; and the outlook goes into the
    // message log. An answer for a position that has changed meanwhile is dropped.
    void AskHint();
    // A hint may be asked for: the rules allow one and none is being worked out for this position.
    bool CanAskHint() const;
    // The hint shown for the current position, or none.
    std::optional<VyHintAnswer> GetShownHint() const;
    static constexpr uint32_t VY_HINT_COLOR = 0x20E0FF;
    static constexpr int HINT_RING = 3; // the width of the ring around a hinted piece

    // Command 222 and Return: the chat line, waiting until it closes. Command 221: the Messages window.
    void OpenChatLine() { m_chat.OpenChatLine(); }
    void CloseChatLine() { m_chat.CloseChatLine(); }
    void ShowMessages() { m_chat.ShowMessages(); }
    VyMessageLog* GetMessageLog() const { return m_chat.GetLog(); }
    const VyChatPanel& GetChat() const { return m_chat; }

    // VyWnd
    bool OnCreate() override;
    void HandleMessage(const VyMessage& msg) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnUnhandledKey(int key, int flags) override;
    bool FilterKey(int key, int flags) override;
    void UpdateCursor() override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void ReleaseTextures() override;

    // The square whose outline holds point (client coordinates), or NO_SQUARE.
    int SquareAt(VyPoint point) const;
    // Whether the pointer shows the busy cursor: a movement runs, the computer thinks, or a hint for
    // this position is being worked out (the player may still move meanwhile).
    bool IsBusy() const;

    // VyGameHost
    void MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style) override;
    void PlacePieceAt(int piece, VyPoint target) override;
    void Restack() override;
    void SetPieceInput(int piece, VyPieceInput input) override;
    void SetPieceImage(int piece, VyPieceImage image) override;
    void StatusChanged() override;
    void RefreshHighlight() override;
    void AskPlayAgain() override;
    bool IsNetworkConnected() const override;
    void SendMove(int piece, int square) override;
    void StorePlayerName(VyPlayer player, const VyString& name) override;
    void FocusGameWindow() override;
    void WakeComputer(const VyComputerPosition& position) override;
    // Tells the worker, so that an Expert search on an older position ends at its next check.
    void PositionGenerationChanged(int generation) override;
    void SetBusy(bool busy) override;
    VyMessageTarget* GetMessageTarget() override { return this; }
    VySetLoadProgress* GetSetLoadProgress() override { return m_pProgress.get(); }
    void PieceSetChanged() override;
    // Modal; in an unattended run with a game count the run takes the box instead (it ends the run).
    void ShowMessageBox(const VyString& text, const VyString& caption) override;
    void DeleteGameSettings() override;
    void ShowFatalError(const VyString& text) override;

    static constexpr int VY_QUESTION_ID = 203;
    // The result of a question box closed by the program (no button has it).
    static constexpr int VY_QUESTION_REPLACED = 0;
    // Posted to itself once the first set is in use: do what the command line asked for.
    static constexpr int MSG_GAME_START = 1007;
    static constexpr int VY_DOTS_TIMER = 2;
    static constexpr int VY_DOTS_STEP_MS = 333;

protected:
    void LayoutChildren() override;
    void DrawChildren(VyRenderContext& context) override;

private:
    void LoadSettings();
    void FillInNames();
    bool AskNames();
    bool StartNetworkFlow(VyOpponent kind, VyNetworkAsk ask, const VyNetworkValues& values);
    bool IsNetworkDialogMessage(const VyMessage& msg) const;
    void OnPieceCommand(int id);
    void OnQuestionAnswer(int button);
    void OnSetArrived();
    void DoStart();
    void StartNetworkFromCommandLine();
    bool StepPieceFocus(VyStep step);
    void UpdateDotsTimer();
    void DestroyPieces();
    void DrawBackgroundAndBoard(VyRenderContext& context, const VyRect& clientRect);
    void DrawHighlight(VyRenderContext& context, const VyRect& clientRect);
    void DrawStatus(VyRenderContext& context, const VyRect& clientRect);
    void DrawSquareHint(VyRenderContext& context, const VyRect& clientRect);
    void DrawPieceHint(VyRenderContext& context, const VyRect& clientRect);
    void DrawSquareOutline(VyRenderContext& context, const VyRect& clientRect, int square, uint32_t color);
    void OnHint(const VyMessage& msg);

    // The display of set loads outlives the rules: their destructor waits for a load still running,
    // which reports through it to the end.
    std::unique_ptr<VySetLoadProgress> m_pProgress;
    VyString m_chosenSet; // the set ChangeSet loads, stored in the settings when it arrives
    VyGameRules m_rules;
    VyChatPanel m_chat{*this, m_rules};
    std::unique_ptr<VyGameSettings> m_pSettings;
    std::unique_ptr<VyComputerPlayer> m_pComputer;
    std::unique_ptr<VyAutoPlayer> m_pAutoPlayer; // --autoplay: the computer plays player 1
    std::unique_ptr<VyUnattendedRun> m_pUnattended; // --games, --chat-each-move; goes before the network
    std::unique_ptr<VyNetworkGame> m_pNetwork;  // goes first in the destructor: it uses the window
    std::vector<VyPiece*> m_pieces; // children, index = piece index
    VyMsgBox* m_pQuestion = nullptr;
    VyTexture m_board;
    bool m_bBoardMade = false;
    VyPoint m_mouse{-1, -1};
    bool m_bMouseInside = false;
    bool m_bBusy = false;
    VyStartRequest m_start;
    bool m_bStartDone = false;
    bool m_bSetDrawnReported = false;
    int m_hintAskedGeneration = -1; // the position a hint is being worked out for, -1 for none
    int m_hintGeneration = -1;      // the position the shown hint belongs to, -1 for none
    VyHintAnswer m_hint;
};
