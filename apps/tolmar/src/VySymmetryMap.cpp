#include "VySymmetryMap.h"

VySymmetryMap VySymmetryMap::Identity(int count)
{
    VySymmetryMap map;
    for (int i = 0; i < count; ++i)
        map.image[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    map.Invert(count);
    return map;
}

void VySymmetryMap::Invert(int count)
{
    for (int i = 0; i < count; ++i)
        inverse[image[static_cast<size_t>(i)]] = static_cast<uint8_t>(i);
}
