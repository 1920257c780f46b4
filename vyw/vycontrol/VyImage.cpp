#include "vycontrol/VyImage.h"

#include <algorithm>

#include "vybitmap/VyKeyedImage.h"
#include "vybitmap/VyRGBIO.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyResourceSource.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vyutil/VyColorSlots.h"

int VyImage::DefaultSlot(VyControlColor role) const
{
    return role == VyControlColor::FACE ? LABEL_BACKGROUND : VY_COLOR_SLOT_NONE;
}

void VyImage::SetBitmap(const VyString& name, std::optional<uint32_t> transparent)
{
    m_name = name;
    m_transparent = transparent;
    ReleaseTextures();
    Relayout();
    Invalidate();
}

void VyImage::ReleaseTextures()
{
    m_texture = VyTexture();
    m_bTried = false;
}

void VyImage::Load(VyRenderContext& context)
{
    m_bTried = true;
    if (m_name.empty())
        return;
    const VyString directory = VyConfigFile("vyw.cfg").GetString("Directories", "Bitmaps", "Bitmaps");
    const VyString path = VyResourceSource::JoinPath(directory, m_name);
    try
    {
        std::unique_ptr<VyRGBFormat> pImage =
            m_transparent ? VyKeyedImage::Load(path, *m_transparent) : VyRGBIO::LoadResource(path);
        m_size = {pImage->Width(), pImage->Height()};
        m_texture = context.MakeTextureHandle(*pImage);
    }
    catch (VyException& error)
    {
        error.AddContext("VyImage", "Load", "the picture is not shown", path);
        error.Report();
    }
}

void VyImage::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyImage::Relayout()
{
    VyRenderContext* pContext = VyRenderContext::GetCurrent();
    if (m_bLayingOut || pContext == nullptr || !HasStyle(VY_IMAGE_AUTO_HEIGHT))
        return;
    if (!m_bTried)
        Load(*pContext);
    if (m_size.cx <= 0)
        return;
    m_bLayingOut = true;
    const VyRect client = GetClientRect();
    ResizeKeepingTop(GetWidth(), client.Width() * m_size.cy / m_size.cx + (GetHeight() - client.Height()));
    m_bLayingOut = false;
}

void VyImage::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    if (!m_bTried)
        Load(context);
    if (!m_texture.IsValid() || m_size.cx <= 0 || m_size.cy <= 0 || clientRect.IsEmpty())
        return;
    // As large as fits, its shape kept.
    const double scale = std::min(static_cast<double>(clientRect.Width()) / m_size.cx,
                                  static_cast<double>(clientRect.Height()) / m_size.cy);
    const int width = static_cast<int>(m_size.cx * scale);
    const int height = static_cast<int>(m_size.cy * scale);
    const int left = clientRect.left + (clientRect.Width() - width) / 2;
    const int bottom = clientRect.bottom + (clientRect.Height() - height) / 2;
    context.SetColor(VyColor(0xFFFFFF));
    context.SetBlending(true);
    context.SetTexturing(true);
    context.SelectTexture(m_texture);
    context.DrawTexture({left, bottom + height, left + width, bottom}, VyRect());
    context.SetTexturing(false);
}
