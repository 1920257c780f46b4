// tolmar-artgen: draws the game's bitmaps.
//   tolmar-artgen OUTDIR              the archive layout: sets/classic, cursors, bitmaps
//   tolmar-artgen --preview OUT.bmp   the game window in the middle of a game, for reviewing the art
// Exit status: 0 when every check passed, 1 when a check found a problem, 2 on bad use or an error.
#include <cstdio>
#include <cstring>

#include "artgen/VyArtGenerator.h"
#include "vythread/VyException.h"

int main(int argc, char** argv)
{
    bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
    if (!preview && (argc != 2 || argv[1][0] == '-'))
    {
        std::fprintf(stderr, "usage: tolmar-artgen OUTDIR\n       tolmar-artgen --preview OUT.bmp\n");
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
