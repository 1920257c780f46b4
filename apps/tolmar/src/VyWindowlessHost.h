#pragma once

#include "VyGameHost.h"

// The part of a game host that a program without a window leaves out: pictures, input, focus, the
// status line, the network peer, the settings file and message boxes do nothing; no connection is
// open and no load progress is shown. A host made on it still says how movements end and where the
// rules' messages go (MovePiece, GetMessageTarget), and overrides what else it needs.
class VyWindowlessHost : public VyGameHost
{
public:
    void PlacePieceAt(int, VyPoint) override {}
    void Restack() override {}
    void SetPieceInput(int, VyPieceInput) override {}
    void SetPieceImage(int, VyPieceImage) override {}
    void StatusChanged() override {}
    void RefreshHighlight() override {}
    void AskPlayAgain() override {}
    bool IsNetworkConnected() const override { return false; }
    void SendMove(int, int) override {}
    void StorePlayerName(VyPlayer, const VyString&) override {}
    void FocusGameWindow() override {}
    void WakeComputer(const VyComputerPosition&) override {}
    void SetBusy(bool) override {}
    VySetLoadProgress* GetSetLoadProgress() override { return nullptr; }
    void PieceSetChanged() override {}
    void ShowMessageBox(const VyString&, const VyString&) override {}
    void DeleteGameSettings() override {}
    void ShowFatalError(const VyString&) override {}
};
