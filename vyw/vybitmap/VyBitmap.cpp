#include "vybitmap/VyBitmap.h"

#include <cstring>
#include <new>
#include <vector>

#include "vyio/VyReadBytes.h"
#include "vythread/VyException.h"

namespace
{
constexpr uint16_t VY_BMP_MAGIC = 0x4D42; // "BM"
constexpr int VY_FILE_HEADER_SIZE = 14;
constexpr int VY_INFO_HEADER_SIZE = 40;
constexpr uint32_t VY_MAX_INFO_HEADER = 1024;
constexpr uint32_t VY_BI_RGB = 0;
constexpr uint32_t VY_BI_BITFIELDS = 3;

[[noreturn]] void Fail(const char* message)
{
    throw VyException("VyBitmap", "Load", message);
}

uint32_t U16(const uint8_t* bytes) { return bytes[0] | (uint32_t{bytes[1]} << 8); }
uint32_t U32(const uint8_t* bytes) { return U16(bytes) | (U16(bytes + 2) << 16); }
int32_t I32(const uint8_t* bytes) { return static_cast<int32_t>(U32(bytes)); }

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// What the headers say about the pixels.
struct BmpLayout
{
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;  // the first stored row is the top of the picture
    int bits = 0;
    uint32_t compression = 0;
    uint32_t colours = 0;  // palette entries
    uint32_t masks[3] = {};
    bool masksInHeader = false;
    int formatId = VY_FORMAT_NONE;
    VyPixelFormat maskFormat;      // 16 and 32 bits: where the channels lie in a stored pixel
    std::vector<uint32_t> palette; // 0x00RRGGBB
    size_t consumed = 0;           // bytes read so far from the start of the file
    void SetMasks(uint32_t red, uint32_t green, uint32_t blue)
    {
        masks[0] = red;
        masks[1] = green;
        masks[2] = blue;
    }
    size_t Stride() const { return (static_cast<size_t>(bits) * width + 31) / 32 * 4; }
};

void ReadInfoHeader(VyIO& stream, BmpLayout& layout)
{
    uint8_t sizeBytes[4];
    const size_t got = VyReadUpTo(stream, sizeBytes, 4);
    if (got < 4)
        Fail("Could not read bitmap info header");
    const uint32_t headerSize = U32(sizeBytes);
    if (headerSize < VY_INFO_HEADER_SIZE || headerSize > VY_MAX_INFO_HEADER)
        Fail("This is not a valid bitmap");
    std::vector<uint8_t> header(headerSize);
    std::memcpy(header.data(), sizeBytes, 4);
    if (VyReadUpTo(stream, header.data() + 4, headerSize - 4) < headerSize - 4)
        Fail("Could not read bitmap info header");
    layout.consumed = VY_FILE_HEADER_SIZE + headerSize;

    const int64_t width = I32(&header[4]);
    const int64_t height = I32(&header[8]);
    layout.bits = static_cast<int>(U16(&header[14]));
    layout.compression = U32(&header[16]);
    layout.colours = U32(&header[32]);
    if (width <= 0 || height == 0)
        Fail("This is not a valid bitmap");
    const int64_t rows = height < 0 ? -height : height;
    if (width > VyRGBFormat::VY_MAX_IMAGE_SIDE || rows > VyRGBFormat::VY_MAX_IMAGE_SIDE)
        Fail("Could not allocate enough memory for bitmap");
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(rows);
    layout.topDown = height < 0;
    // The v2 and later headers carry the channel masks themselves.
    if (headerSize >= 52)
    {
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = U32(&header[40 + 4 * i]);
        layout.masksInHeader = true;
    }
}

void ReadMasks(VyIO& stream, BmpLayout& layout)
{
    if (layout.masksInHeader)
        return;
    uint8_t bytes[12];
    if (VyReadUpTo(stream, bytes, sizeof bytes) < sizeof bytes)
        Fail("Error reading bitmap data");
    for (int i = 0; i < 3; ++i)
        layout.masks[i] = U32(bytes + 4 * i);
    layout.consumed += sizeof bytes;
}

void ReadPalette(VyIO& stream, BmpLayout& layout)
{
    const uint32_t full = 1u << layout.bits;
    const uint32_t count = layout.colours == 0 ? full : layout.colours;
    if (count > full)
        Fail("This is not a valid bitmap");
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * 4);
    if (VyReadUpTo(stream, bytes.data(), bytes.size()) < bytes.size())
        Fail("Error reading bitmap data");
    layout.consumed += bytes.size();
    layout.palette.resize(full, 0);
    for (uint32_t i = 0; i < count; ++i)
        layout.palette[i] = U32(&bytes[4 * i]) & 0xFFFFFF;
}

// Chooses the image format and reads what lies between the headers and the pixels.
void ReadFormat(VyIO& stream, BmpLayout& layout)
{
    const bool plain = layout.compression == VY_BI_RGB;
    const bool bitfields = layout.compression == VY_BI_BITFIELDS;
    switch (layout.bits)
    {
    case 24:
        if (!plain)
            Fail("This is not a valid bitmap");
        layout.formatId = VY_FORMAT_RGB24;
        return;
    case 32:
        if (!plain && !bitfields)
            Fail("This is not a valid bitmap");
        if (bitfields)
            ReadMasks(stream, layout);
        else
            layout.SetMasks(0xFF0000, 0xFF00, 0xFF);
        layout.maskFormat.SetMasks(32, layout.masks[0], layout.masks[1], layout.masks[2], 0);
        layout.formatId = VY_FORMAT_RGB32;
        return;
    case 16:
    {
        if (bitfields)
            ReadMasks(stream, layout);
        else if (plain)
            layout.SetMasks(0x7C00, 0x03E0, 0x001F);
        else
            Fail("Unsupported format");
        layout.maskFormat.SetMasks(16, layout.masks[0], layout.masks[1], layout.masks[2], 0);
        layout.formatId = layout.maskFormat.Id();
        return;
    }
    case 1:
        if (!plain)
            Fail("This is not a valid bitmap");
        ReadPalette(stream, layout);
        layout.formatId = VY_FORMAT_MONO;
        return;
    case 8:
        if (!plain)
            Fail("This is not a valid bitmap");
        ReadPalette(stream, layout);
        for (uint32_t entry : layout.palette)
            if (VyRedOf(entry) != VyGreenOf(entry) || VyGreenOf(entry) != VyBlueOf(entry))
                Fail("This is not a valid bitmap"); // colour palettes are not read
        layout.formatId = VY_FORMAT_GREY8;
        return;
    default:
        Fail("This is not a valid bitmap");
    }
}

// Moves from the end of the headers to the stored data offset.
void SkipToData(VyIO& stream, BmpLayout& layout, uint32_t dataOffset)
{
    if (dataOffset == 0 || dataOffset == layout.consumed)
        return;
    if (dataOffset < layout.consumed)
        Fail("This is not a valid bitmap");
    std::vector<uint8_t> gap;
    if (!VyReadExactly(stream, dataOffset - layout.consumed, gap))
        Fail("Error reading bitmap data");
    layout.consumed = dataOffset;
}

// Decodes one stored row into image row y.
void DecodeRow(const BmpLayout& layout, const uint8_t* data, VyRGBFormat& image, int y)
{
    const int width = layout.width;
    switch (layout.bits)
    {
    case 24:
    {
        uint8_t* out = image.Row(y); // id 5 stores red, green, blue
        for (int x = 0; x < width; ++x, data += 3, out += 3)
        {
            out[0] = data[2];
            out[1] = data[1];
            out[2] = data[0];
        }
        return;
    }
    case 32:
    case 16:
    {
        const VyPixelFormat& format = layout.maskFormat;
        const int bytes = layout.bits / 8;
        for (int x = 0; x < width; ++x, data += bytes)
        {
            const uint32_t word = bytes == 2 ? U16(data) : U32(data);
            uint32_t channels[3];
            for (int c = 0; c < 3; ++c)
            {
                const int count = format.BitCount(c);
                channels[c] = count == 0 ? 0 : VyPixelFormat::Widen((word >> format.Shift(c)) & format.ValueMask(c),
                                                                    count);
            }
            image.SetPixel(x, y, VyMakeColour(channels[0], channels[1], channels[2]));
        }
        return;
    }
    case 8:
        for (int x = 0; x < width; ++x)
            image.Row(y)[x] = static_cast<uint8_t>(VyBlueOf(layout.palette[data[x]]));
        return;
    case 1:
        for (int x = 0; x < width; ++x)
        {
            const uint32_t entry = layout.palette[(data[x >> 3] >> (7 - (x & 7))) & 1];
            image.SetPixel(x, y, 0xFF000000u | entry);
        }
        return;
    default:
        Fail("Unsupported format");
    }
}

// Header values of a written file per format id: bits, compression, palette entries, masks.
struct BmpWriteLayout
{
    int bits;
    uint32_t compression;
    uint32_t paletteEntries;
    uint32_t masks[3];
};

bool WriteLayoutFor(int formatId, BmpWriteLayout& layout)
{
    switch (formatId)
    {
    case VY_FORMAT_MONO:
        layout = {1, VY_BI_RGB, 2, {}};
        return true;
    case VY_FORMAT_RGB555:
        layout = {16, VY_BI_BITFIELDS, 0, {0x001F, 0x03E0, 0x7C00}};
        return true;
    case VY_FORMAT_RGB565:
        layout = {16, VY_BI_BITFIELDS, 0, {0x001F, 0x07E0, 0xF800}};
        return true;
    case VY_FORMAT_RGB24:
        layout = {24, VY_BI_RGB, 0, {}};
        return true;
    case VY_FORMAT_RGB32:
        layout = {32, VY_BI_RGB, 0, {}};
        return true;
    case VY_FORMAT_GREY8:
        layout = {8, VY_BI_RGB, 256, {}};
        return true;
    default:
        return false;
    }
}

// Appends image row y as stored in the file, padded to `stride` bytes.
void EncodeRow(const VyRGBFormat& image, int y, const BmpWriteLayout& layout, size_t stride, std::vector<uint8_t>& out)
{
    const size_t start = out.size();
    const int width = image.Width();
    const uint8_t* row = image.Row(y);
    switch (layout.bits)
    {
    case 1:
        out.resize(start + stride, 0);
        for (int x = 0; x < width; ++x)
            if ((image.GetPixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                out[start + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
        return;
    case 8:
        out.insert(out.end(), row, row + width);
        break;
    case 16:
    {
        const int greenBits = image.FormatId() == VY_FORMAT_RGB565 ? 6 : 5;
        for (int x = 0; x < width; ++x)
        {
            const uint32_t colour = image.GetPixel(x, y);
            Put16(out, (VyRedOf(colour) >> 3) | ((VyGreenOf(colour) >> (8 - greenBits)) << 5) |
                           ((VyBlueOf(colour) >> 3) << (5 + greenBits)));
        }
        break;
    }
    case 24:
        for (int x = 0; x < width; ++x, row += 3)
            out.insert(out.end(), {row[2], row[1], row[0]});
        break;
    case 32:
        for (int x = 0; x < width; ++x, row += 4)
            out.insert(out.end(), {row[2], row[1], row[0], row[3]});
        break;
    }
    out.resize(start + stride, 0);
}
} // namespace

std::unique_ptr<VyRGBFormat> VyBitmap::Load(VyIO& stream)
{
    uint8_t fileHeader[VY_FILE_HEADER_SIZE];
    if (VyReadUpTo(stream, fileHeader, sizeof fileHeader) < sizeof fileHeader || U16(fileHeader) != VY_BMP_MAGIC)
        Fail("Not a valid bitmap");
    const uint32_t dataOffset = U32(fileHeader + 10);

    BmpLayout layout;
    ReadInfoHeader(stream, layout);
    ReadFormat(stream, layout);
    SkipToData(stream, layout, dataOffset);

    const size_t stride = layout.Stride();
    std::vector<uint8_t> data;
    try
    {
        if (!VyReadExactly(stream, stride * layout.height, data))
            Fail("Error reading bitmap data");
    }
    catch (const std::bad_alloc&)
    {
        Fail("Could not allocate enough memory for bitmap");
    }

    std::unique_ptr<VyRGBFormat> image =
        VyRGBFormat::Create(layout.width, layout.height, layout.formatId, VY_ALIGN_BYTE, 0xFF000000);
    for (int stored = 0; stored < layout.height; ++stored)
    {
        const int y = layout.topDown ? layout.height - 1 - stored : stored;
        DecodeRow(layout, data.data() + stride * stored, *image, y);
    }
    return image;
}

void VyBitmap::SaveWinBitmap(const VyRGBFormat& image, VyIO& stream)
{
    BmpWriteLayout layout;
    if (!WriteLayoutFor(image.FormatId(), layout) || !image.HasPixels())
        throw VyException("VyBitmap", "SaveWinBitmap", "Unsupported bitmap format");

    const size_t stride = (static_cast<size_t>(image.Width()) * layout.bits + 31) / 32 * 4;
    const uint32_t dataSize = static_cast<uint32_t>(stride * image.Height());
    const uint32_t extra = layout.compression == VY_BI_BITFIELDS ? 12 : layout.paletteEntries * 4;
    const uint32_t dataOffset = VY_FILE_HEADER_SIZE + VY_INFO_HEADER_SIZE + extra;

    std::vector<uint8_t> out;
    out.reserve(dataOffset + dataSize);
    Put16(out, VY_BMP_MAGIC);
    Put32(out, dataOffset + dataSize);
    Put32(out, 0); // two reserved words
    Put32(out, dataOffset);
    Put32(out, VY_INFO_HEADER_SIZE);
    Put32(out, static_cast<uint32_t>(image.Width()));
    Put32(out, static_cast<uint32_t>(image.Height()));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(layout.bits));
    Put32(out, layout.compression);
    Put32(out, dataSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, layout.paletteEntries);
    Put32(out, layout.paletteEntries);
    if (layout.compression == VY_BI_BITFIELDS)
        for (uint32_t mask : layout.masks)
            Put32(out, mask);
    for (uint32_t i = 0; i < layout.paletteEntries; ++i)
        Put32(out, layout.paletteEntries == 2 ? (i == 0 ? 0 : 0xFFFFFF) : i * 0x010101);
    for (int y = 0; y < image.Height(); ++y)
        EncodeRow(image, y, layout, stride, out);
    stream.Write(out.data(), static_cast<int>(out.size()));
}
