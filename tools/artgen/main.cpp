// tolmar-artgen: draws the game's bitmaps.
//   tolmar-artgen [--set FILE] OUTDIR             the archive layout: sets/classic, cursors, bitmaps
//   tolmar-artgen [--set FILE] --preview OUT.bmp  the game window in the middle of a game, for reviewing
// --set names the set file whose squares and pieces the art is drawn for (default: the classic set's
// file in the source tree).
// Exit status: 0 when every check passed, 1 when a check found a problem, 2 on bad use or an error.
#include <cstdio>
#include <cstring>

#include "artgen/VyArtClassicSet.h"
#include "artgen/VyArtGenerator.h"
#include "vythread/VyException.h"

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--set") == 0)
    {
        UseClassicSetFile(argv[2]);
        argc -= 2;
        argv += 2;
    }
    bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
    if (!preview && (argc != 2 || argv[1][0] == '-'))
    {
        std::fprintf(stderr, "usage: tolmar-artgen [--set FILE] OUTDIR\n       tolmar-artgen [--set FILE] --preview OUT.bmp\n");
        return 2;
    }
    try
    {
        VyArtGenerator generator(stdout);
        std::vector<VyString> problems = preview ? generator.WritePreview(argv[2]) : generator.WriteAll(argv[1]);
        if (!problems.empty())
        {
            std::fprintf(stderr, "tolmar-artgen: %zu check(s) failed\n", problems.size());
            return 1;
        }
        return 0;
    }
    catch (const VyException& error)
    {
        std::fprintf(stderr, "tolmar-artgen: %s\n", error.what());
        return 2;
    }
}
