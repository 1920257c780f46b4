#pragma once

#include <deque>
#include <optional>

#include "vywindow/VyFrameWnd.h"

class VyLabel;

// Style bit of the log: the mouse passes through its lines as well, to the windows under them (the
// board and the pieces), so that text over the board never takes a click, a hover or the cursor.
// Without it the lines are hit as labels are; the log itself is hit as its own style says.
constexpr uint32_t VY_LOG_MOUSE_THROUGH = 0x400000;

// Lines of text over the board that go after a while: chat lines and the connection's notices. Each
// line is a label (automatic height, wrapped to the log's width less a margin on either side, no
// background) with the colours of the log's template; the lines stand from the top of the log
// downwards, the oldest first, 4 pixels below its top edge.
//
// A line lives the log's lifetime (5000 ms unless set) and goes at the first tick of the log's
// timer (every 500 ms, running while there are lines) at which it is the oldest and at least that
// old; at most one line goes per tick. Ages are counted in ticks of the process's timers (50 ms
// each), the clock the timer itself runs on. A line that would leave less than 2 pixels below the
// lines pushes out the oldest ones at once; the newest line always stays, even when it is taller
// than the log. Hidden, the log keeps adding and expiring lines.
//
// Nothing here fails: without a render context's font a line keeps the height it was made with
// (none), and without a message queue lines are dated tick 0 and expire by the timer alone.
class VyMessageLog : public VyFrameWnd
{
public:
    VyMessageLog();

    // Appends a line in the template's colours, its markup (a text starting with "<>") deciding the
    // colours of its parts; or with color as its text colour.
    void AddLine(const VyString& text);
    void AddLine(const VyString& text, const VyColor& color);
    void SetLifetime(int ms) { m_lifetime = ms; }
    int GetLifetime() const { return m_lifetime; }
    // The template: the text colour and the shadow colour of every new line (the label's own colour
    // slots until set).
    void SetLineColors(const VyColor& text, const VyColor& shadow);

    int GetLineCount() const { return static_cast<int>(m_lines.size()); }
    // The label of a line, the oldest at index 0; null out of range.
    VyLabel* GetLine(int index) const;

    void HandleMessage(const VyMessage& msg) override;
    VyWnd* ChildFromPoint(VyPoint point) override;

    static constexpr int VY_EXPIRY_TIMER = 1;
    static constexpr int VY_EXPIRY_PERIOD_MS = 500;
    static constexpr int VY_DEFAULT_LIFETIME_MS = 5000;
    // Space above the first line, and beside the lines on either side.
    static constexpr int VY_TOP_MARGIN = 4;
    static constexpr int VY_SIDE_MARGIN = 10;
    // Room that must stay free below the lines.
    static constexpr int VY_MIN_FREE = 2;

protected:
    void LayoutChildren() override;

private:
    struct Line
    {
        VyLabel* pLabel = nullptr;
        unsigned int tick = 0; // when it came, in timer ticks
    };

    VyLabel* MakeLabel(const std::optional<VyColor>& color);
    void Append(VyLabel* pLabel);
    void DropOverflow();
    bool IsExpired(const Line& line) const;
    void ExpireOldest();
    void RemoveOldest();
    void LayoutLines();
    int LinesHeight() const;
    static unsigned int Now();

    std::deque<Line> m_lines;
    int m_lifetime = VY_DEFAULT_LIFETIME_MS;
    std::optional<VyColor> m_textColor;
    std::optional<VyColor> m_shadowColor;
    bool m_bLayingOut = false;
};
