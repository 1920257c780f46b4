#include <gtest/gtest.h>

#include <filesystem>

#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyPixelFormat.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyNativeContext.h"
#include "vythread/VyTraceCapture.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VySceneWnd.h"

// The main window with the scene window as its child, drawn into the software frame buffer of the
// Native context (no screen needed), with pictures the tests paint themselves. Every test runs in a temporary working directory.
static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);

namespace
{
constexpr uint32_t BOARD_CORNER = 0x203040; // pixel (0, 0) of the board picture: the background
constexpr uint32_t BOARD_LEFT = 0xC80000;   // the board's left half
constexpr uint32_t BOARD_RIGHT = 0x00A000;  // its right half
constexpr uint32_t PIECE = 0xF0E000;
constexpr uint32_t KEY = 0x0000FF;
constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;

void SaveBitmap(const VyRGBFormat& image, const std::string& path)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    VyFile file;
    ASSERT_TRUE(file.Open(path, VY_FILE_WRITE));
    VyBitmap::SaveWinBitmap(image, file);
}

// A 64 x 64 board: left half one colour, right half another, its bottom-left pixel the corner colour.
void MakeBoard(const std::string& path)
{
    auto image = VyRGBFormat::Create(64, 64, VY_FORMAT_RGB24);
    image->Fill(VyRect{0, 64, 32, 0}, 0xFF000000 | BOARD_LEFT);
    image->Fill(VyRect{32, 64, 64, 0}, 0xFF000000 | BOARD_RIGHT);
    image->SetPixel(0, 0, 0xFF000000 | BOARD_CORNER);
    SaveBitmap(*image, path);
}

// A picture of width x height in the key colour with a solid inside one pixel in from the edge.
void MakeKeyedPicture(const std::string& path, int width, int height, uint32_t inside)
{
    auto image = VyRGBFormat::Create(width, height, VY_FORMAT_RGB24, VY_ALIGN_BYTE, 0xFF000000 | KEY);
    image->Fill(VyRect{1, height - 1, width - 1, 1}, 0xFF000000 | inside);
    SaveBitmap(*image, path);
}

uint32_t Pixel(const VyRenderContext& context, int x, int y)
{
    const auto& native = static_cast<const VyNativeContext&>(context);
    return native.GetFrameBuffer()->GetPixel(x, y) & 0xFFFFFF;
}

// A platform without a display, a Native context as the current one, and the pictures on disk.
class VyMainWndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        VyConfigFile config("vyw.cfg");
        config.SetString("Directories", "Cursors", "TestCursors");
        config.SetString("Preferences", "FPS", "FALSE");
        config.Save();
        MakeBoard("scene/board.bmp");
        MakeKeyedPicture("scene/piece.bmp", 10, 20, PIECE);
        MakeKeyedPicture("TestCursors/default.bmp", 24, 24, 0xFFFFFF);
        m_pPlatform = std::make_unique<VyPlatform>();
        m_context.Initialize(WIDTH, HEIGHT, 32, false);
    }

    void TearDown() override
    {
        m_context.Shutdown();
        m_pPlatform.reset();
        std::filesystem::remove_all("scene");
        std::filesystem::remove_all("TestCursors");
        std::filesystem::remove("screenshot.jpg");
    }

    static VySceneWndScene Scene()
    {
        VySceneWndScene scene;
        scene.boardPath = "scene\\board.bmp";
        scene.boardSize = {128, 100};
        scene.keyColor = KEY;
        scene.pictures = {{"scene\\piece.bmp", {200, 50}}};
        scene.text = "Test scene";
        return scene;
    }

    // The main window of the test's size with the scene filling it.
    std::unique_ptr<VyMainWnd> MakeWindow(VySceneWndScene scene = Scene())
    {
        auto pMain = std::make_unique<VyMainWnd>(WIDTH, HEIGHT);
        m_pScene = pMain->CreateChild(std::make_unique<VySceneWnd>(std::move(scene)),
                                      VY_STYLE_VISIBLE | VyAlignStyle(VyAlignment::CLIENT), {0, 10, 10, 0});
        pMain->Resize(WIDTH, HEIGHT);
        return pMain;
    }

    void Frame(VyMainWnd& window)
    {
        m_context.BeginFrame();
        window.Draw();
        m_context.EndFrame();
    }

    std::unique_ptr<VyPlatform> m_pPlatform;
    VyNativeContext m_context;
    VySceneWnd* m_pScene = nullptr;
};
} // namespace

TEST_F(VyMainWndTest, DrawsTheBoardItsBackgroundAndThePictures)
{
    std::unique_ptr<VyMainWnd> pWindow = MakeWindow();
    VyMainWnd& window = *pWindow;
    EXPECT_EQ(window.GetRect(), (VyRect{0, HEIGHT, WIDTH, 0}));
    EXPECT_EQ(m_pScene->GetRect(), (VyRect{0, HEIGHT, WIDTH, 0}));
    Frame(window);

    EXPECT_EQ(m_pScene->GetBoardBackground(), BOARD_CORNER);
    // The board, stretched over 128 x 100: left half and right half.
    EXPECT_EQ(Pixel(m_context, 10, 50), BOARD_LEFT);
    EXPECT_EQ(Pixel(m_context, 120, 90), BOARD_RIGHT);
    // Above and right of the board the background colour; the text line lies above y = 200.
    EXPECT_EQ(Pixel(m_context, 60, 100), BOARD_CORNER);
    EXPECT_EQ(Pixel(m_context, 300, 150), BOARD_CORNER);
    EXPECT_EQ(Pixel(m_context, 128, 10), BOARD_CORNER);
    // The picture at its corner: the inside drawn, the key-coloured edge left out.
    EXPECT_EQ(Pixel(m_context, 201, 51), PIECE);
    EXPECT_EQ(Pixel(m_context, 208, 68), PIECE);
    EXPECT_EQ(Pixel(m_context, 200, 50), BOARD_CORNER);
    EXPECT_EQ(Pixel(m_context, 209, 69), BOARD_CORNER);
}

TEST_F(VyMainWndTest, ControlPSavesAScreenshotAndGoesNoFurther)
{
    std::unique_ptr<VyMainWnd> pWindow = MakeWindow();
    VyMainWnd& window = *pWindow;
    Frame(window);
    // A click gives the scene the focus; keys then reach it.
    window.OnMouseButton({100, 100}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    window.OnKey(VY_KEY_LEFT, VY_INPUT_KEY);
    EXPECT_EQ(m_pScene->GetLastInput(), "key 256 flags 0x100");

    window.OnChar('p', VY_INPUT_KEY | VY_INPUT_CONTROL);
    Frame(window); // the picture is taken at the end of the frame after the key
    EXPECT_EQ(window.GetScreenshotCount(), 1);
    EXPECT_TRUE(std::filesystem::exists("screenshot.jpg"));
    EXPECT_EQ(m_pScene->GetLastInput(), "key 256 flags 0x100");

    // A plain "p" is an ordinary character.
    window.OnChar('p', VY_INPUT_KEY);
    EXPECT_EQ(window.GetScreenshotCount(), 1);
    EXPECT_EQ(m_pScene->GetLastInput(), "char 'p' flags 0x100");
}

TEST_F(VyMainWndTest, TheSoftwareCursorFollowsTheMouseWhileItIsInside)
{
    std::unique_ptr<VyMainWnd> pWindow = MakeWindow();
    VyMainWnd& window = *pWindow;
    window.OnMouseMove({250, 150}, 0);
    Frame(window);
    EXPECT_EQ(window.GetShownCursor(), VY_CURSOR_NONE);
    EXPECT_EQ(Pixel(m_context, 251, 149), BOARD_CORNER);

    // The default cursor hangs from the mouse pixel: its image's top-left pixel is the mouse's.
    window.OnMouseEntered();
    Frame(window);
    EXPECT_EQ(window.GetShownCursor(), VY_CURSOR_DEFAULT);
    EXPECT_EQ(Pixel(m_context, 251, 149), 0xFFFFFFu);
    EXPECT_EQ(Pixel(m_context, 272, 128), 0xFFFFFFu);
    EXPECT_EQ(Pixel(m_context, 250, 150), BOARD_CORNER); // the key-coloured edge
    EXPECT_EQ(Pixel(m_context, 251, 151), BOARD_CORNER); // above the mouse

    window.OnMouseLeft();
    Frame(window);
    EXPECT_EQ(Pixel(m_context, 251, 149), BOARD_CORNER);
}

TEST_F(VyMainWndTest, AMissingCursorDirectoryFallsBackAndIsReported)
{
    VyConfigFile("vyw.cfg").SetString("Directories", "Cursors", "Nowhere");
    m_pPlatform.reset();
    m_pPlatform = std::make_unique<VyPlatform>();
    VyTraceCapture trace;
    std::unique_ptr<VyMainWnd> pWindow = MakeWindow();
    Frame(*pWindow);
    EXPECT_NE(trace.Text().find("no cursors in the directory \"Nowhere\"; \"Cursors\" is used instead"), std::string::npos);
}

TEST_F(VyMainWndTest, TheFrameRateOverlayIsBlueAtTheTopRight)
{
    VyConfigFile("vyw.cfg").SetString("Preferences", "FPS", "TRUE");
    m_pPlatform.reset();
    m_pPlatform = std::make_unique<VyPlatform>();
    std::unique_ptr<VyMainWnd> pWindow = MakeWindow();
    Frame(*pWindow);
    int bluePixels = 0;
    for (int y = HEIGHT - 20; y < HEIGHT - 4; ++y)
        for (int x = WIDTH - 120; x < WIDTH - 4; ++x)
            bluePixels += Pixel(m_context, x, y) == 0x0000FF;
    EXPECT_GT(bluePixels, 20);
    // Nothing right of the margin.
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = WIDTH - 4; x < WIDTH; ++x)
            EXPECT_NE(Pixel(m_context, x, y), 0x0000FFu) << x << "," << y;
}

TEST_F(VyMainWndTest, MissingPicturesAreReportedAndLeftOut)
{
    VySceneWndScene scene = Scene();
    scene.boardPath = "scene\\no-board.bmp";
    scene.pictures.push_back({"scene\\no-piece.bmp", {10, 10}});
    VyTraceCapture trace;
    std::unique_ptr<VyMainWnd> pWindow = MakeWindow(scene);
    Frame(*pWindow);
    EXPECT_NE(trace.Text().find("the board is not drawn -> File: scene\\no-board.bmp"), std::string::npos);
    EXPECT_NE(trace.Text().find("the picture is not drawn -> File: scene\\no-piece.bmp"), std::string::npos);
    EXPECT_EQ(Pixel(m_context, 201, 51), PIECE); // the picture that exists is drawn
}
