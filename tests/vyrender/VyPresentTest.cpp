#include <gtest/gtest.h>

#include <cstring>

#include "VyRenderTestSupport.h"
#include "vyio/VyConfigFile.h"
#include "vyrender/VyDirectDraw.h"
#include "vyrender/VyNativeContext.h"

#ifdef VYW_TEST_ARCHIVE

namespace
{

// A window without OpenGL whose surface the software contexts copy their frames into.
class VyPresentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_source.IsOpen());
        ASSERT_NE(VyTestGLWindow::Get(), nullptr) << VyTestGLWindow::GetError(); // SDL video is up
        m_pWindow = SDL_CreateWindow("present", 0, 0, 32, 24, SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_pWindow, nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        if (m_pWindow != nullptr)
            SDL_DestroyWindow(m_pWindow);
    }

    // The surface pixel at frame coordinates (x, y upwards) as 0xRRGGBB.
    uint32_t SurfacePixel(int x, int y)
    {
        SDL_Surface* pSurface = SDL_GetWindowSurface(m_pWindow);
        Uint32 pixel = 0;
        const auto* pRow = static_cast<const uint8_t*>(pSurface->pixels) + (pSurface->h - 1 - y) * pSurface->pitch;
        std::memcpy(&pixel, pRow + x * pSurface->format->BytesPerPixel, pSurface->format->BytesPerPixel);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, pSurface->format, &r, &g, &b);
        return (r << 16) | (g << 8) | b;
    }

    void DrawCorners(VyRenderContext& context)
    {
        context.BeginFrame();
        context.SetColor(VyColor(0x000000));
        context.FillRect({0, 24, 32, 0});
        context.SetColor(VyColor(0xFF0000));
        context.FillRect({0, 1, 1, 0}); // bottom left
        context.SetColor(VyColor(0x00FF00));
        context.FillRect({31, 24, 32, 23}); // top right
        context.EndFrame();
    }

    VyTestArchiveSource m_source;
    SDL_Window* m_pWindow = nullptr;
};

TEST_F(VyPresentTest, TheFrameReachesTheWindowTheRightWayUp)
{
    VyNativeContext native(m_pWindow);
    native.Initialize(32, 24, 32, false);
    DrawCorners(native);
    EXPECT_EQ(SurfacePixel(0, 0), 0xFF0000u);
    EXPECT_EQ(SurfacePixel(31, 23), 0x00FF00u);
    EXPECT_EQ(SurfacePixel(31, 0), 0u);

    // DirectDraw takes the surface's pixel format and presents the same picture.
    VyDirectDraw directDraw(m_pWindow);
    directDraw.Initialize(32, 24, 16, false);
    const int bits = SDL_GetWindowSurface(m_pWindow)->format->BitsPerPixel;
    EXPECT_EQ(directDraw.GetPixelFormatText(), bits == 32 || bits == 24 ? "32-bit" : "16-bit");
    DrawCorners(directDraw);
    EXPECT_EQ(SurfacePixel(0, 0), 0xFF0000u);
    EXPECT_EQ(SurfacePixel(31, 23), 0x00FF00u);
}

TEST_F(VyPresentTest, DirectDrawDithersWhenTheSettingSaysSo)
{
    VyConfigFile config("vyw.cfg");
    const VyString saved = config.GetString("DirectDraw", "Dither", "FALSE");
    VyDirectDraw plain;
    plain.Initialize(8, 8, 16, false);
    EXPECT_FALSE(plain.IsDithering());
    config.SetString("DirectDraw", "Dither", "TRUE");
    VyDirectDraw dithered;
    dithered.Initialize(8, 8, 16, false);
    config.SetString("DirectDraw", "Dither", saved);
    EXPECT_TRUE(dithered.IsDithering());
    // The frame is dithered: a level between two 5-bit steps leaves both steps in a 4 x 4 block.
    dithered.SetColor(VyColor(0x252525)); // 37 * 31 / 255 = 4.5
    dithered.FillRect({0, 4, 4, 0});
    EXPECT_NE(dithered.GetFrameBuffer()->GetPixel(0, 0), dithered.GetFrameBuffer()->GetPixel(1, 0));
}

} // namespace

#endif
