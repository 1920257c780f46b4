#pragma once

#include "VyComputerDecision.h"
#include "VyGameTypes.h"
#include "VySetLoadProgress.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyPoint.h"
#include "vythread/VyString.h"

// What the rules ask of the window that shows the game. The game window implements it; tests and
// the self-play tool implement it to observe the calls. All calls come on the window thread.
// Pieces and squares are indices into the rules' GetPieces() and GetSquares(). The rules expect no
// call to fail or throw: a host that cannot do what it is asked (a window that cannot be drawn, a
// settings file that cannot be written) reports that itself and returns.
class VyGameHost
{
public:
    virtual ~VyGameHost() = default;

    // Starts a movement that puts the piece's anchor on target: at speed pixels per second, or as a
    // jump when speed is negative; with STAY_IN_PLACE the piece stays where it is. Whatever happens,
    // the end is reported exactly once, later and never from inside this call, by handing
    // VyGameRules::MoveDone(piece) the piece (the window posts MSG_MOVE_DONE with param1 = piece).
    virtual void MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style) = 0;
    // Puts the piece's anchor on target at once, stopping any movement of it; reports nothing.
    virtual void PlacePieceAt(int piece, VyPoint target) = 0;
    // Raises the pieces on the board in square order, then the others in piece order.
    virtual void Restack() = 0;
    // Lets the piece take (ENABLED) or refuse (DISABLED) mouse and keyboard choices.
    virtual void SetPieceInput(int piece, VyPieceInput input) = 0;
    virtual void SetPieceImage(int piece, VyPieceImage image) = 0;
    // The status line (VyGameRules::GetStatus) was rebuilt.
    virtual void StatusChanged() = 0;
    // The pieces moved under the mouse: evaluate the square under it again.
    virtual void RefreshHighlight() = 0;
    // Shows the end-of-game question "Would you like to play again?".
    virtual void AskPlayAgain() = 0;
    // Whether a network game's connection is open.
    virtual bool IsNetworkConnected() const = 0;
    // Sends the local player's half-move to the peer: a choice (square -1) or a placement.
    virtual void SendMove(int piece, int square) = 0;
    // Writes a player's name to the game settings, section "General", key "Player1" or "Player2".
    virtual void StorePlayerName(VyPlayer player, const VyString& name) = 0;
    // Gives the keyboard focus to the game window.
    virtual void FocusGameWindow() = 0;
    // The computer is to move on position (copied now, on the window thread): wake its worker.
    virtual void WakeComputer(const VyComputerPosition& position) = 0;
    // The rules' position generation became generation (undo, new game, load, any half-move): work
    // the computer does for an older one may end now. Called from inside rule operations; nothing by
    // default.
    virtual void PositionGenerationChanged(int generation) { (void)generation; }
    // A movement that ends a half-move is running (busy cursor) or has ended.
    virtual void SetBusy(bool busy) = 0;

    // The game window as the receiver of the set loader's MSG_SET_LOADED and MSG_SET_LOAD_FAILED,
    // which it hands to VyGameRules::SetLoaded and SetLoadFailed.
    virtual VyMessageTarget* GetMessageTarget() = 0;
    // The progress display of set loads, or null for none.
    virtual VySetLoadProgress* GetSetLoadProgress() = 0;
    // The rules took over a new set (GetPieces, GetSetImages, the board data): remake the piece
    // windows, every piece at its start position.
    virtual void PieceSetChanged() = 0;
    // Shows a message box with an OK button.
    virtual void ShowMessageBox(const VyString& text, const VyString& caption) = 0;
    // The set could not be loaded and the game cannot go on: deletes the game settings file Tolmar.cfg.
    virtual void DeleteGameSettings() = 0;
    // Shows text in a message box captioned "Error"; the application ends when it is closed.
    virtual void ShowFatalError(const VyString& text) = 0;
};
