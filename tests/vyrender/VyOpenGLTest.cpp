#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "VyRenderTestSupport.h"
#include "vyio/VyTestDir.h"
#include "vyrender/VyOpenGL.h"
#include "vythread/VyException.h"

namespace
{

TEST(VyOpenGLLoading, AMissingEntryPointNamesItself)
{
    static int dummy = 0;
    for (const char* missing : {"glAlphaFunc", "glTexImage2D", "glViewport"})
    {
        auto resolver = [missing](const char* name) -> void* {
            return std::strcmp(name, missing) == 0 ? nullptr : &dummy;
        };
        try
        {
            VyOpenGL context(resolver);
            ADD_FAILURE() << missing;
        }
        catch (const VyException& e)
        {
            EXPECT_EQ(e.GetMessage(), VyString("*VyOpenGL::LoadFunc : Failed to load ") + missing);
        }
    }
}

#ifdef VYW_TEST_ARCHIVE

class VyOpenGLTest : public ::testing::Test
{
protected:
    static constexpr int W = 64;
    static constexpr int H = 48;

    void SetUp() override
    {
        ASSERT_TRUE(m_source.IsOpen());
        ASSERT_NE(VyTestGLWindow::Get(), nullptr) << VyTestGLWindow::GetError();
        m_pContext = std::make_unique<VyOpenGL>();
        m_pContext->Initialize(W, H, 32, false);
        m_pContext->BeginFrame();
        m_pContext->SetColor(VyColor(0x000000));
        m_pContext->FillRect({0, H, W, 0});
        m_pContext->EndFrame();
        m_pContext->BeginFrame();
        m_pContext->ResetCounters();
    }

    rgb Read()
    {
        rgb frame;
        EXPECT_TRUE(m_pContext->ReadFrame(frame));
        return frame;
    }

    VyTestArchiveSource m_source;
    std::unique_ptr<VyOpenGL> m_pContext;
};

TEST_F(VyOpenGLTest, ReportsItsNameAndReadsTheFrameBottomRowFirst)
{
    VyOpenGL& gl = *m_pContext;
    EXPECT_EQ(gl.GetRendererName().rfind("OpenGL (", 0), 0u) << gl.GetRendererName();
    EXPECT_EQ(gl.GetRendererName().back(), ')');
    EXPECT_FALSE(gl.GetRendererString().empty());
    EXPECT_EQ(gl.GetPixelFormatText(), "32-bit");
    EXPECT_TRUE(gl.SupportsAlphaBlending());
    EXPECT_FALSE(gl.IsSoftwareRenderer());

    gl.SetColor(VyColor(0xFF0000));
    gl.FillRect({0, 1, W, 0});
    gl.SetColor(VyColor(0x00FF00));
    gl.FillRect({0, H, 1, H - 1});
    rgb frame = Read();
    ASSERT_EQ(frame.Width(), W);
    ASSERT_EQ(frame.Height(), H);
    EXPECT_EQ(frame.Image()->FormatId(), VY_FORMAT_RGB24);
    EXPECT_EQ(FramePixel(frame, 5, 0), 0xFF0000u);
    EXPECT_EQ(FramePixel(frame, 0, H - 1), 0x00FF00u);
    EXPECT_EQ(FramePixel(frame, 1, H - 1), 0u);
}

TEST_F(VyOpenGLTest, ConsecutiveQuadsShareOneBeginAndStateChangesSplitThem)
{
    VyOpenGL& gl = *m_pContext;
    gl.SetColor(VyColor(0x102030));
    for (int i = 0; i < 10; ++i)
        gl.FillRect({i, 10, i + 1, 0});
    gl.SetColor(VyColor(0xFFFFFF));
    gl.DrawLine(0, 20, 30, 20, VyLineEnd::INCLUDED); // a horizontal line is a quad too
    EXPECT_EQ(gl.GetBeginCount(), 1);
    EXPECT_EQ(gl.GetStateChangeCount(), 0);

    // A blended fill turns blending on before its quad (and off again before the next opaque one).
    gl.SetColor(VyColor(0xFFFFFF, 100));
    gl.FillRect({0, 30, 5, 25});
    gl.FillRect({5, 30, 10, 25});
    EXPECT_EQ(gl.GetBeginCount(), 2);
    gl.SetColor(VyColor(0xFFFFFF));
    gl.FillRect({0, 40, 5, 35});
    EXPECT_EQ(gl.GetBeginCount(), 3);

    // Textured quads: binding another texture splits the batch, the same texture does not.
    VyTexture a = gl.MakeTextureHandle(*VyRGBFormat::Create(2, 2, VY_FORMAT_RGB24));
    VyTexture b = gl.MakeTextureHandle(*VyRGBFormat::Create(2, 2, VY_FORMAT_RGB24));
    gl.ResetCounters();
    gl.SelectTexture(a);
    gl.DrawTexture({0, 10, 10, 0}, {});
    gl.DrawTexture({10, 10, 20, 0}, {});
    gl.SelectTexture(a);
    gl.DrawTexture({20, 10, 30, 0}, {});
    EXPECT_EQ(gl.GetBeginCount(), 1);
    gl.SelectTexture(b);
    gl.DrawTexture({30, 10, 40, 0}, {});
    EXPECT_EQ(gl.GetBeginCount(), 2);

    // A flag set and set back before the next primitive changes nothing.
    gl.ResetCounters();
    gl.SetBlending(true);
    gl.SetBlending(false);
    gl.DrawTexture({40, 10, 50, 0}, {});
    EXPECT_EQ(gl.GetBeginCount(), 0);
    EXPECT_EQ(gl.GetStateChangeCount(), 0);

    // Other primitive kinds start their own begin; polygons never share one.
    const VyPoint triangle[] = {{0, 0}, {10, 0}, {5, 8}};
    gl.ResetCounters();
    gl.DrawPolygon(triangle, 3, VyPolygonStyle::FILLED);
    gl.DrawPolygon(triangle, 3, VyPolygonStyle::FILLED);
    EXPECT_EQ(gl.GetBeginCount(), 2);
    gl.EndFrame();
}

TEST_F(VyOpenGLTest, ClipsAreViewportsAndEmptyOnesAreIgnored)
{
    VyOpenGL& gl = *m_pContext;
    gl.SetClipRect({10, 30, 20, 10});
    gl.SetClipRect({15, 30, 15, 10}); // zero width
    gl.SetClipRect({15, 20, 40, 20}); // zero height
    EXPECT_EQ(gl.GetClipRect(), (VyRect{10, 30, 20, 10}));
    gl.SetColor(VyColor(0xFFFFFF));
    gl.FillRect({0, H, W, 0});
    gl.SetColor(VyColor(0xFF0000));
    gl.DrawLine(0, 15, W, 15, VyLineEnd::EXCLUDED);
    rgb frame = Read();
    int lit = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (FramePixel(frame, x, y) != 0)
            {
                ++lit;
                EXPECT_TRUE((VyRect{10, 30, 20, 10}).Contains({x, y})) << x << "," << y;
            }
    EXPECT_EQ(lit, 200);
    // Drawing coordinates stay window coordinates inside the clip.
    EXPECT_EQ(FramePixel(frame, 12, 15), 0xFF0000u);
    EXPECT_EQ(FramePixel(frame, 12, 16), 0xFFFFFFu);
}

TEST_F(VyOpenGLTest, TexturesByKindAndTheWholeTextureForAnEmptySource)
{
    VyOpenGL& gl = *m_pContext;
    // 2 x 2: bottom row red, green; top row blue, white; drawn 8 x 8 from an empty source.
    auto image = VyRGBFormat::Create(2, 2, VY_FORMAT_RGB24);
    image->SetPixel(0, 0, 0xFFFF0000);
    image->SetPixel(1, 0, 0xFF00FF00);
    image->SetPixel(0, 1, 0xFF0000FF);
    image->SetPixel(1, 1, 0xFFFFFFFF);
    VyTexture texture = gl.MakeTextureHandle(*image);
    gl.SelectTexture(texture);
    gl.SetColor(VyColor(0xFFFFFF));
    gl.DrawTexture({0, 8, 8, 0}, {1, 2, 1, 0});
    // An alpha-only image is an intensity texture: alpha 128 over black, in white -> 128 grey.
    VyTexture alpha = gl.MakeTextureHandle(*VyRGBFormat::Create(3, 1, VY_FORMAT_ALPHA8, VY_ALIGN_BYTE, 0x80FFFFFF));
    gl.SelectTexture(alpha);
    gl.SetBlending(true);
    gl.DrawTexture({20, 4, 23, 3}, {});
    gl.SetBlending(false);
    // Rows of odd length are repacked for the unpack alignment.
    auto odd = VyRGBFormat::Create(3, 3, VY_FORMAT_RGB24, VY_ALIGN_BYTE, 0xFF204080);
    VyTexture oddTexture = gl.MakeTextureHandle(*odd);
    gl.SelectTexture(oddTexture);
    gl.DrawTexture({30, 3, 33, 0}, {});
    rgb frame = Read();
    EXPECT_EQ(FramePixel(frame, 0, 0), 0xFF0000u);
    EXPECT_EQ(FramePixel(frame, 7, 0), 0x00FF00u);
    EXPECT_EQ(FramePixel(frame, 0, 7), 0x0000FFu);
    EXPECT_EQ(FramePixel(frame, 7, 7), 0xFFFFFFu);
    EXPECT_NEAR(static_cast<int>(FramePixel(frame, 21, 3) >> 16), 64, 1); // 128 * 128 / 255
    for (int y = 0; y < 3; ++y)
        for (int x = 30; x < 33; ++x)
            EXPECT_EQ(FramePixel(frame, x, y), 0x204080u) << x << "," << y;

    for (int format : {VY_FORMAT_RGB555, VY_FORMAT_RGB565})
    {
        try
        {
            gl.MakeTexture(*VyRGBFormat::Create(2, 2, format));
            ADD_FAILURE() << format;
        }
        catch (const VyException& e)
        {
            EXPECT_EQ(e.GetMessage(), "*VyOpenGL::MakeTexture : Unsupported texture format");
        }
    }
}

TEST_F(VyOpenGLTest, AScreenshotAskedForBetweenFramesIsTakenAtTheNextFrameEnd)
{
    VyOpenGL& gl = *m_pContext;
    gl.EndFrame();
    VyTestDir dir;
    ASSERT_FALSE(dir.Path().empty());
    VyScopedWorkingDir inside(dir.Path());
    const bool bAsked = gl.SaveScreenshot();
    const bool bEarly = std::filesystem::exists("screenshot.jpg");
    gl.BeginFrame();
    gl.SetColor(VyColor(0x00FF00));
    gl.FillRect({0, H, W, 0});
    gl.EndFrame();
    const auto size = std::filesystem::exists("screenshot.jpg") ? std::filesystem::file_size("screenshot.jpg") : 0;
    EXPECT_TRUE(bAsked);
    EXPECT_FALSE(bEarly);
    EXPECT_GT(size, 0u);
}

#endif

} // namespace
