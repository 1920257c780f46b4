// vyfont: renders a TrueType face into a bitmap font file (.vyf).
//
//   vyfont --face-file FILE.ttf --out FILE.vyf [--face NAME] [--size N] [--bold] [--antialiased]
//          [--pixel-size PX] [--height H]
//
// Codes 32..131 are rendered as Windows-1252 characters: 128 is the euro sign, 129 (unused in that
// code page) is a blank as wide as the space, 130 the low single quote, 131 the florin sign.
// Prints the box of '@' and the sheet's fill to standard output.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vythread/VyException.h"
#include "vyio/VyFile.h"
#include "VyFontBuilder.h"

namespace
{

int Usage()
{
    std::fprintf(stderr, "usage: vyfont --face-file FILE.ttf --out FILE.vyf [--face NAME] [--size N] "
                         "[--bold] [--antialiased] [--pixel-size PX] [--height H]\n");
    return 2;
}

bool ParseArguments(int argc, char** argv, VyFontBuildOptions& options, VyString& out)
{
    for (int i = 1; i < argc; ++i)
    {
        std::string_view arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--bold")
            options.desc.bold = true;
        else if (arg == "--antialiased")
            options.desc.antialiased = true;
        else if (arg == "--face-file" && hasValue)
            options.faceFile = argv[++i];
        else if (arg == "--out" && hasValue)
            out = argv[++i];
        else if (arg == "--face" && hasValue)
            options.desc.face = argv[++i];
        else if (arg == "--size" && hasValue)
            options.desc.size = std::atoi(argv[++i]);
        else if (arg == "--pixel-size" && hasValue)
            options.pixelSize = std::atoi(argv[++i]);
        else if (arg == "--height" && hasValue)
            options.height = std::atoi(argv[++i]);
        else
            return false;
    }
    return !options.faceFile.empty() && !out.empty() && options.pixelSize > 0 && options.height > 0;
}

void Report(const VyFont& font, const VyString& out)
{
    const VyGlyph& at = font.GetGlyph('@');
    const VyRGBFormat& sheet = *font.GetSheet().Image();
    int used = 0;
    for (const VyGlyph& glyph : font.GetGlyphs())
        used += glyph.sheet.Width() * glyph.sheet.Height();
    std::printf("%s: %d glyphs, height %d, sheet %dx%d id %d (%d%% covered), '@' box %d, %d, %d, %d advance %u\n",
                out.c(), font.GetGlyphCount(), font.GetHeight(), sheet.Width(), sheet.Height(), sheet.FormatId(),
                100 * used / (sheet.Width() * sheet.Height()), at.box.left, at.box.top,
                at.box.right, at.box.bottom, at.advance);
}

} // namespace

int main(int argc, char** argv)
{
    VyFontBuildOptions options;
    VyString out;
    if (!ParseArguments(argc, argv, options, out))
        return Usage();
    try
    {
        VyFont font = VyFontBuilder::Build(options);
        VyFile file(VY_IO_WRITE);
        if (!file.Open(out, VY_FILE_WRITE))
            throw VyFileException("vyfont", "main", "Can not create the font file", out);
        font.Write(file);
        file.Close();
        Report(font, out);
    }
    catch (const VyException& e)
    {
        std::fprintf(stderr, "vyfont: %s\n", e.what());
        return 1;
    }
    return 0;
}
