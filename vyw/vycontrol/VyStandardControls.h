#pragma once

#include "vywindow/VyControlFactory.h"

// The framework's controls as the window module makes them: labels, edit fields, buttons, links,
// images, lists, and the scroll bars and menu bars of frame windows. TREE and WND are not made from
// definition files ("Invalid control type specified" to the trace): they give null.
class VyStandardControls : public VyControlFactory
{
public:
    VyWnd* CreateControl(VyFrameWnd& parent, const VyControlDesc& desc) override;
    VyWnd* CreateScrollBar(VyFrameWnd& parent, int id) override;
    // A VyMenuBar along the parent's top, as high as its font needs.
    VyWnd* CreateMenuBar(VyFrameWnd& parent) override;

    // Installs the process's one instance as the control factory, and the file dialog as the platform's
    // (when the platform exists).
    static void Install();
};
