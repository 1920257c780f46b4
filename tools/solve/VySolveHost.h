#pragma once

#include <vector>

#include "VyWindowlessHost.h"
#include "vythread/VyMessageTarget.h"

class VyGameRules;

// The game host of the solver: it shows nothing. Message boxes (a file the rules refuse, a set that
// cannot be loaded) are kept as the errors to print; a movement ends at once (MSG_MOVE_DONE posted);
// the set loader's messages go to the rules handed to SetRules, which must outlive the host's use.
class VySolveHost : public VyMessageTarget, public VyWindowlessHost
{
public:
    void SetRules(VyGameRules* pRules) { m_pRules = pRules; }
    // The texts of the message boxes and fatal errors, in order.
    const std::vector<VyString>& GetErrors() const { return m_errors; }

    void HandleMessage(const VyMessage& msg) override;

    // VyGameHost
    void MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style) override;
    VyMessageTarget* GetMessageTarget() override { return this; }
    void ShowMessageBox(const VyString& text, const VyString& caption) override;
    void ShowFatalError(const VyString& text) override;

private:
    VyGameRules* m_pRules = nullptr;
    std::vector<VyString> m_errors;
};
