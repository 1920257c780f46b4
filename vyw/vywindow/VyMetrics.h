#pragma once

// The system metrics the windows and controls read their sizes and delays from, by their index in the
// platform's table.
enum class VyMetric
{
    VSCROLL_WIDTH = 0,      // width of a vertical scroll bar
    HSCROLL_HEIGHT = 1,     // height of a horizontal scroll bar
    CARET_BLINK_MS = 2,     // half a blink period of the caret
    THICK_FRAME_X = 7,      // frame widths of a thick frame
    THICK_FRAME_Y = 8,
    BUTTON_TEXT_INSET = 10, // space between a button's frame and its text
    THIN_FRAME_X = 11,      // frame widths of a thin frame
    THIN_FRAME_Y = 12,
    DOUBLE_CLICK_DISTANCE = 13,
    DOUBLE_CLICK_MS = 14,
    CAPTION_HEIGHT = 15,    // the caption strip of a dialog
    BUTTON_WIDTH = 16,      // a message box's buttons
    BUTTON_HEIGHT = 17,
    REPEAT_DELAY_MS = 20,   // auto-repeat: the first repeat
    REPEAT_INTERVAL_MS = 21 //   and the ones after it
};

// The metric's value from the platform's table; 0 while no platform exists.
int VyGetMetric(VyMetric metric);
