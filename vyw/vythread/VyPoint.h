#pragma once

// A point in integer pixels: x to the right, y upwards.
struct VyPoint
{
    int x = 0;
    int y = 0;

    bool operator==(const VyPoint&) const = default;
};
