#pragma once

#include <climits>

#include "vythread/VyString.h"

class VyConfigFile;

// Render context choices of [Screen] Context.
constexpr int VY_CONTEXT_NONE = 0;       // not chosen: OpenGL, classified at start-up
constexpr int VY_CONTEXT_OPENGL = 1;
constexpr int VY_CONTEXT_NATIVE = 2;     // the software frame buffer
constexpr int VY_CONTEXT_DIRECTDRAW = 3; // the second software back end

// ResX / ResY value that asks for the system's default size (0 means the same).
constexpr int VY_DEFAULT_SIZE = INT_MIN;
// The size a window gets when the settings ask for the system's default.
constexpr int VY_SYSTEM_DEFAULT_WIDTH = 640;
constexpr int VY_SYSTEM_DEFAULT_HEIGHT = 480;

// Whether the display is a window or fills the screen.
enum class VyWindowMode
{
    WINDOWED,
    FULL_SCREEN,
};

// The framework's screen, preference and cursor settings from vyw.cfg:
//
//   [Screen]      Bits=16  ResX=640  ResY=480  Context=  FullScreen=FALSE  Scale=0
//   [Preferences] FPS=FALSE
//   [Directories] Cursors=Cursors
//
// Missing keys are added with these defaults (on a writable file). Values the program cannot use are
// replaced by sane ones and the replacement goes to the trace: a colour depth other than 8, 15, 16, 24
// or 32 becomes 16; a size that is negative or above VY_MAX_CLIENT_SIDE becomes 640 x 480 (0 and
// VY_DEFAULT_SIZE silently mean the system's default size, also 640 x 480); an empty cursor directory
// becomes "Cursors". A Context other than "OpenGL", "Native" or "DirectDraw" (exact text; an empty or
// missing key included) leaves the context unchosen and traces "Unknown specified rendering context,
// using Default.  Valid options are: OpenGL, Native and DirectDraw.\n". Scale is the whole factor the
// window shows every pixel of the ResX x ResY picture at (0: chosen for the desktop, see
// VyDisplayScale); a negative one, one above VY_MAX_SCALE, or one that makes a window side larger than
// VY_MAX_CLIENT_SIDE becomes 0.
struct VyScreenSettings
{
    int bits = 16;
    int resX = VY_SYSTEM_DEFAULT_WIDTH;
    int resY = VY_SYSTEM_DEFAULT_HEIGHT;
    int context = VY_CONTEXT_NONE;
    bool bFullScreen = false;
    int scale = VY_AUTOMATIC_SCALE;
    bool bShowFps = false;
    VyString cursorDirectory = "Cursors";

    static constexpr int VY_MAX_CLIENT_SIDE = 16384;
    static constexpr int VY_AUTOMATIC_SCALE = 0;
    static constexpr int VY_MAX_SCALE = 8;

    // Reads (and repairs) the settings from a configuration file.
    static VyScreenSettings Read(VyConfigFile& config);
    // [Screen] Scale alone, repaired against a ResX x ResY picture as Read does (the display's re-creation
    // picks a changed Scale up through it).
    static int ReadScale(VyConfigFile& config, int resX, int resY);
    // Writes Context=<name> into [Screen] and saves the file at once.
    static void WriteContext(VyConfigFile& config, int context);
    // Writes FullScreen=TRUE or FALSE into [Screen] and saves the file at once.
    static void WriteWindowMode(VyConfigFile& config, VyWindowMode mode);
    // Writes Scale=<scale> into [Screen] and saves the file at once.
    static void WriteScale(VyConfigFile& config, int scale);

    // "OpenGL", "Native", "DirectDraw", or "" for VY_CONTEXT_NONE and unknown values.
    static const char* ContextName(int context);
    // The context of an exact name, VY_CONTEXT_NONE for any other text.
    static int ContextFromName(const VyString& name);
    // Whether the colour depth is one a display can have.
    static bool IsColorDepth(int bits);
};
