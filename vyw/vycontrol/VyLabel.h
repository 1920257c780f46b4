#pragma once

#include <vector>

#include "vycontrol/VyControl.h"
#include "vywindow/VyFrameWnd.h"

// Style bits of labels (and links).
constexpr uint32_t VY_LABEL_AUTO_HEIGHT = 0x1000000; // the height follows the wrapped lines
constexpr uint32_t VY_LABEL_AUTO_WIDTH = 0x2000000;  // the width follows the text

// A text, wrapped at spaces to its width (less twice the frame width and 4 pixels), drawn line by line
// in its justification with a shadow one pixel right and down. Disabled, it uses the disabled colours;
// with the mouse over it, its mouse-over font. With automatic width it is as wide as its longest line
// plus the frame and 4 pixels (its parent lays out again); with automatic height its top stays and it
// is as high as its lines x (font height + 2) plus the frame and 4 pixels.
class VyLabel : public VyFrameWnd, public VyControl
{
public:
    VyLabel();

    // The lines the text is drawn in.
    const std::vector<VyString>& GetLines() const { return m_lines; }

    void Relayout() override;
    bool IsControl() const override { return true; }
    void Resize(int width, int height) override;
    VyColor GetBackgroundColor() const override;
    void SetBackgroundColor(const VyColor& color) override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void OnHoverEnter(VyWnd* pPrevious) override;
    void OnHoverLeave(VyWnd* pNext) override;

    // The space kept free on each side of the text, besides the frame.
    static constexpr int VY_TEXT_MARGIN = 2;

protected:
    void OnTextChanged() override;
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }
    // The text colours while drawing: normal, or disabled.
    VyControlColor TextRole() const;
    VyControlColor ShadowRole() const;

private:
    bool m_bLayingOut = false;
    bool m_bBackgroundSet = false;
    std::vector<VyString> m_lines;
};
