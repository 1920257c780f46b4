#include <gtest/gtest.h>

#include <cstring>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyRGBFormat.h"

namespace
{
std::unique_ptr<VyRGBFormat> Solid(int id, uint32_t colour, int width = 4, int height = 4)
{
    return VyRGBFormat::Create(width, height, id, VY_ALIGN_BYTE, colour);
}

VyRect Whole(const VyRGBFormat& image)
{
    return VyRect{0, image.Height(), image.Width(), 0};
}

// Blits one source pixel onto one destination pixel and returns the result.
uint32_t BlitOne(int destId, uint32_t dest, int srcId, uint32_t src, const VyRGBFx& fx)
{
    auto target = Solid(destId, dest, 1, 1);
    auto source = Solid(srcId, src, 1, 1);
    target->Blit(Whole(*target), *source, Whole(*source), fx);
    return target->GetPixel(0, 0);
}
} // namespace

TEST(VyBlit, TintAndBlendArithmetic)
{
    const VyRGBFx multiply(VyMakeColour(128, 255, 0), 255, VyRGBFx::VY_FX_MULTIPLICATIVE);
    const VyRGBFx add(VyMakeColour(128, 255, 0), 255, VyRGBFx::VY_FX_ADDITIVE);
    const uint32_t source = VyMakeColour(200, 100, 50);

    EXPECT_EQ(BlitOne(7, 0, 7, source, VyRGBFx()), source) << "a white tint copies";
    EXPECT_EQ(BlitOne(7, 0, 7, source, multiply), VyMakeColour(100, 99, 0));
    EXPECT_EQ(BlitOne(7, 0, 7, source, add), VyMakeColour(255, 199, 50)) << "capped at the channel maximum";
    // 5-bit channels: 200 -> 25, tint 128 -> 16: 25 * 16 >> 5 = 12, which reads 96.
    EXPECT_EQ(BlitOne(4, 0, 7, source, multiply) & 0xFF0000, 96u << 16);

    // Half-covered red over opaque blue and over transparent black.
    const uint32_t halfRed = VyMakeColour(255, 0, 0, 128);
    EXPECT_EQ(BlitOne(7, VyMakeColour(0, 0, 255), 7, halfRed, VyRGBFx()), VyMakeColour(127, 0, 127, 255));
    EXPECT_EQ(BlitOne(7, 0x00000000, 7, halfRed, VyRGBFx()), VyMakeColour(127, 0, 0, 127));
    EXPECT_EQ(BlitOne(5, VyMakeColour(0, 0, 255), 7, halfRed, VyRGBFx()), VyMakeColour(127, 0, 127));
    EXPECT_EQ(BlitOne(7, VyMakeColour(0, 0, 255), 7, VyMakeColour(255, 0, 0, 0), VyRGBFx()), VyMakeColour(0, 0, 255))
        << "a transparent pixel leaves the destination";

    // The strength scales the source alpha; a disabled effect draws nothing.
    EXPECT_EQ(BlitOne(7, VyMakeColour(0, 0, 0), 5, VyMakeColour(255, 255, 255), VyRGBFx(0xFFFFFF, 128)),
              VyMakeColour(127, 127, 127));
    VyRGBFx off;
    off.m_bEnabled = false;
    EXPECT_EQ(BlitOne(7, VyMakeColour(1, 2, 3), 7, source, off), VyMakeColour(1, 2, 3));

    // The single-colour tint moves each component towards the tint by the strength.
    EXPECT_EQ(VyRGBFx(VyMakeColour(255, 0, 100), 128).TintColour(VyMakeColour(0, 255, 100, 7)),
              VyMakeColour(127, 127, 100, 7));

    // An alpha mask draws in the tint colour.
    EXPECT_EQ(BlitOne(5, VyMakeColour(0, 0, 0), 10, 0xFF000000, VyRGBFx(VyMakeColour(10, 20, 30), 255)),
              VyMakeColour(9, 19, 29));
}

TEST(VyBlit, FillsArePlainAtFullStrengthAndBlendedBelow)
{
    auto image = Solid(VY_FORMAT_RGBA32, VyMakeColour(0, 0, 0, 0));
    image->Fill(VyRect{1, 3, 3, 1}, VyMakeColour(255, 128, 0, 255));
    EXPECT_EQ(image->GetPixel(1, 1), VyMakeColour(255, 128, 0, 255));
    EXPECT_EQ(image->GetPixel(2, 2), VyMakeColour(255, 128, 0, 255));
    EXPECT_EQ(image->GetPixel(3, 2), 0u);
    EXPECT_EQ(image->GetPixel(1, 3), 0u);
    image->Fill(VyRect{1, 3, 3, 1}, VyMakeColour(0, 0, 255, 0), VyRGBFx(0xFFFFFF, 128));
    EXPECT_EQ(image->GetPixel(1, 1), VyMakeColour(127, 64, 127, 127));

    VyTraceCapture trace;
    image->Fill(VyRect{-100, 1000, 1, -5}, 0xFFFFFFFF); // clipped to column 0
    EXPECT_TRUE(trace.Text().empty()) << "fills clip silently";
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(image->GetPixel(0, y), 0xFFFFFFFFu);
    EXPECT_EQ(image->GetPixel(1, 0), 0u);
}

TEST(VyBlit, ClippingAtTheEdgesReportsTheCorners)
{
    auto source = VyRGBFormat::Create(4, 4, VY_FORMAT_RGBA32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source->SetPixel(x, y, VyMakeColour(x, y, 9));
    auto dest = Solid(VY_FORMAT_RGBA32, 0);
    {
        VyTraceCapture trace;
        dest->Blit(VyRect{-1, 6, 3, 2}, *source, Whole(*source));
        EXPECT_EQ(trace.Count("Assertion Failed:dest.left>=0\n"), 1);
        EXPECT_EQ(trace.Count("Assertion Failed:dest.bottom>=0\n"), 0);
    }
    // Columns 0..2 of rows 2..3 come from source columns 1..3, rows 0..1.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
        {
            const bool drawn = x < 3 && y >= 2;
            EXPECT_EQ(dest->GetPixel(x, y), drawn ? VyMakeColour(x + 1, y - 2, 9) : 0u) << x << "," << y;
        }

    auto again = Solid(VY_FORMAT_RGBA32, 0);
    VyTraceCapture trace;
    again->Blit(VyRect{0, 4, 4, 0}, *source, VyRect{3, 2, 7, -2});
    EXPECT_EQ(trace.Count("Assertion Failed:src.bottom>=0\n"), 1);
    again->Blit(VyRect{4, 4, 8, 0}, *source, Whole(*source));
    again->Blit(VyRect{0, 4, 4, 0}, *source, VyRect{4, 4, 8, 0});
    EXPECT_EQ(trace.Count("Assertion Failed:dest.left<m_width\n"), 1);
    EXPECT_EQ(trace.Count("Assertion Failed:src.left<rgb.Width()\n"), 1);
    again->Blit(VyRect{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, *Solid(VY_FORMAT_RGBA32, 0, 1, 1),
                VyRect{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN});
    // Only source column 3, rows 0..1, landed: at column 0, rows 2..3.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(again->GetPixel(x, y), x == 0 && y >= 2 ? VyMakeColour(3, y - 2, 9) : 0u) << x << "," << y;
}

TEST(VyBlit, OverlappingBlitWithinOneImageReadsTheOriginal)
{
    auto image = VyRGBFormat::Create(4, 1, VY_FORMAT_RGB24);
    for (int x = 0; x < 4; ++x)
        image->SetPixel(x, 0, VyMakeColour(x, 0, 0));
    image->Blit(VyRect{1, 1, 4, 0}, *image, VyRect{0, 1, 3, 0});
    for (int x = 1; x < 4; ++x)
        EXPECT_EQ(image->GetPixel(x, 0), VyMakeColour(x - 1, 0, 0));
}

// The formats with direct paths give byte for byte what the generic per-pixel path gives.
TEST(VyBlit, FastPathsAgreeWithTheGenericPath)
{
    const VyRGBFx effects[] = {
        VyRGBFx(),
        VyRGBFx(VyMakeColour(200, 90, 255), 255, VyRGBFx::VY_FX_MULTIPLICATIVE),
        VyRGBFx(VyMakeColour(60, 255, 10), 255, VyRGBFx::VY_FX_ADDITIVE),
        VyRGBFx(0xFFFFFF, 100),
        VyRGBFx(VyMakeColour(30, 140, 250), 17, VyRGBFx::VY_FX_ADDITIVE),
    };
    const int destIds[] = {VY_FORMAT_RGB555, VY_FORMAT_RGB565, VY_FORMAT_RGBA32, VY_FORMAT_RGB32};
    const int srcIds[] = {VY_FORMAT_RGB555, VY_FORMAT_RGB565, VY_FORMAT_RGBA32, VY_FORMAT_RGB24};
    uint32_t seed = 1;
    for (int destId : destIds)
        for (int srcId : srcIds)
            for (const VyRGBFx& fx : effects)
            {
                SCOPED_TRACE(testing::Message() << "dest " << destId << " src " << srcId << " strength "
                                                << fx.m_strength << " mode " << fx.m_nMode);
                auto source = VyRGBFormat::Create(13, 11, srcId, VY_ALIGN_32);
                VyFillNoise(*source, ++seed);
                auto fast = VyRGBFormat::Create(17, 9, destId, VY_ALIGN_32);
                auto generic = VyRGBFormat::CreateGeneric(17, 9, destId, VY_ALIGN_32);
                VyFillNoise(*fast, ++seed);
                std::memcpy(generic->Buffer(), fast->Buffer(), fast->BufferSize());

                const VyRect dest{3, 12, 20, 2}, src{-2, 9, 10, 1};
                VyTraceCapture trace;
                fast->Blit(dest, *source, src, fx);
                generic->Blit(dest, *source, src, fx);
                fast->Fill(VyRect{0, 3, 5, 0}, VyMakeColour(99, 180, 7, 66), fx);
                generic->Fill(VyRect{0, 3, 5, 0}, VyMakeColour(99, 180, 7, 66), fx);
                ASSERT_EQ(std::memcmp(fast->Buffer(), generic->Buffer(), fast->BufferSize()), 0);
            }
}
