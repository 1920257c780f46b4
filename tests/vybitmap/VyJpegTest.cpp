#include <gtest/gtest.h>

#include <cmath>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyJpeg.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
std::string Encode(const VyRGBFormat& image, int quality)
{
    VyMemFile file(VY_IO_WRITE);
    VyJpeg::SaveJpeg(image, file, quality);
    return VyBytesOf(file);
}

std::unique_ptr<VyRGBFormat> Decode(const std::string& bytes)
{
    VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
    return VyJpeg::Load(file);
}

std::string DecodeError(const std::string& bytes)
{
    try
    {
        Decode(bytes);
        return "";
    }
    catch (const VyException& error)
    {
        return error.GetMessage();
    }
}

// Mean absolute difference per channel between two pictures of one size.
double MeanError(const VyRGBFormat& a, const VyRGBFormat& b)
{
    double total = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int channel : {VY_RED, VY_GREEN, VY_BLUE})
                total += std::abs(static_cast<int>(VyComponentOf(a.GetPixel(x, y), channel)) -
                                  static_cast<int>(VyComponentOf(b.GetPixel(x, y), channel)));
    return total / (3.0 * a.Width() * a.Height());
}
} // namespace

// Quality 90 on a smooth picture: mean absolute error below 4 per channel, picture upright.
TEST(VyJpeg, RoundTripKeepsThePictureUprightAndClose)
{
    for (int id : {VY_FORMAT_RGB24, VY_FORMAT_RGBA32, VY_FORMAT_RGB565, VY_FORMAT_RGB32})
    {
        SCOPED_TRACE(id);
        auto picture = VySmoothPicture(67, 45, id);
        const std::string bytes = Encode(*picture, 90);
        ASSERT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
        auto loaded = Decode(bytes);
        ASSERT_EQ(loaded->FormatId(), VY_FORMAT_RGB24);
        ASSERT_EQ(loaded->Width(), 67);
        ASSERT_EQ(loaded->Height(), 45);
        EXPECT_LT(MeanError(*picture, *loaded), 4.0);
        // Green grows with y: row 0 must stay the darkest in green.
        EXPECT_LT(VyGreenOf(loaded->GetPixel(30, 0)) + 100, VyGreenOf(loaded->GetPixel(30, 44)));
    }
    // A lower quality gives a smaller file.
    auto picture = VySmoothPicture(64, 64);
    EXPECT_LT(Encode(*picture, 20).size(), Encode(*picture, 95).size());
}

TEST(VyJpeg, DamagedInputRaisesTheLoadError)
{
    const std::string error = "*VyJpeg::Load : Error reading jpeg";
    const std::string bytes = Encode(*VySmoothPicture(64, 48), 90);
    ASSERT_EQ(DecodeError(bytes), "");
    VyTraceCapture quiet; // libjpeg's own messages go to the trace
    EXPECT_EQ(DecodeError(""), error);
    EXPECT_EQ(DecodeError("not a jpeg at all"), error);
    VyMemFile bmp(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(*VySmoothPicture(4, 4), bmp);
    EXPECT_EQ(DecodeError(VyBytesOf(bmp)), error);
    for (size_t length : {size_t{2}, size_t{100}, bytes.size() / 2, bytes.size() - 2})
        EXPECT_EQ(DecodeError(bytes.substr(0, length)), error) << "cut at " << length;

    // A bad component count in the frame header, and a marker inside the entropy-coded data.
    std::string badFrame = bytes;
    badFrame[badFrame.find("\xFF\xC0") + 9] = 7;
    EXPECT_EQ(DecodeError(badFrame), error);
    std::string strayMarker = bytes;
    strayMarker.insert(strayMarker.find("\xFF\xDA") + 40, "\xFF\xD0");
    EXPECT_EQ(DecodeError(strayMarker), error);
    EXPECT_FALSE(quiet.Text().empty());

    // A frame header claiming a picture larger than images may be.
    std::string huge = bytes;
    const size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    huge[frame + 5] = static_cast<char>(0xFF); // height 0xFFxx
    EXPECT_EQ(DecodeError(huge), "*VyJpeg::Load : Could not allocate jpeg image buffer");
}

TEST(VyJpeg, ImagesWithoutPixelsAreNotSaved)
{
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

// Grey and CMYK files made by libjpeg's own command-line tools from a picture of ours.
TEST(VyJpeg, ReadsGreyFilesFromCjpeg)
{
    if (!VyRuns("cjpeg -version </dev/null"))
        GTEST_SKIP() << "cjpeg is not installed";
    VyTempDir dir;
    auto picture = VySmoothPicture(40, 30);
    VyWritePpm(dir.File("picture.ppm"), *picture);
    ASSERT_TRUE(VyRuns("cjpeg -grayscale -quality 95 -outfile '" + dir.File("grey.jpg") + "' '" +
                       dir.File("picture.ppm") + "'"));
    VyFile file(VY_IO_READ);
    ASSERT_TRUE(file.Open(dir.File("grey.jpg"), VY_FILE_READ));
    auto grey = VyJpeg::Load(file);
    ASSERT_EQ(grey->FormatId(), VY_FORMAT_GREY8);
    // The grey level of each pixel, upright.
    double total = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            total += std::abs(static_cast<int>(VyRedOf(grey->GetPixel(x, y))) -
                              static_cast<int>(VyGreyOf(picture->GetPixel(x, y))));
    EXPECT_LT(total / (40 * 30), 4.0);
}
