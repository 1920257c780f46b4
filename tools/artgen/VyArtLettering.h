#pragma once

#include <string_view>
#include <vector>

#include "artgen/VyArtMath.h"

// Stroke lettering drawn without any font file: each letter is a few pen strokes (lines and
// elliptical arcs) in em units (x-height 1, baseline 0, y up), with small serifs. The pen is broad:
// upright strokes come out thick and level ones thin, as with a flat nib held level. A text becomes
// a set of segments whose distance field gives the letter shapes.
class VyArtLettering
{
public:
    struct Segment
    {
        VyArtVec2 a;
        VyArtVec2 b;
        double halfWidth; // pixels
    };

    // Lays out text (letters T, o, l, m, a, r and the space) starting at origin, scale pixels per em;
    // thick and thin are the half widths (em) of upright and level strokes. Unknown letters are
    // skipped.
    static VyArtLettering Layout(std::string_view text, VyArtVec2 origin, double scale, double thick, double thin);
    // Advance width of text in em units.
    static double Advance(std::string_view text);

    // Signed distance from p to the letters' edge (negative inside), and the point on the centre line
    // of the stroke that decides it.
    double Distance(VyArtVec2 p, VyArtVec2* nearest = nullptr) const;

private:
    void AddLine(VyArtVec2 a, VyArtVec2 b);
    // A serif: a short stroke, always thin.
    void AddSerif(VyArtVec2 a, VyArtVec2 b);
    // Arc of the ellipse (centre, radii) from angle `from` to `to` in degrees, counter-clockwise.
    void AddArc(VyArtVec2 centre, double rx, double ry, double from, double to);
    void AddLetter(char letter, double x);

    VyArtVec2 m_origin;
    double m_scale = 1.0;
    double m_thick = 0.1;
    double m_thin = 0.04;
    std::vector<Segment> m_segments;
};
