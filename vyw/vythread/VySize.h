#pragma once

// A width and a height in integer pixels.
struct VySize
{
    int cx = 0;
    int cy = 0;

    bool operator==(const VySize&) const = default;
};
