#pragma once

#include <cstdint>
#include <ostream>

#include "VyWindowlessHost.h"
#include "VyGameRules.h"
#include "VySelfPlaySeat.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"

// A match of the computer against itself on a piece set (the classic one in the tool), played through the game's own rules
// (VyGameRules) and decision code (VyComputerDecision; an Expert side through VySelfPlaySeat, under
// SetExpertTime's budget). The "first" side sits in player 1's seat and
// the "second" side in the computer's seat (player 2, woken by the rules as in a game against the
// computer); they take turns at choosing first, the first side in even-numbered games. Pieces jump,
// so each half-move ends as soon as its posted movement message is handled.
//
// The match owns the process's message queue while it exists (there is one queue at a time).
class VySelfPlayMatch : public VyMessageTarget, public VyWindowlessHost
{
public:
    struct Score
    {
        int firstWins = 0;
        int secondWins = 0;
        int ties = 0;
    };
    enum Outcome
    {
        OUTCOME_TIE,
        OUTCOME_FIRST_WINS,
        OUTCOME_SECOND_WINS,
    };

    // The seed fixes every random draw of the match. pLog, when set, receives each move and the final
    // board of each game.
    VySelfPlayMatch(const VyPieceSet& set, VyLevel firstLevel, VyLevel secondLevel, uint32_t seed,
                    std::ostream* pLog = nullptr);

    // The Expert's budget per decision in milliseconds (0 = none); 2000 unless set.
    void SetExpertTime(unsigned int milliseconds) { m_rules.SetExpertTime(milliseconds); }
    // The two sides, with what their Expert decisions cost.
    const VySelfPlaySeat& GetFirst() const { return m_first; }
    const VySelfPlaySeat& GetSecond() const { return m_second; }

    Score Play(int games);
    // Plays game number index (0-based). Throws VyException if the game stops making progress.
    Outcome PlayGame(int index);

    void HandleMessage(const VyMessage& msg) override;

    // VyGameHost
    void MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style) override;
    void WakeComputer(const VyComputerPosition& position) override;
    VyMessageTarget* GetMessageTarget() override { return this; }

private:
    void ActForFirstSide();
    Outcome Result() const;
    VyString SideName(VyGameState state) const;
    VyString PieceText(int piece) const;
    VyString PieceCode(int piece) const;
    void LogBoard() const;

    VyMessageQueue m_queue;
    VySelfPlaySeat m_first;
    VySelfPlaySeat m_second;
    VyRandom m_rulesRandom;
    VyGameRules m_rules;
    std::ostream* m_pLog;
    bool m_bComputerFailed = false;
};
