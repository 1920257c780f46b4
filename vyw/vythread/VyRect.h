#pragma once

#include "vythread/VyPoint.h"

// A rectangle in integer pixels with y growing upwards: left, top, right, bottom with top >= bottom.
// Containment is half-open: left <= x < right and bottom <= y < top.
struct VyRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return top - bottom; }
    bool IsEmpty() const { return right <= left || top <= bottom; }
    bool Contains(VyPoint p) const { return p.x >= left && p.x < right && p.y >= bottom && p.y < top; }

    bool operator==(const VyRect&) const = default;
};
