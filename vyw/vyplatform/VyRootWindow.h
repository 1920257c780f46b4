#pragma once

#include "vythread/VyPoint.h"
#include "vythread/VyString.h"

// The main window as the platform sees it: the root of the window tree, which lives in a higher module.
// The platform owns it once the application's start-up function hands it over, feeds it the translated
// input (codes and flags in vyplatform/VyInput.h, points in client pixels with y growing upward and 0 at
// the bottom row), and lets it draw a frame when one was asked for: the platform asks after the input
// and window changes it hands on, the window itself (VyPlatform::RequestFrame) whenever it changes how it
// looks otherwise. Every call comes on the main thread.
class VyRootWindow
{
public:
    virtual ~VyRootWindow() = default;

    // A framework key (VY_KEY_...) with its flags; a character (32..127) with its flags.
    virtual void OnKey(int key, int flags) = 0;
    virtual void OnChar(int character, int flags) = 0;
    // A button pressed (VY_MOUSE_PRESS) or released (VY_MOUSE_RELEASE) at a point.
    virtual void OnMouseButton(VyPoint point, int flags) = 0;
    virtual void OnMouseMove(VyPoint point, int flags) = 0;
    // Wheel steps at the mouse position: positive away from the user.
    virtual void OnMouseWheel(VyPoint point, int steps) = 0;
    // The mouse came over the window (software cursor 0) or left it (cursor -1, nothing drawn).
    virtual void OnMouseEntered() = 0;
    virtual void OnMouseLeft() = 0;
    // The program became active (shown, restored) or inactive (minimised, full screen lost the focus).
    virtual void OnActivate(bool bActive) = 0;
    // The user asked to close the window (its close button, the window manager). The window decides:
    // the default quits at once; a window with unsaved state may ask first and quit or not.
    virtual void OnCloseRequest();

    // The client area is now width x height pixels.
    virtual void Resize(int width, int height) = 0;
    // Draws one frame through the current render context, between its begin and end of frame.
    virtual void Draw() = 0;
    // The render context is about to go (shutdown, a display-mode change): every texture made by it must
    // be dropped now; the next Draw may find a new context.
    virtual void ReleaseTextures() = 0;
    // Shutdown, before the platform deletes the window: the window and its children are destroyed and
    // their pending framework messages dispatched once more.
    virtual void Close() = 0;

    // An error that ends the program, shown in the window's own way and waited on (modally). False when
    // the window cannot show it: the platform then shows it itself. The default cannot.
    virtual bool ShowFatalError(const VyString& caption, const VyString& text);
};
