#include "VyFontRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "vythread/VyException.h"

namespace
{

FT_Library Library(void* library) { return static_cast<FT_Library>(library); }
FT_Face Face(void* face) { return static_cast<FT_Face>(face); }

// Windows-1252 codes 128..159 in Unicode; 0 marks the unused codes.
constexpr unsigned int CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

VyFontRaster::VyFontRaster(const VyString& path, int pixelSize, VyRasterMode mode) : m_mode(mode)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        throw VyException("VyFontRaster", "VyFontRaster", "FreeType did not start");
    m_pLibrary = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c(), 0, &face) != 0)
    {
        FT_Done_FreeType(library);
        throw VyFileException("VyFontRaster", "VyFontRaster", "Can not read the face", path);
    }
    m_pFace = face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0)
    {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        throw VyException("VyFontRaster", "VyFontRaster", VyString::Format("Size %d not available", pixelSize));
    }
}

VyFontRaster::~VyFontRaster()
{
    FT_Done_Face(Face(m_pFace));
    FT_Done_FreeType(Library(m_pLibrary));
}

unsigned int VyFontRaster::UnicodeOf(int code)
{
    if (code >= 128 && code < 160)
        return CP1252_HIGH[code - 128];
    return static_cast<unsigned int>(code);
}

VyRasterGlyph VyFontRaster::Render(int code)
{
    unsigned int character = UnicodeOf(code);
    if (character != 0 && FT_Get_Char_Index(Face(m_pFace), character) != 0)
        return RenderCharacter(code, character);
    return RenderCharacter(code, ' ');
}

VyRasterGlyph VyFontRaster::RenderCharacter(int code, unsigned int character)
{
    FT_Face face = Face(m_pFace);
    FT_Int32 flags = FT_LOAD_RENDER | (m_mode == VyRasterMode::MONO ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Char(face, character, flags) != 0)
        throw VyException("VyFontRaster", "Render", VyString::Format("Can not render code %d", code));
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;

    VyRasterGlyph glyph;
    glyph.code = code;
    glyph.advance = static_cast<unsigned int>((slot->advance.x + 32) >> 6);
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.box = {slot->bitmap_left, slot->bitmap_top, slot->bitmap_left + glyph.width,
                 slot->bitmap_top - glyph.height};
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    for (int y = 0; y < glyph.height; ++y)
    {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x)
        {
            unsigned char value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                      ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0)
                                      : row[x];
            glyph.coverage[static_cast<size_t>(y) * glyph.width + x] = value;
        }
    }
    if (glyph.width == 0 || glyph.height == 0)
        glyph.box = {};
    return glyph;
}
