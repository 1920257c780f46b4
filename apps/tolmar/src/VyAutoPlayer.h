#pragma once

#include <memory>

#include "VyComputerPlayer.h"
#include "VyGameTypes.h"
#include "vythread/VyMessageTarget.h"

class VyGameRules;

// Lets the computer's decisions play the local seat (player 1) at a level, in any kind of game, through
// the same rule operations as a click: a choice goes to ChoosePiece, a placement to PlacePiece. With it
// two copies of the game play each other unattended.
//
// Consider is called whenever the position may have changed; when player 1 is to act and no movement
// runs, a copy of the position (as if the seat were player 2's, which the decisions are written for)
// goes to a worker of its own. An answer is applied only when the position is still the one it was
// taken from (its generation) and still player 1's turn; any other answer is dropped.
class VyAutoPlayer : public VyMessageTarget
{
public:
    VyAutoPlayer(VyGameRules& rules, VyLevel level);
    ~VyAutoPlayer() override;
    VyAutoPlayer(const VyAutoPlayer&) = delete;
    VyAutoPlayer& operator=(const VyAutoPlayer&) = delete;

    VyLevel GetLevel() const { return m_level; }
    // Looks at the position from the queue (never from inside a rule operation).
    void Consider();
    // The game's position generation changed: an Expert search of the worker on an older one ends.
    void PositionGenerationChanged(int generation) { m_pWorker->SetNewestGeneration(generation); }

    void HandleMessage(const VyMessage& msg) override;

private:
    static constexpr int MSG_CONSIDER = 1101;
    bool IsOurTurn() const;
    void WakeWorker();

    VyGameRules& m_rules;
    VyLevel m_level;
    std::unique_ptr<VyComputerPlayer> m_pWorker; // ended before the answers it posted are removed
    int m_askedGeneration = -1; // the position the worker decides on, -1 for none
};
