#include <gtest/gtest.h>

#include <cstdio>

#include "VyRenderScene.h"
#include "VyRenderTestSupport.h"
#include "vyrender/VyDirectDraw.h"
#include "vyrender/VyNativeContext.h"
#include "vyrender/VyOpenGL.h"

#ifdef VYW_TEST_ARCHIVE

namespace
{

constexpr int W = VyTestGLWindow::WIDTH;
constexpr int H = VyTestGLWindow::HEIGHT;

rgb DrawWith(VyRenderContext& context, int bits, bool bAntialiasedFonts)
{
    context.Initialize(W, H, bits, false);
    VyRenderScene::Draw(context, bAntialiasedFonts);
    rgb frame;
    EXPECT_TRUE(context.ReadFrame(frame));
    return frame;
}

// Lists where two frames differ by more than the tolerance (for the failure message).
std::string DescribeDifferences(const rgb& a, const rgb& b, int tolerance)
{
    std::string text;
    int listed = 0;
    for (int y = 0; y < a.Height() && listed < 40; ++y)
        for (int x = 0; x < a.Width() && listed < 40; ++x)
        {
            uint32_t ca = FramePixel(a, x, y), cb = FramePixel(b, x, y);
            int worst = 0;
            for (int shift : {16, 8, 0})
                worst = std::max(worst, std::abs(static_cast<int>((ca >> shift) & 0xFF) - static_cast<int>((cb >> shift) & 0xFF)));
            if (worst > tolerance)
            {
                char line[80];
                std::snprintf(line, sizeof line, "(%d,%d) %06X %06X\n", x, y, ca, cb);
                text += line;
                ++listed;
            }
        }
    return text;
}

class VyBackendParity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_source.IsOpen());
        m_pWindow = VyTestGLWindow::Get();
        ASSERT_NE(m_pWindow, nullptr) << VyTestGLWindow::GetError();
    }

    VyTestArchiveSource m_source;
    VyTestGLWindow* m_pWindow = nullptr;
};

TEST_F(VyBackendParity, NativeDrawsWhatOpenGLDraws)
{
    VyOpenGL gl;
    rgb glFrame = DrawWith(gl, 32, true);
    VyNativeContext native;
    rgb nativeFrame = DrawWith(native, 32, true);

    VyFrameDifference difference = CompareFrames(glFrame, nativeFrame, 2);
    std::printf("OpenGL (%s) against Native: %.4f%% of pixels within 2, %d outside, largest difference %d\n",
                gl.GetRendererString().c_str(), 100.0 * difference.withinTolerance, difference.pixelsOutside,
                difference.maxDifference);
    EXPECT_GE(difference.withinTolerance, 0.995) << DescribeDifferences(glFrame, nativeFrame, 2);
}

TEST_F(VyBackendParity, DirectDrawDrawsWhatOpenGLDrawsWithin16Bits)
{
    VyOpenGL gl;
    rgb glFrame = DrawWith(gl, 32, false);
    VyDirectDraw directDraw;
    rgb ddFrame = DrawWith(directDraw, 16, false);
    ASSERT_EQ(directDraw.GetFrameBuffer()->FormatId(), VY_FORMAT_RGB565);

    VyFrameDifference difference = CompareFrames(glFrame, ddFrame, 8);
    std::printf("OpenGL against DirectDraw 5-6-5: %.4f%% of pixels within 8, %d outside, largest difference %d\n",
                100.0 * difference.withinTolerance, difference.pixelsOutside, difference.maxDifference);
    EXPECT_GE(difference.withinTolerance, 0.995) << DescribeDifferences(glFrame, ddFrame, 8);
}

} // namespace

#endif
