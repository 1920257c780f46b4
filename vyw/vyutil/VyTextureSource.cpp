#include "vyutil/VyTextureSource.h"

#include <atomic>

namespace
{
std::atomic<VyTextureSource*> g_pCurrentSource{nullptr};
}

VyTextureSource* VyTextureSource::GetCurrent()
{
    return g_pCurrentSource.load();
}

void VyTextureSource::SetCurrent(VyTextureSource* source)
{
    g_pCurrentSource.store(source);
}
