#pragma once

#include <cstdint>

#include "vythread/VyMessageTarget.h"
#include "vythread/VyPoint.h"
#include "vythread/VyRect.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"
#include "vyutil/VyColor.h"
#include "vywindow/VyWndStyle.h"

class VyFrameWnd;
class VyMainWnd;
class VyRenderContext;

// The widths of a window's frame on each side, in pixels.
struct VyFrameWidths
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The widths with pixels more on every side (a control's own frame inside the window's).
    VyFrameWidths Inflated(int pixels) const { return {left + pixels, top + pixels, right + pixels, bottom + pixels}; }
};

// A window of the framework's own window tree: a rectangle in its parent's client area (y upwards,
// half-open), a style word (VyWndStyle.h), an identifier, a background colour, a text, the base of its
// four frame colours and a cursor. VyWnd itself is a leaf; VyFrameWnd adds children, and every window
// of the program derives from it.
//
// Only the main thread touches windows. A window belongs to its parent (VyFrameWnd owns its children);
// the main window keeps non-owning references (focus, capture, hover, modal stack, overlays, caret) that
// are cleared when the window is destroyed. Destroying a window removes its pending framework messages
// and kills its timers, so nothing is delivered to it afterwards. A window is never deleted while one
// of its own handlers runs: DeleteLater destroys it at once and leaves the deletion to the main window's
// deferred-delete message.
//
// Coordinates: a window's client point (0, 0) is the bottom-left pixel inside its frame; "root"
// coordinates are the main window's, which is what the render context draws in.
class VyWnd : public VyMessageTarget
{
public:
    VyWnd();
    // Removes the window's pending messages and timers and every reference the main window holds.
    ~VyWnd() override;
    VyWnd(const VyWnd&) = delete;
    VyWnd& operator=(const VyWnd&) = delete;

    // 0. VY_MSG_MOVE_WINDOW moves the window to the rectangle given to PostMove; others are ignored.
    void HandleMessage(const VyMessage& msg) override;

    // 2, 3. The background colour (default the slot WINDOW_BACKGROUND).
    virtual VyColor GetBackgroundColor() const;
    virtual void SetBackgroundColor(const VyColor& color);
    // 4, 5. The first of the four frame-colour slots: dark shadow, light shadow, dark highlight, light
    // highlight follow it (default WINDOW_DARK_SHADOW).
    virtual int GetFrameColorBase() const;
    virtual void SetFrameColorBase(int slotId);

    // 6-9. Between this window's client coordinates and its parent's.
    virtual VyPoint ClientToParent(VyPoint point) const;
    virtual VyRect ClientToParent(const VyRect& rect) const;
    virtual VyPoint ParentToClient(VyPoint point) const;
    virtual VyRect ParentToClient(const VyRect& rect) const;
    // 10. The frame's width and height: the thick or thin frame metrics with a border style, else 0.
    virtual VySize GetFrameSize() const;
    // 11.
    VyFrameWnd* GetParent() const { return m_pParent; }

    // 15. The deepest visible window under point (client coordinates), or null; a leaf answers itself
    //     unless it has VY_STYLE_NO_HIT.
    virtual VyWnd* ChildFromPoint(VyPoint point);
    // 18-20. A leaf has no children: null and false.
    virtual VyWnd* GetChild(int id) const;
    virtual bool IsDescendant(const VyWnd* pWnd) const;
    virtual VyWnd* FindDescendant(int id) const;

    // 33. Whether a point of the parent's client coordinates lies inside the window (half-open).
    virtual bool ContainsPoint(VyPoint point) const;
    // 34. Called by Create; false refuses the window, which is then destroyed again.
    virtual bool OnCreate();
    // 35. Clears VY_STYLE_CREATED, destroys the children (VyFrameWnd), then the window itself: its
    //     messages, timers and the main window's references go. The window stays in its parent until
    //     the parent lets it go (DeleteLater, or the parent's own destruction).
    virtual void Destroy();

    // 36-39. Focus changes; 36 and 37 tell the parent through 38 and 39.
    virtual void OnFocusGained();
    virtual void OnFocusLost();
    virtual void OnChildFocusGained(VyWnd* pChild);
    virtual void OnChildFocusLost(VyWnd* pChild);

    // 40-42. Mouse events in client coordinates; the flags are those of VyInput.h with the zone
    //        (VY_ZONE_...) and, for presses and releases, VY_MOUSE_DOUBLE_CLICK or-ed in. A press gives
    //        the window the focus by default; a right-button release opens the window's menu bar, when
    //        it has one, as a pop-up at the point.
    virtual void OnMouseMoved(VyPoint point, int flags);
    virtual void OnButtonPressed(VyPoint point, int flags);
    virtual void OnButtonReleased(VyPoint point, int flags);
    // 43. A key (VY_KEY_...) or character (32..127) that no key filter consumed.
    virtual void OnUnhandledKey(int key, int flags);
    // 44. Draws what the window shows inside clientRect (its client area in root coordinates).
    virtual void DrawContent(VyRenderContext& context, const VyRect& clientRect);

    // 45. Moves the window to x, top with the given size (parent coordinates; bottom = top - height),
    //     then resizes it. A move asked for by the program drops the centring bits, so that a later
    //     layout of the parent keeps the window where it was put.
    void Move(int x, int top, int width, int height);
    // A window that sizes itself to its content: the top-left corner stays, and the parent lays its
    // children out again when the size changed.
    void ResizeKeepingTop(int width, int height);
    // Moves the window later, when the main window dispatches VY_MSG_MOVE_WINDOW.
    void PostMove(const VyRect& rect);
    // 46. Keeps the bottom-left corner, takes the new size and lays the children out.
    virtual void Resize(int width, int height);

    // 48, 49. The mouse came over the window (from pPrevious) or went away (to pNext); they set and
    //         clear VY_STYLE_MOUSE_OVER.
    virtual void OnHoverEnter(VyWnd* pPrevious);
    virtual void OnHoverLeave(VyWnd* pNext);
    // 50. The window gained or lost the mouse capture; a loss ends a caption drag.
    virtual void OnCaptureGained();
    virtual void OnCaptureLost();
    // 51. Makes the window's cursor the main window's cursor.
    virtual void UpdateCursor();

    // 52. Fills rect (the window in root coordinates) with the background colour.
    virtual void DrawBackground(VyRenderContext& context, const VyRect& rect);
    // 53. The 3-D frame in the four frame colours for a border style: raised for VY_STYLE_BORDER,
    //     sunken for VY_STYLE_INSIDE_BORDER, two pixels wide with VY_STYLE_THICKFRAME.
    virtual void DrawFrame(VyRenderContext& context, const VyRect& rect);
    // 54. The frame's widths on each side (the frame size on every side by default).
    virtual VyFrameWidths GetFrameWidths() const;
    // 55. VY_ZONE_CLIENT inside the client area, VY_ZONE_FRAME on the frame.
    virtual int GetZone(VyPoint clientPoint) const;

    // 56-58. Offered every mouse event aimed at this window or one of its descendants, from the target
    //        up; false consumes the event.
    virtual bool FilterMouseMove(VyPoint rootPoint, int flags);
    virtual bool FilterButtonPress(VyPoint rootPoint, int flags);
    virtual bool FilterButtonRelease(VyPoint rootPoint, int flags);
    // 59. Offered every key and character aimed at this window or a descendant, from the target up;
    //     false consumes it. The base moves the focus on Tab (Shift: backwards) and consumes it.
    virtual bool FilterKey(int key, int flags);

    // Controls give the scroll-bar style bits meanings of their own: a control's style shows no bar.
    virtual bool IsControl() const { return false; }
    // Scrolls by mouse-wheel steps when the window is a scroll bar; false when it is none.
    virtual bool ScrollByWheel(int steps);

    // The render context is about to go: textures the window made must be dropped now (they are made
    // again when next drawn).
    virtual void ReleaseTextures();

    // 60. Draws the visible window with its children, clipped to its ancestors (overlays only to the
    //     main window): background, content, children back to front, then the frame.
    virtual void Draw(VyRenderContext& context);

    // -- Non-virtual operations ------------------------------------------------------------------

    // Shows a hidden window in front of its siblings, or hides a visible one; the parent lays out again.
    void Show();
    void Hide();
    bool IsVisible() const { return HasStyle(VY_STYLE_VISIBLE); }
    // Whether the window and every ancestor are visible: the window can be seen.
    bool IsShown() const;
    bool IsCreated() const { return HasStyle(VY_STYLE_CREATED); }
    // Whether the window and all its ancestors are enabled.
    bool IsEnabled() const;
    void SetEnabled(bool bEnabled);

    // The text (a caption, a control's text). Setting it asks for a frame and tells OnTextChanged.
    const VyString& GetText() const { return m_text; }
    void SetText(const VyString& text);

    uint32_t GetStyle() const { return m_style; }
    bool HasStyle(uint32_t bits) const { return (m_style & bits) == bits; }
    // Sets and clears style bits; visibility goes through Show and Hide, creation through Create.
    void ModifyStyle(uint32_t add, uint32_t remove);
    VyAlignment GetAlignment() const { return static_cast<VyAlignment>(m_style & VY_STYLE_ALIGN_MASK); }

    int GetId() const { return m_id; }
    const VyRect& GetRect() const { return m_rect; }
    int GetWidth() const { return m_rect.Width(); }
    int GetHeight() const { return m_rect.Height(); }
    // The client area in client coordinates: (0, 0) to the size inside the frame.
    VyRect GetClientRect() const;
    // The window's rectangle, and its client area, in root coordinates.
    VyRect GetRootRect() const;
    VyRect GetClientRootRect() const;
    VyPoint ClientToRoot(VyPoint point) const;
    VyRect ClientToRoot(const VyRect& rect) const;
    VyPoint RootToClient(VyPoint point) const;

    int GetCursor() const { return m_nCursor; }
    void SetCursor(int cursor) { m_nCursor = cursor; }

    // Asks the platform for a frame: the window looks different now.
    void Invalidate() const;
    // Destroys the window now and deletes it at the main window's next deferred-delete message (at
    // once when no main window exists). The parent lets it go; the pointer must not be used after.
    void DeleteLater();
    // Posts a framework message to target (this window by default) through the process's queue.
    void PostTo(VyMessageTarget* pTarget, int id, int param1 = 0, int param2 = 0) const;

    // Whether pWnd is this window or one of its descendants (through the parent links).
    bool IsSelfOrDescendant(const VyWnd* pWnd) const;

protected:
    // The text changed (controls lay out again).
    virtual void OnTextChanged();
    // Called after the window was destroyed; its resources go here.
    virtual void OnDestroy();
    // Frame windows lay their children out after a resize, and draw them between the content and
    // the frame.
    virtual void LayoutChildren();
    virtual void DrawChildren(VyRenderContext& context);
    // Places the window without touching its centring bits (layout uses it).
    void Place(int x, int top, int width, int height);
    // Makes the window a created root with no parent (the main window).
    void MakeRoot(uint32_t style, const VyRect& rect);

private:
    friend class VyFrameWnd;

    // The main window's half of Destroy: forgets the window's references, messages and timers.
    void Forget();
    // Intersects clip with every ancestor's rectangle (in root coordinates).
    VyRect ClipToAncestors(VyRect clip) const;

    uint32_t m_style = 0;
    VyRect m_rect;
    VyPoint m_lastMove;            // x and top of the last Move
    VyFrameWnd* m_pParent = nullptr;
    int m_id = 0;
    VyColor m_background;
    VyString m_text;
    int m_nFrameColorBase;
    int m_nCursor = 0;
    VyRect m_pendingMove;          // what the next VY_MSG_MOVE_WINDOW moves to
};
