#pragma once

// Whether a change of a scroll bar's position tells its parent (a VY_MSG_COMMAND carrying the bar's
// identifier and the new position).
enum class VyScrollNotify
{
    SILENT,
    NOTIFY,
};

// The three steps of a scroll bar: the arrows move by the line step, a click beside the thumb by the
// page step (also the thumb's share of the track), and one wheel step by the third.
struct VyScrollSteps
{
    int line = 1;
    int page = 10;
    int wheel = -1;
};

// What the window tree asks of a scroll bar, which the control module builds: a frame window's bars are
// its children VY_ID_VSCROLL and VY_ID_HSCROLL and implement this.
class VyScrollBarInterface
{
public:
    virtual ~VyScrollBarInterface() = default;

    virtual int GetPosition() const = 0;
    // Clamps value into the range; a change re-lays the thumb out and, when asked, tells the parent.
    virtual void SetPosition(int value, VyScrollNotify notify) = 0;
    virtual int GetMinimum() const = 0;
    virtual int GetMaximum() const = 0;
    // Stores the range and clamps the position into it; a position that moved always tells the parent.
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual VyScrollSteps GetSteps() const = 0;
    virtual void SetSteps(const VyScrollSteps& steps) = 0;
};
