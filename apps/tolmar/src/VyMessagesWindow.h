#pragma once

#include <vector>

#include "vythread/VyString.h"

class VyDialog;
class VyFrameWnd;
class VyListBox;
class VyMessageTarget;

// The "Messages" window: the dialog "messages.dlg" (dialog id 206) shown beside the game, its list
// (control 201) holding every chat line so far and growing while it is open. Its background and the
// list's are the dialog colour at half opacity (alpha 128), so the board shows through; the list's
// items are black where their markup sets no colour, on black shadows. It stands centred in its
// parent, moved 50 pixels up as far as the parent's client area leaves room for its caption. Its
// closing reaches the owner as VY_MSG_DIALOG_CLOSED (206, result).
//
// Failures: a definition that cannot be read shows nothing (the dialog's loader reports why); one
// without a list at 201 reports the assertion "pListBox" and shows the dialog empty. The window may
// close at any time (Ok, Return, Escape); this object then forgets it, never touching a closed one.
class VyMessagesWindow
{
public:
    // Shows the window in pParent with the lines (closing one shown before); its notifications go to
    // pOwner. False when it is not shown with its list.
    bool Show(VyFrameWnd& parent, VyMessageTarget& owner, const std::vector<VyString>& lines);
    // Adds a line at the end of the list of a shown window and scrolls it into view.
    void Append(const VyString& line);
    // Whether the window is shown (it has not been closed).
    bool IsShown() const { return GetDialog() != nullptr; }
    // The shown window and its list, or null.
    VyDialog* GetDialog() const;
    VyListBox* GetList() const;
    void Close();
    // Brings a shown window to the front of its parent.
    void Raise();

    static constexpr int VY_DIALOG_ID = 206;
    static constexpr int VY_LIST_ID = 201;
    static constexpr int VY_RAISE = 50;
    static constexpr unsigned char VY_ALPHA = 128;

private:
    void Place();
    void Fill(VyListBox& list, const std::vector<VyString>& lines);

    VyFrameWnd* m_pParent = nullptr;
    VyDialog* m_pDialog = nullptr; // only looked at while its parent still holds it
};
