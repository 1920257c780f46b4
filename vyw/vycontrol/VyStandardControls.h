#pragma once

#include "vywindow/VyControlFactory.h"

// The framework's controls as the window module makes them: labels, edit fields, buttons, links and
// images. TREE and WND are not made from definition files ("Invalid control type specified" to the
// trace); LIST is not built yet (also traced). Both give null.
class VyStandardControls : public VyControlFactory
{
public:
    VyWnd* CreateControl(VyFrameWnd& parent, const VyControlDesc& desc) override;

    // Installs the process's one instance as the control factory.
    static void Install();
};
