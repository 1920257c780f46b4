#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "vyplatform/VyRootWindow.h"
#include "vyplatform/VySoftwareCursor.h"
#include "vythread/VyMessageQueue.h"
#include "vywindow/VyFrameWnd.h"

// Whether a capture routes the mouse to the window under it inside the capturing window.
enum class VyCaptureRouting
{
    TO_CAPTURE,  // every mouse event goes to the capturing window
    TO_CHILDREN, // to the deepest window under the mouse inside it, else to it
};

// The root of the window tree (one at a time; VyMainWnd::Get). It owns the process's message queue and
// every window through its children, and keeps the non-owning references of the tree: the focus and
// its history, the capture stack, the modal stack, the overlays (pop-ups drawn after the tree and
// hit-tested before it), the hover window, the window dragged by its caption, the caret and the
// windows awaiting deletion. The platform hands it input and lets it draw.
//
// Routing of a mouse button (root coordinates):
//   target    the topmost capture (TO_CHILDREN: the deepest window under the mouse inside it), else
//             the first overlay from the last containing the point, hit-tested inside, else the tree;
//             with a modal window, a target outside it becomes the modal window
//   filters   the press / release filters from the target up; false consumes
//   disabled  a disabled target (or one inside a disabled window) gets nothing
//   caption   a left or right press on a caption zone starts a drag: the window comes to the front,
//             takes the focus and the capture, and gets no press; the release ends the drag
//   clicks    a press (and a release, with its own memory) on the same window within the
//             double-click time and strictly within the distance of the previous one is a double
//             click (VY_MOUSE_DOUBLE_CLICK); the memory is then cleared, so a third is single again
// Moves: target as for buttons, but with a modal window a move outside it goes nowhere; the hover
// changes, a dragged window follows the mouse, then (unless filtered or disabled) the cursor and the
// move itself. Keys and characters: Control+P saves a screenshot and goes no further; otherwise the
// target is the focus (the modal window when the focus is outside it, the main window when there is
// none), the key filters run from it up, and the target's OnUnhandledKey gets what no filter consumed.
// F10, while no modal window is open, opens the first menu of the nearest menu bar of the target or
// its ancestors.
class VyMainWnd : public VyFrameWnd, public VyRootWindow
{
public:
    // The main window of a client area of width x height: visible, transparent, created. Installs
    // itself as VyMainWnd::Get() and its queue as the process's queue.
    VyMainWnd(int width, int height);
    // Destroys and deletes the whole tree first, while the queue still exists.
    ~VyMainWnd() override;

    // The main window, or null.
    static VyMainWnd* Get();

    // -- Focus -----------------------------------------------------------------------------------

    // Gives pWnd the focus: null means the most recently focused window that still exists, else the
    // main window. A window with VY_STYLE_NO_FOCUS, or one not created, is refused (false).
    bool SetFocus(VyWnd* pWnd);
    VyWnd* GetFocus() const { return m_pFocus; }

    // -- Capture, modal windows, overlays ----------------------------------------------------------

    // Captures the mouse for pWnd. Refused (false, with a diagnostic) while a modal window exists that
    // pWnd is not inside. A capture that routes to its children keeps an inner window's capture on top
    // of it; any other new capture releases the old ones first.
    bool SetCapture(VyWnd* pWnd, VyCaptureRouting routing = VyCaptureRouting::TO_CAPTURE);
    void ReleaseCapture(VyWnd* pWnd);
    // The topmost capture, or null.
    VyWnd* GetCapture() const;
    void PushModal(VyWnd* pWnd);
    void PopModal(VyWnd* pWnd);
    // The topmost modal window, or null.
    VyWnd* GetModal() const;
    void AddOverlay(VyWnd* pWnd);
    void RemoveOverlay(VyWnd* pWnd);
    const std::vector<VyWnd*>& GetOverlays() const { return m_overlays; }
    VyWnd* GetHover() const { return m_pHover; }

    // -- Cursor and caret --------------------------------------------------------------------------

    // The software cursor drawn at the mouse (VY_CURSOR_...; none while the mouse is outside).
    void SetShownCursor(int cursor);
    int GetShownCursor() const { return m_bMouseInside ? m_nShownCursor : VY_CURSOR_NONE; }
    // Makes pOwner the caret's owner with the caret at rect (the owner's client coordinates); the
    // caret shows at once and blinks on timer 1 with the caret blink metric.
    void SetCaret(VyWnd* pOwner, const VyRect& rect);
    // Removes the caret when pOwner owns it.
    void RemoveCaret(VyWnd* pOwner);
    VyWnd* GetCaretOwner() const { return m_pCaretOwner; }
    bool IsCaretShown() const { return m_pCaretOwner != nullptr && m_bCaretOn; }

    // -- Deletion ----------------------------------------------------------------------------------

    // Keeps a destroyed window until the deferred-delete message (posted here) deletes it. A window
    // given up while a modal run was going is deleted by a message of that run or of a run outside it;
    // one given up outside a modal run waits until that run has ended, since the handler that gave it
    // up may still be on the way to the nested run.
    void AddPendingDelete(std::unique_ptr<VyWnd> pWnd);
    // A modal run (a dialog's wait) begins or ends.
    void EnterModalRun();
    void LeaveModalRun();
    int GetModalRunDepth() const { return m_nModalDepth; }
    size_t GetPendingDeleteCount() const { return m_pendingDeletes.size(); }
    // Drops every reference to pWnd (called when a window is destroyed or deleted).
    void ForgetWindow(const VyWnd* pWnd);
    // A window was hidden: the focus, capture and hover inside it move on.
    void OnWindowHidden(VyWnd* pWnd);
    // Gives the focus back (SetFocus(nullptr)) when its window went.
    void RestoreFocus();

    // The clock of the double-click test (milliseconds); tests give their own.
    void SetClickClock(std::function<unsigned int()> clock) { m_clickClock = std::move(clock); }
    // The last mouse position (root coordinates).
    VyPoint GetMousePosition() const { return m_mouse; }
    // The screenshots Control+P asked for that the render context accepted.
    int GetScreenshotCount() const { return m_nScreenshots; }

    // VyWnd
    void HandleMessage(const VyMessage& msg) override;
    void Resize(int width, int height) override;
    using VyFrameWnd::Draw;

    // VyRootWindow
    void OnKey(int key, int flags) override;
    void OnChar(int character, int flags) override;
    void OnMouseButton(VyPoint point, int flags) override;
    void OnMouseMove(VyPoint point, int flags) override;
    void OnMouseWheel(VyPoint point, int steps) override;
    void OnMouseEntered() override;
    void OnMouseLeft() override;
    void OnActivate(bool bActive) override;
    void Draw() override;
    void ReleaseTextures() override;
    void Close() override;
    // A message box captioned as given, of type Ok, run modally; false when no box can be made.
    bool ShowFatalError(const VyString& caption, const VyString& text) override;

    // The caret's blink timer on the main window.
    static constexpr int VY_CARET_TIMER = 1;

private:
    // What a press or a release remembers for the double-click test.
    struct ClickMemory
    {
        const VyWnd* pWnd = nullptr;
        unsigned int time = 0;
        VyPoint point;
        bool bArmed = false;
    };

    void RouteKey(int key, int flags);
    bool OpenMenuBarFrom(VyWnd* pTarget);
    VyWnd* KeyTarget() const;
    VyWnd* MouseTarget(VyPoint point) const;
    VyWnd* HitOverlays(VyPoint point) const;
    VyWnd* LimitToModal(VyWnd* pTarget) const;
    bool PassesButtonFilters(VyWnd* pTarget, VyPoint point, int flags) const;
    void DeliverPress(VyWnd& target, VyPoint point, int flags);
    void DeliverRelease(VyWnd& target, VyPoint point, int flags);
    void BeginDrag(VyWnd& target, VyPoint point);
    void EndDrag();
    void FollowDrag(VyPoint point);
    bool IsDoubleClick(ClickMemory& memory, const VyWnd& target, VyPoint point);
    void RouteMove(VyPoint point, int flags);
    bool PassesMoveFilters(VyWnd* pTarget, VyPoint point, int flags) const;
    bool ScrollWheelFrom(VyWnd* pStart, int steps);
    VyWnd* FallbackFocus() const;
    void ChangeHover(VyWnd* pNew);
    void RerouteMouse();
    void ReleaseAllCaptures();
    void TakeScreenshot();
    void ToggleCaret();
    void DeletePending();

    void DrawOverlays(VyRenderContext& context);
    void DrawCaret(VyRenderContext& context);
    void DrawFrameRate(VyRenderContext& context);
    void DrawOutlines(VyRenderContext& context);
    void LoadCursor();

    VyMessageQueue m_queue; // first: made before and destroyed after everything that posts

    VyWnd* m_pFocus = nullptr;
    std::vector<VyWnd*> m_focusHistory;     // oldest first
    struct Capture
    {
        VyWnd* pWnd = nullptr;
        VyCaptureRouting routing = VyCaptureRouting::TO_CAPTURE;
    };
    std::vector<Capture> m_captures;        // topmost last
    std::vector<VyWnd*> m_modals;           // topmost last
    std::vector<VyWnd*> m_overlays;         // drawn in this order, hit from the last
    VyWnd* m_pHover = nullptr;
    VyWnd* m_pDragged = nullptr;
    VyPoint m_dragOffset;                   // mouse minus the dragged window's top-left, root
    VyWnd* m_pCaretOwner = nullptr;
    VyRect m_caretRect;                     // in the owner's client coordinates
    bool m_bCaretOn = false;
    struct PendingDelete
    {
        std::unique_ptr<VyWnd> pWnd;
        int depth = 0; // the modal depth it was given up at
    };
    std::vector<PendingDelete> m_pendingDeletes;
    int m_nModalDepth = 0;

    VyPoint m_mouse;
    int m_nMouseFlags = 0;
    bool m_bMouseInside = false;
    bool m_bRoutingMove = false;
    int m_nShownCursor = VY_CURSOR_DEFAULT;
    ClickMemory m_lastPress;
    ClickMemory m_lastRelease;
    std::function<unsigned int()> m_clickClock;

    bool m_bShowFps = false;
    bool m_bOutline = false;
    int m_nScreenshots = 0;
    bool m_bCursorLoaded = false;
    VySoftwareCursor m_cursor;
};
