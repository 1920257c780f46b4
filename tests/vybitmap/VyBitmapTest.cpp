#include <gtest/gtest.h>

#include <climits>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyBitmap.h"
#include "vyio/VyFile.h"
#include "vythread/VyException.h"

namespace
{
void Put(std::string& out, uint32_t value, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}
uint32_t Get32(const std::string& bytes, size_t at)
{
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

// The parts of a BMP file, for building good and bad ones.
struct BmpParts
{
    int32_t width = 1, height = 1;
    uint32_t bits = 24, compression = 0, colours = 0, headerSize = 40;
    std::vector<uint32_t> masks;   // inside the header when it has room, else after it
    std::vector<uint32_t> palette;
    std::string pixels = std::string("\x30\x20\x10\0", 4);
    std::string gap;               // bytes between the headers and the pixels
    int64_t offset = -1;           // the data offset written; -1: where the pixels are
    std::string magic = "BM";

    std::string Bytes() const
    {
        std::string info, after;
        Put(info, headerSize);
        Put(info, static_cast<uint32_t>(width));
        Put(info, static_cast<uint32_t>(height));
        Put(info, 1, 2);
        Put(info, bits, 2);
        Put(info, compression);
        Put(info, static_cast<uint32_t>(pixels.size()));
        Put(info, 0);
        Put(info, 0);
        Put(info, colours);
        Put(info, 0);
        for (uint32_t mask : masks)
            Put(headerSize >= 52 ? info : after, mask);
        info.resize(headerSize, '\0');
        for (uint32_t entry : palette)
            Put(after, entry);
        const size_t start = 14 + info.size() + after.size() + gap.size();
        std::string file = magic;
        Put(file, static_cast<uint32_t>(start + pixels.size()));
        Put(file, 0);
        Put(file, offset < 0 ? static_cast<uint32_t>(start) : static_cast<uint32_t>(offset));
        return file + info + after + gap + pixels;
    }
};

std::unique_ptr<VyRGBFormat> LoadBytes(const std::string& bytes)
{
    VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
    return VyBitmap::Load(file);
}

std::string SaveBytes(const VyRGBFormat& image)
{
    VyMemFile file(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(image, file);
    return VyBytesOf(file);
}

// The message a load of these bytes raises, without the "*VyBitmap::Load : " prefix ("" when it loads).
std::string LoadError(const std::string& bytes)
{
    try
    {
        LoadBytes(bytes);
        return "";
    }
    catch (const VyException& error)
    {
        const std::string message = error.GetMessage(), prefix = "*VyBitmap::Load : ";
        return message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : message;
    }
}

// 24-bit rows of two pixels each, in stored order.
std::string Rows24(const std::vector<uint32_t>& colours)
{
    std::string pixels;
    for (size_t i = 0; i < colours.size(); ++i)
    {
        Put(pixels, colours[i], 3);
        if (i % 2 == 1)
            pixels += std::string(2, '\0');
    }
    return pixels;
}
} // namespace

TEST(VyBitmap, RoundTripsOfEveryWrittenFormat)
{
    for (int id : {VY_FORMAT_MONO, VY_FORMAT_RGB555, VY_FORMAT_RGB565, VY_FORMAT_RGB24, VY_FORMAT_RGB32, VY_FORMAT_GREY8})
        for (int width : {1, 3, 13})
        {
            auto image = VyRGBFormat::Create(width, 5, id, VY_ALIGN_32);
            VyFillNoise(*image, static_cast<uint32_t>(id * 100 + width));
            auto loaded = LoadBytes(SaveBytes(*image));
            EXPECT_EQ(loaded->FormatId(), id);
            EXPECT_EQ(VyPixels(*loaded), VyPixels(*image)) << "format " << id << " width " << width;
        }

    for (int id : {VY_FORMAT_RGBA32, VY_FORMAT_GREY_ALPHA16, VY_FORMAT_ALPHA8})
    {
        VyMemFile file(VY_IO_WRITE);
        try
        {
            VyBitmap::SaveWinBitmap(*VyRGBFormat::Create(2, 2, id), file);
            ADD_FAILURE() << id;
        }
        catch (const VyException& error)
        {
            EXPECT_EQ(error.GetMessage(), "*VyBitmap::SaveWinBitmap : Unsupported bitmap format");
        }
        EXPECT_EQ(file.GetLength(), 0) << "nothing written for format " << id;
    }
}

TEST(VyBitmap, WrittenLayout)
{
    auto image = VyRGBFormat::Create(3, 2, VY_FORMAT_RGB24);
    image->SetPixel(0, 0, VyMakeColour(1, 2, 3));
    image->SetPixel(2, 1, VyMakeColour(4, 5, 6));
    const std::string bytes = SaveBytes(*image);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    const uint32_t header[] = {78, 0, 54, 40, 3, 2, 24 << 16 | 1, 0, 24};
    for (size_t i = 0; i < std::size(header); ++i)
        EXPECT_EQ(Get32(bytes, 2 + 4 * i), header[i]) << "header field at " << 2 + 4 * i;
    // Bottom row first, blue, green, red per pixel, each row padded to 12 bytes.
    EXPECT_EQ(bytes.substr(54), std::string("\3\2\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\6\5\4\0\0\0", 24));

    // 16-bit files carry masks with red in the low bits.
    const std::string rgb565 = SaveBytes(*VyRGBFormat::Create(1, 1, VY_FORMAT_RGB565));
    EXPECT_EQ(Get32(rgb565, 10), 66u);
    EXPECT_EQ(Get32(rgb565, 54), 0x001Fu);
    EXPECT_EQ(Get32(rgb565, 62), 0xF800u);
}

TEST(VyBitmap, MalformedFilesRaiseTheLoadError)
{
    const std::string invalid = "This is not a valid bitmap", tooBig = "Could not allocate enough memory for bitmap",
                      shortData = "Error reading bitmap data", noHeader = "Could not read bitmap info header";
    const BmpParts good;
    ASSERT_EQ(LoadError(good.Bytes()), "");
    const std::string whole = good.Bytes();
    EXPECT_EQ(LoadError(""), "Not a valid bitmap");
    EXPECT_EQ(LoadError("MB" + whole.substr(2)), "Not a valid bitmap");
    EXPECT_EQ(LoadError(whole.substr(0, 14)), noHeader);
    EXPECT_EQ(LoadError(whole.substr(0, 40)), noHeader);
    EXPECT_EQ(LoadError(whole.substr(0, whole.size() - 1)), shortData);

    auto with = [&](auto change) {
        BmpParts parts = good;
        change(parts);
        return LoadError(parts.Bytes());
    };
    EXPECT_EQ(with([](BmpParts& s) { s.bits = 8, s.colours = 2, s.palette = {0, 0xFF0000}; }), invalid)
        << "colour palettes are not read";
    EXPECT_EQ(with([](BmpParts& s) { s.bits = 4, s.palette.assign(16, 0); }), invalid);
    EXPECT_EQ(with([](BmpParts& s) { s.compression = 1; }), invalid);
    EXPECT_EQ(with([](BmpParts& s) { s.headerSize = 12; }), invalid);
    EXPECT_EQ(with([](BmpParts& s) { s.offset = 30; }), invalid) << "pixels inside the headers";
    EXPECT_EQ(with([](BmpParts& s) { s.offset = 0x7FFFFFF0; }), shortData);
    EXPECT_EQ(with([](BmpParts& s) { s.bits = 1, s.palette = {0}, s.colours = 2, s.pixels.clear(); }), shortData) << "short palette";
    EXPECT_EQ(with([](BmpParts& s) { s.bits = 16, s.compression = 3, s.masks = {0xF800, 0x7E0}, s.pixels.clear(); }),
              shortData) << "short masks";

    const std::pair<int32_t, int32_t> sizes[] = {{0, 1}, {1, 0}, {-1, 1}, {INT32_MIN, 1}, {16385, 1}, {1, -16385},
                                                 {1, INT32_MIN}, {INT32_MAX, INT32_MAX}, {16384, 16384}, {2, 1}};
    const std::string expected[] = {invalid, invalid, invalid, invalid, tooBig, tooBig, tooBig, tooBig, shortData, shortData};
    for (size_t i = 0; i < std::size(sizes); ++i)
        EXPECT_EQ(with([&](BmpParts& s) { std::tie(s.width, s.height) = sizes[i]; }), expected[i])
            << sizes[i].first << " x " << sizes[i].second;
}

TEST(VyBitmap, RowOrderAndLargerHeaders)
{
    BmpParts bottomUp;
    bottomUp.width = bottomUp.height = 2;
    bottomUp.pixels = Rows24({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}); // stored rows: red green, blue white
    auto upright = LoadBytes(bottomUp.Bytes());
    EXPECT_EQ(upright->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(upright->GetPixel(1, 1), 0xFFFFFFFFu);

    BmpParts topDown = bottomUp;
    topDown.height = -2; // the first stored row is the top of the picture
    auto flipped = LoadBytes(topDown.Bytes());
    EXPECT_EQ(flipped->GetPixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(flipped->GetPixel(1, 0), 0xFFFFFFFFu);

    // A 124-byte header and a gap before the pixels: the data offset is honoured.
    BmpParts v5 = bottomUp;
    v5.headerSize = 124;
    v5.gap = "gap bytes";
    EXPECT_EQ(VyPixels(*LoadBytes(v5.Bytes())), VyPixels(*upright));
}

TEST(VyBitmap, SixteenBitChannelsReachFullRange)
{
    // Without masks: 5-5-5 with red high. White stays full white: 0x7FFF in the image.
    BmpParts plain;
    plain.bits = 16;
    plain.width = 4;
    plain.pixels.clear();
    for (uint32_t word : {0x7FFFu, 0x7C00u, 0x03E0u, 0x001Fu})
        Put(plain.pixels, word, 2);
    auto image = LoadBytes(plain.Bytes());
    ASSERT_EQ(image->FormatId(), VY_FORMAT_RGB555);
    EXPECT_EQ(image->Buffer()[0] | image->Buffer()[1] << 8, 0x7FFF);
    EXPECT_EQ(VyPixels(*image), (std::vector<uint32_t>{0xFFF8F8F8, 0xFFF80000, 0xFF00F800, 0xFF0000F8}));

    // 5-6-5 masks with red high, after a 40-byte header and inside a 108-byte one.
    for (uint32_t headerSize : {40u, 108u})
    {
        BmpParts masked = plain;
        masked.headerSize = headerSize;
        masked.compression = 3;
        masked.masks = {0xF800, 0x07E0, 0x001F};
        masked.pixels.clear();
        for (uint32_t word : {0xFFFFu, 0xF800u, 0x07E0u, 0x0010u})
            Put(masked.pixels, word, 2);
        auto loaded = LoadBytes(masked.Bytes());
        EXPECT_EQ(loaded->FormatId(), VY_FORMAT_RGB565);
        EXPECT_EQ(VyPixels(*loaded), (std::vector<uint32_t>{0xFFF8FCF8, 0xFFF80000, 0xFF00FC00, 0xFF000080}))
            << headerSize;
    }
}

// Files written by ImageMagick from a picture of our own.
TEST(VyBitmap, ReadsFilesWrittenByImageMagick)
{
    if (!VyRuns("convert -version"))
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    VyTestDir dir;
    auto picture = VySmoothPicture(13, 7);
    VyWritePpm(dir.File("picture.ppm"), *picture);
    // Per channel tolerance: 16-bit files keep 5 or 6 bits, rounded their own way.
    const std::tuple<const char*, const char*, int> variants[] = {
        {"-type TrueColor", "BMP3:plain.bmp", 0}, {"-type TrueColor", "default.bmp", 0}, {"-alpha set", "alpha.bmp", 0},
        {"-define bmp:subtype=RGB565", "rgb565.bmp", 15}, {"-define bmp:subtype=RGB555", "rgb555.bmp", 15}};
    for (const auto& [options, output, tolerance] : variants)
    {
        const std::string name = std::string(output).substr(std::string(output).find(':') + 1);
        VyFile file(VY_IO_READ);
        if (!VyRuns("cd '" + dir.File("") + "' && convert picture.ppm " + options + " " + output) ||
            !file.Open(dir.File(name), VY_FILE_READ))
        {
            ADD_FAILURE() << "convert could not write " << output;
            continue;
        }
        auto loaded = VyBitmap::Load(file);
        ASSERT_EQ(loaded->Width() * 100 + loaded->Height(), 1307) << name;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                for (int channel : {VY_RED, VY_GREEN, VY_BLUE})
                    ASSERT_LE(std::abs(static_cast<int>(VyComponentOf(loaded->GetPixel(x, y), channel)) -
                                       static_cast<int>(VyComponentOf(picture->GetPixel(x, y), channel))),
                              tolerance) << name << " at " << x << "," << y;
    }
}
