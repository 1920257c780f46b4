#pragma once

#include "vythread/VySize.h"

// Whether the window is a window on the desktop or the whole display in a mode of its own.
enum class VyDisplayKind
{
    WINDOWED,
    FULL_SCREEN,
};

// The whole factor the window shows each pixel of the program's (logical) picture at: the window is the
// logical size times the factor, and everything inside the program stays in logical pixels. Nothing
// here fails: every answer is at least 1.
//
// The automatic factor ([Screen] Scale=0):
//   windowed      in each direction the whole number nearest to three quarters of the desktop side
//                 over the logical side (halves round up), the smaller of the two; such a window
//                 never outgrows the desktop. ("About": strictly within three quarters, 1920 x 1080
//                 would give 640 x 480 only 1.) 640 x 480 gives 1 on 1024 x 768 and 1366 x 768,
//                 2 on 1920 x 1080 and 2560 x 1440, 3 on 3840 x 2160.
//   full screen   the largest factor at which the logical size fits the display mode in both
//                 directions (640 x 480: 2 on 1920 x 1080, 4 on 3840 x 2160).
class VyDisplayScale
{
public:
    // The automatic factor for a logical picture on a desktop (or display mode) of the given size; 1
    // when either size is empty.
    static int Automatic(VySize logical, VySize desktop, VyDisplayKind kind);
    // The factor a setting asks for: a forced one (1 or more) as it is, 0 the automatic one; in either
    // case lowered so that no window side exceeds maxSide (never below 1).
    static int Resolve(int setting, VySize logical, VySize desktop, VyDisplayKind kind, int maxSide);
    // A window coordinate (pixels from the left or the top, outside the window too) in logical pixels:
    // the logical pixel whose block holds it (rounded towards minus infinity).
    static int ToLogical(int windowCoordinate, int factor);
};
