#include "vywindow/VyControlDesc.h"

#include "vyio/VyConfigFile.h"
#include "vyrender/VyFontParser.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyWndStyle.h"

namespace
{
struct KindName
{
    const char* name;
    VyControlKind kind;
};
constexpr KindName KIND_NAMES[] = {
    {"LABEL", VyControlKind::LABEL}, {"EDIT", VyControlKind::EDIT},   {"BUTTON", VyControlKind::BUTTON},
    {"TREE", VyControlKind::TREE},   {"WND", VyControlKind::WND},     {"LIST", VyControlKind::LIST},
    {"HYPERLINK", VyControlKind::HYPERLINK}, {"IMAGE", VyControlKind::IMAGE},
};

// The bits of one style word for a kind; 0 for words that mean nothing to it.
uint32_t StyleBits(const VyString& word, VyControlKind kind)
{
    const bool bText = kind == VyControlKind::LABEL || kind == VyControlKind::HYPERLINK;
    if (word == "TABSTOP")
        return VY_STYLE_TABSTOP;
    if (word == "DISABLED")
        return VY_STYLE_DISABLED;
    if (word == "BORDER")
        return VY_STYLE_BORDER;
    if (word == "INSIDE_BORDER")
        return VY_STYLE_INSIDE_BORDER;
    if (word == "THICKFRAME")
        return VY_STYLE_THICKFRAME;
    if (word == "TRANSPARENT")
        return VY_STYLE_TRANSPARENT;
    if (word == "READONLY")
        return kind == VyControlKind::EDIT ? 0x2000000u : 0;
    if (word == "AUTOSIZE")
        return bText ? 0x3000000u : kind == VyControlKind::IMAGE ? 0x1000000u : 0;
    if (word == "AUTOHEIGHT")
        return kind == VyControlKind::EDIT ? 0x1000000u : 0;
    return 0;
}

VyOptionalColor ReadColor(VyConfigFile& file, const VyString& section, const char* key)
{
    const VyString text = file.GetString(section, key, "");
    if (text.empty())
        return {};
    return {VyStringHelper::ParseColor(text), true};
}
} // namespace

VyControlKind VyControlDesc::ParseKind(const VyString& text)
{
    for (const KindName& entry : KIND_NAMES)
        if (text == entry.name)
            return entry.kind;
    return VyControlKind::LABEL;
}

uint32_t VyControlDesc::ParseStyle(const VyString& text, VyControlKind kind)
{
    if (text.empty())
        return VY_CONTROL_DEFAULT_STYLE;
    uint32_t style = VY_STYLE_VISIBLE;
    for (const VyString& word : VyStringHelper::Split(text, '|'))
        style |= StyleBits(word.Trimmed(), kind);
    return style;
}

VyJustification VyControlDesc::ParseJustification(const VyString& text, VyJustification defaultValue)
{
    const VyString lower = text.Lower();
    if (lower == "left")
        return VyJustification::LEFT;
    if (lower == "right")
        return VyJustification::RIGHT;
    if (lower == "center")
        return VyJustification::CENTER;
    return defaultValue;
}

VyControlDesc VyControlDesc::Read(VyConfigFile& file, const VyString& section)
{
    VyControlDesc desc;
    desc.kind = ParseKind(file.GetString(section, "Type", ""));
    const VyString rect = file.GetString(section, "Rect", "");
    if (!rect.empty())
        desc.rect = VyStringHelper::ParseRect(rect);
    desc.value = file.GetString(section, "Value", "");
    desc.data = VyStringHelper::Split(file.GetString(section, "Data", ""), '|');
    const VyString id = file.GetString(section, "ID", "");
    desc.id = id.empty() ? 0 : VyStringHelper::ParseId(id);
    const VyString font = file.GetString(section, "Font", "");
    desc.bFontSet = !font.empty();
    if (desc.bFontSet)
        desc.font = VyFontParser::Parse(font.Upper());
    desc.textColor = ReadColor(file, section, "FontColor");
    desc.shadowColor = ReadColor(file, section, "FontShadowColor");
    desc.backgroundColor = ReadColor(file, section, "BkColor");
    desc.style = ParseStyle(file.GetString(section, "Style", ""), desc.kind);
    desc.bCloseOnSelect = VyStringHelper::ParseBool(file.GetString(section, "CloseOnSelect", ""));
    desc.justification = ParseJustification(file.GetString(section, "Justification", ""), VyJustification::LEFT);
    return desc;
}
