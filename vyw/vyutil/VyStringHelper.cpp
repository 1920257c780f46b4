#include "vyutil/VyStringHelper.h"

#include "vyio/VyConfigFile.h"
#include "vyio/VyResourceSource.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyTextureSource.h"

namespace
{
unsigned char LowByte(const VyString& text)
{
    return static_cast<unsigned char>(text.ToInt() & 0xFF);
}

VyTexture TextureNamed(const VyString& name)
{
    VyTextureSource* source = VyTextureSource::GetCurrent();
    return source != nullptr ? source->GetTexture(name.Trimmed()) : VyTexture();
}
} // namespace

VyString VyStringHelper::GetString(const VyString& key, const VyString& defaultValue)
{
    VyConfigFile table(VyResourceSource::JoinPath("strings", "strings.txt"));
    return table.GetString("Strings", key, defaultValue);
}

std::vector<VyString> VyStringHelper::Split(const VyString& text, char separator)
{
    std::vector<VyString> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != VyString::npos; at = text.find(separator, start))
    {
        parts.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    if (start < text.size())
        parts.emplace_back(text.substr(start));
    return parts;
}

bool VyStringHelper::ParseBool(const VyString& text)
{
    return !(text.empty() || text == "0" || text == "F" || text == "FALSE");
}

VyPoint VyStringHelper::ParsePoint(const VyString& text)
{
    const std::vector<VyString> values = Split(text);
    VY_ASSERT_TEXT(values.size() == 2, "values.size()==2");
    if (values.size() != 2)
        return VyPoint{};
    return VyPoint{values[0].ToInt(), values[1].ToInt()};
}

VySize VyStringHelper::ParseSize(const VyString& text)
{
    const VyPoint pair = ParsePoint(text);
    return VySize{pair.x, pair.y};
}

VyRect VyStringHelper::ParseRect(const VyString& text)
{
    const std::vector<VyString> values = Split(text);
    VY_ASSERT_TEXT(values.size() == 4, "values.size()==4");
    if (values.size() != 4)
        return VyRect{};
    return VyRect{values[0].ToInt(), values[1].ToInt(), values[2].ToInt(), values[3].ToInt()};
}

int VyStringHelper::ParseId(const VyString& text)
{
    if (text == "IDOK")
        return VY_IDOK;
    if (text == "IDCANCEL")
        return VY_IDCANCEL;
    if (text == "IDYES")
        return VY_IDYES;
    if (text == "IDNO")
        return VY_IDNO;
    return text.ToInt() + VY_ID_OFFSET;
}

bool VyStringHelper::ParseRgb(const std::vector<VyString>& parts, uint32_t& rgb)
{
    if (parts.size() < 3)
        return false;
    rgb = static_cast<uint32_t>(LowByte(parts[0])) << 16 | static_cast<uint32_t>(LowByte(parts[1])) << 8 |
          LowByte(parts[2]);
    return true;
}

VyColor VyStringHelper::ParseColor(const VyString& text)
{
    const std::vector<VyString> parts = Split(text);
    // A slot name stands in the first part; alpha and bitmap may follow it.
    const int slot = parts.empty() ? VY_COLOR_SLOT_NONE : VyColorSlots::GetId(parts[0]);
    VyColor color;
    size_t alphaPart = 3;
    uint32_t rgb = 0;
    if (slot != VY_COLOR_SLOT_NONE)
    {
        color = VyColor::FromSlot(slot);
        alphaPart = 1;
    }
    else if (ParseRgb(parts, rgb))
        color.SetValue(rgb);
    if (parts.size() > alphaPart)
        color.SetAlpha(LowByte(parts[alphaPart]));
    if (parts.size() > alphaPart + 1)
        color.SetTexture(TextureNamed(parts[alphaPart + 1]));
    return color;
}

VyString VyStringHelper::ToText(unsigned int value)
{
    return VyString::Format("%u", value);
}

VyString VyStringHelper::ToText(int value)
{
    return VyString::Format("%d", value);
}

VyString VyStringHelper::ToText(bool value)
{
    return value ? "TRUE" : "FALSE";
}
