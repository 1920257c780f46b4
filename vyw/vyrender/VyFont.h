#pragma once

#include <string_view>
#include <vector>

#include "vybitmap/rgb.h"
#include "vythread/VyPoint.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"
#include "vyrender/VyFontDesc.h"
#include "vyrender/VyGlyph.h"

class VyIO;

// Whether the render context that will draw a font can draw antialiased (grey and alpha) glyph sheets.
// The render context passes its own capability to VyFont::CreateFont.
enum class VyFontAntialiasing
{
    UNSUPPORTED,
    SUPPORTED,
};

// A bitmap font: a glyph sheet and the metrics of the characters first..first+count-1.
//
// The .vyf file (little-endian, VyIO encodings):
//     u32 version (1) | string face | u32 size | u8 bold | u8 italic | u8 antialiased |
//     u32 first character | u32 height | u32 glyph count | count x 36-byte glyphs | rgb glyph sheet
// The glyph sheet is alpha only (format id 10) in plain fonts and grey and alpha (id 9) in antialiased
// ones.
class VyFont
{
public:
    VyFont();
    ~VyFont();

    // Loads the font's file (GetFontPath) through the resource look-up. The antialiased flag is kept
    // only when the render context supports it, otherwise the plain file is loaded. A font found
    // nowhere throws VyFileException and a damaged file VyException, both with the context line
    // "*VyMessageTarget::CreateFont : Can not create font"; the font is unchanged then. The font keeps
    // the description it was asked for (with the flag as stored), which is what a render context
    // matches fonts by; the face, size and flags in the file are read but not kept. The render
    // context makes its texture from GetSheet() afterwards.
    void CreateFont(int id, const VyFontDesc& desc, VyFontAntialiasing support);

    // "<[Directories] Fonts of vyw.cfg, default "Fonts">\<desc.FileName()>"; adds the key to vyw.cfg
    // when it is missing.
    static VyString GetFontPath(const VyFontDesc& desc);

    // Reads a .vyf file from its first byte. Counts and sizes that make no sense (more than MAX_GLYPHS
    // glyphs, a table or sheet the file does not hold, a sheet side above MAX_SHEET_SIDE, metrics
    // beyond MAX_METRIC) throw VyException before anything large is allocated; the font is left
    // unchanged then. Sheet rectangles reaching outside the sheet are clamped into it.
    void Read(VyIO& in);
    // Writes the .vyf file (the font generator's output).
    void Write(VyIO& out) const;

    // Glyph of a character: codes below the first character or past the table use glyph 0. A font
    // without glyphs answers an empty glyph.
    const VyGlyph& GetGlyph(char code) const;
    int GetGlyphIndex(char code) const;

    // Sum of the advances of the first count text characters (all when count is negative), markup
    // stripped.
    int GetTextWidth(std::string_view text, int count = -1) const;

    // The drawing steps of text with the pen on the baseline at pen. In marked-up text the colour tags
    // become SET_COLOR / RESTORE_COLOR steps, and a text that leaves a tag colour in force ends with a
    // RESTORE_COLOR step. Glyphs without pixels (the space) give no step; the pen still advances.
    std::vector<VyGlyphStep> Layout(std::string_view text, VyPoint pen) const;

    // Lines of text no wider than width, breaking at spaces; see VyTextWrap.
    std::vector<VyString> Wrap(std::string_view text, int width) const;
    // Width (the widest wrapped line) and height (lines x (height + 2)) of the wrapping whose shape
    // comes closest to the aspect ratio width / height; see VyTextWrap.
    VySize FitToAspect(std::string_view text, double ratio) const;

    // Highest glyph top above the baseline (0 without glyphs).
    int GetAscent() const;

    int GetId() const { return m_id; }
    const VyFontDesc& GetDesc() const { return m_desc; }
    const VyString& GetFace() const { return m_desc.face; }
    int GetSize() const { return m_desc.size; }
    bool IsBold() const { return m_desc.bold; }
    bool IsItalic() const { return m_desc.italic; }
    bool IsUnderline() const { return m_desc.underline; }
    bool IsAntialiased() const { return m_desc.antialiased; }
    int GetFirstCharacter() const { return m_firstCharacter; }
    int GetHeight() const { return m_height; }
    int GetGlyphCount() const { return static_cast<int>(m_glyphs.size()); }
    const std::vector<VyGlyph>& GetGlyphs() const { return m_glyphs; }
    // The glyph sheet: white glyphs whose alpha is their coverage (format id 10 or 9).
    const rgb& GetSheet() const { return m_sheet; }

    // Sets the metrics directly (the font generator and tests).
    void SetMetrics(const VyFontDesc& desc, int firstCharacter, int height, std::vector<VyGlyph> glyphs);
    void SetSheet(rgb sheet) { m_sheet = std::move(sheet); }

    // Largest values a font file may hold.
    static constexpr unsigned int MAX_GLYPHS = 256;
    static constexpr unsigned int MAX_HEIGHT = 1024;
    static constexpr int MAX_METRIC = 4096;   // glyph box coordinates and advances
    static constexpr int MAX_SHEET_SIDE = 4096;

private:
    int m_id = -1;
    VyFontDesc m_desc;
    int m_firstCharacter = 32;
    int m_height = 0;
    std::vector<VyGlyph> m_glyphs;
    rgb m_sheet;
};
