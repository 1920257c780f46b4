#include "vyplatform/VyColorScheme.h"

#include <vector>

#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyStringHelper.h"
#include "vyutil/VyTextureSource.h"

namespace
{

bool ValidId(int id)
{
    return id >= 1 && id <= VY_COLOR_SLOT_COUNT;
}

unsigned int Component(const VyString& part)
{
    return static_cast<unsigned int>(part.ToInt()) & 0xFF;
}

} // namespace

VyColorScheme::VyColorScheme()
{
    for (int id = 1; id <= VY_COLOR_SLOT_COUNT; ++id)
    {
        m_slots[id].id = id;
        m_slots[id].name = VyColorSlots::GetName(id);
    }
    ResetToDefaults();
}

VyColorScheme& VyColorScheme::Global()
{
    static VyColorScheme scheme;
    return scheme;
}

VyString VyColorScheme::GetConfiguredName()
{
    return VyConfigFile("vyw.cfg").GetString("Preferences", "Color Scheme", VY_DEFAULT_SCHEME);
}

void VyColorScheme::ResetToDefaults()
{
    for (int id = 1; id < LAST_ENTRY; ++id)
    {
        VyColorSchemeSlot& slot = m_slots[id];
        slot.color = VySystemColors::DefaultOf(id);
        slot.alpha = 255;
        slot.texture = VyTexture();
    }
}

void VyColorScheme::LoadConfigured(VyAlphaBlending blending)
{
    VyConfigFile config("vyw.cfg");
    VyString scheme = config.GetString("Preferences", "Color Scheme", VY_DEFAULT_SCHEME);
    VyString directory = config.GetString("Directories", "Colors", "Colors");
    ResetToDefaults();
    if (scheme.empty() || directory.empty())
        return;
    try
    {
        LoadFile(VyResourceSource::JoinPath(directory, scheme), blending);
    }
    catch (const VyException&)
    {
        // A missing or unreadable scheme leaves the defaults in force.
    }
}

void VyColorScheme::LoadFile(const VyString& path, VyAlphaBlending blending)
{
    VyMemFile file(VY_IO_READ);
    VyResourceSource::Fetch(path, file);
    VyConfigFile colors(path, file);
    for (int id = 1; id <= VY_COLOR_SLOT_COUNT; ++id)
        ApplyValue(id, colors.GetString("Colors", m_slots[id].name, ""), blending);
}

void VyColorScheme::ApplyValue(int id, const VyString& value, VyAlphaBlending blending)
{
    VY_ASSERT(ValidId(id));
    if (!ValidId(id))
        return;
    VyColorSchemeSlot& slot = m_slots[id];
    std::vector<VyString> parts = VyStringHelper::Split(value);
    VyStringHelper::ParseRgb(parts, slot.color); // fewer than three parts keep the colour
    slot.alpha = parts.size() >= 4 && blending == VyAlphaBlending::SUPPORTED
                     ? static_cast<unsigned char>(Component(parts[3]))
                     : 255;
    slot.texture = VyTexture();
    VyTextureSource* source = VyTextureSource::GetCurrent();
    if (parts.size() >= 5 && source != nullptr)
        slot.texture = source->GetTexture(parts[4].Trimmed());
}

const VyColorSchemeSlot& VyColorScheme::GetSlot(int id) const
{
    VY_ASSERT(ValidId(id));
    return m_slots[ValidId(id) ? id : 0];
}

VyColor VyColorScheme::ColorOf(int id) const
{
    const VyColorSchemeSlot& slot = GetSlot(id);
    VyColor color(slot.color, slot.alpha);
    color.SetTexture(slot.texture);
    return color;
}

const VyColorSchemeSlot* VyColorScheme::FindSlot(std::string_view name) const
{
    int id = VyColorSlots::GetId(name);
    return ValidId(id) ? &m_slots[id] : nullptr;
}
