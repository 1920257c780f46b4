#pragma once

#include <vector>

#include "vythread/VyString.h"
#include "vyrender/VyGlyph.h"

// How glyph pixels are rendered.
enum class VyRasterMode
{
    MONO,        // one bit per pixel: coverage 0 or 255
    GREY,        // 8-bit antialiased coverage
};

// One character rendered by FreeType: its box and advance (VyGlyph conventions) and its coverage,
// width x height bytes with row 0 the top row.
struct VyRasterGlyph
{
    int code = 0;
    VyRect box;
    unsigned int advance = 0;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> coverage;
};

// Renders the characters of a TrueType face at a pixel size.
class VyFontRaster
{
public:
    // Opens the face file; throws VyException when FreeType cannot read it or set the size.
    VyFontRaster(const VyString& path, int pixelSize, VyRasterMode mode);
    ~VyFontRaster();
    VyFontRaster(const VyFontRaster&) = delete;
    VyFontRaster& operator=(const VyFontRaster&) = delete;

    // Renders the character of a Windows-1252 code (32..255). Codes without a character in that code
    // page (129, 141, 143, 144, 157) and characters missing from the face give a glyph without pixels
    // that advances like the space.
    VyRasterGlyph Render(int code);

    // The Unicode character of a Windows-1252 code, 0 for the five unused codes.
    static unsigned int UnicodeOf(int code);

private:
    VyRasterGlyph RenderCharacter(int code, unsigned int character);

    void* m_pLibrary = nullptr;   // FT_Library
    void* m_pFace = nullptr;      // FT_Face
    VyRasterMode m_mode;
};
