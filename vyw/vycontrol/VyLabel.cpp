#include "vycontrol/VyLabel.h"

#include <algorithm>

#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyStringHelper.h"

namespace
{
// The widest line of a text when it is only broken at its line feeds.
int NaturalWidth(const VyFont& font, const VyString& text)
{
    int widest = 0;
    for (const VyString& line : VyStringHelper::Split(text, '\n'))
        widest = std::max(widest, font.GetTextWidth(line));
    return widest;
}
} // namespace

VyLabel::VyLabel()
{
    VyFrameWnd::SetBackgroundColor(VyColor::FromSlot(LABEL_BACKGROUND));
    SetFrameColorBase(LABEL_DARK_SHADOW);
}

int VyLabel::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT:
        return LABEL_TEXT;
    case VyControlColor::TEXT_SHADOW:
        return LABEL_TEXT_SHADOW;
    case VyControlColor::TEXT_DISABLED:
        return LABEL_TEXT_DISABLED;
    case VyControlColor::TEXT_DISABLED_SHADOW:
        return LABEL_TEXT_DISABLED_SHADOW;
    case VyControlColor::FACE:
        return LABEL_BACKGROUND;
    default:
        return VY_COLOR_SLOT_NONE;
    }
}

VyColor VyLabel::GetBackgroundColor() const
{
    return m_bBackgroundSet ? VyFrameWnd::GetBackgroundColor() : GetColor(VyControlColor::FACE);
}

void VyLabel::SetBackgroundColor(const VyColor& color)
{
    m_bBackgroundSet = true;
    VyFrameWnd::SetBackgroundColor(color);
}

void VyLabel::OnTextChanged()
{
    Relayout();
}

void VyLabel::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyLabel::Relayout()
{
    const VyFont* pFont = GetDrawFont();
    if (m_bLayingOut || pFont == nullptr)
        return;
    m_bLayingOut = true;
    const VySize frame = GetFrameSize();
    const int chrome = 2 * VY_TEXT_MARGIN;
    int width = GetWidth();
    if (HasStyle(VY_LABEL_AUTO_WIDTH))
        width = NaturalWidth(*pFont, GetText()) + 2 * frame.cx + chrome;
    m_lines = pFont->Wrap(GetText(), std::max(0, width - 2 * frame.cx - chrome));
    int height = GetHeight();
    if (HasStyle(VY_LABEL_AUTO_HEIGHT))
        height = static_cast<int>(m_lines.size()) * (pFont->GetHeight() + 2) + 2 * frame.cy + chrome;
    ResizeKeepingTop(width, height);
    m_bLayingOut = false;
    Invalidate();
}

VyControlColor VyLabel::TextRole() const
{
    return IsEnabled() ? VyControlColor::TEXT : VyControlColor::TEXT_DISABLED;
}

VyControlColor VyLabel::ShadowRole() const
{
    return IsEnabled() ? VyControlColor::TEXT_SHADOW : VyControlColor::TEXT_DISABLED_SHADOW;
}

void VyLabel::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    VyFont* pFont = GetDrawFont();
    if (pFont == nullptr)
        return;
    context.SelectFont(pFont);
    const int lineHeight = pFont->GetHeight() + 2;
    int top = clientRect.top - VY_TEXT_MARGIN;
    for (const VyString& line : m_lines)
    {
        const VyRect box{clientRect.left + VY_TEXT_MARGIN, top, clientRect.right - VY_TEXT_MARGIN, top - lineHeight};
        DrawShadowedText(context, line, box, GetJustificationFlags(), TextRole(), ShadowRole());
        top -= lineHeight;
    }
}

void VyLabel::OnHoverEnter(VyWnd* pPrevious)
{
    VyFrameWnd::OnHoverEnter(pPrevious);
    if (HasMouseOverFont()) // another font may wrap and size the text otherwise
        Relayout();
}

void VyLabel::OnHoverLeave(VyWnd* pNext)
{
    VyFrameWnd::OnHoverLeave(pNext);
    if (HasMouseOverFont()) // another font may wrap and size the text otherwise
        Relayout();
}
