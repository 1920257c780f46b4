#pragma once

#include <string_view>

#include "vyplatform/VySystemColors.h"
#include "vythread/VyString.h"
#include "vyutil/VyColor.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyTexture.h"

// One colour of the scheme, named by a VyColorSlots id.
struct VyColorSchemeSlot
{
    unsigned int color = VY_COLOR_UNSET;   // 0xRRGGBB; any of bits 24-31 set: unset, draws nothing
    unsigned char alpha = 255;
    VyTexture texture;                     // tiled under the colour when valid; carries its size
    const char* name = "";                 // "WINDOW_BACKGROUND"
    int id = VY_COLOR_SLOT_NONE;

    bool IsUnset() const { return (color & 0xFF000000) != 0; }
};

// Whether the render context can blend: without it every scheme alpha is read as 255. The render
// context (or whoever loads the scheme for it) passes its own capability.
enum class VyAlphaBlending
{
    UNSUPPORTED,
    SUPPORTED,
};

// The process-wide table of the 118 colour slots that the framework's controls draw with, and the
// loading of colour-scheme files into it.
//
// A scheme file has one section [Colors] with a key per slot name; a value is "r, g, b[, alpha[,
// bitmap]]", each component read like atoi with only its low 8 bits kept (300 -> 44). A value of
// fewer than three parts keeps the slot's colour; alpha is 255 unless given (and blending is
// supported); the bitmap's texture comes from the current VyTextureSource, none without five parts.
class VyColorScheme
{
public:
    // All slots at their defaults; LAST_ENTRY starts unset.
    VyColorScheme();

    // The one table of the process.
    static VyColorScheme& Global();

    // The scheme vyw.cfg names when it names none: no file of this name ships, so the defaults hold.
    static constexpr const char* VY_DEFAULT_SCHEME = "Default.Color";
    // [Preferences] Color Scheme of vyw.cfg (VY_DEFAULT_SCHEME when missing, which adds the key).
    static VyString GetConfiguredName();

    // Every slot but LAST_ENTRY back to its desktop-colour default, alpha 255, no texture.
    void ResetToDefaults();

    // Reads [Preferences] Color Scheme (default "Default.Color") and [Directories] Colors (default
    // "Colors") from vyw.cfg, resets to the defaults and, when both are set, applies the scheme file
    // "<Colors>\<Color Scheme>" fetched through the resource look-up. A scheme that cannot be found or
    // read leaves the defaults (or what was applied before the failure); nothing is thrown.
    void LoadConfigured(VyAlphaBlending blending);

    // Applies every slot's value from the scheme at path (fetched through the resource look-up and
    // bound read-only). Throws what the look-up throws.
    void LoadFile(const VyString& path, VyAlphaBlending blending);

    // Applies one value to a slot (see the class comment); ids outside 1..118 are reported and ignored.
    void ApplyValue(int id, const VyString& value, VyAlphaBlending blending);

    // The slot of an id; an id outside 1..118 reports an assertion and gives an unset slot.
    const VyColorSchemeSlot& GetSlot(int id) const;
    // The slot's colour as drawn: its value, alpha and texture (what a render context's slot resolver
    // gives).
    VyColor ColorOf(int id) const;
    // The slot of an exact slot name, or nullptr.
    const VyColorSchemeSlot* FindSlot(std::string_view name) const;

private:
    VyColorSchemeSlot m_slots[VY_COLOR_SLOT_COUNT + 1];   // index = id; 0 stays unused and unset
};
