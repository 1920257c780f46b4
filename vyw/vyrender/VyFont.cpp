#include "vyrender/VyFont.h"

#include <algorithm>
#include <climits>

#include "vythread/VyException.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyIO.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vyrender/VyMarkup.h"
#include "vyrender/VyTextWrap.h"

namespace
{

const VyGlyph NO_GLYPH{};

} // namespace

VyFont::VyFont() = default;
VyFont::~VyFont() = default;

VyString VyFont::GetFontPath(const VyFontDesc& desc)
{
    VyConfigFile config("vyw.cfg");
    VyString directory = config.GetString("Directories", "Fonts", "Fonts");
    return VyResourceSource::JoinPath(directory, desc.FileName());
}

void VyFont::CreateFont(int id, const VyFontDesc& desc, VyFontAntialiasing support)
{
    VyFontDesc stored = desc;
    stored.antialiased = desc.antialiased && support == VyFontAntialiasing::SUPPORTED;
    VyString path = GetFontPath(stored);
    VyMemFile file(VY_IO_READ);
    try
    {
        VyResourceSource::Fetch(path, file);
        Read(file);
    }
    catch (VyException& e)
    {
        e.AddContext("VyMessageTarget", "CreateFont", "Can not create font");
        throw;
    }
    m_id = id;
    m_desc = stored;
}

int VyFont::GetGlyphIndex(char code) const
{
    int index = static_cast<unsigned char>(code) - m_firstCharacter;
    return index >= 0 && index < GetGlyphCount() ? index : 0;
}

const VyGlyph& VyFont::GetGlyph(char code) const
{
    return m_glyphs.empty() ? NO_GLYPH : m_glyphs[GetGlyphIndex(code)];
}

int VyFont::GetTextWidth(std::string_view text, int count) const
{
    long long width = 0;
    VyMarkup::ForEach(text, [&](const VyMarkupToken& token) {
        if (token.kind != VyMarkupToken::TEXT || count == 0)
            return;
        width += GetGlyph(token.character).advance;
        if (count > 0)
            --count;
    });
    return static_cast<int>(std::min<long long>(width, INT_MAX));
}

std::vector<VyGlyphStep> VyFont::Layout(std::string_view text, VyPoint pen) const
{
    std::vector<VyGlyphStep> steps;
    bool bColorChanged = false;
    VyMarkup::ForEach(text, [&](const VyMarkupToken& token) {
        if (token.kind == VyMarkupToken::TAG)
        {
            VyMarkupColor color = token.bClosed ? VyMarkup::TagColor(token.tag) : VyMarkupColor{};
            if (color.kind == VyMarkupColor::SET)
                steps.push_back({VyGlyphStep::SET_COLOR, 0, {}, {}, color.rgb});
            else if (color.kind == VyMarkupColor::ORIGINAL)
                steps.push_back({VyGlyphStep::RESTORE_COLOR, 0, {}, {}, 0});
            if (color.kind != VyMarkupColor::NONE)
                bColorChanged = color.kind == VyMarkupColor::SET;
            return;
        }
        if (m_glyphs.empty())
            return;
        int index = GetGlyphIndex(token.character);
        const VyGlyph& glyph = m_glyphs[index];
        if (!glyph.box.IsEmpty() && !glyph.sheet.IsEmpty())
        {
            VyRect dest{pen.x + glyph.box.left, pen.y + glyph.box.top, pen.x + glyph.box.right,
                        pen.y + glyph.box.bottom};
            steps.push_back({VyGlyphStep::GLYPH, index, dest, glyph.sheet, 0});
        }
        pen.x += static_cast<int>(glyph.advance);
    });
    if (bColorChanged)
        steps.push_back({VyGlyphStep::RESTORE_COLOR, 0, {}, {}, 0});
    return steps;
}

std::vector<VyString> VyFont::Wrap(std::string_view text, int width) const
{
    return VyTextWrap::Wrap(*this, text, width);
}

VySize VyFont::FitToAspect(std::string_view text, double ratio) const
{
    return VyTextWrap::FitToAspect(*this, text, ratio);
}

int VyFont::GetAscent() const
{
    int ascent = 0;
    for (const VyGlyph& glyph : m_glyphs)
        if (!glyph.box.IsEmpty())
            ascent = std::max(ascent, glyph.box.top);
    return ascent;
}

void VyFont::SetMetrics(const VyFontDesc& desc, int firstCharacter, int height, std::vector<VyGlyph> glyphs)
{
    m_desc = desc;
    m_firstCharacter = firstCharacter;
    m_height = height;
    m_glyphs = std::move(glyphs);
}

namespace
{

constexpr unsigned int VYF_VERSION = 1;
constexpr int GLYPH_BYTES = 36;

// Throws when the stream can tell that fewer than count bytes are left.
void RequireBytes(VyIO& in, long long count, const char* what)
{
    long long left = in.GetBytesLeft();
    if (left >= 0 && left < count)
        throw VyException("VyFont", "Read", VyString("Font file ends inside the ") + what);
}

bool MetricInRange(int value)
{
    return value >= -VyFont::MAX_METRIC && value <= VyFont::MAX_METRIC;
}

// Checks a glyph from a file: box and advance within bounds, sheet rectangle clamped to the sheet.
VyGlyph CheckedGlyph(VyGlyph glyph, int sheetWidth, int sheetHeight)
{
    const VyRect& box = glyph.box;
    if (!MetricInRange(box.left) || !MetricInRange(box.top) || !MetricInRange(box.right) ||
        !MetricInRange(box.bottom) || glyph.advance > static_cast<unsigned int>(VyFont::MAX_METRIC))
        throw VyException("VyFont", "Read", "Glyph metrics out of range");
    VyRect& sheet = glyph.sheet;
    sheet.left = std::clamp(sheet.left, 0, sheetWidth);
    sheet.right = std::clamp(sheet.right, sheet.left, sheetWidth);
    sheet.bottom = std::clamp(sheet.bottom, 0, sheetHeight);
    sheet.top = std::clamp(sheet.top, sheet.bottom, sheetHeight);
    return glyph;
}

} // namespace

void VyFont::Write(VyIO& out) const
{
    out << VYF_VERSION << m_desc.face << static_cast<unsigned int>(m_desc.size)
        << static_cast<unsigned char>(m_desc.bold) << static_cast<unsigned char>(m_desc.italic)
        << static_cast<unsigned char>(m_desc.antialiased) << static_cast<unsigned int>(m_firstCharacter)
        << static_cast<unsigned int>(m_height) << static_cast<unsigned int>(m_glyphs.size());
    for (const VyGlyph& glyph : m_glyphs)
        out << glyph.box << glyph.sheet << glyph.advance;
    out << m_sheet;
}

void VyFont::Read(VyIO& in)
{
    unsigned int version = 0, size = 0, firstCharacter = 0, height = 0, count = 0;
    unsigned char bold = 0, italic = 0, antialiased = 0;
    VyString face;
    RequireBytes(in, 4, "header");
    in >> version >> face;
    RequireBytes(in, 4 + 3 + 12, "header");
    in >> size >> bold >> italic >> antialiased >> firstCharacter >> height >> count;
    if (count > MAX_GLYPHS || firstCharacter > 255 || height > MAX_HEIGHT || size > INT_MAX)
        throw VyException("VyFont", "Read", "Font header out of range");
    RequireBytes(in, static_cast<long long>(count) * GLYPH_BYTES, "glyph table");

    std::vector<VyGlyph> glyphs(count);
    for (VyGlyph& glyph : glyphs)
        in >> glyph.box >> glyph.sheet >> glyph.advance;
    RequireBytes(in, 16, "glyph sheet");
    rgb sheet;
    in >> sheet;
    if (sheet.Width() > MAX_SHEET_SIDE || sheet.Height() > MAX_SHEET_SIDE)
        throw VyException("VyFont", "Read", "Glyph sheet too large");
    for (VyGlyph& glyph : glyphs)
        glyph = CheckedGlyph(glyph, sheet.Width(), sheet.Height());

    m_desc.face = face;
    m_desc.size = static_cast<int>(size);
    m_desc.bold = bold != 0;
    m_desc.italic = italic != 0;
    m_desc.antialiased = antialiased != 0;
    m_firstCharacter = static_cast<int>(firstCharacter);
    m_height = static_cast<int>(height);
    m_glyphs = std::move(glyphs);
    m_sheet = std::move(sheet);
}
