#pragma once

#include <string_view>
#include <vector>

#include "vythread/VySize.h"
#include "vythread/VyString.h"

class VyFont;

// Breaking a text into lines of a font.
//
// Wrap: the text is cut at line feeds (a carriage return before one is dropped; nothing follows a
// final line feed) and each piece is wrapped by itself. Words end at spaces; a line grows word by word
// while its width with markup stripped stays within the limit. The word that would make it wider
// starts the next line, so a word wider than the limit stands on a line of its own. Spaces between the
// words of a line are kept; the one space at a break is dropped.
// Lines of a marked-up text are marked up again ("<>" in front) and start with the colour tag that was
// in force where the line begins, so every line draws as it would have in the whole text.
class VyTextWrap
{
public:
    static std::vector<VyString> Wrap(const VyFont& font, std::string_view text, int width);

    // Tries growing widths from the widest word to the width of the longest line and keeps the one
    // whose wrapped shape (widest line) / (lines x (font height + 2)) comes closest to ratio; stops
    // once the shape is as wide as ratio or every piece fits on one line. An empty text is 0 x 0.
    static VySize FitToAspect(const VyFont& font, std::string_view text, double ratio);

    // Width of the widest of lines, markup stripped.
    static int WidestLine(const VyFont& font, const std::vector<VyString>& lines);
};
