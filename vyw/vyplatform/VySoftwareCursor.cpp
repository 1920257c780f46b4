#include "vyplatform/VySoftwareCursor.h"

#include "vybitmap/VyRGBIO.h"
#include "vybitmap/rgb.h"
#include "vyio/VyResourceSource.h"
#include "vyrender/VyImageList.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
constexpr const char* DEFAULT_DIRECTORY = "Cursors";
constexpr const char* FILE_NAMES[VY_CURSOR_COUNT] = {"default.bmp", "ibeam.bmp", "northsouth.bmp",
                                                     "eastwest.bmp", "wait.bmp",  "hand.bmp"};

rgb LoadBitmap(const VyString& path)
{
    return rgb(VyRGBIO::LoadResource(path), path);
}
} // namespace

VySoftwareCursor::VySoftwareCursor()
{
    m_cellOf.fill(-1);
}

VySoftwareCursor::~VySoftwareCursor() = default;

const char* VySoftwareCursor::FileName(int index)
{
    return index >= 0 && index < VY_CURSOR_COUNT ? FILE_NAMES[index] : "";
}

VyPoint VySoftwareCursor::HotSpotOffset(int index)
{
    const bool bCentred = index >= VY_CURSOR_IBEAM && index <= VY_CURSOR_WAIT;
    return bCentred ? VyPoint{-VY_CURSOR_SIZE / 2, VY_CURSOR_SIZE / 2} : VyPoint{0, 0};
}

bool VySoftwareCursor::Load(const VyString& directory)
{
    Unload();
    if (LoadFrom(directory))
        return true;
    if (directory != DEFAULT_DIRECTORY)
    {
        VyTrace::Write("VySoftwareCursor : no cursors in the directory \"" + directory + "\"; \"" +
                       DEFAULT_DIRECTORY + "\" is used instead\n");
        if (LoadFrom(DEFAULT_DIRECTORY))
            return true;
    }
    VyTrace::Write("VySoftwareCursor : no cursors found; the system's cursor stays\n");
    return false;
}

bool VySoftwareCursor::LoadFrom(const VyString& directory)
{
    m_pImages = std::make_unique<VyImageList>(VY_CURSOR_SIZE, VY_CURSOR_SIZE);
    for (int index = 0; index < VY_CURSOR_COUNT; ++index)
    {
        try
        {
            const rgb image = LoadBitmap(VyResourceSource::JoinPath(directory, FileName(index)));
            m_cellOf[static_cast<size_t>(index)] = m_pImages->Add(image, VY_CURSOR_KEY);
        }
        catch (VyException& error)
        {
            if (index == VY_CURSOR_DEFAULT)
            {
                Unload();
                return false;
            }
            error.AddContext("VySoftwareCursor", "Load", "the cursor is not drawn");
            error.Report();
        }
    }
    if (!IsLoaded())
    {
        Unload(); // the default cursor was not a 24 x 24 picture
        return false;
    }
    return true;
}

void VySoftwareCursor::Unload()
{
    m_pImages.reset();
    m_cellOf.fill(-1);
}

void VySoftwareCursor::Draw(VyRenderContext& context, VyPoint mouse, int index) const
{
    if (index < 0 || index >= VY_CURSOR_COUNT || !m_pImages)
        return;
    const int cell = m_cellOf[static_cast<size_t>(index)];
    if (cell < 0)
        return;
    const VyPoint offset = HotSpotOffset(index);
    // The image's top row is the mouse's row (or 12 above it): its top edge lies one above that row.
    const bool bTexturing = context.GetTexturing();
    context.SetTexturing(true);
    m_pImages->Draw(context, cell, mouse.x + offset.x, mouse.y + offset.y + 1);
    context.SetTexturing(bTexturing);
}
