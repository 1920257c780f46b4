#pragma once

#include "VyStartRequest.h"

class VyPlatform;

// The game's start-up function, called by the platform once the display exists: installs the
// standard controls, sets the title "Tolmar" and the fixed-size flag, and hands the platform the
// game's main window with its menus and the game window, which reads Tolmar.cfg and starts loading
// the piece set it names behind the progress window; once the set is in use it does what the start
// request asks. False when the game window cannot be made. A set that fails to load is reported by
// the game window, and the program then ends. The start request is written to the trace.
bool VyTolmarStartup(VyPlatform& platform);

// The command line's request for this run: main sets it (VyCommandLine::Parse) before VyWin::Main,
// and the start-up hands it to the game window: load request.savedGame (an absolute path, not checked
// to exist: loading reports a missing or damaged file) or begin a game against request.opponent.
// Until set, the default request (run, no opponent, no file). Not for other threads, and not to be
// set while the platform runs.
void VySetStartRequest(const VyStartRequest& request);
const VyStartRequest& VyGetStartRequest();
