#include "artgen/VyArtLettering.h"

namespace
{
constexpr double VY_SPACING = 0.2; // gap between letters, em

double LetterWidth(char letter)
{
    switch (letter)
    {
    case 'T': return 1.05;
    case 'o': return 0.95;
    case 'l': return 0.12;
    case 'm': return 1.2;
    case 'a': return 0.85;
    case 'r': return 0.55;
    case ' ': return 0.4;
    default: return -1.0;
    }
}
} // namespace

double VyArtLettering::Advance(std::string_view text)
{
    double width = 0.0;
    for (char c : text)
        if (LetterWidth(c) >= 0.0)
            width += LetterWidth(c) + VY_SPACING;
    return width > 0.0 ? width - VY_SPACING : 0.0;
}

VyArtLettering VyArtLettering::Layout(std::string_view text, VyArtVec2 origin, double scale, double thick,
                                      double thin)
{
    VyArtLettering lettering;
    lettering.m_origin = origin;
    lettering.m_scale = scale;
    lettering.m_thick = thick;
    lettering.m_thin = thin;
    double x = 0.0;
    for (char c : text)
    {
        if (LetterWidth(c) < 0.0)
            continue;
        lettering.AddLetter(c, x);
        x += LetterWidth(c) + VY_SPACING;
    }
    return lettering;
}

void VyArtLettering::AddLine(VyArtVec2 a, VyArtVec2 b)
{
    auto place = [this](VyArtVec2 p) { return VyArtVec2{m_origin.x + p.x * m_scale, m_origin.y + p.y * m_scale}; };
    // Broad pen held level: the width follows how upright the stroke runs.
    double length = std::hypot(b.x - a.x, b.y - a.y);
    double upright = length > 0.0 ? std::fabs(b.y - a.y) / length : 1.0;
    double halfWidth = Mix(m_thin, m_thick, std::pow(upright, 1.5)) * m_scale;
    m_segments.push_back({place(a), place(b), halfWidth});
}

void VyArtLettering::AddSerif(VyArtVec2 a, VyArtVec2 b)
{
    AddLine(a, b);
    m_segments.back().halfWidth = m_thin * m_scale * 1.3;
}

void VyArtLettering::AddArc(VyArtVec2 centre, double rx, double ry, double from, double to)
{
    constexpr double degrees = VY_ART_PI / 180.0;
    int steps = std::max(2, static_cast<int>(std::fabs(to - from) / 6.0));
    VyArtVec2 previous{centre.x + rx * std::cos(from * degrees), centre.y + ry * std::sin(from * degrees)};
    for (int i = 1; i <= steps; ++i)
    {
        double angle = (from + (to - from) * i / steps) * degrees;
        VyArtVec2 point{centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle)};
        AddLine(previous, point);
        previous = point;
    }
}

void VyArtLettering::AddLetter(char letter, double x)
{
    constexpr double cap = 1.42; // capital height
    constexpr double ascender = 1.5;
    constexpr double serif = 0.17; // reach of a serif beside its stem
    auto foot = [&](double stem) { AddSerif({stem - serif, 0.0}, {stem + serif, 0.0}); };
    auto entry = [&](double stem, double top) { AddSerif({stem - serif, top}, {stem, top}); };
    switch (letter)
    {
    case 'T':
        AddLine({x, cap}, {x + 1.05, cap});
        m_segments.back().halfWidth *= 1.7; // the cross bar carries the letter
        AddLine({x + 0.525, cap}, {x + 0.525, 0.0});
        AddSerif({x, cap}, {x, cap - 0.24});
        AddSerif({x + 1.05, cap}, {x + 1.05, cap - 0.24});
        foot(x + 0.525);
        break;
    case 'o':
        AddArc({x + 0.475, 0.5}, 0.475, 0.5, 0.0, 360.0);
        break;
    case 'l':
        AddLine({x + 0.06, ascender}, {x + 0.06, 0.0});
        entry(x + 0.06, ascender);
        foot(x + 0.06);
        break;
    case 'm':
        AddLine({x, 1.0}, {x, 0.0});
        AddArc({x + 0.3, 0.62}, 0.3, 0.38, 180.0, 0.0);
        AddLine({x + 0.6, 0.62}, {x + 0.6, 0.0});
        AddArc({x + 0.9, 0.62}, 0.3, 0.38, 180.0, 0.0);
        AddLine({x + 1.2, 0.62}, {x + 1.2, 0.0});
        entry(x, 1.0);
        foot(x);
        foot(x + 0.6);
        foot(x + 1.2);
        break;
    case 'a':
        AddArc({x + 0.42, 0.5}, 0.42, 0.5, 20.0, 340.0);
        AddLine({x + 0.85, 1.0}, {x + 0.85, 0.0});
        AddSerif({x + 0.85, 0.0}, {x + 0.85 + serif, 0.0});
        break;
    case 'r':
        AddLine({x, 1.0}, {x, 0.0});
        AddArc({x + 0.5, 0.5}, 0.5, 0.48, 180.0, 80.0);
        entry(x, 1.0);
        foot(x);
        break;
    default:
        break;
    }
}

double VyArtLettering::Distance(VyArtVec2 p, VyArtVec2* nearest) const
{
    double best = 1e300;
    VyArtVec2 bestPoint = p;
    for (const Segment& s : m_segments)
    {
        double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
        double lengthSquared = dx * dx + dy * dy;
        double t = lengthSquared > 0.0 ? Clamp01(((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / lengthSquared) : 0.0;
        VyArtVec2 q{s.a.x + dx * t, s.a.y + dy * t};
        double d = std::hypot(p.x - q.x, p.y - q.y) - s.halfWidth;
        if (d < best)
        {
            best = d;
            bestPoint = q;
        }
    }
    if (nearest)
        *nearest = bestPoint;
    return best;
}
