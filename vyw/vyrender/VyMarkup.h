#pragma once

#include <cstddef>
#include <string_view>

#include "vythread/VyString.h"

// Inline colour markup of font texts.
//
// A text is marked up only when it starts with "<>". After that prefix:
//     "<<"        one text character '<'
//     "<name>"    a tag (the name runs to the next '>'; without one it runs to the end of the text
//                 and is not applied)
//     anything    one text character
// A text without the prefix is plain: every byte is a text character.
struct VyMarkupToken
{
    enum Kind { TEXT, TAG };
    Kind kind = TEXT;
    char character = 0;        // TEXT: the character
    std::string_view tag;      // TAG: the name between '<' and '>'
    bool bClosed = true;       // TAG: false when the text ended before the '>'
    size_t rawBegin = 0;       // bytes of the token in the original text
    size_t rawEnd = 0;
};

// The colour a tag asks for.
struct VyMarkupColor
{
    enum Kind { NONE, SET, ORIGINAL };
    Kind kind = NONE;          // NONE: the tag is not a colour tag and is ignored
    unsigned int rgb = 0;      // SET: 0xRRGGBB, drawn opaque
};

class VyMarkup
{
public:
    static constexpr std::string_view PREFIX = "<>";

    static bool IsMarkedUp(std::string_view text) { return text.substr(0, 2) == PREFIX; }

    // The text characters only (the whole text when it is plain).
    static VyString Strip(std::string_view text);
    // The same characters without their colour tags, still marked up ("<>" in front, '<' as "<<"),
    // so that the whole text draws in the colour it is given (a shadow); a plain text is unchanged.
    static VyString WithoutTags(std::string_view text);

    // Colour of a tag name: red, green, yellow, blue, white, black (exact, lower case) or orig.
    static VyMarkupColor TagColor(std::string_view tag);

    // Calls visit(const VyMarkupToken&) for every token of text, in order.
    template <class Visitor>
    static void ForEach(std::string_view text, Visitor&& visit);

    // Calls visit for the tokens of a part of a marked-up text that has no "<>" prefix itself (a piece
    // cut out of the text after the prefix); raw positions are relative to that part.
    template <class Visitor>
    static void ForEachMarked(std::string_view body, Visitor&& visit);
};

template <class Visitor>
void VyMarkup::ForEach(std::string_view text, Visitor&& visit)
{
    if (IsMarkedUp(text))
    {
        ForEachMarked(text.substr(PREFIX.size()), [&](VyMarkupToken token) {
            token.rawBegin += PREFIX.size();
            token.rawEnd += PREFIX.size();
            visit(token);
        });
        return;
    }
    VyMarkupToken token;
    for (size_t i = 0; i < text.size(); ++i)
    {
        token.character = text[i];
        token.rawBegin = i;
        token.rawEnd = i + 1;
        visit(token);
    }
}

template <class Visitor>
void VyMarkup::ForEachMarked(std::string_view body, Visitor&& visit)
{
    size_t i = 0;
    while (i < body.size())
    {
        VyMarkupToken token;
        token.rawBegin = i;
        if (body[i] != '<')
        {
            token.character = body[i++];
        }
        else if (i + 1 < body.size() && body[i + 1] == '<')
        {
            token.character = '<';
            i += 2;
        }
        else
        {
            size_t close = body.find('>', i + 1);
            token.kind = VyMarkupToken::TAG;
            token.bClosed = close != std::string_view::npos;
            size_t end = token.bClosed ? close : body.size();
            token.tag = body.substr(i + 1, end - i - 1);
            i = token.bClosed ? close + 1 : body.size();
        }
        token.rawEnd = i;
        visit(token);
    }
}
