#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyBitmap.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value);
    out += static_cast<char>(value >> 8);
}
void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
uint32_t Get32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The parts of a BMP file, for building good and bad ones.
struct BmpSpec
{
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint32_t bits = 24;
    uint32_t compression = 0;
    uint32_t colours = 0;
    std::vector<uint32_t> masks;   // in the header when it has room, else after it
    std::vector<uint32_t> palette;
    std::string gap;               // bytes between the headers and the pixels
    std::string pixels;
    bool offsetGiven = false;
    uint32_t offset = 0;
    std::string magic = "BM";
};

std::string MakeBmp(const BmpSpec& spec)
{
    std::string info;
    Put32(info, spec.headerSize);
    Put32(info, static_cast<uint32_t>(spec.width));
    Put32(info, static_cast<uint32_t>(spec.height));
    Put16(info, 1);
    Put16(info, spec.bits);
    Put32(info, spec.compression);
    Put32(info, static_cast<uint32_t>(spec.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, spec.colours);
    Put32(info, 0);
    std::string after;
    if (spec.headerSize >= 52)
    {
        for (uint32_t mask : spec.masks)
            Put32(info, mask);
    }
    else
        for (uint32_t mask : spec.masks)
            Put32(after, mask);
    info.resize(spec.headerSize, '\0');
    for (uint32_t entry : spec.palette)
        Put32(after, entry);
    const uint32_t offset = spec.offsetGiven ? spec.offset
                                             : static_cast<uint32_t>(14 + info.size() + after.size() + spec.gap.size());
    std::string file = spec.magic;
    Put32(file, static_cast<uint32_t>(14 + info.size() + after.size() + spec.gap.size() + spec.pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    return file + info + after + spec.gap + spec.pixels;
}

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

// The message a load of these bytes raises ("" when it loads).
std::string LoadError(const std::string& bytes)
{
    try
    {
        LoadBytes(bytes);
        return "";
    }
    catch (const VyException& error)
    {
        return error.GetMessage();
    }
}

std::string Rows24(int width, const std::vector<uint32_t>& colours)
{
    std::string pixels;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    for (size_t at = 0; at < colours.size(); at += width)
    {
        std::string row;
        for (int x = 0; x < width; ++x)
            row += {static_cast<char>(VyBlueOf(colours[at + x])), static_cast<char>(VyGreenOf(colours[at + x])),
                    static_cast<char>(VyRedOf(colours[at + x]))};
        row.resize(stride, '\0');
        pixels += row;
    }
    return pixels;
}
} // namespace

TEST(VyBitmap, RoundTripsOfEveryWrittenFormat)
{
    for (int id : {VY_FORMAT_MONO, VY_FORMAT_RGB555, VY_FORMAT_RGB565, VY_FORMAT_RGB24, VY_FORMAT_RGB32, VY_FORMAT_GREY8})
        for (int width : {1, 3, 13})
        {
            SCOPED_TRACE(testing::Message() << "format " << id << " width " << width);
            auto image = VyRGBFormat::Create(width, 5, id, VY_ALIGN_32);
            VyFillNoise(*image, static_cast<uint32_t>(id * 100 + width));
            auto loaded = LoadBytes(SaveBytes(*image));
            EXPECT_EQ(loaded->FormatId(), id);
            EXPECT_EQ(loaded->Width(), width);
            EXPECT_EQ(loaded->Height(), 5);
            EXPECT_EQ(VyPixels(*loaded), VyPixels(*image));
        }
}

TEST(VyBitmap, WrittenLayoutOfA24BitPicture)
{
    auto image = VyRGBFormat::Create(3, 2, VY_FORMAT_RGB24);
    image->SetPixel(0, 0, VyMakeColour(1, 2, 3));
    image->SetPixel(2, 1, VyMakeColour(4, 5, 6));
    const std::string bytes = SaveBytes(*image);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Get32(bytes, 2), 78u);  // file size
    EXPECT_EQ(Get32(bytes, 10), 54u); // data offset
    EXPECT_EQ(Get32(bytes, 14), 40u); // info header size
    EXPECT_EQ(Get32(bytes, 18), 3u);
    EXPECT_EQ(Get32(bytes, 22), 2u);
    EXPECT_EQ(Get32(bytes, 28) & 0xFFFF, 24u);
    EXPECT_EQ(Get32(bytes, 34), 24u); // image data size: 12 bytes a row
    // Bottom row first: blue, green, red per pixel, then three zero bytes.
    EXPECT_EQ(bytes.substr(54, 12), std::string("\x03\x02\x01\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(bytes.substr(66, 12), std::string("\0\0\0\0\0\0\x06\x05\x04\0\0\0", 12));

    // 16-bit files carry masks with red in the low bits; 1-bit files a black and white palette.
    const std::string rgb565 = SaveBytes(*VyRGBFormat::Create(1, 1, VY_FORMAT_RGB565));
    EXPECT_EQ(Get32(rgb565, 10), 66u);
    EXPECT_EQ(Get32(rgb565, 54), 0x001Fu);
    EXPECT_EQ(Get32(rgb565, 58), 0x07E0u);
    EXPECT_EQ(Get32(rgb565, 62), 0xF800u);
    const std::string mono = SaveBytes(*VyRGBFormat::Create(1, 1, VY_FORMAT_MONO));
    EXPECT_EQ(Get32(mono, 10), 62u);
    EXPECT_EQ(Get32(mono, 46), 2u);
    EXPECT_EQ(Get32(mono, 58), 0xFFFFFFu);
}

TEST(VyBitmap, FormatsWithoutABmpLayoutAreRefusedBeforeWriting)
{
    for (int id : {VY_FORMAT_RGBA32, VY_FORMAT_GREY_ALPHA16, VY_FORMAT_ALPHA8})
    {
        auto image = VyRGBFormat::Create(2, 2, id);
        VyMemFile file(VY_IO_WRITE);
        try
        {
            VyBitmap::SaveWinBitmap(*image, file);
            ADD_FAILURE() << id;
        }
        catch (const VyException& error)
        {
            EXPECT_EQ(error.GetMessage(), "*VyBitmap::SaveWinBitmap : Unsupported bitmap format");
        }
        EXPECT_EQ(file.GetLength(), 0) << id;
    }
}

TEST(VyBitmap, HeaderErrors)
{
    BmpSpec good;
    good.pixels = Rows24(1, {0xFF102030});
    ASSERT_EQ(LoadError(MakeBmp(good)), "");

    BmpSpec badMagic = good;
    badMagic.magic = "MB";
    EXPECT_EQ(LoadError(MakeBmp(badMagic)), "*VyBitmap::Load : Not a valid bitmap");
    EXPECT_EQ(LoadError(""), "*VyBitmap::Load : Not a valid bitmap");
    EXPECT_EQ(LoadError(MakeBmp(good).substr(0, 14)), "*VyBitmap::Load : Could not read bitmap info header");
    EXPECT_EQ(LoadError(MakeBmp(good).substr(0, 40)), "*VyBitmap::Load : Could not read bitmap info header");

    const std::string invalid = "*VyBitmap::Load : This is not a valid bitmap";
    BmpSpec colourPalette = good;
    colourPalette.bits = 8;
    colourPalette.palette = {0x000000, 0xFF0000};
    colourPalette.colours = 2;
    colourPalette.pixels = std::string("\0\1\0\0", 4);
    EXPECT_EQ(LoadError(MakeBmp(colourPalette)), invalid) << "8-bit colour palettes are not read";
    BmpSpec fourBits = good;
    fourBits.bits = 4;
    fourBits.palette.assign(16, 0);
    EXPECT_EQ(LoadError(MakeBmp(fourBits)), invalid);
    BmpSpec rle = good;
    rle.compression = 1;
    EXPECT_EQ(LoadError(MakeBmp(rle)), invalid);
    BmpSpec coreHeader = good;
    coreHeader.headerSize = 12;
    EXPECT_EQ(LoadError(MakeBmp(coreHeader)), invalid);
    BmpSpec offsetInsideHeader = good;
    offsetInsideHeader.offsetGiven = true;
    offsetInsideHeader.offset = 30;
    EXPECT_EQ(LoadError(MakeBmp(offsetInsideHeader)), invalid);
}

TEST(VyBitmap, BadSizesAndShortDataRaiseTheLoadError)
{
    const std::string invalid = "*VyBitmap::Load : This is not a valid bitmap";
    const std::string tooBig = "*VyBitmap::Load : Could not allocate enough memory for bitmap";
    const std::string shortData = "*VyBitmap::Load : Error reading bitmap data";
    struct Case
    {
        int32_t width, height;
        std::string message;
    };
    const Case cases[] = {
        {0, 1, invalid},        {1, 0, invalid},           {-1, 1, invalid},          {INT32_MIN, 1, invalid},
        {16385, 1, tooBig},     {1, 16385, tooBig},        {1, -16385, tooBig},       {1, INT32_MIN, tooBig},
        {INT32_MAX, INT32_MAX, tooBig}, {16384, 16384, shortData}, {2, 1, shortData},
    };
    for (const Case& c : cases)
    {
        BmpSpec spec;
        spec.width = c.width;
        spec.height = c.height;
        spec.pixels = Rows24(1, {0xFF102030});
        EXPECT_EQ(LoadError(MakeBmp(spec)), c.message) << c.width << " x " << c.height;
    }

    BmpSpec truncated;
    truncated.width = 4;
    truncated.height = 3;
    truncated.pixels = Rows24(4, std::vector<uint32_t>(12, 0xFFFFFFFF));
    ASSERT_EQ(LoadError(MakeBmp(truncated)), "");
    const std::string whole = MakeBmp(truncated);
    EXPECT_EQ(LoadError(whole.substr(0, whole.size() - 1)), shortData);
    EXPECT_EQ(LoadError(whole.substr(0, 54)), shortData);

    BmpSpec shortPalette;
    shortPalette.bits = 1;
    shortPalette.colours = 2;
    shortPalette.palette = {0, 0xFFFFFF};
    shortPalette.pixels = std::string(4, '\0');
    const std::string palette = MakeBmp(shortPalette);
    ASSERT_EQ(LoadError(palette), "");
    EXPECT_EQ(LoadError(palette.substr(0, 54 + 5)), shortData);

    BmpSpec farOffset = truncated;
    farOffset.offsetGiven = true;
    farOffset.offset = 0x7FFFFFF0;
    EXPECT_EQ(LoadError(MakeBmp(farOffset)), shortData);

    BmpSpec shortMasks;
    shortMasks.bits = 16;
    shortMasks.compression = 3;
    shortMasks.masks = {0xF800, 0x07E0};
    EXPECT_EQ(LoadError(MakeBmp(shortMasks)), shortData);
}

TEST(VyBitmap, RowOrderAndLargerHeaders)
{
    // Stored rows: bottom (red, green), then top (blue, white).
    const std::string pixels = Rows24(2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    BmpSpec bottomUp;
    bottomUp.width = 2;
    bottomUp.height = 2;
    bottomUp.pixels = pixels;
    auto upright = LoadBytes(MakeBmp(bottomUp));
    EXPECT_EQ(upright->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(upright->GetPixel(1, 1), 0xFFFFFFFFu);

    BmpSpec topDown = bottomUp;
    topDown.height = -2; // the first stored row is the top of the picture
    auto flipped = LoadBytes(MakeBmp(topDown));
    EXPECT_EQ(flipped->Height(), 2);
    EXPECT_EQ(flipped->GetPixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(flipped->GetPixel(1, 0), 0xFFFFFFFFu);

    // A 124-byte header and a gap before the pixels: the data offset is honoured.
    BmpSpec v5 = bottomUp;
    v5.headerSize = 124;
    v5.gap = "gap bytes";
    EXPECT_EQ(VyPixels(*LoadBytes(MakeBmp(v5))), VyPixels(*upright));
}

TEST(VyBitmap, SixteenBitChannelsReachFullRange)
{
    // Without masks: 5-5-5 with red high. White and a pure red, green and blue.
    BmpSpec plain;
    plain.bits = 16;
    plain.width = 4;
    plain.pixels.clear();
    for (uint32_t word : {0x7FFFu, 0x7C00u, 0x03E0u, 0x001Fu})
        Put16(plain.pixels, word);
    auto image = LoadBytes(MakeBmp(plain));
    ASSERT_EQ(image->FormatId(), VY_FORMAT_RGB555);
    EXPECT_EQ(image->Buffer()[0] | image->Buffer()[1] << 8, 0x7FFF) << "white stays full white";
    EXPECT_EQ(image->GetPixel(0, 0), VyMakeColour(248, 248, 248));
    EXPECT_EQ(image->GetPixel(1, 0), VyMakeColour(248, 0, 0));
    EXPECT_EQ(image->GetPixel(2, 0), VyMakeColour(0, 248, 0));
    EXPECT_EQ(image->GetPixel(3, 0), VyMakeColour(0, 0, 248));

    // 5-6-5 masks with red high, after a 40-byte header and inside a 108-byte one.
    for (uint32_t headerSize : {40u, 108u})
    {
        BmpSpec masked = plain;
        masked.headerSize = headerSize;
        masked.compression = 3;
        masked.masks = {0xF800, 0x07E0, 0x001F};
        masked.pixels.clear();
        for (uint32_t word : {0xFFFFu, 0xF800u, 0x07E0u, 0x0010u})
            Put16(masked.pixels, word);
        auto loaded = LoadBytes(MakeBmp(masked));
        ASSERT_EQ(loaded->FormatId(), VY_FORMAT_RGB565) << headerSize;
        EXPECT_EQ(loaded->GetPixel(0, 0), VyMakeColour(248, 252, 248));
        EXPECT_EQ(loaded->GetPixel(1, 0), VyMakeColour(248, 0, 0));
        EXPECT_EQ(loaded->GetPixel(2, 0), VyMakeColour(0, 252, 0));
        EXPECT_EQ(loaded->GetPixel(3, 0), VyMakeColour(0, 0, 128));
    }

    // An inverted 1-bit palette keeps its colours.
    BmpSpec inverted;
    inverted.bits = 1;
    inverted.width = 2;
    inverted.palette = {0xFFFFFF, 0x000000};
    inverted.pixels = std::string("\x40\0\0\0", 4);
    auto mono = LoadBytes(MakeBmp(inverted));
    EXPECT_EQ(mono->GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(mono->GetPixel(1, 0), 0xFF000000u);
}

// Files written by ImageMagick from a picture of our own.
TEST(VyBitmap, ReadsFilesWrittenByImageMagick)
{
    if (!VyRuns("convert -version"))
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    VyTempDir dir;
    auto picture = VySmoothPicture(13, 7);
    VyWritePpm(dir.File("picture.ppm"), *picture);
    struct Variant
    {
        const char* options;
        const char* output;
        int tolerance; // per channel: 16-bit files keep 5 or 6 bits, rounded their own way
    };
    const Variant variants[] = {
        {"-type TrueColor", "BMP3:plain.bmp", 0},
        {"-type TrueColor", "default.bmp", 0},
        {"-alpha set", "alpha.bmp", 0},
        {"-define bmp:subtype=RGB565", "rgb565.bmp", 15},
        {"-define bmp:subtype=RGB555", "rgb555.bmp", 15},
    };
    for (const Variant& variant : variants)
    {
        SCOPED_TRACE(variant.output);
        const std::string output = variant.output;
        const std::string path = dir.File(output.substr(output.find(':') + 1));
        const std::string command = "cd '" + dir.File("") + "' && convert picture.ppm " + variant.options + " " + output;
        if (!VyRuns(command) || VySlurp(path).empty())
        {
            ADD_FAILURE() << "convert could not write " << output;
            continue;
        }
        VyFile file(VY_IO_READ);
        ASSERT_TRUE(file.Open(path, VY_FILE_READ));
        auto loaded = VyBitmap::Load(file);
        ASSERT_EQ(loaded->Width(), 13);
        ASSERT_EQ(loaded->Height(), 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                for (int channel : {VY_RED, VY_GREEN, VY_BLUE})
                {
                    const int expected = static_cast<int>(VyComponentOf(picture->GetPixel(x, y), channel));
                    const int actual = static_cast<int>(VyComponentOf(loaded->GetPixel(x, y), channel));
                    ASSERT_LE(std::abs(actual - expected), variant.tolerance) << x << "," << y << " channel " << channel;
                }
    }
}
