#pragma once

#include <cstdint>

// The style word of a window.
//
//   bits 0-2   alignment inside the parent (VyAlignment)
//   0x8        visible
//   0x10       disabled: receives no mouse input
//   0x20       created (set by Create, cleared when destroyed)
//   0x40       tab stop
//   0x80       the mouse is over it (kept by the main window)
//   0x200      border: frame in the four frame colours, raised
//   0x400      inside border: frame in the four frame colours, sunken
//   0x800      thick frame (two pixels instead of one)
//   0x8000     transparent: no background drawn
//   0x10000    never the result of a hit test itself (its children are)
//   0x20000    never takes the focus
//   0x40000    centred horizontally in the parent
//   0x80000    centred vertically in the parent
//   0x100000   being dragged by its caption
//   0x200000   overlay: not clipped by its ancestors, drawn and hit-tested by the main window
//   0x1000000  frame windows: vertical scroll bar; controls give it a meaning of their own
//   0x2000000  frame windows: horizontal scroll bar; likewise
constexpr uint32_t VY_STYLE_ALIGN_MASK = 0x7;
constexpr uint32_t VY_STYLE_VISIBLE = 0x8;
constexpr uint32_t VY_STYLE_DISABLED = 0x10;
constexpr uint32_t VY_STYLE_CREATED = 0x20;
constexpr uint32_t VY_STYLE_TABSTOP = 0x40;
constexpr uint32_t VY_STYLE_MOUSE_OVER = 0x80;
constexpr uint32_t VY_STYLE_BORDER = 0x200;
constexpr uint32_t VY_STYLE_INSIDE_BORDER = 0x400;
constexpr uint32_t VY_STYLE_THICKFRAME = 0x800;
constexpr uint32_t VY_STYLE_TRANSPARENT = 0x8000;
constexpr uint32_t VY_STYLE_NO_HIT = 0x10000;
constexpr uint32_t VY_STYLE_NO_FOCUS = 0x20000;
constexpr uint32_t VY_STYLE_CENTER_HORIZONTAL = 0x40000;
constexpr uint32_t VY_STYLE_CENTER_VERTICAL = 0x80000;
constexpr uint32_t VY_STYLE_DRAGGING = 0x100000;
constexpr uint32_t VY_STYLE_OVERLAY = 0x200000;
constexpr uint32_t VY_STYLE_VSCROLL = 0x1000000;
constexpr uint32_t VY_STYLE_HSCROLL = 0x2000000;

// Where a window is placed when its parent lays out its children (style bits 0-2).
enum class VyAlignment : uint32_t
{
    NONE = 0,   // left where it is, or centred by the centring bits
    LEFT = 1,   // the remaining height, at the remaining left edge
    RIGHT = 2,  // the remaining height, at the remaining right edge
    TOP = 3,    // the remaining width, at the remaining top edge
    BOTTOM = 4, // the remaining width, at the remaining bottom edge
    CLIENT = 5, // what remains after all the others (one such child at most)
    CORNER = 6, // the bottom-right corner of the client area, at its own size
};

constexpr uint32_t VyAlignStyle(VyAlignment alignment)
{
    return static_cast<uint32_t>(alignment);
}

// Zones of a point of a window, or-ed into the flags of its mouse events.
constexpr int VY_ZONE_CLIENT = 0x1000;
constexpr int VY_ZONE_FRAME = 0x2000;
constexpr int VY_ZONE_CAPTION = 0x4000;

// Child identifiers a frame window reserves.
constexpr int VY_ID_CORNER = 3;
constexpr int VY_ID_HSCROLL = 4;
constexpr int VY_ID_VSCROLL = 5;
constexpr int VY_ID_MENUBAR = 14;

// The direction Tab moves the focus in.
enum class VyTabDirection
{
    FORWARD,
    BACKWARD,
};
