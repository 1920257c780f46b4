#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <functional>

#include "VyRenderTestSupport.h"
#include "vybitmap/VyJpeg.h"
#include "vyio/VyFile.h"
#include "vyio/VyTestDir.h"
#include "vyrender/VyDirectDraw.h"
#include "vyrender/VyNativeContext.h"
#include "vyrender/VyOpenGL.h"

// Every render context at display scale 2: the window shows the frame with each frame pixel on a 2 x 2
// block, while ReadFrame and the screenshot keep the frame's own size.

#ifdef VYW_TEST_ARCHIVE

namespace
{
constexpr int W = 64;
constexpr int H = 48;
constexpr int FACTOR = 2;
// The scene's colour ramp at its top-right pixel (63 * 4, 47 * 5, 110 * 2).
constexpr uint32_t RAMP_TOP_RIGHT = 0xFCEBDC;

// What a window shows, y upwards like the frame, as 0xRRGGBB.
struct WindowPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // bottom row first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

WindowPicture ReadSurface(SDL_Window* pWindow)
{
    SDL_Surface* pSurface = SDL_GetWindowSurface(pWindow);
    WindowPicture picture{pSurface->w, pSurface->h, {}};
    for (int y = 0; y < pSurface->h; ++y)
    {
        const auto* pRow = static_cast<const uint8_t*>(pSurface->pixels) + (pSurface->h - 1 - y) * pSurface->pitch;
        for (int x = 0; x < pSurface->w; ++x)
        {
            Uint32 pixel = 0;
            std::memcpy(&pixel, pRow + x * pSurface->format->BytesPerPixel, pSurface->format->BytesPerPixel);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, pSurface->format, &r, &g, &b);
            picture.pixels.push_back((r << 16) | (g << 8) | b);
        }
    }
    return picture;
}

// The bottom-left width x height pixels of the OpenGL buffer being drawn.
WindowPicture ReadGLBuffer(int width, int height)
{
    using ReadPixels = void (*)(int, int, int, int, unsigned int, unsigned int, void*);
    auto read = reinterpret_cast<ReadPixels>(SDL_GL_GetProcAddress("glReadPixels"));
    std::vector<uint8_t> bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    read(0, 0, width, height, 0x1908 /* GL_RGBA */, 0x1401 /* GL_UNSIGNED_BYTE */, bytes.data());
    WindowPicture picture{width, height, {}};
    for (size_t i = 0; i < bytes.size(); i += 4)
        picture.pixels.push_back((bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2]);
    return picture;
}

// A frame in which neighbouring pixels differ: a colour ramp in every pixel, a sloped line, a filled
// triangle and a blended texture of distinct texels.
void DrawScene(VyRenderContext& context, const VyTexture& texture)
{
    context.BeginFrame();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
        {
            context.SetColor(VyColor(static_cast<uint32_t>(((x * 4) << 16) | ((y * 5) << 8) | (((x + y) * 2) & 0xFF))));
            context.FillRect({x, y + 1, x + 1, y});
        }
    context.SetColor(VyColor(0xFFFFFF));
    context.DrawLine(2, 3, 60, 41, VyLineEnd::INCLUDED);
    const VyPoint triangle[3] = {{5, 40}, {30, 44}, {12, 20}};
    context.SetColor(VyColor(0x00FFFF));
    context.DrawPolygon(triangle, 3, VyPolygonStyle::FILLED);
    context.SetBlending(true);
    context.SetColor(VyColor(0xFFFFFF, 160));
    context.SelectTexture(texture);
    context.DrawTexture({40, 20, 48, 12}, {});
    context.SetBlending(false);
    context.EndFrame();
}

VyTexture MakeCheckerTexture(VyRenderContext& context)
{
    auto pImage = VyRGBFormat::Create(8, 8, VY_FORMAT_RGB24);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pImage->SetPixel(x, y, (x + y) % 2 ? 0xFF2020u : 0x2020FFu);
    return context.MakeTextureHandle(*pImage);
}

// Every FACTOR x FACTOR block of the window is one colour, the colour of its frame pixel (within the
// tolerance the window's pixel format leaves).
void ExpectBlownUp(const WindowPicture& window, const rgb& frame, int tolerance)
{
    EXPECT_EQ(FramePixel(frame, W - 1, H - 1), RAMP_TOP_RIGHT) << "the frame holds the scene";
    ASSERT_EQ(window.width, W * FACTOR);
    ASSERT_EQ(window.height, H * FACTOR);
    int mixedBlocks = 0;
    int wrongBlocks = 0;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x)
        {
            const uint32_t corner = window.At(x - x % FACTOR, y - y % FACTOR);
            mixedBlocks += window.At(x, y) != corner;
            if (x % FACTOR == 0 && y % FACTOR == 0)
            {
                const uint32_t logical = FramePixel(frame, x / FACTOR, y / FACTOR);
                for (int shift : {0, 8, 16})
                    if (std::abs(static_cast<int>((logical >> shift) & 0xFF) - static_cast<int>((corner >> shift) & 0xFF)) >
                        tolerance)
                    {
                        ++wrongBlocks;
                        break;
                    }
            }
        }
    EXPECT_EQ(mixedBlocks, 0);
    EXPECT_EQ(wrongBlocks, 0);
}

// The screenshot of the context, loaded back.
std::unique_ptr<VyRGBFormat> Screenshot(VyRenderContext& context, const std::function<void()>& drawFrame)
{
    VyTestDir dir;
    VyScopedWorkingDir inside(dir.Path());
    context.SaveScreenshot();
    drawFrame(); // OpenGL takes one asked for between frames at the next frame's end
    VyFile file(VY_IO_READ);
    if (!file.Open("screenshot.jpg", VY_FILE_READ))
        return nullptr;
    return VyJpeg::Load(file);
}

class VyScaledFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_source.IsOpen());
        ASSERT_NE(VyTestGLWindow::Get(), nullptr) << VyTestGLWindow::GetError(); // SDL video is up
        m_pWindow = SDL_CreateWindow("scaled", 0, 0, W * FACTOR, H * FACTOR, SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_pWindow, nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        if (m_pWindow != nullptr)
            SDL_DestroyWindow(m_pWindow);
    }

    // SDL's offscreen driver may show a window surface through an OpenGL context of its own, which is
    // then current: the tests' context is made current again.
    static void UseTestGLContext()
    {
        VyTestGLWindow* pGL = VyTestGLWindow::Get();
        ASSERT_EQ(SDL_GL_MakeCurrent(pGL->m_pWindow, pGL->m_context), 0) << SDL_GetError();
    }

    // A software context at scale 2 in the window: the blow-up, the frame and the screenshot.
    void CheckSoftware(VyRenderContext& context, int tolerance)
    {
        context.SetDisplayScale(FACTOR);
        context.Initialize(W, H, 32, false);
        EXPECT_EQ(context.GetWidth(), W);
        const VyTexture texture = MakeCheckerTexture(context);
        DrawScene(context, texture);
        rgb frame;
        ASSERT_TRUE(context.ReadFrame(frame));
        ASSERT_EQ(frame.Image()->Width(), W);
        ASSERT_EQ(frame.Image()->Height(), H);
        ExpectBlownUp(ReadSurface(m_pWindow), frame, tolerance);
        std::unique_ptr<VyRGBFormat> pShot = Screenshot(context, [&] { DrawScene(context, texture); });
        ASSERT_TRUE(pShot);
        EXPECT_EQ(pShot->Width(), W);
        EXPECT_EQ(pShot->Height(), H);
    }

    VyTestArchiveSource m_source;
    SDL_Window* m_pWindow = nullptr;
};

} // namespace

TEST_F(VyScaledFrameTest, SoftwareContextsShowEveryFramePixelAsABlock)
{
    {
        VyNativeContext native(m_pWindow);
        CheckSoftware(native, 0);
    }
    // DirectDraw narrows to the surface's format when that has 16 bits; the blocks stay whole.
    VyDirectDraw directDraw(m_pWindow);
    CheckSoftware(directDraw, 8);
}

TEST_F(VyScaledFrameTest, ASoftwareWindowSmallerThanTheBlownUpFrameCutsIt)
{
    SDL_SetWindowSize(m_pWindow, W * FACTOR - 3, H * FACTOR - 1);
    VyNativeContext native(m_pWindow);
    native.SetDisplayScale(FACTOR);
    native.Initialize(W, H, 32, false);
    native.SetColor(VyColor(0x00FF00));
    native.FillRect({0, H, W, 0});
    native.EndFrame();
    const WindowPicture window = ReadSurface(m_pWindow);
    EXPECT_EQ(window.At(0, 0), 0x00FF00u);
    EXPECT_EQ(window.At(window.width - 1, window.height - 1), 0x00FF00u);
}

TEST_F(VyScaledFrameTest, OpenGLBlowsTheFrameUpAndKeepsReadingItAtItsOwnSize)
{
    UseTestGLContext();
    VyOpenGL gl;
    gl.SetDisplayScale(FACTOR);
    gl.Initialize(W, H, 32, false);
    const VyTexture texture = MakeCheckerTexture(gl);
    DrawScene(gl, texture);
    rgb frame;
    ASSERT_TRUE(gl.ReadFrame(frame)); // after the blow-up: from the texture it was blown up from
    ASSERT_EQ(frame.Image()->Width(), W);
    ASSERT_EQ(frame.Image()->Height(), H);
    ExpectBlownUp(ReadGLBuffer(W * FACTOR, H * FACTOR), frame, 0);

    // The blow-up leaves the drawing state as it was (the texture it bound included): the next frame is
    // the same picture.
    DrawScene(gl, texture);
    rgb again;
    ASSERT_TRUE(gl.ReadFrame(again));
    EXPECT_EQ(CompareFrames(frame, again, 0).pixelsOutside, 0);

    // The frame is the picture scale 1 draws.
    gl.Shutdown();
    VyOpenGL plain;
    plain.Initialize(W, H, 32, false);
    const VyTexture plainTexture = MakeCheckerTexture(plain);
    DrawScene(plain, plainTexture);
    rgb unscaled;
    ASSERT_TRUE(plain.ReadFrame(unscaled));
    EXPECT_EQ(CompareFrames(frame, unscaled, 0).pixelsOutside, 0);
}

TEST_F(VyScaledFrameTest, AnOpenGLScreenshotAtScaleTwoIsOfTheFrame)
{
    UseTestGLContext();
    VyOpenGL gl;
    gl.SetDisplayScale(FACTOR);
    gl.Initialize(W, H, 32, false);
    const VyTexture texture = MakeCheckerTexture(gl);
    DrawScene(gl, texture);
    std::unique_ptr<VyRGBFormat> pShot = Screenshot(gl, [&] { DrawScene(gl, texture); });
    ASSERT_TRUE(pShot);
    EXPECT_EQ(pShot->Width(), W);
    EXPECT_EQ(pShot->Height(), H);
    // Its top-right corner is the ramp's (252, 235, 220), not a corner of the blown-up window.
    const uint32_t corner = pShot->GetPixel(W - 1, H - 1);
    EXPECT_GT(VyRedOf(corner), 200u);
    EXPECT_GT(VyGreenOf(corner), 180u);
}

#endif
