#include "VyGameWnd.h"

#include <algorithm>
#include <cmath>

#include "VyMessageLog.h"
#include "VyPiece.h"
#include "vyio/VyCaseBlindPath.h"
#include "vyio/VyFile.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyClock.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMsgBox.h"

namespace
{
constexpr int STATUS_FONT = 2;
constexpr int STATUS_MARGIN = 10;
constexpr uint32_t STATUS_COLOR = 0xFFFFFF;
constexpr const char* COMPUTER_NAME = "The computer"; // as the rules name it
constexpr const char* QUIT_QUESTION = "Are you sure you want to quit your current game?";

// The edge from a to b, at p.x: is p above it (sign 1) or below it (sign -1)?
bool IsOnSideOf(VyPoint a, VyPoint b, VyPoint p, int sign)
{
    if (a.x == b.x)
        return false;
    const int height = static_cast<int>(a.y + static_cast<double>(p.x - a.x) * (a.y - b.y) / (a.x - b.x));
    return sign > 0 ? p.y > height : p.y < height;
}

// Whether p lies inside the square's four-cornered outline.
bool SquareContains(const VySquare& square, VyPoint p)
{
    if (p.x < square.left.x || p.x >= square.right.x || p.y < square.bottom.y || p.y >= square.top.y)
        return false;
    return IsOnSideOf(square.left, square.top, p, -1) && IsOnSideOf(square.top, square.right, p, -1) &&
           IsOnSideOf(square.left, square.bottom, p, 1) && IsOnSideOf(square.bottom, square.right, p, 1);
}
} // namespace

VyGameWnd::VyGameWnd() : m_rules(*this)
{
    m_pComputer = std::make_unique<VyComputerPlayer>(this);
    m_pNetwork = std::make_unique<VyNetworkGame>(*this);
}

VyGameWnd::~VyGameWnd()
{
    m_pUnattended.reset();
    m_pNetwork.reset();
    VyMessageTarget::KillTimers(this);
}

VyPiece* VyGameWnd::GetPiece(int piece) const
{
    if (piece < 0 || piece >= static_cast<int>(m_pieces.size()))
        return nullptr;
    return m_pieces[static_cast<size_t>(piece)];
}

bool VyGameWnd::OnCreate()
{
    if (!VyFrameWnd::OnCreate())
        return false;
    LoadSettings();
    if (m_start.autoplay)
        SetAutoPlay(*m_start.autoplay);
    if (m_start.games || m_start.bChatEachMove)
        SetUnattended(m_start.games, m_start.bChatEachMove ? VyMoveChat::EACH_MOVE : VyMoveChat::NONE);
    return true;
}

void VyGameWnd::SetUnattended(std::optional<int> games, VyMoveChat chat)
{
    m_pUnattended = std::make_unique<VyUnattendedRun>(*this, games, chat);
}

void VyGameWnd::SetAutoPlay(VyLevel level)
{
    m_pAutoPlayer = std::make_unique<VyAutoPlayer>(m_rules, level);
    m_pAutoPlayer->Consider();
}

void VyGameWnd::LoadSettings()
{
    m_chat.CreateLog();
    m_pSettings = std::make_unique<VyGameSettings>();
    m_rules.SetMoveSpeed(m_pSettings->GetMoveSpeed());
    m_rules.SetExpertTime(m_pSettings->GetExpertTime());
    const VyOpponent lastGame = m_pSettings->GetLastGame();
    m_rules.SetFirstPlayer(m_pSettings->GetFirstPlayer(m_rules.GetFirstPlayer()));
    m_rules.SelectOpponent(lastGame);
    m_rules.LoadSet(m_pSettings->GetSetName());
}

// ---- choosing the game -------------------------------------------------------------------------

bool VyGameWnd::ConfirmEndOfGame()
{
    if (!m_rules.IsInPlay())
        return true;
    return VyMsgBox::Run(QUIT_QUESTION, "Tolmar", VY_MB_YESNO) == VY_IDYES;
}

bool VyGameWnd::ChangeSet(const VyString& name)
{
    if (VyCaseBlindPath::SameBlind(name, m_rules.GetSetName()) || !ConfirmEndOfGame())
        return false;
    CloseQuestion();
    m_chosenSet = name;
    m_rules.LoadSet(name);
    return true;
}

void VyGameWnd::FillInNames()
{
    for (VyPlayer player : {VyPlayer::PLAYER1, VyPlayer::PLAYER2})
    {
        const bool bFirst = player == VyPlayer::PLAYER1;
        const VyString& held = bFirst ? m_rules.GetPlayer1Name() : m_rules.GetPlayer2Name();
        // A name held stays; the computer's, left from a game against it, is no player's name.
        const bool bComputersName = !bFirst && held == COMPUTER_NAME && m_rules.GetOpponent() != VyOpponent::COMPUTER;
        if (!held.empty() && !bComputersName)
            continue;
        VyString name = m_pSettings->GetPlayerName(player);
        if (name.empty())
            name = bFirst ? "Player 1" : "Player 2";
        m_rules.SetPlayerName(player, name);
    }
}

// The "New Game" dialog with both names; false when it was cancelled.
bool VyGameWnd::AskNames()
{
    VyDialog* pDialog = VyDialog::Load("2player.dlg", 0);
    if (pDialog == nullptr)
        return false;
    pDialog->SetControlText(202, m_rules.GetPlayer1Name());
    pDialog->SetControlText(204, m_rules.GetPlayer2Name());
    const VyDialogResult result = pDialog->RunModal();
    if (result.result != VY_IDOK)
        return false;
    m_rules.SetPlayerName(VyPlayer::PLAYER1, result.GetText(202));
    m_rules.SetPlayerName(VyPlayer::PLAYER2, result.GetText(204));
    return true;
}

bool VyGameWnd::SetOpponent(VyOpponent kind, VyOpponentRequest request)
{
    const bool bNetwork = kind == VyOpponent::NETWORK_CLIENT || kind == VyOpponent::NETWORK_SERVER;
    if (bNetwork && request == VyOpponentRequest::WITHOUT_DIALOGS)
        return false; // another network game is agreed with the peer (VyNetworkGame::AnswerPlayAgain)
    if (!ConfirmEndOfGame())
        return false;
    CloseQuestion();
    if (request == VyOpponentRequest::FROM_MENU)
        m_pNetwork->CloseConnection();
    m_rules.SelectOpponent(kind);
    FillInNames();
    if (bNetwork)
        return StartNetworkFlow(kind, VyNetworkAsk::DIALOGS, {});
    if (kind == VyOpponent::HUMAN && request == VyOpponentRequest::FROM_MENU && !AskNames())
        return false;
    m_rules.StartGame();
    m_pSettings->SetLastGame(kind);
    return true;
}

bool VyGameWnd::StartNetworkGame(VyOpponent kind, const VyNetworkValues& values)
{
    if (kind != VyOpponent::NETWORK_CLIENT && kind != VyOpponent::NETWORK_SERVER)
        return false;
    CloseQuestion();
    m_pNetwork->CloseConnection();
    m_rules.SelectOpponent(kind);
    FillInNames();
    return StartNetworkFlow(kind, VyNetworkAsk::GIVEN_VALUES, values);
}

bool VyGameWnd::StartNetworkFlow(VyOpponent kind, VyNetworkAsk ask, const VyNetworkValues& values)
{
    // The opponent serves when this side joins.
    const bool bStarted =
        kind == VyOpponent::NETWORK_SERVER ? m_pNetwork->Join(ask, values) : m_pNetwork->Serve(ask, values);
    if (bStarted)
        m_pSettings->SetLastGame(kind);
    return bStarted;
}

void VyGameWnd::SetFirstPlayer(VyFirstPlayer firstPlayer)
{
    m_rules.SetFirstPlayer(firstPlayer);
    m_pSettings->SetFirstPlayer(firstPlayer);
}

void VyGameWnd::SetMoveSpeed(float pixelsPerSecond)
{
    m_rules.SetMoveSpeed(pixelsPerSecond);
    m_pSettings->SetMoveSpeed(pixelsPerSecond);
}

// ---- saved games -------------------------------------------------------------------------------

void VyGameWnd::LoadGamePath(const VyString& path)
{
    try
    {
        if (m_rules.LoadGameFile(path))
            Restack();
    }
    catch (VyException& error)
    {
        error.Report();
        ShowMessageBox(path + " is not a saved game Tolmar can read:\n\n" + error.GetMessage(), "Load Error");
    }
}

void VyGameWnd::LoadGameFromFile()
{
    VyString path;
    if (VyPlatform* pPlatform = VyPlatform::Get())
        if (pPlatform->AskFileName(VyFileDialogMode::OPEN, "tolmar.sav", path))
            LoadGamePath(path);
}

void VyGameWnd::SaveGameToFile()
{
    VyString path;
    if (VyPlatform* pPlatform = VyPlatform::Get())
        if (pPlatform->AskFileName(VyFileDialogMode::SAVE, "tolmar.sav", path))
            m_rules.SaveGameFile(path);
}

// ---- messages and input ------------------------------------------------------------------------

void VyGameWnd::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_COMMAND)
        return OnPieceCommand(msg.param1);
    if (msg.id == VY_MSG_TIMER && msg.param1 == VY_DOTS_TIMER)
        return UpdateDotsTimer();
    if (msg.id == VY_MSG_DIALOG_CLOSED && msg.param1 == VY_QUESTION_ID)
        return OnQuestionAnswer(msg.param2);
    if (IsNetworkDialogMessage(msg))
        return m_pNetwork->HandleMessage(msg);
    if (msg.id == MSG_GAME_START)
        return DoStart();
    if (msg.id == MSG_HINT)
        return OnHint(msg);
    if (m_chat.HandleMessage(msg))
        return Restack();
    if (m_rules.HandleMessage(msg))
        return;
    VyFrameWnd::HandleMessage(msg);
}

void VyGameWnd::OnPieceCommand(int id)
{
    const int piece = id - VyPiece::VY_FIRST_PIECE_ID;
    if (piece >= 0 && piece < m_rules.GetNumberOfPieces())
        m_rules.ChoosePiece(piece);
}

void VyGameWnd::OnQuestionAnswer(int button)
{
    if (m_pQuestion == nullptr || button == VY_QUESTION_REPLACED)
        return; // closed by the program: a new game, another question
    m_pQuestion = nullptr;
    if (m_rules.IsNetworked())
        return m_pNetwork->AnswerPlayAgain(button);
    if (button == VY_IDYES)
        SetOpponent(m_rules.GetOpponent(), VyOpponentRequest::WITHOUT_DIALOGS);
}

bool VyGameWnd::IsNetworkDialogMessage(const VyMessage& msg) const
{
    if (msg.id != VY_MSG_DIALOG_CLOSED && msg.id != VY_MSG_DIALOG_COMMAND)
        return false;
    for (int id : {VyNetworkGame::VY_JOIN_DIALOG_ID, VyNetworkGame::VY_WAIT_ID, VyNetworkGame::VY_KILL_ID,
                   VyNetworkGame::VY_START_DIALOG_ID})
        if (msg.param1 == id)
            return true;
    return false;
}

void VyGameWnd::OnMouseMoved(VyPoint point, int flags)
{
    VyFrameWnd::OnMouseMoved(point, flags);
    m_mouse = point;
    m_bMouseInside = true;
    RefreshHighlight();
}

void VyGameWnd::OnButtonReleased(VyPoint point, int flags)
{
    m_mouse = point;
    RefreshHighlight();
    if ((flags & VY_MOUSE_BUTTON_MASK) == VY_MOUSE_RIGHT && m_rules.GetHighlightedSquare() == NO_SQUARE)
        return VyFrameWnd::OnButtonReleased(point, flags); // the menus
    if (m_rules.PlaceOnHighlight())
        Invalidate();
}

void VyGameWnd::OnUnhandledKey(int key, int flags)
{
    if (key == ' ' && m_rules.PlaceOnHighlight())
        return Invalidate();
    VyFrameWnd::OnUnhandledKey(key, flags);
}

bool VyGameWnd::StepPieceFocus(VyStep step)
{
    VyMainWnd* pMain = VyMainWnd::Get();
    const auto* pFocus = pMain == nullptr ? nullptr : dynamic_cast<const VyPiece*>(pMain->GetFocus());
    const int from = pFocus != nullptr && pFocus->GetParent() == this ? pFocus->GetIndex() : INVALID_PIECE;
    VyPiece* pNext = GetPiece(m_rules.StepChoosablePiece(from, step));
    if (pNext == nullptr)
        return false;
    pMain->SetFocus(pNext);
    return true;
}

bool VyGameWnd::FilterKey(int key, int flags)
{
    if (!m_chat.FilterKey(key))
        return false;
    if (key != VY_KEY_TAB)
        return VyFrameWnd::FilterKey(key, flags);
    const bool bShift = (flags & VY_INPUT_SHIFT) != 0;
    if (m_rules.IsHumanChoosing())
        return !StepPieceFocus(bShift ? VyStep::NEXT : VyStep::PREVIOUS);
    if (m_rules.IsHumanPlacing() && !m_rules.IsMoving())
    {
        if (m_rules.StepHighlight(bShift ? VyStep::PREVIOUS : VyStep::NEXT))
            Invalidate();
        return false;
    }
    return VyFrameWnd::FilterKey(key, flags);
}

bool VyGameWnd::IsBusy() const
{
    return m_bBusy || m_rules.IsComputersTurn() || m_hintAskedGeneration == m_rules.GetPositionGeneration();
}

void VyGameWnd::UpdateCursor()
{
    VyMainWnd* pMain = VyMainWnd::Get();
    if (pMain != nullptr && IsBusy())
        return pMain->SetShownCursor(VY_CURSOR_WAIT);
    VyFrameWnd::UpdateCursor();
}

int VyGameWnd::SquareAt(VyPoint point) const
{
    const std::vector<VySquare>& squares = m_rules.GetSquares();
    for (size_t i = 0; i < squares.size(); ++i)
        if (squares[i].piece < 0 && SquareContains(squares[i], point))
            return static_cast<int>(i);
    return NO_SQUARE;
}

void VyGameWnd::LayoutChildren()
{
    VyFrameWnd::LayoutChildren();
    m_chat.PlaceLog();
}

// ---- chat --------------------------------------------------------------------------------------

void VyGameWnd::AddLogLine(const VyString& text)
{
    if (VyMessageLog* pLog = m_chat.GetLog())
        pLog->AddLine(text);
}

void VyGameWnd::AddLogLine(const VyString& text, const VyColor& color)
{
    if (VyMessageLog* pLog = m_chat.GetLog())
        pLog->AddLine(text, color);
}

// ---- hints -------------------------------------------------------------------------------------

bool VyGameWnd::CanAskHint() const
{
    return m_rules.CanHint() && m_hintAskedGeneration != m_rules.GetPositionGeneration();
}

void VyGameWnd::AskHint()
{
    if (!CanAskHint())
        return;
    m_hintAskedGeneration = m_rules.GetPositionGeneration();
    m_pComputer->AskHint(m_rules.TakeComputerPosition());
    UpdateCursor();
}

std::optional<VyHintAnswer> VyGameWnd::GetShownHint() const
{
    if (m_hintGeneration == -1 || m_hintGeneration != m_rules.GetPositionGeneration())
        return std::nullopt;
    return m_hint;
}

void VyGameWnd::OnHint(const VyMessage& msg)
{
    if (msg.param2 == m_hintAskedGeneration)
        m_hintAskedGeneration = -1;
    UpdateCursor();
    if (msg.param2 != m_rules.GetPositionGeneration() || !m_rules.CanHint())
        return; // the position changed meanwhile
    m_hint = VyHintAnswer::Unpack(msg.param1);
    m_hintGeneration = msg.param2;
    VyTrace::Write(VyString::Format("VyGameWnd : hint square %d piece %d, %s\n", m_hint.square, m_hint.piece,
                                    OutcomeName(m_hint.outcome)));
    AddLogLine(VyHintAnswer::OutlookText(m_hint.outcome));
    Invalidate();
}

// ---- drawing -----------------------------------------------------------------------------------

void VyGameWnd::ReleaseTextures()
{
    m_board = VyTexture();
    m_bBoardMade = false;
    VyFrameWnd::ReleaseTextures();
}

void VyGameWnd::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    DrawBackgroundAndBoard(context, clientRect);
    DrawHighlight(context, clientRect);
    DrawSquareHint(context, clientRect);
    DrawStatus(context, clientRect);
    if (!m_bSetDrawnReported && m_rules.GetSetImages() != nullptr)
    {
        // On the steady clock every process shares, so that a starter can measure the time to here.
        m_bSetDrawnReported = true;
        VyTrace::Write(VyString::Format("VyGameWnd : first frame with the set drawn at %llu us\n",
                                        static_cast<unsigned long long>(VyClock::Microseconds())));
    }
}

void VyGameWnd::DrawBackgroundAndBoard(VyRenderContext& context, const VyRect& clientRect)
{
    const std::shared_ptr<const VySetImages>& pImages = m_rules.GetSetImages();
    if (!m_bBoardMade && pImages != nullptr && !pImages->board.IsEmpty())
        m_board = context.MakeTextureHandle(*pImages->board.Image());
    m_bBoardMade = m_bBoardMade || pImages != nullptr;
    const VySize board = m_rules.GetBoardSize();
    const int x0 = clientRect.left;
    const int y0 = clientRect.bottom;
    context.SetBlending(false);
    context.SetTexturing(false);
    // Until a set is in use, a dark colour of the scheme, so that the white status line reads on it.
    context.SetColor(pImages != nullptr ? VyColor(pImages->background & 0xFFFFFF)
                                        : VyColor::FromSlot(DIALOG_ACTIVE_CAPTION_BACKGROUND));
    context.FillRect(VyRect{x0, clientRect.top, clientRect.right, y0 + std::max(board.cy, 0)});
    context.FillRect(VyRect{x0 + std::max(board.cx, 0), y0 + std::max(board.cy, 0), clientRect.right, y0});
    if (!m_board.IsValid() || board.cx <= 0 || board.cy <= 0)
        return;
    context.SetColor(VyColor(0xFFFFFF));
    context.SetTexturing(true);
    context.SelectTexture(m_board);
    context.DrawTexture(VyRect{x0, y0 + board.cy, x0 + board.cx, y0}, VyRect());
    context.SetTexturing(false);
}

void VyGameWnd::DrawHighlight(VyRenderContext& context, const VyRect& clientRect)
{
    const int square = m_rules.GetHighlightedSquare();
    if (square < 0 || square >= m_rules.GetNumberOfSquares())
        return;
    DrawSquareOutline(context, clientRect, square, m_rules.GetSquares()[static_cast<size_t>(square)].selectColor);
}

void VyGameWnd::DrawSquareOutline(VyRenderContext& context, const VyRect& clientRect, int square, uint32_t color)
{
    const VySquare& s = m_rules.GetSquares()[static_cast<size_t>(square)];
    const VyPoint origin{clientRect.left, clientRect.bottom};
    context.SetColor(VyColor(color & 0xFFFFFF));
    for (int grow : {0, 1, -1})
    {
        const VyPoint points[4] = {{origin.x + s.left.x - grow, origin.y + s.left.y},
                                   {origin.x + s.bottom.x, origin.y + s.bottom.y - grow},
                                   {origin.x + s.right.x + grow, origin.y + s.right.y},
                                   {origin.x + s.top.x, origin.y + s.top.y + grow}};
        context.DrawPolygon(points, 4, VyPolygonStyle::OUTLINE);
    }
}

// The hinted square inside the highlight's outline, so that both show when they fall together.
void VyGameWnd::DrawSquareHint(VyRenderContext& context, const VyRect& clientRect)
{
    const std::optional<VyHintAnswer> hint = GetShownHint();
    if (hint && m_rules.IsPlacing() && hint->square >= 0 && hint->square < m_rules.GetNumberOfSquares())
        DrawSquareOutline(context, clientRect, hint->square, VY_HINT_COLOR);
}

// The pieces stand close together and each window covers its neighbours' edges, so the ring goes
// over all the children, in the game window's clip.
void VyGameWnd::DrawChildren(VyRenderContext& context)
{
    const VyRect clip = context.GetClipRect();
    VyFrameWnd::DrawChildren(context);
    context.SetClipRect(clip);
    DrawPieceHint(context, GetClientRootRect());
}

// A band of HINT_RING pixels around the piece's shown pixels, kept inside the window so that all four
// sides show for a piece at its edge.
void VyGameWnd::DrawPieceHint(VyRenderContext& context, const VyRect& clientRect)
{
    const std::optional<VyHintAnswer> hint = GetShownHint();
    const VyPiece* pPiece = hint && m_rules.IsChoosing() ? GetPiece(hint->piece) : nullptr;
    const VyRect bounds = pPiece != nullptr ? pPiece->GetShownBounds() : VyRect{};
    if (bounds.IsEmpty())
        return;
    const VyPoint origin{clientRect.left, clientRect.bottom};
    const VyRect ring{std::max(origin.x + bounds.left - HINT_RING, clientRect.left),
                      std::min(origin.y + bounds.top + HINT_RING, clientRect.top),
                      std::min(origin.x + bounds.right + HINT_RING, clientRect.right),
                      std::max(origin.y + bounds.bottom - HINT_RING, clientRect.bottom)};
    context.SetBlending(false);
    context.SetTexturing(false);
    context.SetColor(VyColor(VY_HINT_COLOR));
    for (int inset = 0; inset < HINT_RING; ++inset)
        context.DrawRect(VyRect{ring.left + inset, ring.top - inset, ring.right - inset, ring.bottom + inset});
}

void VyGameWnd::DrawStatus(VyRenderContext& context, const VyRect& clientRect)
{
    context.SelectFont(STATUS_FONT);
    context.SetColor(VyColor(STATUS_COLOR));
    context.DrawText(m_rules.GetStatusLine(VyClock::TickCount()), clientRect.left + STATUS_MARGIN,
                     clientRect.top - STATUS_MARGIN);
}

void VyGameWnd::UpdateDotsTimer()
{
    if (m_rules.IsComputersTurn())
        return Invalidate();
    VyMessageTarget::KillTimer(this, VY_DOTS_TIMER);
}

// ---- VyGameHost --------------------------------------------------------------------------------

void VyGameWnd::MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style)
{
    if (VyPiece* pPiece = GetPiece(piece))
        return pPiece->MoveTo(target, speed, style);
    PostTo(this, MSG_MOVE_DONE, piece); // no window to move: the half-move still ends
}

void VyGameWnd::PlacePieceAt(int piece, VyPoint target)
{
    if (VyPiece* pPiece = GetPiece(piece))
        pPiece->JumpTo(target);
}

void VyGameWnd::Restack()
{
    for (const VySquare& square : m_rules.GetSquares())
        if (VyPiece* pPiece = GetPiece(square.piece))
            BringToFront(pPiece);
    const std::vector<VyPieceInfo>& pieces = m_rules.GetPieces();
    for (size_t i = 0; i < pieces.size(); ++i)
        if (pieces[i].location < 0)
            if (VyPiece* pPiece = GetPiece(static_cast<int>(i)))
                BringToFront(pPiece);
    m_chat.RaiseLog();
    if (m_pQuestion != nullptr)
        BringToFront(m_pQuestion);
    m_chat.RaiseWindows();
}

void VyGameWnd::SetPieceInput(int piece, VyPieceInput input)
{
    if (VyPiece* pPiece = GetPiece(piece))
        pPiece->SetEnabled(input == VyPieceInput::ENABLED);
}

void VyGameWnd::SetPieceImage(int piece, VyPieceImage image)
{
    if (VyPiece* pPiece = GetPiece(piece))
        pPiece->ShowImage(image);
}

void VyGameWnd::StatusChanged()
{
    Invalidate();
    UpdateCursor();
    if (m_pAutoPlayer != nullptr)
        m_pAutoPlayer->Consider();
}

void VyGameWnd::RefreshHighlight()
{
    if (m_bMouseInside && m_rules.HighlightSquare(SquareAt(m_mouse)))
        Invalidate();
}

void VyGameWnd::AskPlayAgain()
{
    if (m_pUnattended != nullptr)
        m_pUnattended->GameEnded();
    if (m_pQuestion == nullptr)
        ShowQuestion("Would you like to play again?\n\n");
}

void VyGameWnd::ShowQuestion(const VyString& text)
{
    CloseQuestion();
    VyTrace::Write("VyGameWnd : asks \"" + text.Trimmed() + "\" after \"" + m_rules.GetStatus() + "\"\n");
    VyMsgBoxOptions options;
    options.boxId = VY_QUESTION_ID;
    options.pParent = this;
    options.pOwner = this;
    const VyRect client = GetClientRect();
    options.position = VyPoint{client.right - 220, client.top - 20};
    m_pQuestion = VyMsgBox::Show(text, "Tolmar", VY_MB_YESNO, options);
    // The keys answer it too: Return is Yes, Escape No.
    if (VyMainWnd* pMain = VyMainWnd::Get(); pMain != nullptr && m_pQuestion != nullptr)
        pMain->SetFocus(m_pQuestion);
    if (m_pUnattended != nullptr && m_pQuestion != nullptr)
        m_pUnattended->QuestionShown();
}

void VyGameWnd::CloseQuestion()
{
    VyMsgBox* pBox = m_pQuestion;
    m_pQuestion = nullptr;
    if (pBox != nullptr && pBox->IsCreated())
        pBox->Close(VY_QUESTION_REPLACED);
}

bool VyGameWnd::IsNetworkConnected() const
{
    return m_pNetwork != nullptr && m_pNetwork->IsConnected();
}

void VyGameWnd::SendMove(int piece, int square)
{
    m_pNetwork->SendMove(piece, square);
    if (m_pUnattended != nullptr)
        m_pUnattended->MoveSent(piece, square);
}

void VyGameWnd::StorePlayerName(VyPlayer player, const VyString& name)
{
    if (m_pSettings != nullptr)
        m_pSettings->SetPlayerName(player, name);
}

void VyGameWnd::FocusGameWindow()
{
    if (VyMainWnd* pMain = VyMainWnd::Get())
        if (IsCreated() && IsShown())
            pMain->SetFocus(this);
}

void VyGameWnd::WakeComputer(const VyComputerPosition& position)
{
    m_pComputer->Wake(position);
    VyMessageTarget::SetTimer(this, VY_DOTS_TIMER, VY_DOTS_STEP_MS);
    UpdateCursor();
    Invalidate();
}

void VyGameWnd::PositionGenerationChanged(int generation)
{
    m_pComputer->SetNewestGeneration(generation);
    if (m_pAutoPlayer != nullptr)
        m_pAutoPlayer->PositionGenerationChanged(generation);
    if (m_hintGeneration != -1 && m_hintGeneration != generation)
        Invalidate(); // the hint shown belongs to the position that went
}

void VyGameWnd::SetBusy(bool busy)
{
    m_bBusy = busy;
    UpdateCursor();
    if (!busy && m_pAutoPlayer != nullptr)
        m_pAutoPlayer->Consider();
}

void VyGameWnd::DestroyPieces()
{
    for (VyPiece* pPiece : m_pieces)
        pPiece->DeleteLater();
    m_pieces.clear();
}

void VyGameWnd::PieceSetChanged()
{
    DestroyPieces();
    m_board = VyTexture();
    m_bBoardMade = false;
    const std::vector<VyPieceInfo>& pieces = m_rules.GetPieces();
    for (size_t i = 0; i < pieces.size(); ++i)
    {
        const int index = static_cast<int>(i);
        auto pPiece = std::make_unique<VyPiece>(index, m_rules.GetSetImages(), m_rules.GetColorMask(), pieces[i].center);
        const VyRect rect = pPiece->RectForAnchor(pieces[i].StartAnchor());
        VyPiece* pRaw = CreateChild(std::move(pPiece), VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT | VY_STYLE_DISABLED,
                                    rect, VyPiece::VY_FIRST_PIECE_ID + index);
        m_pieces.push_back(pRaw);
    }
    Restack();
    Invalidate();
    if (!m_chosenSet.empty() && m_chosenSet == m_rules.GetSetName())
    {
        m_pSettings->SetSetName(m_chosenSet);
        m_chosenSet.clear();
    }
    OnSetArrived();
}

void VyGameWnd::OnSetArrived()
{
    if (m_bStartDone)
        return;
    m_bStartDone = true;
    // From the queue: the rules are still taking the set over while they tell of it.
    PostTo(this, MSG_GAME_START);
}

void VyGameWnd::DoStart()
{
    if (!m_start.savedGame.empty())
        return LoadGamePath(m_start.savedGame);
    if (m_start.opponent == VyStartOpponent::HUMAN)
        SetOpponent(VyOpponent::HUMAN, VyOpponentRequest::WITHOUT_DIALOGS);
    if (m_start.opponent == VyStartOpponent::SERVE || m_start.opponent == VyStartOpponent::JOIN)
        return StartNetworkFromCommandLine();
    if (m_start.opponent != VyStartOpponent::COMPUTER)
        return;
    if (m_start.level)
        m_rules.SetLevel(*m_start.level);
    SetOpponent(VyOpponent::COMPUTER, VyOpponentRequest::WITHOUT_DIALOGS);
}

void VyGameWnd::StartNetworkFromCommandLine()
{
    VyNetworkValues values;
    values.host = m_start.joinHost;
    values.port = m_start.port;
    values.name = m_start.playerName;
    // The other player serves when this side joins.
    const bool bJoin = m_start.opponent == VyStartOpponent::JOIN;
    StartNetworkGame(bJoin ? VyOpponent::NETWORK_SERVER : VyOpponent::NETWORK_CLIENT, values);
}

void VyGameWnd::ShowMessageBox(const VyString& text, const VyString& caption)
{
    if (m_pUnattended != nullptr && m_pUnattended->TakeMessageBox(text))
        return; // nobody would answer it
    VyMsgBox::Run(text, caption, VY_MB_OK);
}

void VyGameWnd::DeleteGameSettings()
{
    VyGameSettings::Delete();
}

void VyGameWnd::ShowFatalError(const VyString& text)
{
    VyMainWnd* pMain = VyMainWnd::Get();
    VyPlatform* pPlatform = VyPlatform::Get();
    const bool bShown = pMain != nullptr && pMain->ShowFatalError("Error", text);
    if (pPlatform == nullptr)
        return;
    if (!bShown)
        pPlatform->ShowError("Error", text);
    pPlatform->QuitAfterFailure();
}
