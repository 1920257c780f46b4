#include "vyrender/VyMarkup.h"

VyString VyMarkup::Strip(std::string_view text)
{
    VyString result;
    result.reserve(text.size());
    ForEach(text, [&](const VyMarkupToken& token) {
        if (token.kind == VyMarkupToken::TEXT)
            result += token.character;
    });
    return result;
}

VyString VyMarkup::WithoutTags(std::string_view text)
{
    if (!IsMarkedUp(text))
        return VyString(text);
    VyString result(PREFIX);
    result.reserve(text.size());
    ForEach(text, [&](const VyMarkupToken& token) {
        if (token.kind != VyMarkupToken::TEXT)
            return;
        if (token.character == '<')
            result += '<';
        result += token.character;
    });
    return result;
}

VyMarkupColor VyMarkup::TagColor(std::string_view tag)
{
    struct Named
    {
        std::string_view name;
        unsigned int rgb;
    };
    static constexpr Named COLORS[] = {
        {"red", 0xFF0000},   {"green", 0x00FF00}, {"yellow", 0xFFFF00},
        {"blue", 0x0000FF},  {"white", 0xFFFFFF}, {"black", 0x000000},
    };
    if (tag == "orig")
        return {VyMarkupColor::ORIGINAL, 0};
    for (const Named& named : COLORS)
        if (tag == named.name)
            return {VyMarkupColor::SET, named.rgb};
    return {};
}
