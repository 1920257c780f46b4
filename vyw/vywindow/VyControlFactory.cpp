#include "vywindow/VyControlFactory.h"

namespace
{
VyControlFactory* g_pFactory = nullptr;
} // namespace

VyWnd* VyControlFactory::CreateScrollBar(VyFrameWnd&, int)
{
    return nullptr;
}

VyWnd* VyControlFactory::CreateMenuBar(VyFrameWnd&)
{
    return nullptr;
}

VyControlFactory* VyControlFactory::Get()
{
    return g_pFactory;
}

void VyControlFactory::Install(VyControlFactory* pFactory)
{
    g_pFactory = pFactory;
}
