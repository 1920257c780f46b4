#pragma once

#include "vycontrol/VyLabel.h"

// A label that opens a link in the user's browser when clicked: the hand cursor over it, the link
// colour (HOTTRACK), and the underlined standard font while the mouse is over it.
class VyHyperlink : public VyLabel
{
public:
    VyHyperlink();

    const VyString& GetLink() const { return m_link; }
    void SetLink(const VyString& link) { m_link = link; }

    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;

protected:
    int DefaultSlot(VyControlColor role) const override;

private:
    VyString m_link;
    bool m_bPressed = false;
};
