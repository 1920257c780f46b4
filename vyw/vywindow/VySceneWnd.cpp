#include "vywindow/VySceneWnd.h"

#include "vybitmap/VyKeyedImage.h"
#include "vybitmap/VyRGBIO.h"
#include "vyplatform/VyInput.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"

namespace
{
// The font and colour of the text line, which starts 10 pixels from the left, its top 10 pixels below
// the window's top.
constexpr int TEXT_FONT = 2;
constexpr uint32_t TEXT_COLOR = 0xFFFFFF;
constexpr int TEXT_MARGIN = 10;
} // namespace

VySceneWnd::VySceneWnd(VySceneWndScene scene) : m_scene(std::move(scene))
{
}

void VySceneWnd::OnUnhandledKey(int key, int flags)
{
    if (key >= VY_KEY_LEFT)
        m_lastInput = VyString::Format("key %d flags 0x%x", key, flags);
    else
        m_lastInput = VyString::Format("char '%c' flags 0x%x", static_cast<char>(key), flags);
    Invalidate();
}

void VySceneWnd::ReleaseTextures()
{
    m_board = VyTexture();
    m_pictures.clear();
    m_bLoaded = false;
}

void VySceneWnd::LoadTextures(VyRenderContext& context)
{
    ReleaseTextures();
    m_bLoaded = true;
    try
    {
        std::unique_ptr<VyRGBFormat> pBoard = VyRGBIO::LoadResource(m_scene.boardPath);
        m_backgroundColor = pBoard->GetPixel(0, 0) & 0xFFFFFF;
        m_board = context.MakeTextureHandle(*pBoard);
    }
    catch (VyException& error)
    {
        error.AddContext("VySceneWnd", "LoadTextures", "the board is not drawn", m_scene.boardPath);
        error.Report();
    }
    for (const VySceneWndScene::Picture& picture : m_scene.pictures)
    {
        try
        {
            m_pictures.push_back(context.MakeTextureHandle(*VyKeyedImage::Load(picture.path, m_scene.keyColor)));
        }
        catch (VyException& error)
        {
            error.AddContext("VySceneWnd", "LoadTextures", "the picture is not drawn", picture.path);
            error.Report();
            m_pictures.emplace_back();
        }
    }
}

void VySceneWnd::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    if (!m_bLoaded)
        LoadTextures(context);
    DrawPictures(context, clientRect);
    DrawTextLine(context, clientRect);
}

void VySceneWnd::DrawPictures(VyRenderContext& context, const VyRect& clientRect)
{
    const VySize board = m_scene.boardSize;
    const int x0 = clientRect.left;
    const int y0 = clientRect.bottom;
    context.SetBlending(false);
    context.SetTexturing(false);
    context.SetColor(VyColor(m_backgroundColor));
    context.FillRect(VyRect{x0, clientRect.top, clientRect.right, y0 + board.cy});    // above the board
    context.FillRect(VyRect{x0 + board.cx, y0 + board.cy, clientRect.right, y0});     // right of it
    context.SetColor(VyColor(0xFFFFFF));
    context.SetTexturing(true);
    if (m_board.IsValid() && board.cx > 0 && board.cy > 0)
    {
        context.SelectTexture(m_board);
        context.DrawTexture(VyRect{x0, y0 + board.cy, x0 + board.cx, y0}, VyRect());
    }
    context.SetBlending(true);
    for (size_t i = 0; i < m_pictures.size() && i < m_scene.pictures.size(); ++i)
    {
        const VyTexture& texture = m_pictures[i];
        if (!texture.IsValid())
            continue;
        const VyPoint corner{x0 + m_scene.pictures[i].corner.x, y0 + m_scene.pictures[i].corner.y};
        context.SelectTexture(texture);
        context.DrawTexture(
            VyRect{corner.x, corner.y + texture.GetHeight(), corner.x + texture.GetWidth(), corner.y}, VyRect());
    }
    context.SetBlending(false);
    context.SetTexturing(false);
}

void VySceneWnd::DrawTextLine(VyRenderContext& context, const VyRect& clientRect)
{
    VyString text = m_scene.text;
    if (!m_lastInput.empty())
        text += "  -  last input: " + m_lastInput;
    context.SelectFont(TEXT_FONT);
    context.SetColor(VyColor(TEXT_COLOR));
    context.DrawText(text, clientRect.left + TEXT_MARGIN, clientRect.top - TEXT_MARGIN);
}
