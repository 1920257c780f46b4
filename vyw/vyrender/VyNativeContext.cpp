#include "vyrender/VyNativeContext.h"

VyNativeContext::VyNativeContext(SDL_Window* pWindow) : VySoftwareContext(pWindow) {}

void VyNativeContext::Initialize(int width, int height, int /*bits*/, bool /*bFullScreen*/)
{
    SetFrameFormat(VY_FORMAT_RGBA32, false);
    SetPixelFormatText(32);
    InitializeCommon(width, height);
}

VyString VyNativeContext::GetRendererName() const
{
    return "Native GDI";
}
