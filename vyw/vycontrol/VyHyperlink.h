#pragma once

#include "vycontrol/VyLabel.h"

// A label that opens a link in the user's browser when clicked: the hand cursor over it, the link
// colour (HOTTRACK), and the underlined standard font while the mouse is over it. A left press holds
// the mouse; the link opens when that button comes up over the label again.
class VyHyperlink : public VyLabel
{
public:
    VyHyperlink();

    // The address handed to the platform; an empty one opens nothing.
    const VyString& GetLink() const { return m_link; }
    void SetLink(const VyString& link) { m_link = link; }

    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnCaptureLost() override;

protected:
    int DefaultSlot(VyControlColor role) const override;

private:
    bool m_bPressed = false;
    VyString m_link;
};
