#pragma once

#include <deque>
#include <map>
#include <ostream>
#include <vector>

#include "VyGameRules.h"
#include "vythread/VyTraceCapture.h"

// Readable failure messages for the game's enumerations.
inline void PrintTo(VyGameState state, std::ostream* out)
{
    *out << "state " << VyNumberOf(state);
}
inline void PrintTo(VyOpponent opponent, std::ostream* out)
{
    *out << "opponent " << VyNumberOf(opponent);
}

// A game host that records what the rules ask of the window. Movements end when the test says so
// (FinishMoves), as the window's movement timers would.
class GameTestHost : public VyGameHost
{
public:
    struct Move
    {
        int piece;
        VyPoint target;
        float speed;
        VyMoveStyle style;
    };

    std::vector<Move> moves;                 // every MovePiece, in order
    std::deque<int> running;                 // movements not yet reported as finished
    std::map<int, bool> enabled;             // last SetPieceInput per piece: ENABLED
    std::map<int, VyPieceImage> images;      // last SetPieceImage per piece
    std::map<VyPlayer, VyString> storedNames; // player -> name
    std::vector<std::pair<int, int>> sent;   // SendMove calls
    std::vector<VyComputerPosition> wakes;   // WakeComputer calls
    int statusChanges = 0;
    int questions = 0;
    int focus = 0;
    int restacks = 0;
    int jumps = 0;                           // PlacePieceAt calls
    std::map<int, VyPoint> positions;        // last PlacePieceAt target per piece
    int setChanges = 0;                      // PieceSetChanged calls
    std::vector<std::pair<VyString, VyString>> boxes; // ShowMessageBox: text, caption
    int settingsDeleted = 0;
    std::vector<VyString> fatalErrors;
    bool bConnected = false;
    bool bBusy = false;
    std::vector<int> generations;            // PositionGenerationChanged calls

    void MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style) override
    {
        moves.push_back({piece, target, speed, style});
        running.push_back(piece);
    }
    void PlacePieceAt(int piece, VyPoint target) override
    {
        ++jumps;
        positions[piece] = target;
        // A jump ends the piece's movement unreported, as the piece windows do.
        std::erase(running, piece);
    }
    void Restack() override { ++restacks; }
    void SetPieceInput(int piece, VyPieceInput input) override
    {
        enabled[piece] = input == VyPieceInput::ENABLED;
    }
    void SetPieceImage(int piece, VyPieceImage image) override { images[piece] = image; }
    void StatusChanged() override { ++statusChanges; }
    void RefreshHighlight() override {}
    void AskPlayAgain() override { ++questions; }
    bool IsNetworkConnected() const override { return bConnected; }
    void SendMove(int piece, int square) override { sent.emplace_back(piece, square); }
    void StorePlayerName(VyPlayer player, const VyString& name) override { storedNames[player] = name; }
    void FocusGameWindow() override { ++focus; }
    void WakeComputer(const VyComputerPosition& position) override { wakes.push_back(position); }
    void SetBusy(bool busy) override { bBusy = busy; }
    void PositionGenerationChanged(int generation) override { generations.push_back(generation); }
    VyMessageTarget* GetMessageTarget() override { return nullptr; }
    VySetLoadProgress* GetSetLoadProgress() override { return nullptr; }
    void PieceSetChanged() override { ++setChanges; }
    void ShowMessageBox(const VyString& text, const VyString& caption) override { boxes.emplace_back(text, caption); }
    void DeleteGameSettings() override { ++settingsDeleted; }
    void ShowFatalError(const VyString& text) override { fatalErrors.push_back(text); }

    // Ends the running movements, and those they start, one by one.
    void FinishMoves(VyGameRules& rules)
    {
        while (!running.empty())
        {
            int piece = running.front();
            running.pop_front();
            rules.MoveDone(piece);
        }
    }
};
