#pragma once

#include "vyrender/VyRenderContext.h"

// A scene that uses every kind of drawing: fills (opaque, blended, below the alpha test), textures of
// each internal kind (stretched, tiled, a whole-texture source, the highlight mode), polygons in both
// windings and as outlines, lines of every direction, points, a clip, 3-D frames and text in the
// standard fonts with colour markup. Drawn the same way through every back end.
struct VyRenderScene
{
    // bAntialiasedFonts: also draw text in fonts 0 and 1 (which only blending contexts antialias).
    static void Draw(VyRenderContext& context, bool bAntialiasedFonts);

    // A w x h RGBA image: a colour ramp whose alpha falls from 255 on the left to 0 on the right.
    static std::unique_ptr<VyRGBFormat> MakeRamp(int width, int height);
    // A w x h grey image (format 8) of diagonal stripes.
    static std::unique_ptr<VyRGBFormat> MakeStripes(int width, int height);
};
