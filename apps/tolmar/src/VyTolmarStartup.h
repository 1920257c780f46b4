#pragma once

class VyPlatform;

// The game's start-up function, called by the platform once the display exists: sets the title
// "Tolmar" and the fixed-size flag and hands the platform the main window. True when the game started.
bool VyTolmarStartup(VyPlatform& platform);
