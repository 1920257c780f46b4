#pragma once

#include "vycontrol/VyControl.h"
#include "vywindow/VyFrameWnd.h"
#include "vywindow/VyScrollBarInterface.h"

class VyButton;

// The commands of a scroll bar's right-button menu, sent to the bar itself (away from its arrows' 100
// and 101).
enum class VyScrollCommand
{
    SCROLL_HERE = 110, // the position under the place the menu was opened at
    MINIMUM = 111,     // "Top" / "Left"
    MAXIMUM = 112,     // "Bottom" / "Right"
    PAGE_DOWN = 113,   // "Page Up" / "Page Left": one page toward the minimum
    PAGE_UP = 114,     // "Page Down" / "Page Right": one page toward the maximum
    LINE_DOWN = 115,   // "Scroll Up" / "Scroll Left": one line toward the minimum
    LINE_UP = 116,     // "Scroll Down" / "Scroll Right": one line toward the maximum
};

// A scroll bar: vertical with VY_STYLE_VSCROLL (0x1000000), horizontal otherwise. Its position stays
// within minimum..maximum; a position that changes on the user's behalf tells the parent with a
// VY_MSG_COMMAND carrying the bar's identifier and the new position.
//
//   the arrows (children 100 and 101)   position - / + the line step, repeating while held
//   a press on the thumb                drags it: the mouse along the track maps to the positions
//   a press beside the thumb            position - / + the page step, repeating (after 500 ms, then
//                                       every 50 ms) while held, until the thumb reaches the mouse
//   the mouse wheel                     position + steps x the third step
//   a right-button release              a menu of VyScrollCommand: "Scroll Here", "Top", "Bottom",
//                                       "Page Up", "Page Down", "Scroll Up", "Scroll Down" (vertical) or
//                                       "Scroll Here", "Left", "Right", "Page Left", "Page Right",
//                                       "Scroll Left", "Scroll Right" (horizontal)
// Vertical bars have their minimum at the top. The thumb's share of the track is the page's share of
// range + page. The bar never takes the focus away from the window it scrolls.
class VyScrollBar : public VyFrameWnd, public VyControl, public VyScrollBarInterface
{
public:
    VyScrollBar();

    bool IsVertical() const { return HasStyle(VY_STYLE_VSCROLL); }
    // The thumb in client coordinates (empty when the track has no room).
    VyRect GetThumbRect() const { return m_thumb; }

    // VyScrollBarInterface
    int GetPosition() const override { return m_position; }
    void SetPosition(int value, VyScrollNotify notify) override;
    int GetMinimum() const override { return m_minimum; }
    int GetMaximum() const override { return m_maximum; }
    void SetRange(int minimum, int maximum) override;
    VyScrollSteps GetSteps() const override { return m_steps; }
    void SetSteps(const VyScrollSteps& steps) override;

    bool OnCreate() override;
    void Relayout() override;
    void Resize(int width, int height) override;
    bool ScrollByWheel(int steps) override;
    bool IsControl() const override { return true; }
    void HandleMessage(const VyMessage& msg) override;
    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnCaptureLost() override;
    VyColor GetBackgroundColor() const override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;

    static constexpr int VY_DECREASE_ID = 100;
    static constexpr int VY_INCREASE_ID = 101;
    static constexpr int VY_PAGE_TIMER = 1;
    // The shortest thumb, in pixels.
    static constexpr int VY_MIN_THUMB = 8;

protected:
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    // What a held left button does.
    enum class Drag
    {
        NONE,
        THUMB,
        PAGE_DOWN, // toward the minimum
        PAGE_UP,   // toward the maximum
    };

    // The track between the arrows, along the bar: its start and length (start at the minimum's end).
    int TrackStart() const;
    int TrackLength() const;
    // A client point's place along the bar, from the minimum's end.
    int Along(VyPoint point) const;
    // The position that puts the thumb's middle at a place along the bar.
    int PositionAt(int along) const;
    void OpenContextMenu(VyPoint point);
    // Runs a command of the menu; false for another identifier.
    bool RunCommand(int id);
    void LayoutThumb();
    void Page();
    void ChangeBy(int delta);

    int m_position = 0;
    int m_minimum = 0;
    int m_maximum = 0;
    VyScrollSteps m_steps;
    VyRect m_thumb;
    int m_thumbStart = 0;  // along the bar, from the minimum's end
    int m_thumbLength = 0;
    Drag m_drag = Drag::NONE;
    int m_pressOffset = 0; // mouse minus the thumb's start, along the bar
    int m_pageTarget = 0;  // where the mouse pages to, along the bar
    int m_menuAlong = 0;   // where the right-button menu was opened, along the bar
    bool m_bRepeating = false;
    VyButton* m_pDecrease = nullptr;
    VyButton* m_pIncrease = nullptr;
};
