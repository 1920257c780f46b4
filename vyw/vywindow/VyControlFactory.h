#pragma once

#include "vywindow/VyControlDesc.h"

class VyFrameWnd;
class VyWnd;

// How the window module makes controls, which live in the module above it: the control module
// installs its factory at start (VyStandardControls::Install), and dialogs and message boxes build
// their controls through it.
class VyControlFactory
{
public:
    virtual ~VyControlFactory() = default;

    // Makes the control the description asks for as a child of parent, with the description's
    // rectangle, style, text, font, colours, justification and identifier applied. Kinds the factory
    // does not build from definition files give null, with the diagnostic "Invalid control type
    // specified" (TREE, WND) or one of the factory's own, in the trace.
    virtual VyWnd* CreateControl(VyFrameWnd& parent, const VyControlDesc& desc) = 0;
    // Makes a frame window's scroll bar: child VY_ID_VSCROLL (vertical, at the right) or VY_ID_HSCROLL
    // (horizontal, at the bottom), hidden. Null when the factory makes none.
    virtual VyWnd* CreateScrollBar(VyFrameWnd& parent, int id);
    // Makes a frame window's menu bar, child VY_ID_MENUBAR along its top. Null when the factory makes none.
    virtual VyWnd* CreateMenuBar(VyFrameWnd& parent);

    // The installed factory (not owned), or null.
    static VyControlFactory* Get();
    // Installs a factory; null removes it. The factory must outlive its use.
    static void Install(VyControlFactory* pFactory);
};
