#pragma once

#include "vycontrol/VyButton.h"

// Which way an arrow of a scroll bar points.
enum class VyArrowDirection
{
    UP,
    DOWN,
    LEFT,
    RIGHT,
};

// An arrow button of a scroll bar: it repeats while held, acts on the press, never takes the focus, and
// draws a triangle in the SCROLLBAR_BUTTON_ARROW colours on the SCROLLBAR_BUTTON_* face.
class VyScrollBarArrow : public VyButton
{
public:
    explicit VyScrollBarArrow(VyArrowDirection direction);

    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;

protected:
    int DefaultSlot(VyControlColor role) const override;

private:
    VyArrowDirection m_direction;
};
