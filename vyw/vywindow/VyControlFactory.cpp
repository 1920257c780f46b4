#include "vywindow/VyControlFactory.h"

namespace
{
VyControlFactory* g_pFactory = nullptr;
} // namespace

VyControlFactory* VyControlFactory::Get()
{
    return g_pFactory;
}

void VyControlFactory::Install(VyControlFactory* pFactory)
{
    g_pFactory = pFactory;
}
