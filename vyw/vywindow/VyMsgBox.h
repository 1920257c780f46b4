#pragma once

#include <optional>

#include "vywindow/VyDialog.h"

// The buttons of a message box (the low four bits of its type) and its flag for the second default.
//
//   type            buttons (identifier)        Return       Escape
//   VY_MB_OK        "Ok" (1)                    1            1
//   VY_MB_YESNO     "Yes" (6), "No" (7)         6 (7)        7
//   VY_MB_OKCANCEL  "Ok" (1), "Cancel" (2)      1 (2)        2
//   VY_MB_CANCEL    "Cancel" (2)                2            2
// In brackets: with VY_MB_DEFAULT_SECOND.
constexpr int VY_MB_OK = 1;
constexpr int VY_MB_YESNO = 2;
constexpr int VY_MB_OKCANCEL = 3;
constexpr int VY_MB_CANCEL = 4;
constexpr int VY_MB_DEFAULT_SECOND = 0x10;

// How a message box shown beside the game is set up.
struct VyMsgBoxOptions
{
    int boxId = 0;                       // the dialog identifier its notifications carry
    VyFrameWnd* pParent = nullptr;       // the main window when null
    VyMessageTarget* pOwner = nullptr;   // receives VY_MSG_DIALOG_COMMAND and _CLOSED; the parent when null
    std::optional<VyPoint> position;     // the box's top-left corner in the parent; centred without
    VyString buttonLabel;                // a new text for the single button of VY_MB_OK and VY_MB_CANCEL
};

// A dialog built in code: a text (label 100, automatic height, in font 2) above a row of buttons,
// sized to the text (wrapped towards a wide shape), at least 175 pixels wide and with a text area at
// least 50 high, with margins of 25 pixels beside and 30 above and below. Buttons are metric 16 x 17
// with 5 pixels between them.
class VyMsgBox : public VyDialog
{
public:
    // Shows the box modally and returns the identifier of the button that closed it (see the table);
    // VY_IDCANCEL when the program quits meanwhile or the box cannot be made.
    static int Run(const VyString& text, const VyString& caption, int type, VyFrameWnd* pParent = nullptr);
    // Shows the box beside the game; its answer arrives at the owner as VY_MSG_DIALOG_COMMAND (box id,
    // button) and VY_MSG_DIALOG_CLOSED (box id, button). Null when it cannot be made.
    static VyMsgBox* Show(const VyString& text, const VyString& caption, int type, const VyMsgBoxOptions& options);

    // The identifiers of the buttons of a type, in their order.
    static std::vector<int> ButtonsOf(int type);
    // What Return and Escape give for a type.
    static int DefaultOf(int type);
    static int EscapeOf(int type);

    static constexpr int VY_TEXT_ID = 100;
    static constexpr int VY_TEXT_FONT = 2;

private:
    static VyMsgBox* Make(const VyString& text, const VyString& caption, int type, const VyMsgBoxOptions& options);
    void AddText(const VyString& text, const VyRect& rect);
    void AddButtons(int type, const VyString& label, int top);
};
