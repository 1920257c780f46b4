#pragma once

// The framework's input codes, as the platform hands them to the main window.
//
// Keys: only these fourteen keys are passed on as keys; printable characters arrive as characters
// (codes 32..127). Every key and character carries VY_INPUT_KEY, plus the Control and Shift flags.
constexpr int VY_KEY_LEFT = 256;
constexpr int VY_KEY_RIGHT = 257;
constexpr int VY_KEY_UP = 258;
constexpr int VY_KEY_DOWN = 259;
constexpr int VY_KEY_RETURN = 260;
constexpr int VY_KEY_ESCAPE = 261;
constexpr int VY_KEY_HOME = 262;
constexpr int VY_KEY_END = 263;
constexpr int VY_KEY_PAGE_UP = 264;
constexpr int VY_KEY_PAGE_DOWN = 265;
constexpr int VY_KEY_TAB = 266;
constexpr int VY_KEY_BACKSPACE = 267;
constexpr int VY_KEY_DELETE = 268;
constexpr int VY_KEY_F10 = 269; // opens the menus

// Flags of keys, characters and mouse events.
//
//   bits 0-1  mouse button: 1 left, 2 middle, 3 right (moves: 3 right held, else 1 left held, or 2 middle)
//   0x10      Control is down
//   0x20      Shift is down
//   0x40      double click (added by the window tree)
//   0x80      button released
//   0x100     a key or character
//   0x200     button pressed
constexpr int VY_MOUSE_LEFT = 1;
constexpr int VY_MOUSE_MIDDLE = 2;
constexpr int VY_MOUSE_RIGHT = 3;
constexpr int VY_MOUSE_BUTTON_MASK = 3;
constexpr int VY_INPUT_CONTROL = 0x10;
constexpr int VY_INPUT_SHIFT = 0x20;
constexpr int VY_MOUSE_DOUBLE_CLICK = 0x40;
constexpr int VY_MOUSE_RELEASE = 0x80;
constexpr int VY_INPUT_KEY = 0x100;
constexpr int VY_MOUSE_PRESS = 0x200;

// Cursor indices of the software cursor; -1 draws none (the mouse is outside the window).
constexpr int VY_CURSOR_NONE = -1;
constexpr int VY_CURSOR_DEFAULT = 0;
constexpr int VY_CURSOR_IBEAM = 1;
constexpr int VY_CURSOR_NORTH_SOUTH = 2;
constexpr int VY_CURSOR_EAST_WEST = 3;
constexpr int VY_CURSOR_WAIT = 4;
constexpr int VY_CURSOR_HAND = 5;
constexpr int VY_CURSOR_COUNT = 6;
