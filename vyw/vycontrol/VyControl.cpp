#include "vycontrol/VyControl.h"

#include "vyrender/VyMarkup.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyWnd.h"

namespace
{
size_t Index(VyControlColor role)
{
    return static_cast<size_t>(role);
}
} // namespace

VyColor VyControl::GetColor(VyControlColor role) const
{
    const Entry& entry = m_colors[Index(role)];
    if (entry.bSet)
        return entry.color;
    const int slot = DefaultSlot(role);
    return slot != VY_COLOR_SLOT_NONE ? VyColor::FromSlot(slot) : VyColor(0xFF000000u);
}

void VyControl::SetColor(VyControlColor role, const VyColor& color)
{
    m_colors[Index(role)] = {color, true};
    ControlWindow().Invalidate();
}

void VyControl::ClearColor(VyControlColor role)
{
    m_colors[Index(role)] = {};
    ControlWindow().Invalidate();
}

void VyControl::SetFontChoice(const VyFontChoice& font)
{
    m_font = font;
    Relayout();
    ControlWindow().Invalidate();
}

void VyControl::SetMouseOverFontChoice(const VyFontChoice& font)
{
    m_mouseOverFont = font;
    m_bMouseOverFontSet = font.standard >= 0 || !(font.desc == VyFontDesc{});
    ControlWindow().Invalidate();
}

VyFont* VyControl::GetDrawFont() const
{
    VyRenderContext* pContext = VyRenderContext::GetCurrent();
    if (pContext == nullptr)
        return nullptr;
    const bool bHover = m_bMouseOverFontSet && ControlWindow().HasStyle(VY_STYLE_MOUSE_OVER);
    try
    {
        return pContext->GetFont(bHover ? m_mouseOverFont : m_font);
    }
    catch (VyException& error)
    {
        error.AddContext("VyControl", "GetDrawFont", "the control's text uses the standard font");
        error.Report();
        return pContext->GetFont(VyFontChoice{VY_FONT_CONTROL, {}});
    }
}

void VyControl::SetJustification(VyJustification justification)
{
    m_justification = justification;
    Relayout();
    ControlWindow().Invalidate();
}

int VyControl::GetJustificationFlags() const
{
    switch (m_justification)
    {
    case VyJustification::RIGHT:
        return VY_TEXT_RIGHT;
    case VyJustification::CENTER:
        return VY_TEXT_HCENTER;
    case VyJustification::LEFT:
        break;
    }
    return VY_CONTROL_TEXT_LEFT;
}

void VyControl::ApplyDescription(const VyControlDesc& desc)
{
    if (desc.bFontSet)
        m_font = desc.font;
    if (desc.textColor.bSet)
        m_colors[Index(VyControlColor::TEXT)] = {desc.textColor.color, true};
    if (desc.shadowColor.bSet)
        m_colors[Index(VyControlColor::TEXT_SHADOW)] = {desc.shadowColor.color, true};
    m_justification = desc.justification;
}

void VyControl::DrawShadowedText(VyRenderContext& context, std::string_view text, const VyRect& rect, int flags,
                                 VyControlColor textRole, VyControlColor shadowRole) const
{
    // The shadow is one colour: a marked-up text's colour tags colour only the text over it.
    VyRect shadow{rect.left + 1, rect.top - 1, rect.right + 1, rect.bottom - 1};
    context.SetColor(GetColor(shadowRole));
    context.DrawTextBox(VyMarkup::WithoutTags(text), shadow, flags);
    VyRect box = rect;
    context.SetColor(GetColor(textRole));
    context.DrawTextBox(text, box, flags);
}
