// tolmar: the game.
//
//   tolmar [--quit-after-frames N]
//
// --quit-after-frames N ends the program after N drawn frames (for tests and measurements).
// The program runs in its own directory: vyw.cfg, Tolmar.cfg, saved games and screenshots live there.
#include "VyTolmarStartup.h"
#include "vyplatform/VyWin.h"

int main(int argc, char** argv)
{
    return VyWin::Main(argc, argv, VyTolmarStartup);
}
