#pragma once

#include "VyStartRequest.h"

class VyPlatform;

// The game's start-up function, called by the platform once the display exists: sets the title
// "Tolmar" and the fixed-size flag, loads the classic set and hands the platform the main window that
// shows it. Returns true; a set that cannot be loaded throws its VyException, which the platform shows
// before the program ends with code 1. The start request is written to the trace.
bool VyTolmarStartup(VyPlatform& platform);

// The command line's request for this run: main sets it (VyCommandLine::Parse) before VyWin::Main,
// and the game window reads it on the window thread when it starts, to load request.savedGame (an
// absolute path, not checked to exist: loading reports a missing or damaged file) or to begin a game
// against request.opponent. Nothing here acts on it: the start scene shows whatever was asked for.
// Until set, the default request (run, no opponent, no file). Not for other threads, and not to be
// set while the platform runs.
void VySetStartRequest(const VyStartRequest& request);
const VyStartRequest& VyGetStartRequest();
