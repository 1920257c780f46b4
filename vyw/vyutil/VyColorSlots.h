#pragma once

#include "vythread/VyString.h"

// The colour-scheme slots in id order from 1: every colour of the framework's own controls is one of
// these 118 ids. Scheme files name them by the same words ("BUTTON_FACE=140, 166, 242").
#define VY_COLOR_SLOTS(X)                        \
    X(WINDOW_BACKGROUND)                         \
    X(WINDOW_DARK_SHADOW)                        \
    X(WINDOW_LIGHT_SHADOW)                       \
    X(WINDOW_DARK_HILIGHT)                       \
    X(WINDOW_LIGHT_HILIGHT)                      \
    X(BUTTON_TEXT)                               \
    X(BUTTON_TEXT_SHADOW)                        \
    X(BUTTON_TEXT_DISABLED)                      \
    X(BUTTON_TEXT_DISABLED_SHADOW)               \
    X(BUTTON_TEXT_FOCUS)                         \
    X(BUTTON_TEXT_FOCUS_SHADOW)                  \
    X(BUTTON_TEXT_MOUSE_OVER)                    \
    X(BUTTON_TEXT_MOUSE_OVER_SHADOW)             \
    X(BUTTON_FACE)                               \
    X(BUTTON_FACE_DOWN)                          \
    X(BUTTON_FACE_FOCUS)                         \
    X(BUTTON_FACE_MOUSE_OVER)                    \
    X(BUTTON_UP_DARK_SHADOW)                     \
    X(BUTTON_UP_LIGHT_SHADOW)                    \
    X(BUTTON_UP_DARK_HILIGHT)                    \
    X(BUTTON_UP_LIGHT_HILIGHT)                   \
    X(BUTTON_DOWN_DARK_SHADOW)                   \
    X(BUTTON_DOWN_LIGHT_SHADOW)                  \
    X(BUTTON_DOWN_DARK_HILIGHT)                  \
    X(BUTTON_DOWN_LIGHT_HILIGHT)                 \
    X(EDIT_BACKGROUND)                           \
    X(EDIT_BACKGROUND_SELECTION)                 \
    X(EDIT_BACKGROUND_READONLY)                  \
    X(EDIT_TEXT)                                 \
    X(EDIT_TEXT_SHADOW)                          \
    X(EDIT_TEXT_SELECTION)                       \
    X(EDIT_TEXT_SELECTION_SHADOW)                \
    X(EDIT_TEXT_DISABLED)                        \
    X(EDIT_TEXT_DISABLED_SHADOW)                 \
    X(EDIT_TEXT_READONLY)                        \
    X(EDIT_TEXT_READONLY_SHADOW)                 \
    X(EDIT_DARK_SHADOW)                          \
    X(EDIT_LIGHT_SHADOW)                         \
    X(EDIT_DARK_HILIGHT)                         \
    X(EDIT_LIGHT_HILIGHT)                        \
    X(MENU_BACKGROUND)                           \
    X(MENU_BACKGROUND_SELECTION)                 \
    X(MENU_TEXT)                                 \
    X(MENU_TEXT_SHADOW)                          \
    X(MENU_TEXT_SELECTION)                       \
    X(MENU_TEXT_SELECTION_SHADOW)                \
    X(MENU_TEXT_DISABLED)                        \
    X(MENU_TEXT_DISABLED_SHADOW)                 \
    X(MENU_TEXT_LABEL)                           \
    X(MENU_TEXT_LABEL_SHADOW)                    \
    X(MENU_DARK_SHADOW)                          \
    X(MENU_LIGHT_SHADOW)                         \
    X(MENU_DARK_HILIGHT)                         \
    X(MENU_LIGHT_HILIGHT)                        \
    X(LABEL_BACKGROUND)                          \
    X(LABEL_TEXT)                                \
    X(LABEL_TEXT_SHADOW)                         \
    X(LABEL_TEXT_DISABLED)                       \
    X(LABEL_TEXT_DISABLED_SHADOW)                \
    X(LABEL_DARK_SHADOW)                         \
    X(LABEL_LIGHT_SHADOW)                        \
    X(LABEL_DARK_HILIGHT)                        \
    X(LABEL_LIGHT_HILIGHT)                       \
    X(SCROLLBAR_BACKGROUND)                      \
    X(SCROLLBAR_BACKGROUND_MOUSE_OVER)           \
    X(SCROLLBAR_BUTTON_ARROW)                    \
    X(SCROLLBAR_BUTTON_ARROW_SHADOW)             \
    X(SCROLLBAR_BUTTON_ARROW_DISABLED)           \
    X(SCROLLBAR_BUTTON_ARROW_DISABLED_SHADOW)    \
    X(SCROLLBAR_BUTTON_ARROW_MOUSE_OVER)         \
    X(SCROLLBAR_BUTTON_ARROW_MOUSE_OVER_SHADOW)  \
    X(SCROLLBAR_BUTTON_FACE)                     \
    X(SCROLLBAR_BUTTON_FACE_DOWN)                \
    X(SCROLLBAR_BUTTON_FACE_FOCUS)               \
    X(SCROLLBAR_BUTTON_FACE_MOUSE_OVER)          \
    X(SCROLLBAR_BUTTON_UP_DARK_SHADOW)           \
    X(SCROLLBAR_BUTTON_UP_LIGHT_SHADOW)          \
    X(SCROLLBAR_BUTTON_UP_DARK_HILIGHT)          \
    X(SCROLLBAR_BUTTON_UP_LIGHT_HILIGHT)         \
    X(SCROLLBAR_BUTTON_DOWN_DARK_SHADOW)         \
    X(SCROLLBAR_BUTTON_DOWN_LIGHT_SHADOW)        \
    X(SCROLLBAR_BUTTON_DOWN_DARK_HILIGHT)        \
    X(SCROLLBAR_BUTTON_DOWN_LIGHT_HILIGHT)       \
    X(SCROLLBAR_THUMB_BACKGROUND)                \
    X(SCROLLBAR_THUMB_MOUSE_OVER)                \
    X(SCROLLBAR_THUMB_DARK_SHADOW)               \
    X(SCROLLBAR_THUMB_LIGHT_SHADOW)              \
    X(SCROLLBAR_THUMB_DARK_HILIGHT)              \
    X(SCROLLBAR_THUMB_LIGHT_HILIGHT)             \
    X(DIALOG_ACTIVE_CAPTION_BACKGROUND)          \
    X(DIALOG_ACTIVE_CAPTION_TEXT)                \
    X(DIALOG_ACTIVE_CAPTION_TEXT_SHADOW)         \
    X(DIALOG_INACTIVE_CAPTION_BACKGROUND)        \
    X(DIALOG_INACTIVE_CAPTION_TEXT)              \
    X(DIALOG_INACTIVE_CAPTION_TEXT_SHADOW)       \
    X(DIALOG_BACKGROUND)                         \
    X(DIALOG_DARK_SHADOW)                        \
    X(DIALOG_LIGHT_SHADOW)                       \
    X(DIALOG_DARK_HILIGHT)                       \
    X(DIALOG_LIGHT_HILIGHT)                      \
    X(CARET)                                     \
    X(FOCUS_RECT)                                \
    X(FOCUS_RECT_SELECTED)                       \
    X(HOTTRACK)                                  \
    X(PROGRESSBAR)                               \
    X(SPLITTER_BACKGROUND)                       \
    X(SPLITTER_MOUSE_OVER)                       \
    X(SPLITTER_MOUSE_TRACKING)                   \
    X(LISTBOX_BACKGROUND)                        \
    X(LISTBOX_BACKGROUND_SELECTION)              \
    X(LISTBOX_BACKGROUND_MOUSE_OVER)             \
    X(LISTBOX_TEXT)                              \
    X(LISTBOX_TEXT_SHADOW)                       \
    X(LISTBOX_TEXT_SELECTION)                    \
    X(LISTBOX_TEXT_SELECTION_SHADOW)             \
    X(LISTBOX_TEXT_MOUSE_OVER)                   \
    X(LISTBOX_TEXT_MOUSE_OVER_SHADOW)            \
    X(LAST_ENTRY)

enum VyColorSlot : int
{
    VY_COLOR_SLOT_NONE = 0,
#define VY_COLOR_SLOT_ENUM(name) name,
    VY_COLOR_SLOTS(VY_COLOR_SLOT_ENUM)
#undef VY_COLOR_SLOT_ENUM
};

constexpr int VY_COLOR_SLOT_COUNT = LAST_ENTRY;

class VyColorSlots
{
public:
    // The slot's name ("WINDOW_BACKGROUND" for 1); empty for ids outside 1..118.
    static const char* GetName(int slotId);
    // The id of an exact (case-sensitive) slot name; VY_COLOR_SLOT_NONE when there is none.
    static int GetId(std::string_view name);
};
