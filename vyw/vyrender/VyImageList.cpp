#include "vyrender/VyImageList.h"

#include "vybitmap/VyKeyedImage.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyTrace.h"

namespace
{

constexpr int FIRST_SIDE = 16;
constexpr int LARGEST_SIDE = 256;

// The smallest square side from 16 up that holds count cells of cx x cy; 0 when even 256 does not.
int SideFor(int count, int cx, int cy)
{
    for (int side = FIRST_SIDE; side <= LARGEST_SIDE; side *= 2)
        if (static_cast<long long>(side / cx) * (side / cy) >= count)
            return side;
    return 0;
}

} // namespace

VyImageList::VyImageList(int cx, int cy) : m_size{cx, cy}
{
    VY_ASSERT(cx > 0 && cy > 0);
}

VyImageList::~VyImageList() = default;

int VyImageList::Add(const rgb& strip, int transparentColor)
{
    const VyRGBFormat* pImage = strip.Image();
    if (pImage == nullptr || m_size.cx <= 0 || m_size.cy <= 0)
        return -1;
    VY_ASSERT_TEXT(m_size.cy == strip.Height(), "m_size.cy==rgb.Height()");
    VY_ASSERT_TEXT(strip.Width() % m_size.cx == 0, "rgb.Width()%m_size.cx==0");
    if (m_size.cy != strip.Height() || strip.Width() % m_size.cx != 0)
        return -1;
    const int added = strip.Width() / m_size.cx;
    const int side = SideFor(GetCount() + added, m_size.cx, m_size.cy);
    VY_ASSERT_TEXT(side != 0, "textureSize<=256");
    if (side == 0)
        return -1;
    // A strip without alpha of its own is keyed by the transparent colour; with none, it is opaque.
    std::unique_ptr<VyRGBFormat> pKeyed;
    if (!pImage->HasAlpha() && transparentColor >= 0 && transparentColor <= 0xFFFFFF)
    {
        pKeyed = VyKeyedImage::Make(*pImage, static_cast<uint32_t>(transparentColor));
        pImage = pKeyed.get();
    }
    const uint32_t opaque = pImage->HasAlpha() ? 0 : 0xFF000000;
    const int first = GetCount();
    for (int cell = 0; cell < added; ++cell)
    {
        auto pCell = VyRGBFormat::Create(m_size.cx, m_size.cy, VY_FORMAT_RGBA32);
        for (int y = 0; y < m_size.cy; ++y)
            for (int x = 0; x < m_size.cx; ++x)
                pCell->SetPixel(x, y, pImage->GetPixel(cell * m_size.cx + x, y) | opaque);
        m_cells.push_back(std::move(pCell));
    }
    m_bDirty = true;
    return first;
}

int VyImageList::GetTextureSize() const
{
    return m_cells.empty() ? 0 : SideFor(GetCount(), m_size.cx, m_size.cy);
}

VyRect VyImageList::GetCellRect(int index) const
{
    const int side = GetTextureSize();
    if (side == 0 || index < 0 || index >= GetCount())
        return {};
    const int perRow = side / m_size.cx;
    const int left = (index % perRow) * m_size.cx;
    const int top = side - (index / perRow) * m_size.cy;
    return {left, top, left + m_size.cx, top - m_size.cy};
}

void VyImageList::Pack()
{
    const int side = GetTextureSize();
    m_pPacked = VyRGBFormat::Create(side, side, VY_FORMAT_RGBA32, VY_ALIGN_BYTE, 0x00000000);
    for (int i = 0; i < GetCount(); ++i)
    {
        const VyRect cell = GetCellRect(i);
        const VyRGBFormat& source = *m_cells[static_cast<size_t>(i)];
        for (int y = 0; y < m_size.cy; ++y)
            for (int x = 0; x < m_size.cx; ++x)
                m_pPacked->SetPixel(cell.left + x, cell.bottom + y, source.GetPixel(x, y));
    }
    m_bDirty = false;
}

const VyRGBFormat* VyImageList::GetImage()
{
    if (m_cells.empty())
        return nullptr;
    if (m_bDirty || !m_pPacked)
        Pack();
    return m_pPacked.get();
}

void VyImageList::Draw(VyRenderContext& context, int index, int left, int top)
{
    if (index < 0 || index >= GetCount())
        return;
    const bool bRepack = m_bDirty || !m_pPacked;
    const VyRGBFormat* pImage = GetImage();
    if (bRepack || !m_texture.IsValid() || m_pTextureContext != &context)
    {
        m_texture = context.MakeTextureHandle(*pImage);
        m_pTextureContext = &context;
    }
    const VyTexture savedTexture = context.GetSelectedTexture();
    const VyColor savedColor = context.GetColor();
    const bool bBlending = context.GetBlending();
    context.SelectTexture(m_texture);
    context.SetColor(VyColor(0xFFFFFF));
    context.SetBlending(true);
    context.DrawTexture({left, top, left + m_size.cx, top - m_size.cy}, GetCellRect(index));
    context.SetBlending(bBlending);
    context.SetColor(savedColor);
    context.SelectTexture(savedTexture);
}
