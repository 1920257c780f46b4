#pragma once

#include <vector>

#include "vythread/VyString.h"
#include "vyutil/VyTexture.h"
#include "vywindow/VyFrameWnd.h"

// What the scene window shows: a board picture with its lower-left corner at the window's (0, 0), the
// background colour of the board picture's pixel (0, 0) above and right of it, pictures at given
// places (pure key colour transparent) and one line of text.
struct VySceneWndScene
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

// The board and the pieces at their start positions, drawn as pictures, until the game window takes
// their place. Keys and characters that reach it (it takes the focus on a click) are shown on the
// text line as the last input. Pictures that cannot be loaded are reported and left out.
class VySceneWnd : public VyFrameWnd
{
public:
    explicit VySceneWnd(VySceneWndScene scene);

    // The last key or character taken, as shown: "key 256 flags 0x100", "char 'a' flags 0x100".
    const VyString& GetLastInput() const { return m_lastInput; }
    // The background colour above and right of the board (0xRRGGBB), known once drawn.
    uint32_t GetBoardBackground() const { return m_backgroundColor; }

    void OnUnhandledKey(int key, int flags) override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void ReleaseTextures() override;

private:
    void LoadTextures(VyRenderContext& context);
    void DrawPictures(VyRenderContext& context, const VyRect& clientRect);
    void DrawTextLine(VyRenderContext& context, const VyRect& clientRect);

    VySceneWndScene m_scene;
    VyString m_lastInput;
    bool m_bLoaded = false;
    VyTexture m_board;
    std::vector<VyTexture> m_pictures;
    uint32_t m_backgroundColor = 0;
};
