#pragma once

class VyPlatform;

// The game's start-up function, called by the platform once the display exists: sets the title
// "Tolmar" and the fixed-size flag, loads the classic set and hands the platform the main window that
// shows it. Returns true; a set that cannot be loaded throws its VyException, which the platform shows
// before the program ends with code 1.
bool VyTolmarStartup(VyPlatform& platform);
