#include "vywindow/VyMainWnd.h"

#include "vybitmap/VyKeyedImage.h"
#include "vybitmap/VyRGBIO.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
// The font of the text line and of the frame-rate overlay.
constexpr int TEXT_FONT = 2;
constexpr uint32_t TEXT_COLOR = 0xFFFFFF;
constexpr uint32_t FPS_COLOR = 0x0000FF;
// The overlay's distance from the right edge and from the top.
constexpr int FPS_MARGIN = 4;
// Where the text line starts: 10 pixels from the left, its top 10 pixels below the window's top.
constexpr int TEXT_MARGIN = 10;

// Control+P: the character 'p' with the Control flag.
bool IsScreenshotKey(int character, int flags)
{
    return character == 'p' && (flags & VY_INPUT_CONTROL) != 0;
}
} // namespace

VyMainWnd::VyMainWnd(VyMainWndScene scene) : m_scene(std::move(scene))
{
    if (VyPlatform* pPlatform = VyPlatform::Get())
        m_bShowFps = pPlatform->GetScreen().bShowFps;
}

VyMainWnd::~VyMainWnd()
{
    ReleaseTextures();
}

// -- Input -------------------------------------------------------------------------------------------

void VyMainWnd::OnKey(int key, int flags)
{
    m_lastInput = VyString::Format("key %d flags 0x%x", key, flags);
}

void VyMainWnd::OnChar(int character, int flags)
{
    if (IsScreenshotKey(character, flags))
    {
        VyRenderContext* pContext = VyRenderContext::GetCurrent();
        if (pContext != nullptr && pContext->SaveScreenshot())
            ++m_nScreenshots;
        return; // never passed on
    }
    m_lastInput = VyString::Format("char '%c' flags 0x%x", static_cast<char>(character), flags);
}

void VyMainWnd::OnMouseButton(VyPoint point, int)
{
    m_mouse = point;
}

void VyMainWnd::OnMouseMove(VyPoint point, int)
{
    m_mouse = point;
}

void VyMainWnd::OnMouseWheel(VyPoint point, int)
{
    m_mouse = point;
}

void VyMainWnd::OnMouseEntered()
{
    m_nCursor = VY_CURSOR_DEFAULT;
}

void VyMainWnd::OnMouseLeft()
{
    m_nCursor = VY_CURSOR_NONE;
}

void VyMainWnd::OnActivate(bool)
{
}

void VyMainWnd::Resize(int width, int height)
{
    m_rect = VyRect{0, height, width, 0};
}

// -- Drawing -----------------------------------------------------------------------------------------

void VyMainWnd::Draw()
{
    VyRenderContext* pContext = VyRenderContext::GetCurrent();
    if (pContext == nullptr)
        return;
    if (m_pTexturesOf != pContext)
        LoadTextures(*pContext);
    pContext->SetClipRect(m_rect);
    DrawScene(*pContext);
    DrawTextLine(*pContext);
    if (m_bShowFps)
        DrawFrameRate(*pContext);
    m_cursor.Draw(*pContext, m_mouse, m_nCursor);
}

void VyMainWnd::LoadTextures(VyRenderContext& context)
{
    ReleaseTextures();
    m_pTexturesOf = &context;
    try
    {
        std::unique_ptr<VyRGBFormat> pBoard = VyRGBIO::LoadResource(m_scene.boardPath);
        m_backgroundColor = pBoard->GetPixel(0, 0) & 0xFFFFFF;
        m_board = context.MakeTextureHandle(*pBoard);
    }
    catch (VyException& error)
    {
        error.AddContext("VyMainWnd", "LoadTextures", "the board is not drawn", m_scene.boardPath);
        error.Report();
    }
    for (const VyMainWndScene::Picture& picture : m_scene.pictures)
    {
        try
        {
            m_pictures.push_back(context.MakeTextureHandle(*VyKeyedImage::Load(picture.path, m_scene.keyColor)));
        }
        catch (VyException& error)
        {
            error.AddContext("VyMainWnd", "LoadTextures", "the picture is not drawn", picture.path);
            error.Report();
            m_pictures.emplace_back();
        }
    }
    VyPlatform* pPlatform = VyPlatform::Get();
    const bool bCursor = pPlatform != nullptr && m_cursor.Load(pPlatform->GetScreen().cursorDirectory);
    if (pPlatform != nullptr)
        pPlatform->SetSystemCursorVisible(!bCursor);
}

void VyMainWnd::ReleaseTextures()
{
    m_board = VyTexture();
    m_pictures.clear();
    m_cursor.Unload();
    m_pTexturesOf = nullptr;
}

void VyMainWnd::DrawScene(VyRenderContext& context)
{
    const VySize board = m_scene.boardSize;
    context.SetBlending(false);
    context.SetTexturing(false);
    context.SetColor(VyColor(m_backgroundColor));
    context.FillRect(VyRect{0, m_rect.top, m_rect.right, board.cy});     // above the board
    context.FillRect(VyRect{board.cx, board.cy, m_rect.right, 0});        // right of it
    context.SetColor(VyColor(0xFFFFFF));
    context.SetTexturing(true);
    if (m_board.IsValid() && board.cx > 0 && board.cy > 0)
    {
        context.SelectTexture(m_board);
        context.DrawTexture(VyRect{0, board.cy, board.cx, 0}, VyRect());
    }
    context.SetBlending(true);
    for (size_t i = 0; i < m_pictures.size() && i < m_scene.pictures.size(); ++i)
    {
        const VyTexture& texture = m_pictures[i];
        if (!texture.IsValid())
            continue;
        const VyPoint corner = m_scene.pictures[i].corner;
        context.SelectTexture(texture);
        context.DrawTexture(
            VyRect{corner.x, corner.y + texture.GetHeight(), corner.x + texture.GetWidth(), corner.y}, VyRect());
    }
    context.SetBlending(false);
    context.SetTexturing(false);
}

void VyMainWnd::DrawTextLine(VyRenderContext& context)
{
    VyString text = m_scene.text;
    if (!m_lastInput.empty())
        text += "  -  last input: " + m_lastInput;
    context.SelectFont(TEXT_FONT);
    context.SetColor(VyColor(TEXT_COLOR));
    context.DrawText(text, TEXT_MARGIN, m_rect.top - TEXT_MARGIN);
}

void VyMainWnd::DrawFrameRate(VyRenderContext& context)
{
    VyPlatform* pPlatform = VyPlatform::Get();
    if (pPlatform == nullptr)
        return;
    const VyRenderStatistics& statistics = context.GetStatistics();
    const VyString text = VyString::Format("%d fps : %d quads: ", pPlatform->GetFrameClock().GetDisplayedRate(),
                                           statistics.filledQuads + statistics.texturedQuads);
    VyRect box{0, m_rect.top - FPS_MARGIN, m_rect.right - FPS_MARGIN, 0};
    context.SelectFont(TEXT_FONT);
    context.SetColor(VyColor(FPS_COLOR));
    context.DrawTextBox(text, box, VY_TEXT_RIGHT | VY_TEXT_TOP);
}

void VyMainWnd::Close()
{
    VyMessageTarget::KillTimers(this);
    m_queue.DispatchMessages();
    ReleaseTextures();
}
