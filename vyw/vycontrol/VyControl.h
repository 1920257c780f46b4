#pragma once

#include <array>

#include "vyrender/VyFontDesc.h"
#include "vyrender/VyStandardFonts.h"
#include "vyutil/VyColor.h"
#include "vywindow/VyControlDesc.h"

class VyFont;
class VyRenderContext;
class VyWnd;

// The colours a control draws with. Each is either set on the control or falls back to the control
// kind's colour-scheme slot (VyControl::DefaultSlot).
enum class VyControlColor
{
    TEXT,
    TEXT_SHADOW,
    TEXT_DISABLED,
    TEXT_DISABLED_SHADOW,
    TEXT_FOCUS,
    TEXT_FOCUS_SHADOW,
    TEXT_MOUSE_OVER,
    TEXT_MOUSE_OVER_SHADOW,
    FACE,
    FACE_DOWN,
    FACE_FOCUS,
    FACE_MOUSE_OVER,
    SELECTION,
    TEXT_SELECTION,
    TEXT_SELECTION_SHADOW,
    TEXT_READONLY,
    TEXT_READONLY_SHADOW,
    FACE_READONLY,
    COUNT
};

// The text-drawing flags of left-aligned control text. The render context takes 0x4 alone as left,
// as it takes 0; controls keep the bit so that each alignment has a flag value of its own.
constexpr int VY_CONTROL_TEXT_LEFT = 0x4;

// The attributes every control has besides being a window: its colours, its font and the font it uses
// while the mouse is over it, and the alignment of its text. Controls derive from a frame window and
// from this; a change of an attribute lays the control out again and asks for a frame.
class VyControl
{
public:
    virtual ~VyControl() = default;

    // The colour of a role: the one set, else the kind's slot (nothing drawn when the kind has none).
    VyColor GetColor(VyControlColor role) const;
    void SetColor(VyControlColor role, const VyColor& color);
    void ClearColor(VyControlColor role);

    // The font of the text (the standard CONTROL font unless set) and the one used while the mouse is
    // over the control (a negative standard number and no description: none, the normal font is kept).
    const VyFontChoice& GetFontChoice() const { return m_font; }
    void SetFontChoice(const VyFontChoice& font);
    const VyFontChoice& GetMouseOverFontChoice() const { return m_mouseOverFont; }
    void SetMouseOverFontChoice(const VyFontChoice& font);
    // Whether a mouse-over font was given (otherwise the normal font is kept while hovered).
    bool HasMouseOverFont() const { return m_bMouseOverFontSet; }
    // The font to draw and measure with now (the mouse-over one while hovered and set), from the
    // current render context; null without one.
    VyFont* GetDrawFont() const;

    VyJustification GetJustification() const { return m_justification; }
    void SetJustification(VyJustification justification);
    // The justification as text-drawing flags: left 0x4, right 0x8, centre 0xC.
    int GetJustificationFlags() const;

    // Lays the control out after a change of its text, font or size.
    virtual void Relayout() = 0;

    // The shared part of making a control from a description: font, colours and justification.
    void ApplyDescription(const VyControlDesc& desc);

protected:
    // The slot a role falls back to for this kind of control; VY_COLOR_SLOT_NONE draws nothing.
    virtual int DefaultSlot(VyControlColor role) const = 0;
    // The window the control is.
    virtual const VyWnd& ControlWindow() const = 0;
    // Draws text with its shadow (one pixel right and down) in rect with flags. The shadow is all in
    // the shadow colour; the colour tags of a marked-up text colour only the text.
    void DrawShadowedText(VyRenderContext& context, std::string_view text, const VyRect& rect, int flags,
                          VyControlColor textRole, VyControlColor shadowRole) const;

private:
    struct Entry
    {
        VyColor color;
        bool bSet = false;
    };
    std::array<Entry, static_cast<size_t>(VyControlColor::COUNT)> m_colors{};
    VyFontChoice m_font{VY_FONT_CONTROL, {}};
    VyFontChoice m_mouseOverFont{-1, {}};
    bool m_bMouseOverFontSet = false;
    VyJustification m_justification = VyJustification::LEFT;
};
