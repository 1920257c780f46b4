#include "VyFontBuilder.h"

#include "vybitmap/VyRGBFormat.h"
#include "VyGlyphPacker.h"

VyFont VyFontBuilder::Build(const VyFontBuildOptions& options)
{
    VyRasterMode mode = options.desc.antialiased ? VyRasterMode::GREY : VyRasterMode::MONO;
    VyFontRaster raster(options.faceFile, options.pixelSize, mode);
    std::vector<VyRasterGlyph> rendered;
    for (int i = 0; i < options.glyphCount; ++i)
    {
        VyRasterGlyph glyph = raster.Render(options.firstCharacter + i);
        VyTrimGlyph(glyph);
        rendered.push_back(std::move(glyph));
    }

    VyGlyphPacker packer(options.sheetSide);
    std::vector<VyRect> sheets = packer.Pack(rendered);
    std::vector<VyGlyph> glyphs(rendered.size());
    for (size_t i = 0; i < rendered.size(); ++i)
        glyphs[i] = {rendered[i].box, sheets[i], rendered[i].advance};

    VyFont font;
    font.SetMetrics(options.desc, options.firstCharacter, options.height, std::move(glyphs));
    // The glyphs are white; the coverage is their alpha, so the drawing colour tints them. Antialiased
    // fonts keep grey and alpha, plain ones alpha only.
    std::unique_ptr<VyRGBFormat> sheet = VyRGBFormat::Create(
        options.sheetSide, options.sheetSide, options.desc.antialiased ? VY_FORMAT_GREY_ALPHA16 : VY_FORMAT_ALPHA8);
    const std::vector<unsigned char>& coverage = packer.GetCoverage();
    for (int y = 0; y < options.sheetSide; ++y)
        for (int x = 0; x < options.sheetSide; ++x)
        {
            uint32_t alpha = coverage[static_cast<size_t>(y) * options.sheetSide + x];
            sheet->SetPixel(x, y, (alpha << 24) | 0xFFFFFF);
        }
    font.SetSheet(rgb(std::move(sheet)));
    return font;
}
