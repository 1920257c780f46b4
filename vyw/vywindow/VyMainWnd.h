#pragma once

#include <cstdint>
#include <vector>

#include "vyplatform/VyRootWindow.h"
#include "vyplatform/VySoftwareCursor.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyRect.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"
#include "vyutil/VyTexture.h"

class VyRenderContext;

// What the main window shows until the window tree takes its place: a board picture with its lower-left
// corner at (0, 0), the background colour of the board picture's pixel (0, 0) above and right of it,
// pictures at given places (pure key colour transparent) and one line of text.
struct VyMainWndScene
{
    struct Picture
    {
        VyString path;  // resource path, e.g. "sets\classic\piece3.bmp"
        VyPoint corner; // lower-left corner in the window
    };

    VyString boardPath;              // resource path of the board picture
    VySize boardSize;                // the rectangle the board picture is stretched over
    uint32_t keyColor = 0x0000FF;    // transparent colour of the pictures, 0xRRGGBB
    std::vector<Picture> pictures;   // drawn in this order, later ones on top
    VyString text;                   // drawn in font 2 at the top left
};

// The main window, in its least form: the root the platform delivers input to and lets draw. It owns
// the process's message queue (created with it, destroyed with it), draws the scene, the frame-rate
// overlay ([Preferences] FPS) and the software cursor, and takes the keys: Control+P saves a screenshot
// ("screenshot.jpg" through the render context) and goes no further; every other key and character is
// shown on the text line as the last input.
//
// The window tree (focus, capture, children, dialogs) is not built here; the real VyMainWnd replaces it.
class VyMainWnd : public VyRootWindow, public VyMessageTarget
{
public:
    explicit VyMainWnd(VyMainWndScene scene);
    ~VyMainWnd() override;

    // VyRootWindow
    void OnKey(int key, int flags) override;
    void OnChar(int character, int flags) override;
    void OnMouseButton(VyPoint point, int flags) override;
    void OnMouseMove(VyPoint point, int flags) override;
    void OnMouseWheel(VyPoint point, int steps) override;
    void OnMouseEntered() override;
    void OnMouseLeft() override;
    void OnActivate(bool bActive) override;
    void Resize(int width, int height) override;
    void Draw() override;
    void ReleaseTextures() override;
    void Close() override;

    // The window's rectangle: left 0, top height, right width, bottom 0.
    const VyRect& GetRect() const { return m_rect; }
    // The software cursor drawn (-1: none, the mouse is outside).
    int GetCursor() const { return m_nCursor; }
    // The last key or character taken, as shown: "key 256 flags 0x100", "char 'a' flags 0x100".
    const VyString& GetLastInput() const { return m_lastInput; }
    // The screenshots asked for with Control+P that the render context accepted.
    int GetScreenshotCount() const { return m_nScreenshots; }
    // The background colour above and right of the board (0xRRGGBB).
    uint32_t GetBackgroundColor() const { return m_backgroundColor; }

private:
    void LoadTextures(VyRenderContext& context);
    void DrawScene(VyRenderContext& context);
    void DrawTextLine(VyRenderContext& context);
    void DrawFrameRate(VyRenderContext& context);

    VyMessageQueue m_queue; // first: made before and destroyed after everything that posts
    VyMainWndScene m_scene;
    VyRect m_rect;
    VyPoint m_mouse;
    int m_nCursor = VY_CURSOR_NONE;
    bool m_bShowFps = false;
    VyString m_lastInput;
    int m_nScreenshots = 0;

    VyRenderContext* m_pTexturesOf = nullptr; // the context the textures were made by
    VyTexture m_board;
    std::vector<VyTexture> m_pictures;
    uint32_t m_backgroundColor = 0;
    VySoftwareCursor m_cursor;
};
