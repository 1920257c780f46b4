#pragma once

#include <memory>

#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyIO.h"
#include "vythread/VyString.h"

// An image together with the file name it came from: the value the rest of the framework passes
// around. It owns its image; copies are deep (each copy has its own pixels), moves are cheap.
class rgb
{
public:
    rgb() = default;
    explicit rgb(std::unique_ptr<VyRGBFormat> image, VyString fileName = {});
    rgb(const rgb& other);
    rgb& operator=(const rgb& other);
    rgb(rgb&&) noexcept = default;
    rgb& operator=(rgb&&) noexcept = default;
    ~rgb() = default;

    // The image's size; 0 when empty.
    int Width() const { return m_pImage ? m_pImage->Width() : 0; }
    int Height() const { return m_pImage ? m_pImage->Height() : 0; }
    bool IsEmpty() const { return !m_pImage; }

    // The held image (null when empty); it stays owned by this value.
    VyRGBFormat* Image() { return m_pImage.get(); }
    const VyRGBFormat* Image() const { return m_pImage.get(); }
    void Reset(std::unique_ptr<VyRGBFormat> image) { m_pImage = std::move(image); }
    std::unique_ptr<VyRGBFormat> Release() { return std::move(m_pImage); }

    const VyString& FileName() const { return m_fileName; }
    void SetFileName(const VyString& fileName) { m_fileName = fileName; }

    // Loads a BMP or JPEG file chosen by its extension. False when the file cannot be opened
    // (nothing changes then); a decoding error is thrown with " -> File: <name>" appended, and the
    // value keeps its old image.
    bool Load(const VyString& fileName);

    // Saves by the file name's extension (JPEG at `quality`). False, with the error text sent to
    // the trace, when the extension is unknown, the image is empty or cannot be encoded in that
    // type, or the file cannot be opened or written; no file is left behind by a failed encoding,
    // and a failed write removes the partial file.
    bool Save(const VyString& fileName, int quality) const;

private:
    VyString m_fileName;
    std::unique_ptr<VyRGBFormat> m_pImage;
};

// Writes the format id, width, height and alignment mode as ints, then the pixel rows (each as
// long as the alignment mode makes it). An empty value writes 1, 0, 0, 0.
VyIO& operator<<(VyIO& stream, const rgb& value);
// Reads what operator<< wrote into a new image and replaces the held one (a zero width or height
// leaves the value empty). Sizes beyond VyRGBFormat::VY_MAX_IMAGE_SIDE, unknown formats and pixel
// data the stream does not hold are refused before the image is allocated; the value is unchanged
// then. Errors carry the context line "*::operator >> rgb".
VyIO& operator>>(VyIO& stream, rgb& value);
