#include "vybitmap/rgb.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "vybitmap/VyRGBIO.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyReadBytes.h"
#include "vythread/VyException.h"

rgb::rgb(std::unique_ptr<VyRGBFormat> image, VyString fileName)
    : m_fileName(std::move(fileName)), m_pImage(std::move(image))
{
}

rgb::rgb(const rgb& other) : m_fileName(other.m_fileName), m_pImage(other.m_pImage ? other.m_pImage->Clone() : nullptr)
{
}

rgb& rgb::operator=(const rgb& other)
{
    if (this != &other)
    {
        rgb copy(other);
        *this = std::move(copy);
    }
    return *this;
}

bool rgb::Load(const VyString& fileName)
{
    const int type = VyRGBIO::TypeFromFileName(fileName);
    VyFile file(VY_IO_READ);
    if (!file.Open(fileName, VY_FILE_READ))
        return false;
    try
    {
        m_pImage = VyRGBIO::Load(file, type);
    }
    catch (VyException& error)
    {
        error.AppendFile(fileName);
        throw;
    }
    m_fileName = fileName;
    return true;
}

bool rgb::Save(const VyString& fileName, int quality) const
{
    const int type = VyRGBIO::TypeFromFileName(fileName);
    if (!m_pImage)
    {
        VyFileException("rgb", "Save", "the image is empty", fileName).Report();
        return false;
    }
    if (type == VyRGBIO::VY_IMAGE_UNKNOWN)
    {
        VyFileException("rgb", "Save", "unknown image type", fileName).Report();
        return false;
    }
    // Encode first, so an image the type cannot hold leaves no file behind.
    VyMemFile encoded(VY_IO_WRITE);
    try
    {
        VyRGBIO::Save(*m_pImage, encoded, type, quality);
    }
    catch (VyException& error)
    {
        error.AppendFile(fileName);
        error.Report();
        return false;
    }
    VyFile file(VY_IO_WRITE);
    if (!file.Open(fileName, VY_FILE_CREATE_READWRITE))
    {
        VyFileException("rgb", "Save", "could not open the file", fileName).Report();
        return false;
    }
    try
    {
        file.Write(encoded.GetData(), encoded.GetLength());
        file.Close();
    }
    catch (VyException& error)
    {
        error.AppendFile(fileName);
        error.Report();
        try
        {
            file.Close();
        }
        catch (VyException&)
        {
        }
        std::remove(VyFile::DiskPath(fileName).c_str());
        return false;
    }
    return true;
}

namespace
{
void WriteImage(VyIO& stream, const VyRGBFormat* image)
{
    if (image == nullptr)
    {
        stream << VY_FORMAT_NONE << 0 << 0 << 0;
        return;
    }
    stream << image->FormatId() << image->Width() << image->Height() << image->Alignment();
    if (!image->HasPixels())
        return;
    // Rows travel as long as the alignment mode makes them (byte rows for an explicit pitch).
    const int64_t pitch = VyRGBFormat::RowPitch(image->FormatId(), image->Width(), image->Alignment());
    if (pitch == image->Pitch())
    {
        stream.Write(image->Buffer(), static_cast<int>(image->BufferSize()));
        return;
    }
    for (int y = 0; y < image->Height(); ++y)
        stream.Write(image->Row(y), static_cast<int>(pitch));
}

std::unique_ptr<VyRGBFormat> ReadImage(VyIO& stream)
{
    int formatId = 0, width = 0, height = 0, alignment = 0;
    stream >> formatId >> width >> height >> alignment;
    VyPixelFormat check(formatId); // "Unsupported format" for an unknown id
    if (width < 0 || height < 0 || width > VyRGBFormat::VY_MAX_IMAGE_SIDE || height > VyRGBFormat::VY_MAX_IMAGE_SIDE)
        throw VyException("rgb", "Read", "Invalid image size");
    if (width == 0 || height == 0)
        return nullptr;
    const int64_t pitch = VyRGBFormat::RowPitch(formatId, width, alignment);
    if (pitch < 0)
        throw VyException("rgb", "Read", "Invalid image size");
    const size_t size = static_cast<size_t>(pitch) * static_cast<size_t>(height);

    const long long left = stream.GetBytesLeft();
    if (left >= 0 && static_cast<unsigned long long>(left) < size)
        throw VyFileException("rgb", "Read", "Not enough image data", stream.GetName());
    if (left >= 0)
    {
        std::unique_ptr<VyRGBFormat> image = VyRGBFormat::Create(width, height, formatId, alignment);
        if (VyReadUpTo(stream, image->Buffer(), size) < size)
            throw VyFileException("rgb", "Read", "Not enough image data", stream.GetName());
        return image;
    }
    // A stream of unknown length: collect the bytes first, so a lying header costs no more memory
    // than the bytes that really arrive.
    std::vector<uint8_t> bytes;
    if (!VyReadExactly(stream, size, bytes))
        throw VyFileException("rgb", "Read", "Not enough image data", stream.GetName());
    std::unique_ptr<VyRGBFormat> image = VyRGBFormat::Create(width, height, formatId, alignment);
    std::memcpy(image->Buffer(), bytes.data(), size);
    return image;
}
} // namespace

VyIO& operator<<(VyIO& stream, const rgb& value)
{
    try
    {
        WriteImage(stream, value.Image());
    }
    catch (VyException& error)
    {
        error.AddContext("", "operator << rgb");
        throw;
    }
    return stream;
}

VyIO& operator>>(VyIO& stream, rgb& value)
{
    try
    {
        value.Reset(ReadImage(stream));
    }
    catch (VyException& error)
    {
        error.AddContext("", "operator >> rgb");
        throw;
    }
    return stream;
}
