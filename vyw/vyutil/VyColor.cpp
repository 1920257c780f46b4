#include "vyutil/VyColor.h"

VyColor VyColor::FromSlot(int slotId, unsigned char alpha)
{
    VyColor color(static_cast<unsigned int>(slotId), alpha);
    color.m_flags = VY_COLOR_FLAG_SLOT;
    return color;
}
