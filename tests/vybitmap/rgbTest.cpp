#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyRGBIO.h"
#include "vybitmap/rgb.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
// A stream that cannot tell how many bytes it holds, like a socket or a compressed stream.
class VyUnsizedStream : public VyIO
{
public:
    explicit VyUnsizedStream(const std::string& bytes) : m_bytes(bytes) {}
    int Read(void* buffer, int count) override
    {
        const int got = static_cast<int>(std::min<size_t>(static_cast<size_t>(count), m_bytes.size() - m_position));
        std::memcpy(buffer, m_bytes.data() + m_position, static_cast<size_t>(got));
        m_position += static_cast<size_t>(got);
        return got;
    }
    int Write(const void*, int) override { return 0; }
    void SeekToBegin() override {}
    void SeekToEnd() override {}
    void Seek(int) override {}
    void SetPosition(int) override {}
    int GetPosition() override { return static_cast<int>(m_position); }
    bool IsEOF() override { return m_position == m_bytes.size(); }

private:
    std::string m_bytes;
    size_t m_position = 0;
};

std::string Header(int id, int width, int height, int alignment)
{
    VyMemFile file(VY_IO_WRITE);
    file << id << width << height << alignment;
    return VyBytesOf(file);
}

std::string ReadError(VyIO& stream, rgb& value)
{
    try
    {
        stream >> value;
        return "";
    }
    catch (const VyException& error)
    {
        return error.GetMessage();
    }
}
} // namespace

TEST(rgb, FileTypesFromExtensions)
{
    EXPECT_EQ(VyRGBIO::TypeFromExtension("JPG"), VyRGBIO::VY_IMAGE_JPEG);
    EXPECT_EQ(VyRGBIO::TypeFromExtension("jpeg"), VyRGBIO::VY_IMAGE_JPEG);
    EXPECT_EQ(VyRGBIO::TypeFromExtension("Bmp"), VyRGBIO::VY_IMAGE_BMP);
    EXPECT_EQ(VyRGBIO::TypeFromExtension("png"), VyRGBIO::VY_IMAGE_UNKNOWN);
    EXPECT_EQ(VyRGBIO::TypeFromFileName("sets\\wood\\board.BMP"), VyRGBIO::VY_IMAGE_BMP);
    EXPECT_EQ(VyRGBIO::TypeFromFileName("shots.d/screenshot"), VyRGBIO::VY_IMAGE_UNKNOWN);
    VyMemFile empty(VY_IO_READ);
    try
    {
        VyRGBIO::Load(empty, 7);
        ADD_FAILURE();
    }
    catch (const VyException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyRGBIO::Load : could not determine file type");
    }
}

TEST(rgb, SaveAndLoadByFileName)
{
    VyTempDir dir;
    rgb picture(VySmoothPicture(20, 10), "made");
    ASSERT_TRUE(picture.Save(dir.File("picture.bmp"), 90));
    ASSERT_TRUE(picture.Save(dir.File("picture.JPG"), 90));

    rgb bmp;
    ASSERT_TRUE(bmp.Load(dir.File("picture.bmp")));
    EXPECT_EQ(bmp.FileName(), dir.File("picture.bmp"));
    EXPECT_EQ(VyPixels(*bmp.Image()), VyPixels(*picture.Image()));
    rgb jpeg;
    ASSERT_TRUE(jpeg.Load(dir.File("picture.JPG")));
    EXPECT_EQ(jpeg.Width(), 20);
    EXPECT_EQ(jpeg.Height(), 10);

    // A missing file: false and nothing changes.
    EXPECT_FALSE(bmp.Load(dir.File("missing.bmp")));
    EXPECT_EQ(bmp.Width(), 20);

    // A file that does not decode: the error names it and the old picture stays.
    VyPutFile(dir.File("broken.bmp"), "BM" + std::string(12, '\0') + "ab");
    try
    {
        bmp.Load(dir.File("broken.bmp"));
        ADD_FAILURE();
    }
    catch (const VyException& error)
    {
        EXPECT_EQ(error.GetMessage(),
                  "*VyBitmap::Load : Could not read bitmap info header -> File: " + dir.File("broken.bmp"));
    }
    EXPECT_EQ(bmp.Width(), 20);
    EXPECT_EQ(bmp.FileName(), dir.File("picture.bmp"));
}

TEST(rgb, FailedSavesReportFalseAndLeaveNoFile)
{
    VyTempDir dir;
    VyTraceCapture trace;
    rgb rgba(VyRGBFormat::Create(4, 4, VY_FORMAT_RGBA32));
    EXPECT_FALSE(rgba.Save(dir.File("alpha.bmp"), 90));
    EXPECT_FALSE(std::filesystem::exists(dir.File("alpha.bmp")));
    EXPECT_NE(trace.Text().find("*VyBitmap::SaveWinBitmap : Unsupported bitmap format -> File: " + dir.File("alpha.bmp")),
              VyString::npos);

    EXPECT_FALSE(rgba.Save(dir.File("picture.png"), 90)) << "unknown extension";
    EXPECT_FALSE(std::filesystem::exists(dir.File("picture.png")));
    EXPECT_FALSE(rgb().Save(dir.File("empty.bmp"), 90));
    EXPECT_FALSE(rgba.Save(dir.File("no/such/folder/x.jpg"), 90));
    EXPECT_TRUE(rgba.Save(dir.File("alpha.jpg"), 90)) << "JPEG takes any format";
}

TEST(rgb, CopiesAreDeep)
{
    rgb original(VySmoothPicture(3, 3), "a.bmp");
    rgb copy = original;
    copy.Image()->SetPixel(0, 0, 0xFF000000);
    EXPECT_NE(original.Image()->GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(copy.FileName(), "a.bmp");
    rgb moved = std::move(copy);
    EXPECT_EQ(moved.Image()->GetPixel(0, 0), 0xFF000000u);
    rgb assigned;
    assigned = original;
    EXPECT_EQ(VyPixels(*assigned.Image()), VyPixels(*original.Image()));
}

TEST(rgb, SerialisationRoundTrip)
{
    for (int id = VY_FORMAT_MONO; id <= VY_FORMAT_ALPHA8; ++id)
        for (int alignment : {VY_ALIGN_BYTE, VY_ALIGN_16, VY_ALIGN_32, 64})
        {
            SCOPED_TRACE(testing::Message() << "format " << id << " alignment " << alignment);
            auto image = VyRGBFormat::Create(7, 3, id, alignment);
            VyFillNoise(*image, static_cast<uint32_t>(id + alignment * 31));
            const rgb value(std::move(image));
            VyMemFile file(VY_IO_WRITE);
            file << value;
            const std::string bytes = VyBytesOf(file);
            const int recorded = alignment == 64 ? VY_ALIGN_PITCH : alignment;
            const int64_t pitch = VyRGBFormat::RowPitch(id, 7, recorded);
            ASSERT_EQ(bytes.size(), 16 + static_cast<size_t>(pitch) * 3);
            EXPECT_EQ(bytes.substr(0, 16), Header(id, 7, 3, recorded));

            rgb loaded;
            file.SeekToBegin();
            file >> loaded;
            ASSERT_FALSE(loaded.IsEmpty());
            EXPECT_EQ(loaded.Image()->FormatId(), id);
            EXPECT_EQ(VyPixels(*loaded.Image()), VyPixels(*value.Image()));
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
    struct Case
    {
        std::string bytes;
        std::string message;
    };
    const std::string context = "*::operator >> rgb\n";
    const Case cases[] = {
        {Header(11, 2, 2, 0), context + "*VyPixelFormat::SetFormat : Unsupported format"},
        {Header(7, -1, 2, 0), context + "*rgb::Read : Invalid image size"},
        {Header(7, 2, 16385, 0), context + "*rgb::Read : Invalid image size"},
        {Header(7, 2, 2, -9), context + "*rgb::Read : Invalid image size"},
        {Header(7, 2, 2, 0x7FFFFFFF), context + "*rgb::Read : Invalid image size"},
        {Header(7, 16384, 16384, 0), context + "*rgb::Read : Not enough image data"},
        {Header(7, 2, 2, 0) + std::string(15, 'x'), context + "*rgb::Read : Not enough image data"},
    };
    for (const Case& c : cases)
    {
        rgb value(VySmoothPicture(2, 2));
        VyMemFile sized(c.bytes.data(), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(ReadError(sized, value), c.message);
        EXPECT_EQ(value.Width(), 2) << "the value keeps its picture";
        VyUnsizedStream unsized(c.bytes);
        EXPECT_EQ(ReadError(unsized, value), c.message);
    }
    // An unsized stream that does hold the pixels reads them.
    const std::string good = Header(8, 2, 2, 0) + "abcd";
    VyUnsizedStream unsized(good);
    rgb value;
    unsized >> value;
    EXPECT_EQ(value.Image()->GetPixel(1, 1), VyMakeColour('d', 'd', 'd'));
}
