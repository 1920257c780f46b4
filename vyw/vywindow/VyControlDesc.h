#pragma once

#include <cstdint>
#include <vector>

#include "vyrender/VyFontDesc.h"
#include "vythread/VyRect.h"
#include "vythread/VyString.h"
#include "vyutil/VyColor.h"

class VyConfigFile;

// The kinds of control a definition file names, in their file order.
enum class VyControlKind
{
    LABEL = 0,
    EDIT = 1,
    BUTTON = 2,
    TREE = 3,
    WND = 4,
    LIST = 5,
    HYPERLINK = 6,
    IMAGE = 7,
};

// How a control aligns its text.
enum class VyJustification
{
    LEFT = 0,
    RIGHT = 1,
    CENTER = 2,
};

// A colour a definition file may leave out; the control then uses its kind's colour-scheme slot.
struct VyOptionalColor
{
    VyColor color;
    bool bSet = false;
};

// The style word a control section without a usable Style key gets: visible with a thick frame.
constexpr uint32_t VY_CONTROL_DEFAULT_STYLE = 0x808;

// One control of a dialog as its definition file describes it (a [ControlN] section):
//
//   Type=LABEL|EDIT|BUTTON|TREE|WND|LIST|HYPERLINK|IMAGE   (any other text: LABEL)
//   Rect=left,top,right,bottom     the parent's client coordinates, y upwards
//   Value=text                     the text; for IMAGE the bitmap's file name
//   ID=number or IDOK...           a number n means 200 + n
//   Font=CONTROL|MENU|WINDOWTEXT|face,size,bold,italic,underline,antialiased
//   FontColor= FontShadowColor= BkColor=   r,g,b[,alpha[,bitmap]] or a slot name
//   Style=WORD|WORD...             TABSTOP DISABLED BORDER INSIDE_BORDER THICKFRAME TRANSPARENT
//                                  READONLY (EDIT) AUTOSIZE (LABEL, HYPERLINK, IMAGE) AUTOHEIGHT (EDIT)
//   Data=value|value...            HYPERLINK: the link; IMAGE: its transparent colour
//   CloseOnSelect=bool             a command from the control ends the dialog
//   Justification=left|center|right, in any letter case
//
// Missing keys take their defaults: no identifier (0), the default style, no colours, left-aligned.
struct VyControlDesc
{
    VyControlKind kind = VyControlKind::LABEL;
    VyJustification justification = VyJustification::LEFT;
    VyRect rect;
    VyString value;
    std::vector<VyString> data;
    int id = 0;
    bool bFontSet = false;
    VyFontChoice font;
    VyOptionalColor textColor;
    VyOptionalColor shadowColor;
    VyOptionalColor backgroundColor;
    uint32_t style = VY_CONTROL_DEFAULT_STYLE;
    bool bCloseOnSelect = false;

    // Reads one control section of an open definition file; a missing section gives the defaults.
    static VyControlDesc Read(VyConfigFile& file, const VyString& section);

    // "LABEL" ... "IMAGE" exactly; anything else LABEL.
    static VyControlKind ParseKind(const VyString& text);
    // The style word of a Style value for a kind: 0x8 plus each word's bits; empty text gives the
    // default style. Unknown words are ignored.
    static uint32_t ParseStyle(const VyString& text, VyControlKind kind);
    // "left", "center" or "right" in any case; anything else keeps the given default.
    static VyJustification ParseJustification(const VyString& text, VyJustification defaultValue);
};
