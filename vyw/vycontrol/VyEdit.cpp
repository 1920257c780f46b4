#include "vycontrol/VyEdit.h"

#include <algorithm>
#include <cctype>

#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
// The sunken frame around the text: two pixels of the EDIT_* colours.
constexpr int FIELD_FRAME = 2;

// The one undo buffer of the program: the text the last field to get the focus had then.
VyString g_undoBuffer;

void Beep()
{
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->Beep();
}

// The first line of a pasted text, with only the characters a field takes.
VyString Printable(const VyString& text)
{
    VyString kept;
    for (char c : text)
    {
        const int code = static_cast<unsigned char>(c);
        if (code == '\n' || code == '\r')
            break;
        if (code >= 32 && code <= 127)
            kept.push_back(c);
    }
    return kept;
}
} // namespace

VyEdit::VyEdit()
{
    SetCursor(VY_CURSOR_IBEAM);
    SetFrameColorBase(EDIT_DARK_SHADOW);
}

int VyEdit::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::TEXT: return EDIT_TEXT;
    case VyControlColor::TEXT_SHADOW: return EDIT_TEXT_SHADOW;
    case VyControlColor::TEXT_DISABLED: return EDIT_TEXT_DISABLED;
    case VyControlColor::TEXT_DISABLED_SHADOW: return EDIT_TEXT_DISABLED_SHADOW;
    case VyControlColor::TEXT_SELECTION: return EDIT_TEXT_SELECTION;
    case VyControlColor::TEXT_SELECTION_SHADOW: return EDIT_TEXT_SELECTION_SHADOW;
    case VyControlColor::TEXT_READONLY: return EDIT_TEXT_READONLY;
    case VyControlColor::TEXT_READONLY_SHADOW: return EDIT_TEXT_READONLY_SHADOW;
    case VyControlColor::FACE: return EDIT_BACKGROUND;
    case VyControlColor::FACE_READONLY: return EDIT_BACKGROUND_READONLY;
    case VyControlColor::SELECTION: return EDIT_BACKGROUND_SELECTION;
    default: return VY_COLOR_SLOT_NONE;
    }
}

const VyString& VyEdit::GetUndoBuffer()
{
    return g_undoBuffer;
}

// -- Selection ---------------------------------------------------------------------------------------

int VyEdit::GetSelectionStart() const
{
    return HasSelection() ? std::min(m_anchor, m_caret) : m_caret;
}

int VyEdit::GetSelectionLength() const
{
    return HasSelection() ? std::abs(m_anchor - m_caret) : 0;
}

VyString VyEdit::GetSelectedText() const
{
    return GetText().substr(static_cast<size_t>(GetSelectionStart()), static_cast<size_t>(GetSelectionLength()));
}

void VyEdit::SetSelection(int anchor, int caret)
{
    const int length = static_cast<int>(GetText().size());
    m_caret = std::clamp(caret, 0, length);
    m_anchor = anchor < 0 ? -1 : std::clamp(anchor, 0, length);
    UpdateCaret();
    Invalidate();
}

void VyEdit::MoveCaret(int caret, int flags)
{
    if ((flags & VY_INPUT_SHIFT) != 0)
        SetSelection(m_anchor >= 0 ? m_anchor : m_caret, caret);
    else
        SetSelection(-1, caret);
}

// -- Editing -----------------------------------------------------------------------------------------

bool VyEdit::Fits(const VyString& text) const
{
    const VyFont* pFont = GetDrawFont();
    return pFont == nullptr || pFont->GetTextWidth(text) + 2 * VY_TEXT_X < GetClientRect().Width();
}

bool VyEdit::Replace(const VyString& text)
{
    const int start = GetSelectionStart();
    VyString changed = GetText();
    changed.replace(static_cast<size_t>(start), static_cast<size_t>(GetSelectionLength()), text);
    if (!Fits(changed))
    {
        Beep();
        return false;
    }
    m_bEditing = true;
    SetText(changed);
    m_bEditing = false;
    SetSelection(-1, start + static_cast<int>(text.size()));
    return true;
}

void VyEdit::DeleteSelection()
{
    if (!IsReadOnly() && HasSelection())
        Replace({});
}

void VyEdit::Undo()
{
    if (IsReadOnly() || !CanUndo())
        return;
    SetText(g_undoBuffer);
    SetSelection(-1, static_cast<int>(GetText().size()));
}

bool VyEdit::CanUndo() const
{
    return GetText() != g_undoBuffer;
}

void VyEdit::Cancel()
{
    Undo();
}

void VyEdit::Copy()
{
    VyPlatform* pPlatform = VyPlatform::Get();
    if (pPlatform != nullptr && HasSelection())
        pPlatform->SetClipboardText(GetSelectedText());
}

void VyEdit::Cut()
{
    if (IsReadOnly())
        return;
    Copy();
    DeleteSelection();
}

void VyEdit::Paste()
{
    VyPlatform* pPlatform = VyPlatform::Get();
    if (IsReadOnly() || pPlatform == nullptr || !pPlatform->HasClipboardText())
        return;
    Replace(Printable(pPlatform->GetClipboardText()));
}

void VyEdit::SelectAll()
{
    SetSelection(0, static_cast<int>(GetText().size()));
}

void VyEdit::OnTextChanged()
{
    if (!m_bEditing)
        SetSelection(-1, std::min(m_caret, static_cast<int>(GetText().size())));
}

// -- Keys --------------------------------------------------------------------------------------------

void VyEdit::OnUnhandledKey(int key, int flags)
{
    if ((flags & VY_INPUT_CONTROL) != 0 && key >= 32 && key <= 127)
    {
        OnControlKey(key);
        return;
    }
    switch (key)
    {
    case VY_KEY_LEFT:
    case VY_KEY_RIGHT:
    case VY_KEY_HOME:
    case VY_KEY_END:
        OnMoveKey(key, flags);
        return;
    case VY_KEY_BACKSPACE:
    case VY_KEY_DELETE:
        OnDeleteKey(key);
        return;
    case VY_KEY_ESCAPE:
        Cancel();
        return;
    default:
        break;
    }
    if (key < 32 || key > 127)
        return;
    if (IsReadOnly())
    {
        Beep();
        return;
    }
    // Typing over a selection removes it even when the character then does not fit: what was
    // selected was meant to go.
    DeleteSelection();
    Replace(VyString(1, static_cast<char>(key)));
}

void VyEdit::OnControlKey(int key)
{
    switch (std::tolower(key))
    {
    case 'x': RunCommand(static_cast<int>(VyEditCommand::CUT)); break;
    case 'c': RunCommand(static_cast<int>(VyEditCommand::COPY)); break;
    case 'v': RunCommand(static_cast<int>(VyEditCommand::PASTE)); break;
    case 'a': RunCommand(static_cast<int>(VyEditCommand::SELECT_ALL)); break;
    case 'z': RunCommand(static_cast<int>(VyEditCommand::UNDO)); break;
    default: break;
    }
}

void VyEdit::OnMoveKey(int key, int flags)
{
    const bool bShift = (flags & VY_INPUT_SHIFT) != 0;
    const int length = static_cast<int>(GetText().size());
    if (!bShift && HasSelection() && (key == VY_KEY_LEFT || key == VY_KEY_RIGHT))
    {
        const int end = key == VY_KEY_LEFT ? std::min(m_anchor, m_caret) : std::max(m_anchor, m_caret);
        SetSelection(-1, end);
        return;
    }
    int caret = m_caret;
    if (key == VY_KEY_LEFT)
        caret = std::max(0, caret - 1);
    else if (key == VY_KEY_RIGHT)
        caret = std::min(length, caret + 1);
    else
        caret = key == VY_KEY_HOME ? 0 : length;
    MoveCaret(caret, flags);
}

void VyEdit::OnDeleteKey(int key)
{
    if (IsReadOnly())
        return;
    if (HasSelection())
    {
        Replace({});
        return;
    }
    const int length = static_cast<int>(GetText().size());
    if (key == VY_KEY_BACKSPACE && m_caret > 0)
        SetSelection(m_caret - 1, m_caret);
    else if (key == VY_KEY_DELETE && m_caret < length)
        SetSelection(m_caret + 1, m_caret);
    else
        return; // Backspace at the start, Delete at the end
    Replace({});
}

// -- Mouse and focus ---------------------------------------------------------------------------------

int VyEdit::TextWidth(int count) const
{
    const VyFont* pFont = GetDrawFont();
    return pFont != nullptr ? pFont->GetTextWidth(GetText(), count) : 0;
}

int VyEdit::IndexAt(int x) const
{
    const int length = static_cast<int>(GetText().size());
    const int target = x - VY_TEXT_X;
    int best = 0;
    for (int i = 1; i <= length; ++i)
        if (std::abs(TextWidth(i) - target) < std::abs(TextWidth(best) - target))
            best = i;
    return best;
}

void VyEdit::OnButtonPressed(VyPoint point, int flags)
{
    if ((flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT)
        return;
    VyFrameWnd::OnButtonPressed(point, flags); // the focus, which selects everything
    if ((flags & VY_MOUSE_DOUBLE_CLICK) != 0)
    {
        SelectAll();
        return;
    }
    SetSelection(-1, IndexAt(point.x));
    // Held from the press, so that a drag that leaves the field at once still selects.
    VyMainWnd* pMain = VyMainWnd::Get();
    m_bDragging = pMain != nullptr && pMain->SetCapture(this);
}

void VyEdit::OnMouseMoved(VyPoint point, int flags)
{
    VyFrameWnd::OnMouseMoved(point, flags);
    if (!m_bDragging || (flags & VY_MOUSE_BUTTON_MASK) != VY_MOUSE_LEFT)
        return;
    SetSelection(m_anchor >= 0 ? m_anchor : m_caret, IndexAt(point.x));
}

void VyEdit::OnButtonReleased(VyPoint point, int flags)
{
    VyFrameWnd::OnButtonReleased(point, flags);
    m_bDragging = false;
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->ReleaseCapture(this);
    if ((flags & VY_MOUSE_BUTTON_MASK) == VY_MOUSE_RIGHT)
        OpenContextMenu(point);
}

// -- The right-button menu ---------------------------------------------------------------------------

void VyEdit::OpenContextMenu(VyPoint point)
{
    VyMainWnd* pMain = VyMainWnd::Get();
    if (pMain == nullptr)
        return;
    // The menu's commands act on this field: it takes the focus first, as a left click would.
    pMain->SetFocus(this);
    auto pMenu = std::make_unique<VyPopupMenu>();
    const auto add = [&pMenu, this](const char* text, VyEditCommand command) {
        pMenu->AppendItem(static_cast<int>(command), text, this);
    };
    add("Undo", VyEditCommand::UNDO);
    pMenu->AppendSeparator();
    add("Cut", VyEditCommand::CUT);
    add("Copy", VyEditCommand::COPY);
    add("Paste", VyEditCommand::PASTE);
    add("Delete", VyEditCommand::DELETE);
    pMenu->AppendSeparator();
    add("Select All", VyEditCommand::SELECT_ALL);
    VyPopupMenu::OpenContextMenu(std::move(pMenu), *this, ClientToRoot(point));
}

void VyEdit::UpdateMenuItem(VyMenuItem& item)
{
    VyPlatform* pPlatform = VyPlatform::Get();
    const bool bEditable = !IsReadOnly();
    switch (static_cast<VyEditCommand>(item.GetId()))
    {
    case VyEditCommand::UNDO: item.EnableIf(bEditable && CanUndo()); break;
    case VyEditCommand::CUT:
    case VyEditCommand::DELETE: item.EnableIf(bEditable && HasSelection()); break;
    case VyEditCommand::COPY: item.EnableIf(HasSelection()); break;
    case VyEditCommand::PASTE: item.EnableIf(bEditable && pPlatform != nullptr && pPlatform->HasClipboardText()); break;
    case VyEditCommand::SELECT_ALL: item.Enable(); break;
    }
}

bool VyEdit::RunCommand(int id)
{
    switch (static_cast<VyEditCommand>(id))
    {
    case VyEditCommand::UNDO: Undo(); return true;
    case VyEditCommand::CUT: Cut(); return true;
    case VyEditCommand::COPY: Copy(); return true;
    case VyEditCommand::PASTE: Paste(); return true;
    case VyEditCommand::SELECT_ALL: SelectAll(); return true;
    case VyEditCommand::DELETE: DeleteSelection(); return true;
    }
    return false;
}

void VyEdit::HandleMessage(const VyMessage& msg)
{
    if (msg.id != VY_MSG_COMMAND || !RunCommand(msg.param1))
        VyFrameWnd::HandleMessage(msg);
}

void VyEdit::OnCaptureLost()
{
    VyFrameWnd::OnCaptureLost();
    m_bDragging = false;
}

bool VyEdit::HasFocus() const
{
    const VyMainWnd* pMain = VyMainWnd::Get();
    return pMain != nullptr && pMain->GetFocus() == this;
}

void VyEdit::OnFocusGained()
{
    VyFrameWnd::OnFocusGained();
    g_undoBuffer = GetText();
    SelectAll();
}

void VyEdit::OnFocusLost()
{
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->RemoveCaret(this);
    m_bDragging = false;
    VyFrameWnd::OnFocusLost();
}

// -- Layout and drawing ------------------------------------------------------------------------------

VyFrameWidths VyEdit::GetFrameWidths() const
{
    return VyFrameWnd::GetFrameWidths().Inflated(FIELD_FRAME);
}

void VyEdit::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyEdit::Relayout()
{
    const VyFont* pFont = GetDrawFont();
    if (m_bLayingOut || pFont == nullptr)
        return;
    m_bLayingOut = true;
    if (HasStyle(VY_EDIT_AUTO_HEIGHT))
    {
        const VyFrameWidths frame = GetFrameWidths();
        ResizeKeepingTop(GetWidth(), pFont->GetHeight() + 2 + frame.top + frame.bottom + 2 * VY_TEXT_X);
    }
    UpdateCaret();
    m_bLayingOut = false;
}

VyRect VyEdit::TextBox(const VyRect& clientRect) const
{
    const VyFont* pFont = GetDrawFont();
    const int lineHeight = (pFont != nullptr ? pFont->GetHeight() : 0) + 2;
    const int top = clientRect.bottom + (clientRect.Height() + lineHeight) / 2;
    return {clientRect.left + VY_TEXT_X, top, clientRect.right - VY_TEXT_X, top - lineHeight};
}

void VyEdit::UpdateCaret()
{
    VyMainWnd* pMain = VyMainWnd::Get();
    if (pMain == nullptr || !HasFocus())
        return;
    const VyRect box = TextBox(GetClientRect());
    const int x = box.left + TextWidth(m_caret);
    pMain->SetCaret(this, {x, box.top, x + 1, box.bottom});
}

VyColor VyEdit::GetBackgroundColor() const
{
    if (m_bBackgroundSet)
        return VyFrameWnd::GetBackgroundColor();
    return GetColor(IsReadOnly() ? VyControlColor::FACE_READONLY : VyControlColor::FACE);
}

void VyEdit::SetBackgroundColor(const VyColor& color)
{
    m_bBackgroundSet = true;
    VyFrameWnd::SetBackgroundColor(color);
}

void VyEdit::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    VyFont* pFont = GetDrawFont();
    if (pFont == nullptr)
        return;
    context.SelectFont(pFont);
    const VyRect box = TextBox(clientRect);
    VyControlColor text = IsReadOnly() ? VyControlColor::TEXT_READONLY : VyControlColor::TEXT;
    VyControlColor shadow = IsReadOnly() ? VyControlColor::TEXT_READONLY_SHADOW : VyControlColor::TEXT_SHADOW;
    if (!IsEnabled())
    {
        text = VyControlColor::TEXT_DISABLED;
        shadow = VyControlColor::TEXT_DISABLED_SHADOW;
    }
    DrawShadowedText(context, GetText(), box, VY_TEXT_LEFT, text, shadow);
    if (!HasFocus() || !HasSelection())
        return;
    // The selection on its own background, over the text drawn before.
    const int start = GetSelectionStart();
    const int left = box.left + TextWidth(start);
    const VyRect band{left, box.top, box.left + TextWidth(start + GetSelectionLength()), box.bottom};
    context.SetTexturing(false);
    context.SetColor(GetColor(VyControlColor::SELECTION));
    context.FillRect(band);
    VyRect selected{left, box.top, band.right + 1, box.bottom};
    DrawShadowedText(context, GetSelectedText(), selected, VY_TEXT_LEFT, VyControlColor::TEXT_SELECTION,
                     VyControlColor::TEXT_SELECTION_SHADOW);
}

void VyEdit::DrawFrame(VyRenderContext& context, const VyRect& rect)
{
    VyFrameWnd::DrawFrame(context, rect);
    const VySize outer = GetFrameSize();
    const VyRect field{rect.left + outer.cx, rect.top - outer.cy, rect.right - outer.cx, rect.bottom + outer.cy};
    context.SetTexturing(false);
    context.Draw3DFrame(field, VyFrameColors::FromSlots(EDIT_DARK_SHADOW), VyFrameStyle::SUNKEN);
}
