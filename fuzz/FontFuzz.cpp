// A .vyf font read by VyFont::Read, then used as the program uses a font: text laid out, measured and
// wrapped. Checked: a refused file leaves the font as it was; an accepted one keeps the file limits,
// every glyph's sheet rectangle lies inside the sheet, every drawing step copies from inside the
// sheet, and writing the font and reading what was written gives the same font again.
#include "VyFuzzCheck.h"
#include "vyio/VyMemFile.h"
#include "vyrender/VyFont.h"
#include "vythread/VyException.h"

namespace
{
// Marked-up text, and every printable character with some that lie outside most tables.
constexpr const char* VY_FUZZ_TEXTS[] = {
    "<>Tolma <red>chose<orig> the <<piece> <nonsense>\x01\x7F\xE9 <unclosed",
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~\x01\x7F\xE9",
};

bool InsideSheet(const VyRect& rect, const rgb& sheet)
{
    return rect.left >= 0 && rect.left <= rect.right && rect.right <= sheet.Width() && rect.bottom >= 0 &&
           rect.bottom <= rect.top && rect.top <= sheet.Height();
}

void CheckLimits(const VyFont& font)
{
    VyFuzzCheck(font.GetGlyphCount() <= static_cast<int>(VyFont::MAX_GLYPHS), "more glyphs than the limit");
    VyFuzzCheck(font.GetHeight() <= static_cast<int>(VyFont::MAX_HEIGHT), "a font above the height limit");
    VyFuzzCheck(font.GetSheet().Width() <= VyFont::MAX_SHEET_SIDE && font.GetSheet().Height() <= VyFont::MAX_SHEET_SIDE,
                "a glyph sheet above the side limit");
    for (const VyGlyph& glyph : font.GetGlyphs())
    {
        VyFuzzCheck(InsideSheet(glyph.sheet, font.GetSheet()), "a glyph reaches outside the sheet");
        VyFuzzCheck(glyph.advance <= static_cast<unsigned int>(VyFont::MAX_METRIC), "an advance above the limit");
    }
}

void CheckLayout(const VyFont& font, const char* text)
{
    for (const VyGlyphStep& step : font.Layout(text, {10, 20}))
    {
        if (step.kind != VyGlyphStep::GLYPH)
            continue;
        VyFuzzCheck(step.glyph >= 0 && step.glyph < font.GetGlyphCount(), "a step names a glyph that does not exist");
        // A box of another size than its sheet rectangle is drawn stretched, which is safe.
        VyFuzzCheck(InsideSheet(step.source, font.GetSheet()), "a step copies from outside the sheet");
    }
    VyFuzzCheck(font.GetTextWidth(text) >= 0, "a text of negative width");
    for (int width : {0, 1, 40, 400})
        (void)font.Wrap(text, width);
    (void)font.FitToAspect(text, 1.5);
}

void CheckRoundTrip(const VyFont& font)
{
    VyMemFile written(VY_IO_WRITE);
    font.Write(written);
    VyMemFile reading(written.GetData(), written.GetLength());
    VyFont again;
    again.Read(reading);
    VyFuzzCheck(again.GetDesc() == font.GetDesc() && again.GetFirstCharacter() == font.GetFirstCharacter() &&
                    again.GetHeight() == font.GetHeight(),
                "a written font reads back with another header");
    VyFuzzCheck(again.GetGlyphs() == font.GetGlyphs(), "a written font reads back with other glyphs");
    VyFuzzCheck(again.GetSheet().Width() == font.GetSheet().Width() &&
                    again.GetSheet().Height() == font.GetSheet().Height(),
                "a written font reads back with another sheet");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyMemFile file(data, static_cast<int>(size));
    VyFont font;
    try
    {
        font.Read(file);
    }
    catch (const VyException&)
    {
        VyFuzzCheck(font.GetGlyphCount() == 0 && font.GetHeight() == 0 && font.GetSheet().IsEmpty(),
                    "a refused font changed the font");
        return 0;
    }
    CheckLimits(font);
    for (const char* text : VY_FUZZ_TEXTS)
        CheckLayout(font, text);
    (void)font.GetAscent();
    CheckRoundTrip(font);
    return 0;
}
