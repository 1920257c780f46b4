#include "VyPiece.h"

#include <algorithm>

#include "vybitmap/VyKeyedImage.h"
#include "vyplatform/VyInput.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyClock.h"
#include "vyutil/VyColorSlots.h"

namespace
{
// A disabled piece is drawn modulated by a light face colour of the scheme: it dims without losing
// its colours, so the player sees at a glance which pieces can be chosen.
constexpr int DISABLED_TINT_SLOT = BUTTON_FACE;
} // namespace

VyPiece::VyPiece(int index, std::shared_ptr<const VySetImages> images, uint32_t colorMask, VyPoint center)
    : m_index(index), m_pImages(std::move(images)), m_colorMask(colorMask), m_center(center)
{
    SetCursor(VY_CURSOR_DEFAULT);
}

VyPiece::~VyPiece()
{
    VyMessageTarget::KillTimers(this);
}

const rgb* VyPiece::ShownPicture() const
{
    if (m_pImages == nullptr || m_index < 0 || m_index >= static_cast<int>(m_pImages->pieces.size()))
        return nullptr;
    const VyPieceImages& images = m_pImages->pieces[static_cast<size_t>(m_index)];
    return m_image == VyPieceImage::GREYED ? &images.greyed : &images.normal;
}

VySize VyPiece::GetPictureSize() const
{
    const rgb* pPicture = ShownPicture();
    return pPicture == nullptr ? VySize{} : VySize{pPicture->Width(), pPicture->Height()};
}

VyRect VyPiece::RectForAnchor(VyPoint anchor) const
{
    const VySize size = GetPictureSize();
    const int left = anchor.x - m_center.x;
    const int top = anchor.y + size.cy - m_center.y;
    return {left, top, left + size.cx, top - size.cy};
}

VyPoint VyPiece::GetAnchor() const
{
    const VyRect& rect = GetRect();
    return {rect.left + m_center.x, rect.bottom + m_center.y};
}

void VyPiece::ShowImage(VyPieceImage image)
{
    if (image == m_image)
        return;
    m_image = image;
    Invalidate();
}

void VyPiece::PlaceAt(VyPoint windowPosition)
{
    const VySize size = GetPictureSize();
    Move(windowPosition.x, windowPosition.y, size.cx, size.cy);
}

void VyPiece::JumpTo(VyPoint target)
{
    m_bMoving = false;
    VyMessageTarget::KillTimer(this, VY_MOVE_TIMER);
    TakeBackReport();
    const VyRect rect = RectForAnchor(target);
    PlaceAt({rect.left, rect.top});
}

void VyPiece::TakeBackReport()
{
    if (GetParent() == nullptr)
        return;
    VyMessage filter;
    filter.pTarget = GetParent();
    filter.id = MSG_MOVE_DONE;
    filter.param1 = m_index;
    filter.param2 = m_index + 1; // never 0, so that the filter names this piece alone
    VyMessageTarget::RemoveMessages(filter);
}

void VyPiece::MoveTo(VyPoint target, float speed, VyMoveStyle style)
{
    if (!IsCreated())
        return;
    JumpTo(GetAnchor()); // a running movement ends here, unreported
    const VyRect rect = RectForAnchor(target);
    if (style == VyMoveStyle::STAY_IN_PLACE)
        return ReportMoveDone();
    if (speed < 0.0f)
    {
        PlaceAt({rect.left, rect.top});
        return ReportMoveDone();
    }
    m_mover.Start({GetRect().left, GetRect().top}, {rect.left, rect.top}, speed, VyClock::TickCount());
    m_bMoving = true;
    VyMessageTarget::SetTimer(this, VY_MOVE_TIMER, VY_MOVE_TICK_MS);
}

void VyPiece::Step()
{
    const unsigned int now = VyClock::TickCount();
    PlaceAt(m_mover.At(now));
    if (!m_mover.IsOver(now))
        return;
    m_bMoving = false;
    VyMessageTarget::KillTimer(this, VY_MOVE_TIMER);
    ReportMoveDone();
}

void VyPiece::ReportMoveDone()
{
    if (GetParent() != nullptr)
        PostTo(GetParent(), MSG_MOVE_DONE, m_index, m_index + 1);
}

void VyPiece::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_TIMER && msg.param1 == VY_MOVE_TIMER && m_bMoving)
        return Step();
    VyImage::HandleMessage(msg);
}

bool VyPiece::ContainsPoint(VyPoint point) const
{
    return VyWnd::ContainsPoint(point) && IsShownPixel(point.x - GetRect().left, point.y - GetRect().bottom);
}

// x, y in the picture, row 0 its bottom row.
bool VyPiece::IsShownPixel(int x, int y) const
{
    const rgb* pPicture = ShownPicture();
    if (pPicture == nullptr || pPicture->IsEmpty())
        return false;
    if (x < 0 || y < 0 || x >= pPicture->Width() || y >= pPicture->Height())
        return false;
    const uint32_t pixel = pPicture->Image()->GetPixel(x, y);
    if (m_image == VyPieceImage::GREYED)
        return (pixel >> 24) != 0;
    return (pixel & 0xFFFFFF) != (m_colorMask & 0xFFFFFF);
}

VyRect VyPiece::GetShownBounds() const
{
    const VySize size = GetPictureSize();
    VyRect bounds{size.cx, 0, 0, size.cy}; // empty until a shown pixel widens it
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (IsShownPixel(x, y))
                bounds = {std::min(bounds.left, x), std::max(bounds.top, y + 1), std::max(bounds.right, x + 1),
                          std::min(bounds.bottom, y)};
    if (bounds.left >= bounds.right)
        return {};
    const VyRect& rect = GetRect();
    return {rect.left + bounds.left, rect.bottom + bounds.top, rect.left + bounds.right, rect.bottom + bounds.bottom};
}

void VyPiece::SendCommand()
{
    if (GetParent() != nullptr)
        PostTo(GetParent(), VY_MSG_COMMAND, VY_FIRST_PIECE_ID + m_index);
}

void VyPiece::OnButtonReleased(VyPoint point, int flags)
{
    VyImage::OnButtonReleased(point, flags);
    if (IsEnabled())
        SendCommand();
}

void VyPiece::OnUnhandledKey(int key, int flags)
{
    if (key == ' ' && IsEnabled())
        return SendCommand();
    VyImage::OnUnhandledKey(key, flags);
}

bool VyPiece::FilterKey(int key, int flags)
{
    return key == VY_KEY_TAB ? true : VyImage::FilterKey(key, flags);
}

void VyPiece::UpdateCursor()
{
    if (GetParent() != nullptr)
        return GetParent()->UpdateCursor();
    VyImage::UpdateCursor();
}

void VyPiece::ReleaseTextures()
{
    m_textures[0] = VyTexture();
    m_textures[1] = VyTexture();
    m_bTexturesMade = false;
    VyImage::ReleaseTextures();
}

void VyPiece::LoadTextures(VyRenderContext& context)
{
    m_bTexturesMade = true;
    if (m_pImages == nullptr || m_index < 0 || m_index >= static_cast<int>(m_pImages->pieces.size()))
        return;
    const VyPieceImages& images = m_pImages->pieces[static_cast<size_t>(m_index)];
    if (!images.normal.IsEmpty())
        m_textures[0] = context.MakeTextureHandle(*VyKeyedImage::Make(*images.normal.Image(), m_colorMask));
    if (!images.greyed.IsEmpty())
        m_textures[1] = context.MakeTextureHandle(*images.greyed.Image());
}

void VyPiece::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    if (!m_bTexturesMade)
        LoadTextures(context);
    const VyTexture& texture = m_textures[m_image == VyPieceImage::GREYED ? 1 : 0];
    if (!texture.IsValid())
        return;
    context.SetColor(IsEnabled() ? VyColor(0xFFFFFF) : VyColor::FromSlot(DISABLED_TINT_SLOT));
    context.SetBlending(true);
    context.SetTexturing(true);
    context.SelectTexture(texture);
    context.DrawTexture({clientRect.left, clientRect.bottom + texture.GetHeight(),
                         clientRect.left + texture.GetWidth(), clientRect.bottom},
                        VyRect());
    context.SetTexturing(false);
    context.SetBlending(false);
}
