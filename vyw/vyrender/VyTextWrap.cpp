#include "vyrender/VyTextWrap.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "vyrender/VyFont.h"
#include "vyrender/VyMarkup.h"

namespace
{

// A word of a piece: its bytes, its width, and the colour tag in force after it.
struct Word
{
    size_t begin = 0;
    size_t end = 0;
    long long width = 0;
    std::string_view colorAfter;   // the raw tag ("<red>"), empty for the remembered colour
};

std::vector<std::string_view> SplitLines(std::string_view body)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    while (start < body.size())
    {
        size_t feed = body.find('\n', start);
        size_t end = feed == std::string_view::npos ? body.size() : feed;
        std::string_view piece = body.substr(start, end - start);
        if (!piece.empty() && piece.back() == '\r')
            piece.remove_suffix(1);
        pieces.push_back(piece);
        if (feed == std::string_view::npos)
            break;
        start = feed + 1;
    }
    return pieces;
}

std::vector<Word> SplitWords(const VyFont& font, std::string_view piece, bool bMarked,
                             std::string_view colorBefore)
{
    std::vector<Word> words(1);
    words.back().colorAfter = colorBefore;
    auto visit = [&](const VyMarkupToken& token) {
        Word& word = words.back();
        if (token.kind == VyMarkupToken::TAG)
        {
            VyMarkupColor color = VyMarkup::TagColor(token.tag);
            if (token.bClosed && color.kind == VyMarkupColor::SET)
                word.colorAfter = piece.substr(token.rawBegin, token.rawEnd - token.rawBegin);
            else if (token.bClosed && color.kind == VyMarkupColor::ORIGINAL)
                word.colorAfter = {};
        }
        else if (token.character == ' ')
        {
            Word next;
            next.begin = next.end = token.rawEnd;
            next.colorAfter = word.colorAfter;
            words.push_back(next);
            return;
        }
        else
        {
            word.width += static_cast<int>(font.GetGlyph(token.character).advance);
        }
        word.end = token.rawEnd;
    };
    if (bMarked)
        VyMarkup::ForEachMarked(piece, visit);
    else
        VyMarkup::ForEach(piece, visit);
    return words;
}

} // namespace

std::vector<VyString> VyTextWrap::Wrap(const VyFont& font, std::string_view text, int width)
{
    const bool bMarked = VyMarkup::IsMarkedUp(text);
    std::string_view body = bMarked ? text.substr(VyMarkup::PREFIX.size()) : text;
    const int space = static_cast<int>(font.GetGlyph(' ').advance);

    std::vector<VyString> lines;
    std::string_view color;   // colour tag in force where the next line starts
    for (std::string_view piece : SplitLines(body))
    {
        std::vector<Word> words = SplitWords(font, piece, bMarked, color);
        auto emit = [&](size_t begin, size_t end) {
            VyString line;
            if (bMarked)
                line.append(VyMarkup::PREFIX).append(color);
            line.append(piece.substr(begin, end - begin));
            lines.push_back(std::move(line));
        };
        size_t lineBegin = words.front().begin;
        size_t lineEnd = words.front().end;
        long long lineWidth = words.front().width;
        for (size_t i = 1; i < words.size(); ++i)
        {
            const Word& word = words[i];
            long long grown = lineWidth + space + word.width;
            if (grown > width && word.end > word.begin)
            {
                emit(lineBegin, lineEnd);
                color = words[i - 1].colorAfter;
                lineBegin = word.begin;
                grown = word.width;
            }
            lineEnd = word.end;
            lineWidth = grown;
        }
        emit(lineBegin, lineEnd);
        color = words.back().colorAfter;
    }
    return lines;
}

int VyTextWrap::WidestLine(const VyFont& font, const std::vector<VyString>& lines)
{
    int widest = 0;
    for (const VyString& line : lines)
        widest = std::max(widest, font.GetTextWidth(line));
    return widest;
}

VySize VyTextWrap::FitToAspect(const VyFont& font, std::string_view text, double ratio)
{
    const int lineHeight = font.GetHeight() + 2;
    std::vector<VyString> unbroken = Wrap(font, text, INT_MAX);
    if (unbroken.empty() || lineHeight <= 0)
        return {};
    const int longest = WidestLine(font, unbroken);

    // The narrowest useful width is that of the widest word.
    const int narrowest = WidestLine(font, Wrap(font, text, 0));

    const int step = std::max(1, font.GetHeight() / 2);
    VySize best;
    double bestDistance = INFINITY;
    for (int width = narrowest;; width = std::min(longest, width + step))
    {
        std::vector<VyString> lines = Wrap(font, text, width);
        VySize shape{WidestLine(font, lines), static_cast<int>(lines.size()) * lineHeight};
        double shapeRatio = static_cast<double>(shape.cx) / shape.cy;
        double distance = std::fabs(shapeRatio - ratio);
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = shape;
        }
        if (width >= longest || lines.size() == unbroken.size() || shapeRatio >= ratio)
            break;
    }
    return best;
}
