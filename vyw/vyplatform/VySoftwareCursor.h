#pragma once

#include <array>
#include <memory>

#include "vyplatform/VyInput.h"
#include "vythread/VyPoint.h"
#include "vythread/VyString.h"

class VyImageList;
class VyRenderContext;

// The mouse cursor the framework draws itself, last in every frame, from the cursor image list: six
// 24 x 24 bitmaps in the cursor directory, pure blue (colour 255) transparent:
//   0 default.bmp, 1 ibeam.bmp, 2 northsouth.bmp, 3 eastwest.bmp, 4 wait.bmp, 5 hand.bmp
// Cursors 1 to 4 are centred on the mouse (their top-left corner 12 pixels left of and 12 above it);
// 0 and 5 have their hot spot at the top-left corner. Cursor -1 draws nothing.
class VySoftwareCursor
{
public:
    VySoftwareCursor();
    ~VySoftwareCursor();

    // Loads the bitmaps "<directory>\<file>" through the resource look-up. When the directory holds no
    // default.bmp, "Cursors" is used instead and the replacement goes to the trace. A cursor that cannot
    // be loaded draws nothing. False when not even the default cursor could be loaded (the caller then
    // keeps the system's cursor).
    bool Load(const VyString& directory);
    // Drops the images and their texture (before the render context goes).
    void Unload();
    bool IsLoaded() const { return m_cellOf[VY_CURSOR_DEFAULT] >= 0; }

    // Draws cursor index with its hot spot on the mouse pixel (client coordinates, y upwards).
    void Draw(VyRenderContext& context, VyPoint mouse, int index) const;

    static constexpr int VY_CURSOR_SIZE = 24;
    static constexpr int VY_CURSOR_KEY = 0x0000FF;
    static const char* FileName(int index);
    // The offset from the mouse pixel to the image's top-left pixel: (-12, 12) for cursors 1 to 4,
    // (0, 0) otherwise.
    static VyPoint HotSpotOffset(int index);

private:
    bool LoadFrom(const VyString& directory);

    std::unique_ptr<VyImageList> m_pImages;
    std::array<int, VY_CURSOR_COUNT> m_cellOf; // cell of each cursor in the list, -1 when not loaded
};
