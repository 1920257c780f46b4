#pragma once

// The desktop colours the colour-scheme defaults are made of: a fixed classic grey desktop palette,
// each 0xRRGGBB.
enum class VySystemColor
{
    WINDOW,             // 255, 255, 255
    WINDOW_TEXT,        // 0, 0, 0
    BUTTON_FACE,        // 212, 208, 200
    BUTTON_SHADOW,      // 128, 128, 128
    BUTTON_HIGHLIGHT,   // 255, 255, 255
    LIGHT_3D,           // 212, 208, 200
    DARK_SHADOW_3D,     // 64, 64, 64
    HIGHLIGHT,          // 10, 36, 106
    HIGHLIGHT_TEXT,     // 255, 255, 255
    MENU,               // 212, 208, 200
    ACTIVE_CAPTION,     // 10, 36, 106
    INACTIVE_CAPTION,   // 128, 128, 128
    CAPTION_TEXT,       // 255, 255, 255
    BUTTON_TEXT,        // 0, 0, 0
    HOT_TRACKING,       // 0, 0, 128
};

// The value of an unset colour slot: it draws nothing (a text shadow that is not wanted).
constexpr unsigned int VY_COLOR_UNSET = 0xFF000000;

class VySystemColors
{
public:
    static unsigned int Get(VySystemColor color);
    // Component-wise mean of two colours, rounded down.
    static unsigned int Average(unsigned int a, unsigned int b);
    // Default colour of colour-scheme slot id (1..117) made from the desktop colours; VY_COLOR_UNSET for
    // the text-shadow slots and for ids outside 1..117 (LAST_ENTRY, 118, has no default).
    static unsigned int DefaultOf(int slotId);
};
