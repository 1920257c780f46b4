#include <gtest/gtest.h>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyJpeg.h"
#include "vyio/VyFile.h"
#include "vythread/VyException.h"

namespace
{
std::string Encode(const VyRGBFormat& image, int quality)
{
    VyMemFile file(VY_IO_WRITE);
    VyJpeg::SaveJpeg(image, file, quality);
    return VyBytesOf(file);
}

std::string DecodeError(const std::string& bytes)
{
    try
    {
        VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
        VyJpeg::Load(file);
        return "";
    }
    catch (const VyException& error)
    {
        return error.GetMessage();
    }
}

// Mean absolute difference per channel between two pictures of one size; `grey` compares the
// grey level of `a` with the red channel of `b`.
double MeanError(const VyRGBFormat& a, const VyRGBFormat& b, bool grey = false)
{
    double total = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int channel : {VY_RED, VY_GREEN, VY_BLUE})
            {
                const int expected = static_cast<int>(grey ? VyGreyOf(a.GetPixel(x, y)) : VyComponentOf(a.GetPixel(x, y), channel));
                total += std::abs(expected - static_cast<int>(VyComponentOf(b.GetPixel(x, y), channel)));
            }
    return total / (3.0 * a.Width() * a.Height());
}
} // namespace

// Quality 90 on a smooth picture: mean absolute error below 4 per channel, picture upright.
TEST(VyJpeg, RoundTripKeepsThePictureUprightAndClose)
{
    for (int id : {VY_FORMAT_RGB24, VY_FORMAT_RGBA32, VY_FORMAT_RGB565, VY_FORMAT_RGB32})
    {
        auto picture = VySmoothPicture(67, 45, id);
        const std::string bytes = Encode(*picture, 90);
        VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
        auto loaded = VyJpeg::Load(file);
        ASSERT_EQ(loaded->FormatId(), VY_FORMAT_RGB24);
        ASSERT_EQ(loaded->Width() * 100 + loaded->Height(), 6745);
        EXPECT_LT(MeanError(*picture, *loaded), 4.0) << "format " << id;
        // Green grows with y: row 0 must stay the darkest in green.
        EXPECT_LT(VyGreenOf(loaded->GetPixel(30, 0)) + 100, VyGreenOf(loaded->GetPixel(30, 44))) << "format " << id;
    }
    auto picture = VySmoothPicture(64, 64);
    EXPECT_LT(Encode(*picture, 20).size(), Encode(*picture, 95).size());

    VyMemFile file(VY_IO_WRITE);
    try
    {
        VyJpeg::SaveJpeg(*VyRGBFormat::Create(0, 10, VY_FORMAT_RGB24), file, 90);
        ADD_FAILURE();
    }
    catch (const VyException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyJpeg::SaveJpeg : Could not save jpeg");
    }
    EXPECT_EQ(file.GetLength(), 0);
}

TEST(VyJpeg, DamagedInputRaisesTheLoadError)
{
    const std::string error = "*VyJpeg::Load : Error reading jpeg";
    const std::string bytes = Encode(*VySmoothPicture(64, 48), 90);
    ASSERT_EQ(DecodeError(bytes), "");
    VyTraceCapture quiet; // libjpeg's own messages go to the trace
    VyMemFile bmp(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(*VySmoothPicture(4, 4), bmp);
    for (const std::string& other : {std::string(), std::string("not a jpeg at all"), VyBytesOf(bmp)})
        EXPECT_EQ(DecodeError(other), error);
    for (size_t length : {size_t{2}, size_t{100}, bytes.size() / 2, bytes.size() - 2})
        EXPECT_EQ(DecodeError(bytes.substr(0, length)), error) << "cut at " << length;

    // A bad component count in the frame header; a marker inside the entropy-coded data.
    std::string badFrame = bytes, strayMarker = bytes, huge = bytes;
    badFrame[badFrame.find("\xFF\xC0") + 9] = 7;
    EXPECT_EQ(DecodeError(badFrame), error);
    strayMarker.insert(strayMarker.find("\xFF\xDA") + 40, "\xFF\xD0");
    EXPECT_EQ(DecodeError(strayMarker), error);
    EXPECT_NE(quiet.Text().find("libjpeg: "), VyString::npos);
    // A frame header claiming a picture taller than images may be.
    huge[huge.find("\xFF\xC0") + 5] = static_cast<char>(0xFF);
    EXPECT_EQ(DecodeError(huge), "*VyJpeg::Load : Could not allocate jpeg image buffer");
}

// A grey file made by libjpeg's own cjpeg from a picture of ours.
TEST(VyJpeg, ReadsGreyFiles)
{
    if (!VyRuns("cjpeg -version </dev/null"))
        GTEST_SKIP() << "cjpeg is not installed";
    VyTestDir dir;
    auto picture = VySmoothPicture(40, 30);
    VyWritePpm(dir.File("picture.ppm"), *picture);
    ASSERT_TRUE(VyRuns("cjpeg -grayscale -quality 95 -outfile '" + dir.File("grey.jpg") + "' '" + dir.File("picture.ppm") + "'"));
    VyFile file(VY_IO_READ);
    ASSERT_TRUE(file.Open(dir.File("grey.jpg"), VY_FILE_READ));
    auto grey = VyJpeg::Load(file);
    ASSERT_EQ(grey->FormatId(), VY_FORMAT_GREY8);
    EXPECT_LT(MeanError(*picture, *grey, true), 4.0);
}

// A frame header of a few bytes must not cost the memory of the picture it names: 16384 x 16384
// pixels (768 MiB as red, green, blue) are refused when the file's data could not code them, while a
// flat picture whose data is really that small for its size still loads.
TEST(VyJpeg, PicturesLargerThanTheirDataCanHoldAreRefusedBeforeTheirMemory)
{
    std::string bytes = Encode(*VySmoothPicture(64, 48), 90);
    const size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    for (size_t at : {frame + 5, frame + 7})
    {
        bytes[at] = 0x40;
        bytes[at + 1] = 0x00;
    }
    VyTraceCapture quiet;
    EXPECT_EQ(DecodeError(bytes), "*VyJpeg::Load : Could not allocate jpeg image buffer");

    auto flat = VyRGBFormat::Create(1024, 512, VY_FORMAT_GREY8);
    for (int y = 0; y < flat->Height(); ++y)
        for (int x = 0; x < flat->Width(); ++x)
            flat->SetPixel(x, y, 0xFF808080u);
    const std::string flatBytes = Encode(*flat, 50);
    ASSERT_GT(static_cast<size_t>(flat->Width()) * flat->Height(), 32 * flatBytes.size())
        << "the flat picture codes too many bytes to test the limit's headroom";
    EXPECT_EQ(DecodeError(flatBytes), "");
}
