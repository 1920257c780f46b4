#pragma once

#include "vycontrol/VyControl.h"
#include "vycontrol/VyMenuUpdater.h"
#include "vywindow/VyFrameWnd.h"

// Style bits of edit fields.
constexpr uint32_t VY_EDIT_AUTO_HEIGHT = 0x1000000; // the height follows the font
constexpr uint32_t VY_EDIT_READONLY = 0x2000000;

// The commands of an edit field's right-button menu. The menu sends them to the field itself: the
// window around it may give the same numbers other meanings (8 is the game's Undo).
enum class VyEditCommand
{
    UNDO = 8,
    CUT = 9,
    COPY = 10,
    PASTE = 11,
    SELECT_ALL = 12,
    DELETE = 13,
};

// A single-line text field. The text never scrolls: a character that would make it wider than the
// field is refused with a beep. The selection runs between the anchor (-1: none) and the caret.
//
// Keys (Shift extends the selection from the caret, a key without Shift ends it):
//   Left, Right     collapse a selection to its left / right end, else move the caret one place
//   Home, End       the caret to the start / the end
//   Backspace       deletes the selection, else the character before the caret
//   Delete          deletes the selection, else the character at the caret
//   Escape          puts back the text the field had when it got the focus (Cancel)
//   32..127         deletes the selection, then goes in at the caret if the text still fits, else
//                   beeps
//   Control+X, C, V, A, Z   Cut, Copy, Paste, Select All, Undo (other Control combinations do nothing)
// Backspace, Delete and characters change nothing in a read-only field. The mouse (left button) puts
// the caret at the nearest place between characters and selects by dragging; a double click selects
// everything. Gaining the focus selects the whole text and keeps it in the program's one undo buffer.
// A right-button release gives the field the focus, if it lacks it, and opens its menu: "Undo", "Cut",
// "Copy", "Paste", "Delete", "Select All" (VyEditCommand), each enabled only when it would do something.
class VyEdit : public VyFrameWnd, public VyControl, public VyMenuUpdater
{
public:
    VyEdit();

    int GetCaret() const { return m_caret; }
    int GetAnchor() const { return m_anchor; }
    // The selection's start and length (0 without one).
    int GetSelectionStart() const;
    int GetSelectionLength() const;
    VyString GetSelectedText() const;
    // Puts the caret at index (clamped) and the anchor at anchor (-1: no selection).
    void SetSelection(int anchor, int caret);
    bool IsReadOnly() const { return HasStyle(VY_EDIT_READONLY); }

    // The editing operations of the field's menu: Undo puts back the undo buffer with the caret at the
    // end; Cut and Copy put the selection on the clipboard (Cut also deletes it); Paste puts the
    // clipboard's first line (characters 32..127 only) in place of the selection, unless it does not fit
    // (a beep); Select All; Delete removes the selection. Those that change the text do nothing in a
    // read-only field.
    void Undo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();
    void DeleteSelection();
    // Escape: the text the field had when it got the focus.
    void Cancel();
    // Whether Undo would change the text.
    bool CanUndo() const;
    // The program's one undo buffer.
    static const VyString& GetUndoBuffer();

    // The menu's commands: enabled while they would change something (Copy and Select All also in a
    // read-only field).
    void UpdateMenuItem(VyMenuItem& item) override;
    void HandleMessage(const VyMessage& msg) override;

    void Relayout() override;
    bool IsControl() const override { return true; }
    void Resize(int width, int height) override;
    void OnUnhandledKey(int key, int flags) override;
    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnFocusGained() override;
    void OnFocusLost() override;
    void OnCaptureLost() override;
    VyColor GetBackgroundColor() const override;
    void SetBackgroundColor(const VyColor& color) override;
    VyFrameWidths GetFrameWidths() const override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void DrawFrame(VyRenderContext& context, const VyRect& rect) override;

    // Where the text starts inside the client area, and the room kept after it.
    static constexpr int VY_TEXT_X = 2;

protected:
    void OnTextChanged() override;
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    bool HasSelection() const { return m_anchor >= 0 && m_anchor != m_caret; }
    bool Fits(const VyString& text) const;
    // Puts text in place of the selection (or at the caret); false (and a beep) when it does not fit.
    bool Replace(const VyString& text);
    void MoveCaret(int caret, int flags);
    void OnMoveKey(int key, int flags);
    void OnDeleteKey(int key);
    void OnControlKey(int key);
    void OpenContextMenu(VyPoint point);
    // Runs a command of the menu; false for another identifier.
    bool RunCommand(int id);
    int IndexAt(int x) const;
    int TextWidth(int count) const;
    VyRect TextBox(const VyRect& clientRect) const;
    void UpdateCaret();
    bool HasFocus() const;

    int m_caret = 0;
    int m_anchor = -1;
    bool m_bDragging = false;
    bool m_bBackgroundSet = false;
    bool m_bLayingOut = false;
    bool m_bEditing = false; // the field changes its own text: keep the caret
};
