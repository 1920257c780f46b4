#pragma once

#include <vector>

#include "vycontrol/VyControl.h"
#include "vywindow/VyFrameWnd.h"

// The row of column titles above a list. Each pane has a title and a width; dragging the line at a
// pane's right edge resizes it (panes are at least VY_MIN_PANE wide), and every change of a width tells
// the parent with a VY_MSG_COMMAND carrying the header's identifier. The panes are drawn shifted left
// by the offset, which the list sets from its horizontal scroll bar.
class VyHeader : public VyFrameWnd, public VyControl
{
public:
    VyHeader();

    // Adds a pane at the right end; returns its index.
    int AddPane(const VyString& title, int width);
    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    // The pane's title, width and left edge (in the header's unshifted coordinates). Another index
    // reports "index>=0 && index<GetPaneCount()" and gives an empty title, 0.
    const VyString& GetPaneTitle(int index) const;
    int GetPaneWidth(int index) const;
    int GetPaneLeft(int index) const;
    void SetPaneWidth(int index, int width);
    // The panes' widths together.
    int GetTotalWidth() const;
    int GetOffset() const { return m_offset; }
    void SetOffset(int offset);
    // The height that fits the font: its height and 8 pixels.
    int GetNaturalHeight() const;

    void Relayout() override;
    bool IsControl() const override { return true; }
    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnCaptureLost() override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;

    static constexpr int VY_MIN_PANE = 12;
    // How far from a pane's right edge the mouse may be to grab it.
    static constexpr int VY_GRIP = 3;

protected:
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    struct Pane
    {
        VyString title;
        int width = 0;
    };

    bool IsIndex(int index) const;
    // The pane whose right edge is within the grip of client x, or -1.
    int EdgeAt(int x) const;

    std::vector<Pane> m_panes;
    int m_offset = 0;
    int m_dragged = -1;  // the pane being resized
    int m_dragStart = 0; // the mouse x minus the pane's width when the drag began
};
