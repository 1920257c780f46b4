#pragma once

#include <ostream>

#include "VyExpertSearch.h"
#include "VyGameRules.h"
#include "VySolveHost.h"
#include "vythread/VyMessageQueue.h"

// What Solve found out.
enum class VySolveStatus
{
    ANSWERED,    // the move and the value were printed
    UNREADABLE,  // the file could not be opened, is no saved game, or is broken
    NOT_IN_PLAY, // the game in the file is over, or no game is running in it
};

// The Expert's answer for a saved game: the file is loaded through the game's own rules (on the
// classic set, or on the set the file names once it has loaded from the sets folder) and the exact
// search decides for the player to act. Solve prints, pieces and squares numbered from 1 as in the
// set file:
//   place piece 7 on square 12, then hand over piece 3     (a placing state)
//   hand over piece 5                                      (a choosing state)
//   value: win | draw | loss | unknown                     (always the last line)
// "unknown" when the budget ran out first; the move is then the Advanced level's. Errors go to err
// as one line each. The solver owns the process's message queue while it exists.
class VySolver
{
public:
    explicit VySolver(const VyPieceSet& set);

    // budgetMs 0 = no limit.
    VySolveStatus Solve(const VyString& path, unsigned int budgetMs, std::ostream& out, std::ostream& err);

private:
    bool Load(const VyString& path, std::ostream& err);
    void WaitForSet();
    void PrintErrors(std::ostream& err) const;
    // Whether the piece in hand on square completes a line or fills the board.
    bool EndsTheGame(const VyComputerPosition& position, int square) const;
    void PrintMove(const VyExpertResult& result, const VyComputerPosition& position, std::ostream& out) const;

    VyMessageQueue m_queue;
    VySolveHost m_host;
    VyGameRules m_rules;
};
