#include "VyChatHistory.h"

VyString VyChatHistory::SentLine(const VyString& name, const VyString& text)
{
    return Line("yellow", name, text);
}

VyString VyChatHistory::ReceivedLine(const VyString& name, const VyString& text)
{
    return Line("green", name, text);
}

VyString VyChatHistory::Line(const char* nameColor, const VyString& name, const VyString& text)
{
    return VyString("<><") + nameColor + ">" + Escaped(name) + ": <white>" + Escaped(text);
}

VyString VyChatHistory::Escaped(const VyString& text)
{
    VyString result;
    result.reserve(text.size());
    for (char c : text)
    {
        if (c == '<')
            result += '<';
        result += c;
    }
    return result;
}
