#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "VyRenderTestSupport.h"
#include "vybitmap/VyJpeg.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vyrender/VyDirectDraw.h"
#include "vyrender/VyMarkup.h"
#include "vyrender/VyNativeContext.h"
#include "vyrender/VyStandardFonts.h"
#include "vythread/VyException.h"
#include "vyutil/VyColorSlots.h"

#ifdef VYW_TEST_ARCHIVE

namespace
{

class VyNativeContextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_source.IsOpen());
        m_context.Initialize(64, 48, 32, false);
        Clear(0x000000);
    }

    void Clear(uint32_t rgb)
    {
        m_context.SetColor(VyColor(rgb));
        m_context.FillRect({0, 48, 64, 0});
        m_context.ClearStatistics();
    }

    uint32_t At(int x, int y) const { return m_context.GetFrameBuffer()->GetPixel(x, y) & 0xFFFFFF; }

    // The smallest rectangle holding every pixel that is not the colour rgb (empty when none).
    VyRect Drawn(uint32_t background) const
    {
        VyRect box{1 << 20, -(1 << 20), -(1 << 20), 1 << 20};
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                if (At(x, y) != background)
                    box = {std::min(box.left, x), std::max(box.top, y + 1), std::max(box.right, x + 1),
                           std::min(box.bottom, y)};
        return box.IsEmpty() ? VyRect{} : box;
    }

    // Test pictures from memory, the fonts from the test archive.
    VyTestMemorySource m_source{VyTestMemorySource::Rest::FROM_ARCHIVE};
    VyNativeContext m_context;
};

TEST_F(VyNativeContextTest, InitialisationReportsTheBackEndAndLoadsTheStandardFonts)
{
    EXPECT_EQ(VyRenderContext::GetCurrent(), &m_context);
    EXPECT_EQ(VyTextureSource::GetCurrent(), &m_context);
    ASSERT_EQ(m_context.GetFonts().size(), 4u);
    for (int id = 0; id < VY_STANDARD_FONT_COUNT; ++id)
        EXPECT_EQ(m_context.GetFonts()[id]->GetDesc(), VyStandardFonts::Find(id)->desc) << id;
    EXPECT_EQ(m_context.GetFont(), m_context.GetFonts()[VY_FONT_CONTROL].get());

    // Definition-file font choices: standard numbers and equal descriptions find the loaded fonts.
    VyFontChoice menu{VY_FONT_MENU, {}};
    EXPECT_EQ(m_context.GetFont(menu), m_context.GetFonts()[0].get());
    VyFontChoice plain{-1, VyStandardFonts::Find(VY_FONT_CONTROL)->desc};
    EXPECT_EQ(m_context.GetFont(plain), m_context.GetFonts()[2].get());
    VyFontChoice missing{-1, {"Arial", 100, false, true, false, false}}; // no italic font is shipped
    EXPECT_THROW(m_context.GetFont(missing), VyFileException);
    EXPECT_EQ(m_context.GetFonts().size(), 4u);

    // DirectDraw reports no blending: its antialiased standard fonts load the plain files.
    VyDirectDraw directDraw;
    directDraw.Initialize(16, 16, 16, false);
    EXPECT_FALSE(directDraw.GetFonts()[VY_FONT_MENU]->IsAntialiased());
    EXPECT_EQ(directDraw.GetFonts()[VY_FONT_MENU]->GetSheet().Image()->FormatId(), VY_FORMAT_ALPHA8);
}

TEST_F(VyNativeContextTest, MeasuringReturnsTheBoxAndDrawsNothing)
{
    const VyFont& font = *m_context.GetFont();
    VyRect rect{5, 40, 60, 10};
    m_context.DrawTextBox("Tolmar", rect, VY_TEXT_MEASURE | VY_TEXT_HCENTER | VY_TEXT_BOTTOM);
    EXPECT_EQ(rect, (VyRect{5, 40, 5 + font.GetTextWidth("Tolmar"), 40 - font.GetHeight()}));
    VyRect unchanged{5, 40, 60, 10};
    m_context.DrawText("Tolmar", unchanged, VY_TEXT_MEASURE);
    EXPECT_TRUE(Drawn(0).IsEmpty());
    EXPECT_EQ(m_context.GetStatistics().texturedQuads, 0);

    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.DrawText("Tolmar", unchanged, 0);
    EXPECT_FALSE(Drawn(0).IsEmpty());
    EXPECT_EQ(m_context.GetStatistics().texturedQuads, 6);
}

TEST_F(VyNativeContextTest, CuttingEndsTheLongestFittingPrefixWithDots)
{
    const VyFont& font = *m_context.GetFont();
    const std::string text = "The quick brown fox jumps over the lazy dog";
    const int dots = font.GetTextWidth("...");
    for (int width : {dots + 1, 40, 63, 100, 200})
    {
        SCOPED_TRACE(width);
        // The longest prefix that fits with "...", found by looking at every prefix.
        std::string expected;
        for (size_t n = 0; n < text.size(); ++n)
            if (font.GetTextWidth(text.substr(0, n)) + dots <= width)
                expected = text.substr(0, n) + "...";
        VyRect rect{0, 20, width, 0};
        m_context.DrawTextBox(text, rect, VY_TEXT_ELLIPSIS | VY_TEXT_MEASURE);
        EXPECT_EQ(rect.Width(), font.GetTextWidth(expected));
        EXPECT_LE(rect.Width(), width);
    }

    // A text that fits is not cut.
    VyRect wide{0, 20, 1000, 0};
    m_context.DrawTextBox(text, wide, VY_TEXT_ELLIPSIS | VY_TEXT_MEASURE);
    EXPECT_EQ(wide.Width(), font.GetTextWidth(text));

    // Narrower than "...": characters go from the end until the text fits.
    VyRect narrow{0, 20, dots - 1, 0};
    m_context.DrawTextBox("WWWW", narrow, VY_TEXT_ELLIPSIS | VY_TEXT_MEASURE);
    EXPECT_LE(narrow.Width(), dots - 1);
    EXPECT_EQ(narrow.Width() % font.GetTextWidth("W"), 0);

    // One character is never cut, even when it does not fit.
    VyRect tiny{0, 20, 2, 0};
    m_context.DrawTextBox("W", tiny, VY_TEXT_ELLIPSIS | VY_TEXT_MEASURE);
    EXPECT_EQ(tiny.Width(), font.GetTextWidth("W"));
    VyRect drawn{10, 30, 12, 10};
    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.DrawText("W", drawn, VY_TEXT_ELLIPSIS);
    EXPECT_GT(Drawn(0).Width(), 2);

    // Marked-up text is cut by its text characters and keeps its tags.
    VyRect marked{0, 20, 40, 0};
    m_context.DrawTextBox("<><red>" + text, marked, VY_TEXT_ELLIPSIS | VY_TEXT_MEASURE);
    VyRect plain{0, 20, 40, 0};
    m_context.DrawTextBox(text, plain, VY_TEXT_ELLIPSIS | VY_TEXT_MEASURE);
    EXPECT_EQ(marked.Width(), plain.Width());
}

TEST_F(VyNativeContextTest, TextIsAlignedInItsRectangle)
{
    const VyFont& font = *m_context.GetFont();
    const int width = font.GetTextWidth("Hi");
    m_context.SetColor(VyColor(0xFFFFFF));
    const VyRect rect{10, 40, 50, 4};
    struct Case
    {
        int flags;
        int left; // where the text's box starts
        int top;
    } cases[] = {
        {VY_TEXT_LEFT | VY_TEXT_TOP, 10, 40},
        {VY_TEXT_RIGHT | VY_TEXT_TOP, 50 - width, 40},
        {VY_TEXT_HCENTER | VY_TEXT_BOTTOM, 10 + (40 - width) / 2, 4 + font.GetHeight()},
        {VY_TEXT_LEFT | VY_TEXT_VCENTER, 10, 40 - (36 - font.GetHeight()) / 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.flags);
        Clear(0);
        m_context.SetColor(VyColor(0xFFFFFF));
        m_context.DrawText("Hi", rect, c.flags);
        VyRect drawn = Drawn(0);
        // The glyphs lie inside the text's box, 'H' where its glyph box puts it.
        EXPECT_EQ(drawn.left, c.left + font.GetGlyph('H').box.left);
        EXPECT_LE(drawn.right, c.left + width);
        EXPECT_LE(drawn.top, c.top);
        EXPECT_GE(drawn.bottom, c.top - font.GetHeight());
    }
}

TEST_F(VyNativeContextTest, MarkupColoursAndTheUnderline)
{
    m_context.SelectFont(VY_FONT_CONTROL);
    m_context.SetColor(VyColor(0x00FFFF));
    m_context.DrawText("<>I<red>I<orig>I", 10, 30);
    std::set<uint32_t> colours;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            if (At(x, y) != 0)
                colours.insert(At(x, y));
    EXPECT_EQ(colours, (std::set<uint32_t>{0x00FFFF, 0xFF0000}));
    const VyFont& font = *m_context.GetFont();
    const int step = font.GetGlyph('I').advance;
    const VyRect first = Drawn(0);
    EXPECT_EQ(At(first.left + step, first.bottom + 2), 0xFF0000u);
    EXPECT_EQ(At(first.left + 2 * step, first.bottom + 2), 0x00FFFFu);
    EXPECT_EQ(m_context.GetColor(), VyColor(0x00FFFF)) << "the colour is restored after the text";

    // The underlined font adds a line two rows under the baseline, as wide as the text.
    Clear(0);
    m_context.SelectFont(VY_FONT_UNDERLINE);
    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.DrawText("ab", 10, 30);
    const int baseline = 30 - m_context.GetFont()->GetAscent() + 1;
    const int textWidth = m_context.GetFont()->GetTextWidth("ab");
    for (int x = 10; x < 10 + textWidth; ++x)
        EXPECT_EQ(At(x, baseline - 2), 0xFFFFFFu) << x;
    EXPECT_EQ(At(10 + textWidth, baseline - 2), 0u);
    EXPECT_EQ(m_context.GetStatistics().filledQuads, 1);
}

TEST_F(VyNativeContextTest, SlotColoursResolveWhenDrawn)
{
    // Without a resolver a slot draws nothing.
    m_context.SetColor(VyColor::FromSlot(WINDOW_BACKGROUND));
    m_context.FillRect({0, 10, 10, 0});
    EXPECT_EQ(At(5, 5), 0u);

    VyTexture stripes = m_context.MakeTextureHandle(*VyRGBFormat::Create(2, 2, VY_FORMAT_RGB24, VY_ALIGN_BYTE, 0xFF00FF00));
    m_context.SetColorSlotResolver([&](int slot) {
        switch (slot)
        {
        case WINDOW_BACKGROUND:
            return VyColor(0x204060);
        case DIALOG_BACKGROUND:
            return VyColor(0xFFFFFF, 128);
        case BUTTON_FACE: {
            VyColor textured(0x123456);
            textured.SetTexture(stripes);
            return textured;
        }
        default:
            return VyColor(0xFF000000); // unset
        }
    });
    m_context.SetColor(VyColor::FromSlot(WINDOW_BACKGROUND));
    m_context.FillRect({0, 10, 10, 0});
    EXPECT_EQ(At(5, 5), 0x204060u);
    m_context.SetColor(VyColor::FromSlot(DIALOG_BACKGROUND));
    m_context.FillRect({0, 10, 10, 0});
    EXPECT_EQ(At(5, 5), 0x90A0B0u) << "the slot's alpha blends";
    m_context.SetColor(VyColor::FromSlot(EDIT_TEXT_SHADOW));
    m_context.FillRect({0, 10, 10, 0});
    EXPECT_EQ(At(5, 5), 0x90A0B0u) << "an unset slot draws nothing";

    // A slot with a bitmap tiles it, unmodulated, and counts textured quads.
    m_context.ClearStatistics();
    m_context.SetColor(VyColor::FromSlot(BUTTON_FACE));
    m_context.FillRect({20, 10, 25, 5});
    EXPECT_EQ(At(22, 7), 0x00FF00u);
    EXPECT_EQ(m_context.GetStatistics().filledQuads, 0);
    EXPECT_EQ(m_context.GetStatistics().texturedQuads, 9); // 5 x 5 in 2 x 2 tiles
    EXPECT_EQ(m_context.GetColor(), VyColor::FromSlot(BUTTON_FACE));
    EXPECT_FALSE(m_context.GetSelectedTexture().IsValid());
}

TEST_F(VyNativeContextTest, TilesAlignToTheTileOriginAndEmptySourcesStretch)
{
    // A 4 x 3 texture whose texel (x, y) has red 10 * x and green 10 * y.
    auto image = VyRGBFormat::Create(4, 3, VY_FORMAT_RGB24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image->SetPixel(x, y, VyMakeColour(10 * x, 10 * y, 0));
    VyTexture texture = m_context.MakeTextureHandle(*image);
    m_context.SelectTexture(texture);
    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.SetTileOrigin({3, 5});
    m_context.TileTexture({0, 20, 30, 1});
    for (int y = 1; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
        {
            const int tx = ((x - 3) % 4 + 4) % 4, ty = ((y - 5) % 3 + 3) % 3;
            ASSERT_EQ(At(x, y), VyMakeColour(10 * tx, 10 * ty, 0) & 0xFFFFFF) << x << "," << y;
        }
    EXPECT_EQ(At(0, 0), 0u);

    // A source of zero width or height is the whole texture.
    Clear(0);
    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.DrawTexture({0, 6, 8, 0}, {2, 3, 2, 0});
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(7, 0), 0x1E0000u);
    EXPECT_EQ(At(7, 5), 0x1E1400u);
    EXPECT_EQ(m_context.GetStatistics().texturedQuads, 1);
    EXPECT_EQ(m_context.GetStatistics().texturedArea, 48);
}

TEST_F(VyNativeContextTest, OutlinesFramesAndStatistics)
{
    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.DrawRect({10, 20, 20, 10});
    int lit = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            lit += At(x, y) != 0;
    EXPECT_EQ(lit, 36); // the 10 x 10 square's border
    EXPECT_EQ(At(10, 10), 0xFFFFFFu);
    EXPECT_EQ(At(19, 19), 0xFFFFFFu);
    EXPECT_EQ(At(11, 11), 0u);
    EXPECT_EQ(m_context.GetStatistics().filledQuads, 4);
    EXPECT_EQ(m_context.GetStatistics().filledArea, 36);

    VyFrameColors colors;
    colors.colors[0] = VyColor(0x000001); // dark shadow
    colors.colors[1] = VyColor(0x000002); // light shadow
    colors.colors[2] = VyColor(0x000003); // dark highlight
    colors.colors[3] = VyColor(0x000004); // light highlight
    m_context.SetColor(VyColor(0x777777));
    Clear(0);
    m_context.Draw3DFrame({30, 40, 40, 30}, colors, VyFrameStyle::RAISED);
    EXPECT_EQ(At(30, 39), 4u);  // outer top-left corner: light highlight
    EXPECT_EQ(At(35, 30), 1u);  // outer bottom: dark shadow
    EXPECT_EQ(At(39, 39), 1u);  // the top-right corner belongs to the bottom-right colour
    EXPECT_EQ(At(31, 38), 3u);  // inner top-left: dark highlight
    EXPECT_EQ(At(38, 31), 2u);  // inner bottom-right: light shadow
    EXPECT_EQ(At(35, 35), 0u);
    colors.count = 2;
    Clear(0);
    m_context.Draw3DFrame({30, 40, 40, 30}, colors, VyFrameStyle::SUNKEN);
    EXPECT_EQ(At(30, 35), 1u); // shadow left
    EXPECT_EQ(At(39, 35), 2u); // highlight right
    EXPECT_EQ(At(31, 38), 0u); // one pixel wide
    EXPECT_EQ(m_context.GetColor(), VyColor(0)) << "the current colour is kept";

}

TEST_F(VyNativeContextTest, EmptyClipsAreIgnored)
{
    m_context.SetClipRect({10, 30, 20, 10});
    m_context.SetClipRect({15, 30, 15, 10});
    m_context.SetClipRect({15, 30, 25, 30});
    EXPECT_EQ(m_context.GetClipRect(), (VyRect{10, 30, 20, 10}));
    m_context.SetColor(VyColor(0xFFFFFF));
    m_context.FillRect({0, 48, 64, 0});
    EXPECT_EQ(Drawn(0), (VyRect{10, 30, 20, 10}));
    m_context.Resize(32, 32);
    EXPECT_EQ(m_context.GetClipRect(), (VyRect{0, 32, 32, 0}));
}

TEST_F(VyNativeContextTest, TheTextureCacheLoadsOnceAndFallsBackToEmpty)
{
    auto image = VyRGBFormat::Create(3, 2, VY_FORMAT_RGB24, VY_ALIGN_BYTE, 0xFF336699);
    m_source.AddBitmap("Bitmaps\\marble.bmp", *image);
    const size_t requestsBefore = m_source.m_requests.size();

    VyTexture marble = m_context.GetTexture("marble.bmp");
    ASSERT_TRUE(marble.IsValid());
    EXPECT_EQ(marble.GetWidth(), 3);
    EXPECT_EQ(marble.GetHeight(), 2);
    EXPECT_EQ(m_context.GetTexture("marble.bmp"), marble);
    EXPECT_EQ(m_source.m_requests.size(), requestsBefore + 1);
    EXPECT_EQ(m_source.m_requests.back(), "Bitmaps\\marble.bmp");

    VyTexture missing = m_context.GetTexture("nowhere.bmp");
    EXPECT_EQ(missing, m_context.GetTexture(VyString(VY_EMPTY_TEXTURE)));
    EXPECT_TRUE(missing.IsValid());
    EXPECT_FALSE(m_context.GetTexture("").IsValid());

    // Message 5 drops what only the cache holds; what someone still holds stays.
    VyTexture board = m_context.GetTexture("board.bmp");
    board = VyTexture();
    missing = VyTexture();
    const int cached = m_context.GetCachedTextureCount();
    EXPECT_EQ(cached, 4); // marble, nowhere, empty, board
    m_context.HandleMessage({&m_context, VY_MSG_RELEASE_TEXTURES, 0, 0});
    EXPECT_EQ(m_context.GetCachedTextureCount(), 1);
    EXPECT_EQ(m_context.GetTexture("marble.bmp"), marble);
    const int marbleId = marble.GetId();
    marble = VyTexture();
    m_context.HandleMessage({&m_context, VY_MSG_RELEASE_TEXTURES, 0, 0});
    EXPECT_EQ(m_context.GetCachedTextureCount(), 0);
    EXPECT_EQ(m_context.GetTextureImage(marbleId), nullptr) << "the last handle deleted the texture";
}

TEST_F(VyNativeContextTest, TexturesReleasedOffTheDrawingThreadGoAtTheNextFrame)
{
    VyTexture texture = m_context.MakeTextureHandle(*VyRGBFormat::Create(2, 2, VY_FORMAT_GREY8));
    const int id = texture.GetId();
    std::thread worker([moved = std::move(texture)]() mutable { moved = VyTexture(); });
    worker.join();
    EXPECT_NE(m_context.GetTextureImage(id), nullptr);
    m_context.BeginFrame();
    EXPECT_EQ(m_context.GetTextureImage(id), nullptr);
}

TEST_F(VyNativeContextTest, ShutdownLeavesHandlesHeldElsewhereHarmless)
{
    VyTexture held = m_context.GetTexture("empty");
    const int id = held.GetId();
    m_context.Shutdown();
    EXPECT_EQ(m_context.GetTextureImage(id), nullptr);
    EXPECT_EQ(m_context.GetCachedTextureCount(), 0);
    EXPECT_TRUE(m_context.GetFonts().empty());
    EXPECT_EQ(m_context.GetFont(), nullptr);
    held = VyTexture(); // releases nothing any more
    // The context can be initialised again.
    m_context.Initialize(16, 16, 32, false);
    EXPECT_EQ(m_context.GetFonts().size(), 4u);
}

TEST_F(VyNativeContextTest, ScreenshotsAreJpegFilesInTheCurrentDirectory)
{
    VyTestDir dir;
    ASSERT_FALSE(dir.Path().empty());
    bool bSaved = false;
    std::unique_ptr<VyRGBFormat> shot;
    {
        VyScopedWorkingDir inside(dir.Path());
        m_context.SetColor(VyColor(0xFF0000));
        m_context.FillRect({0, 48, 64, 24});
        bSaved = m_context.SaveScreenshot();
        VyFile file(VY_IO_READ);
        if (file.Open("screenshot.jpg", VY_FILE_READ))
            shot = VyJpeg::Load(file);
    }
    ASSERT_TRUE(bSaved);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->Width(), 64);
    EXPECT_EQ(shot->Height(), 48);
    // Top half red, bottom half black (within JPEG's losses).
    EXPECT_GT(VyRedOf(shot->GetPixel(32, 40)), 200u);
    EXPECT_LT(VyRedOf(shot->GetPixel(32, 8)), 40u);
}

TEST_F(VyNativeContextTest, AScreenshotThatCannotBeWrittenTracesWhy)
{
    VyTestDir dir;
    ASSERT_FALSE(dir.Path().empty());
    // A folder in the screenshot's place cannot be opened as a file, whoever runs the test.
    std::filesystem::create_directory(dir.Path() / "screenshot.jpg");
    VyTraceCapture trace;
    bool bSaved = true;
    {
        VyScopedWorkingDir inside(dir.Path());
        bSaved = m_context.SaveScreenshot();
    }
    EXPECT_FALSE(bSaved);
    EXPECT_TRUE(trace.Has("*rgb::Save : could not open the file -> File: screenshot.jpg\n")) << trace.Text();
}

} // namespace

#endif
