#include "VyPieceSet.h"

#include "VySetLoader.h"

VyString VyProperty::ValueName(int index) const
{
    for (const auto& [valueName, valueIndex] : values)
        if (valueIndex == index)
            return valueName;
    return {};
}

VyPieceSet VyPieceSet::Classic()
{
    return VySetLoader::Load(VySetLoader::PathOfSet("classic"));
}
