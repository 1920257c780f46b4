#pragma once

#include "vycontrol/VyButton.h"

// A title of a menu bar: a push button that draws flat on the bar's MENU_BACKGROUND and lights up in the
// MENU_*_SELECTION colours while the mouse is over it or its menu is open (shown down).
class VyMenuTitle : public VyButton
{
public:
    VyMenuTitle();

    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void DrawFrame(VyRenderContext& context, const VyRect& rect) override;

protected:
    int DefaultSlot(VyControlColor role) const override;
};
