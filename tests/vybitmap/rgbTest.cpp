#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyRGBIO.h"
#include "vybitmap/rgb.h"
#include "vythread/VyException.h"

namespace
{
// A stream that cannot tell how many bytes it holds, like a socket or a compressed stream. It reads
// the caller's bytes, which must outlive it.
class VyUnsizedStream : public VyMemFile
{
public:
    explicit VyUnsizedStream(const std::string& bytes) : VyMemFile(bytes.data(), static_cast<int>(bytes.size())) {}
    long long GetBytesLeft() override { return -1; }
};

std::string Header(int id, int width, int height, int alignment)
{
    VyMemFile file(VY_IO_WRITE);
    file << id << width << height << alignment;
    return VyBytesOf(file);
}

std::string ErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
        return "";
    }
    catch (const VyException& error)
    {
        return error.GetMessage();
    }
}
} // namespace

TEST(rgb, SaveAndLoadByFileName)
{
    EXPECT_EQ(VyRGBIO::TypeFromFileName("sets\\wood\\board.BMP"), VyRGBIO::VY_IMAGE_BMP);
    EXPECT_EQ(VyRGBIO::TypeFromFileName("shot.Jpeg"), VyRGBIO::VY_IMAGE_JPEG);
    EXPECT_EQ(VyRGBIO::TypeFromFileName("shots.d/screenshot"), VyRGBIO::VY_IMAGE_UNKNOWN);

    VyTestDir dir;
    rgb picture(VySmoothPicture(20, 10), "made");
    ASSERT_TRUE(picture.Save(dir.File("picture.bmp"), 90));
    ASSERT_TRUE(picture.Save(dir.File("picture.JPG"), 90));
    rgb bmp, jpeg;
    ASSERT_TRUE(bmp.Load(dir.File("picture.bmp")));
    EXPECT_EQ(bmp.FileName(), dir.File("picture.bmp"));
    EXPECT_EQ(VyPixels(*bmp.Image()), VyPixels(*picture.Image()));
    ASSERT_TRUE(jpeg.Load(dir.File("picture.JPG")));
    EXPECT_EQ(jpeg.Width() * 100 + jpeg.Height(), 2010);

    EXPECT_FALSE(bmp.Load(dir.File("missing.bmp")));
    EXPECT_EQ(bmp.Width(), 20) << "a failed load keeps the picture";
    dir.Put("broken.bmp", "BM" + std::string(12, '\0') + "ab");
    EXPECT_EQ(ErrorOf([&] { bmp.Load(dir.File("broken.bmp")); }),
              "*VyBitmap::Load : Could not read bitmap info header -> File: " + dir.File("broken.bmp"));
    dir.Put("picture.gif", "GIF89a");
    EXPECT_EQ(ErrorOf([&] { bmp.Load(dir.File("picture.gif")); }),
              "*VyRGBIO::Load : could not determine file type -> File: " + dir.File("picture.gif"));
    EXPECT_EQ(bmp.FileName(), dir.File("picture.bmp"));
    EXPECT_EQ(bmp.Width(), 20);

    // Copies own their pixels.
    rgb copy = bmp;
    copy.Image()->SetPixel(0, 0, 0xFF000000);
    EXPECT_NE(bmp.Image()->GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(copy.FileName(), bmp.FileName());
}

TEST(rgb, FailedSavesReportFalseAndLeaveNoFile)
{
    VyTestDir dir;
    VyTraceCapture trace;
    rgb rgba(VyRGBFormat::Create(4, 4, VY_FORMAT_RGBA32));
    EXPECT_FALSE(rgba.Save(dir.File("alpha.bmp"), 90));
    EXPECT_NE(trace.Text().find("*VyBitmap::SaveWinBitmap : Unsupported bitmap format -> File: " + dir.File("alpha.bmp")),
              VyString::npos);
    EXPECT_FALSE(rgba.Save(dir.File("picture.png"), 90)) << "unknown extension";
    EXPECT_FALSE(rgb().Save(dir.File("empty.bmp"), 90));
    EXPECT_FALSE(rgba.Save(dir.File("no/such/folder/x.jpg"), 90));
    EXPECT_TRUE(trace.Has("*rgb::Save : unknown image type -> File: " + dir.File("picture.png")));
    EXPECT_TRUE(trace.Has("*rgb::Save : the image is empty -> File: " + dir.File("empty.bmp")));
    EXPECT_TRUE(trace.Has("*rgb::Save : could not open the file -> File: " + dir.File("no/such/folder/x.jpg")));
    for (const char* name : {"alpha.bmp", "picture.png", "empty.bmp"})
        EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
    EXPECT_TRUE(rgba.Save(dir.File("alpha.jpg"), 90)) << "JPEG takes any format";
}

TEST(rgb, SerialisationRoundTrip)
{
    for (int id = VY_FORMAT_MONO; id <= VY_FORMAT_ALPHA8; ++id)
        for (int alignment : {VY_ALIGN_BYTE, VY_ALIGN_16, VY_ALIGN_32, 64})
        {
            auto image = VyRGBFormat::Create(7, 3, id, alignment);
            VyFillNoise(*image, static_cast<uint32_t>(id + alignment * 31));
            const rgb value(std::move(image));
            VyMemFile file(VY_IO_WRITE);
            file << value;
            const int recorded = alignment == 64 ? VY_ALIGN_PITCH : alignment;
            const std::string bytes = VyBytesOf(file);
            EXPECT_EQ(bytes.size(), 16 + static_cast<size_t>(VyRGBFormat::RowPitch(id, 7, recorded)) * 3);
            EXPECT_EQ(bytes.substr(0, 16), Header(id, 7, 3, recorded));
            rgb loaded;
            file.SeekToBegin();
            file >> loaded;
            ASSERT_FALSE(loaded.IsEmpty());
            EXPECT_EQ(loaded.Image()->FormatId(), id);
            EXPECT_EQ(VyPixels(*loaded.Image()), VyPixels(*value.Image())) << "format " << id << " alignment " << alignment;
        }

    VyMemFile file(VY_IO_WRITE);
    file << rgb();
    EXPECT_EQ(VyBytesOf(file), Header(1, 0, 0, 0));
    rgb value(VySmoothPicture(2, 2));
    file.SeekToBegin();
    file >> value;
    EXPECT_TRUE(value.IsEmpty());
}

TEST(rgb, HostileStreamsAreRefusedBeforeAllocating)
{
    const std::string context = "*::operator >> rgb\n", size = context + "*rgb::Read : Invalid image size",
                      data = context + "*rgb::Read : Not enough image data";
    const std::pair<std::string, std::string> cases[] = {
        {Header(11, 2, 2, 0), context + "*VyPixelFormat::SetFormat : Unsupported format"},
        {Header(7, -1, 2, 0), size}, {Header(7, 2, 16385, 0), size}, {Header(7, 2, 2, -9), size},
        {Header(7, 2, 2, 0x7FFFFFFF), size}, {Header(7, 16384, 16384, 0), data},
        {Header(7, 2, 2, 0) + std::string(15, 'x'), data},
    };
    for (const auto& [bytes, message] : cases)
    {
        rgb value(VySmoothPicture(2, 2));
        VyMemFile sized(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(ErrorOf([&] { sized >> value; }), message);
        VyUnsizedStream unsized(bytes);
        EXPECT_EQ(ErrorOf([&] { unsized >> value; }), message);
        EXPECT_EQ(value.Width(), 2) << "the value keeps its picture";
    }
    const std::string pixels = Header(8, 2, 2, 0) + "abcd";
    VyUnsizedStream good(pixels);
    rgb value;
    good >> value;
    EXPECT_EQ(value.Image()->GetPixel(1, 1), VyMakeColour('d', 'd', 'd'));
}
