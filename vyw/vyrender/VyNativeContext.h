#pragma once

#include "vyrender/VySoftwareContext.h"

// The "Native GDI" render context: a 32-bit RGBA software frame buffer shown in the SDL window at the
// end of every frame. Blends with alpha and draws antialiased fonts like the OpenGL context.
class VyNativeContext : public VySoftwareContext
{
public:
    // pWindow: the window to show the frame in, or null to keep it in memory only.
    explicit VyNativeContext(SDL_Window* pWindow = nullptr);

    // Frame buffer of width x height in 32-bit RGBA whatever bits asks for; "32-bit".
    void Initialize(int width, int height, int bits, bool bFullScreen) override;
    // "Native GDI".
    VyString GetRendererName() const override;

protected:
    const char* GetClassName() const override { return "VyNativeContext"; }
};
