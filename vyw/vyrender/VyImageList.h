#pragma once

#include <memory>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vybitmap/rgb.h"
#include "vythread/VySize.h"
#include "vyutil/VyTexture.h"

class VyRenderContext;

// No transparent colour: every pixel of an added image is drawn.
constexpr int VY_NO_TRANSPARENT_COLOR = -1;

// Images of one cell size packed into one square texture (cursors, menu icons).
//
// Each added image is a strip of cells (height = cell height, width a multiple of the cell width),
// cut into cells left to right. Cell i lies at column i mod (side / cx) and row i div (side / cx),
// rows counted from the top of the texture. The side starts at 16 and doubles until side/cx x side/cy
// cells hold every image; no side above 256 is made ("textureSize<=256"), and images that would need
// one are refused.
//
// The transparent colour (0xRRGGBB, e.g. 255 = blue 0, 0, 255) leaves the pixels of that colour out:
// they get alpha 0, every other pixel alpha 255 (an image with alpha keeps its own).
// The list holds a texture of the context it last drew through, so it must go before that context.
class VyImageList
{
public:
    VyImageList(int cx, int cy);
    ~VyImageList();

    // Adds the cells of a strip. A strip of another height fails "m_size.cy==rgb.Height()", a width
    // that is not a multiple of the cell width "rgb.Width()%m_size.cx==0"; both add nothing. Returns the
    // index of the strip's first cell, or -1 when nothing was added.
    int Add(const rgb& strip, int transparentColor);

    int GetCount() const { return static_cast<int>(m_cells.size()); }
    VySize GetCellSize() const { return m_size; }
    // The side of the texture the cells need (16..256), 0 without cells.
    int GetTextureSize() const;
    // The rectangle of cell index in the texture (y upwards from the texture's bottom row).
    VyRect GetCellRect(int index) const;

    // Draws cell index with its top-left corner at (left, top), blended and unmodulated (white), through
    // the context, keeping the context's colour, texture and blending (the texture is
    // made on first use after additions). An index outside the list draws nothing.
    void Draw(VyRenderContext& context, int index, int left, int top);

    // The packed texture image (made on demand; null without cells).
    const VyRGBFormat* GetImage();

private:
    void Pack();

    VySize m_size;
    std::vector<std::unique_ptr<VyRGBFormat>> m_cells; // RGBA cells
    std::unique_ptr<VyRGBFormat> m_pPacked;
    VyTexture m_texture;
    VyRenderContext* m_pTextureContext = nullptr;
    bool m_bDirty = false;
};
