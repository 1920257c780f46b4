#include "VyRenderScene.h"

std::unique_ptr<VyRGBFormat> VyRenderScene::MakeRamp(int width, int height)
{
    auto image = VyRGBFormat::Create(width, height, VY_FORMAT_RGBA32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            uint32_t alpha = width > 1 ? 255 - 255 * x / (width - 1) : 255;
            image->SetPixel(x, y, VyMakeColour(40 + 200 * x / width, 255 * y / height, (x * 37 + y * 11) & 0xFF, alpha));
        }
    return image;
}

std::unique_ptr<VyRGBFormat> VyRenderScene::MakeStripes(int width, int height)
{
    auto image = VyRGBFormat::Create(width, height, VY_FORMAT_GREY8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            uint32_t grey = ((x + y) / 3) % 2 ? 230 : 40;
            image->SetPixel(x, y, VyMakeColour(grey, grey, grey));
        }
    return image;
}

void VyRenderScene::Draw(VyRenderContext& context, bool bAntialiasedFonts)
{
    context.BeginFrame();
    const int width = context.GetWidth(), height = context.GetHeight();
    context.SetColor(VyColor(0x405060));
    context.FillRect({0, height, width, 0});

    // Fills: opaque, half transparent over it, and one the alpha test removes.
    context.SetColor(VyColor(0xD02020));
    context.FillRect({10, 230, 70, 190});
    context.SetColor(VyColor(0x2040F0, 128));
    context.FillRect({40, 210, 100, 170});
    context.SetColor(VyColor(0x00FF00, 10));
    context.FillRect({10, 180, 60, 160});

    // Textures.
    VyTexture ramp = context.MakeTextureHandle(*MakeRamp(16, 8));
    VyTexture stripes = context.MakeTextureHandle(*MakeStripes(12, 12));
    context.SelectTexture(ramp);
    context.SetColor(VyColor(0xFFFFFF));
    context.SetBlending(true);
    context.DrawTexture({110, 230, 126, 222}, {0, 8, 16, 0});   // 1:1
    context.DrawTexture({110, 215, 158, 191}, {});              // whole texture, stretched 3x
    context.SetColor(VyColor(0xFFC080, 200));
    context.DrawTexture({165, 230, 197, 198}, {4, 6, 12, 2});   // a part, modulated
    context.SetImageMode(VY_IMAGE_HIGHLIGHT);
    context.SetColor(VyColor(0x406080));
    context.DrawTexture({205, 230, 237, 214}, {});
    context.SetImageMode(VY_IMAGE_NORMAL);
    context.SetBlending(false);
    context.SelectTexture(stripes);
    context.SetColor(VyColor(0x80FF80));
    context.DrawTexture({245, 230, 281, 194}, {});              // grey as intensity, opaque
    context.SetTileOrigin({3, 5});
    context.SetColor(VyColor(0xFFFFFF));
    context.TileTexture({110, 185, 177, 150});
    context.SetTileOrigin({0, 0});
    VyColor textured(0xFFFFFF, 160);
    textured.SetTexture(stripes);
    context.SetColor(textured);                                  // a colour carrying a texture tiles it
    context.FillRect({185, 185, 230, 150});

    // Polygons: counter-clockwise, clockwise, outline.
    const VyPoint triangle[] = {{10, 140}, {70, 140}, {40, 110}};
    const VyPoint pentagon[] = {{80, 140}, {100, 120}, {130, 125}, {125, 145}, {95, 150}};
    const VyPoint outline[] = {{140, 110}, {190, 118}, {170, 145}, {150, 140}};
    context.SetColor(VyColor(0xF0E040));
    context.DrawPolygon(triangle, 3, VyPolygonStyle::FILLED);
    context.SetColor(VyColor(0x30C0C0, 180));
    context.SetBlending(true);
    context.DrawPolygon(pentagon, 5, VyPolygonStyle::FILLED);
    context.SetBlending(false);
    context.SetColor(VyColor(0xFFFFFF));
    context.DrawPolygon(outline, 4, VyPolygonStyle::OUTLINE);

    // Lines of every direction, points.
    context.SetColor(VyColor(0xFF8000));
    context.DrawLine({200, 110}, {250, 140});
    context.DrawLine({250, 110}, {200, 125});
    context.DrawLine({205, 145}, {215, 105});
    context.DrawLine(260, 110, 300, 110, VyLineEnd::INCLUDED);
    context.DrawLine(300, 115, 260, 115, VyLineEnd::EXCLUDED);
    context.DrawLine(265, 120, 265, 145, VyLineEnd::INCLUDED);
    context.DrawLine(275, 145, 295, 125, VyLineEnd::INCLUDED);
    const VyPoint points[] = {{290, 140}, {292, 140}, {294, 142}, {296, 144}};
    context.DrawPoints(points, 4);

    // A clip: only its inside changes.
    context.SetClipRect({20, 100, 120, 60});
    context.SetColor(VyColor(0x8040C0));
    context.FillRect({0, 90, 300, 70});
    context.SetColor(VyColor(0xFFFFFF));
    context.DrawLine({0, 62}, {300, 98});
    context.SetClipRect({0, height, width, 0});

    // 3-D frames.
    VyFrameColors four;
    four.colors[0] = VyColor(0x000000);
    four.colors[1] = VyColor(0x808080);
    four.colors[2] = VyColor(0xFFFFFF);
    four.colors[3] = VyColor(0xC0C0C0);
    context.Draw3DFrame({130, 100, 180, 70}, four, VyFrameStyle::RAISED);
    context.Draw3DFrame({190, 100, 240, 70}, four, VyFrameStyle::SUNKEN);
    context.SetColor(VyColor(0xE0E0E0));
    context.DrawRect({250, 100, 300, 70});

    // Text.
    context.SetColor(VyColor(0xFFFFFF));
    context.SelectFont(VY_FONT_CONTROL);
    context.DrawText("Tolmar: 16 pieces, 4 properties.", 10, 55);
    context.SelectFont(VY_FONT_UNDERLINE);
    context.DrawText("<>under<yellow>lined<orig> text", 10, 38);
    VyRect box{180, 58, 310, 40};
    context.SelectFont(VY_FONT_CONTROL);
    context.DrawText("A text too long for its box is cut", box, VY_TEXT_ELLIPSIS | VY_TEXT_HCENTER | VY_TEXT_VCENTER);
    if (bAntialiasedFonts)
    {
        context.SelectFont(VY_FONT_MENU);
        context.SetColor(VyColor(0x101010));
        context.DrawText("<>Bold <red>red<orig> and <blue>blue", 10, 20);
        context.SelectFont(VY_FONT_WINDOWTEXT);
        context.SetColor(VyColor(0xFFFF00));
        context.DrawText("Antialiased window text", 180, 20);
    }
    context.EndFrame();
}

#if defined(__SANITIZE_THREAD__)
// Mesa's software OpenGL (llvmpipe) synchronises its worker threads in ways ThreadSanitizer cannot
// see from outside the uninstrumented driver; its reports about the driver's own locks are not ours.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:swrast_dri.so\n";
}
#endif
