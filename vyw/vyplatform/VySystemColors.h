#pragma once

// The desktop colours the colour-scheme defaults are made of, each 0xRRGGBB. There is no desktop
// palette to borrow on every Linux desktop, so the framework brings its own, chosen to sit beside the
// game's art: a pale maple face and warm white fields in a frame of walnut shadows, a walnut caption
// with cream text, and a brass-brown selection, against the slate backdrop and the walnut board.
enum class VySystemColor
{
    WINDOW,             // 252, 248, 240  warm white: edit fields and lists
    WINDOW_TEXT,        // 42, 32, 24     near-black brown
    BUTTON_FACE,        // 230, 216, 188  pale maple: buttons, dialogs
    BUTTON_SHADOW,      // 148, 122, 92
    BUTTON_HIGHLIGHT,   // 255, 252, 244
    LIGHT_3D,           // 230, 216, 188
    DARK_SHADOW_3D,     // 74, 52, 36     walnut
    HIGHLIGHT,          // 140, 90, 40    brass brown: selections
    HIGHLIGHT_TEXT,     // 255, 255, 255
    MENU,               // 239, 228, 206
    ACTIVE_CAPTION,     // 94, 60, 38     walnut
    INACTIVE_CAPTION,   // 154, 134, 112
    CAPTION_TEXT,       // 255, 239, 207  cream
    BUTTON_TEXT,        // 42, 32, 24
    HOT_TRACKING,       // 140, 90, 40
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
