#include "vybitmap/VyJpeg.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "vyio/VyReadBytes.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

// libjpeg reports errors through callbacks that must not return. They longjmp back to the one
// function that called setjmp (RunDecode / RunEncode). Those functions and the callbacks keep no
// C++ objects with destructors alive across library calls, so the jump skips nothing but C frames;
// everything that outlives the jump sits in the job structure owned by the caller.

namespace
{
constexpr uint64_t VY_MAX_PIXELS_PER_BYTE = 4096;

struct ErrorManager
{
    jpeg_error_mgr library; // first member: libjpeg sees only this part
    std::jmp_buf jump;
};

void TraceMessage(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    VyTrace::Write(VyString("libjpeg: ") + text + "\n");
}

[[noreturn]] void OnError(j_common_ptr info)
{
    TraceMessage(info);
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings that mean the picture is missing or damaged; the rest are traced and decoding goes on.
bool IsDamage(int code)
{
    return code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE ||
           code == JWRN_MUST_RESYNC;
}

void OnMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace messages of the library's own debugging levels
    if (IsDamage(info->err->msg_code))
        OnError(info);
    ++info->err->num_warnings;
    TraceMessage(info);
}

void InstallErrors(jpeg_error_mgr& library)
{
    jpeg_std_error(&library);
    library.error_exit = OnError;
    library.emit_message = OnMessage;
    library.output_message = TraceMessage;
}

struct DecodeJob
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::unique_ptr<VyRGBFormat> image;
    const char* failure = nullptr; // a message of our own instead of "Error reading jpeg"
};

std::unique_ptr<VyRGBFormat> NewImage(int width, int height, int formatId) noexcept
{
    try
    {
        return VyRGBFormat::Create(width, height, formatId);
    }
    catch (...)
    {
        return nullptr;
    }
}

// Adobe's CMYK files store inverted values; others store plain ink amounts.
void CmykRowToRgb(const JSAMPLE* cmyk, uint8_t* rgbx, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4, rgbx += 4)
    {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c)
        {
            const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
            rgbx[c] = static_cast<uint8_t>(ink * k / 255);
        }
        rgbx[3] = 0;
    }
}

// Whether the frame header's picture could be coded in the file's bytes. Huffman coding spends at
// least a bit on each 8x8 block, 512 pixels a byte; VY_MAX_PIXELS_PER_BYTE leaves room for arithmetic
// coding of flat pictures, and stops a header of a few bytes from costing hundreds of megabytes.
bool FitsItsData(const DecodeJob& job)
{
    const uint64_t pixels = uint64_t{job.info.image_width} * job.info.image_height;
    return pixels <= VY_MAX_PIXELS_PER_BYTE * job.size;
}

// Runs libjpeg's decompressor; false when it raised an error or we refused the picture.
bool RunDecode(DecodeJob& job)
{
    if (setjmp(job.errors.jump) != 0)
        return false;
    jpeg_create_decompress(&job.info);
    jpeg_mem_src(&job.info, job.data, static_cast<unsigned long>(job.size));
    jpeg_read_header(&job.info, TRUE);
    if (job.info.image_width > VyRGBFormat::VY_MAX_IMAGE_SIDE ||
        job.info.image_height > VyRGBFormat::VY_MAX_IMAGE_SIDE || !FitsItsData(job))
    {
        job.failure = "Could not allocate jpeg image buffer";
        return false;
    }
    jpeg_start_decompress(&job.info);
    const int width = static_cast<int>(job.info.output_width);
    const int height = static_cast<int>(job.info.output_height);
    const int components = job.info.output_components;
    const int formatId = components == 1 ? VY_FORMAT_GREY8 : components == 3 ? VY_FORMAT_RGB24
                                           : components == 4 ? VY_FORMAT_RGB32 : VY_FORMAT_NONE;
    if (formatId == VY_FORMAT_NONE)
    {
        job.failure = "Unsupported number of components in jpg";
        return false;
    }
    job.image = NewImage(width, height, formatId);
    if (!job.image || !job.image->HasPixels())
    {
        job.failure = "Could not allocate jpeg image buffer";
        return false;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (components == 4)
        cmykRow = (*job.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&job.info), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(width) * 4, 1);
    while (job.info.output_scanline < job.info.output_height)
    {
        // The picture's top row goes to the last image row.
        uint8_t* target = job.image->Row(height - 1 - static_cast<int>(job.info.output_scanline));
        JSAMPROW row = cmykRow != nullptr ? cmykRow[0] : target;
        if (jpeg_read_scanlines(&job.info, &row, 1) != 1)
            return false;
        if (cmykRow != nullptr)
            CmykRowToRgb(cmykRow[0], target, width, job.info.saw_Adobe_marker != FALSE);
    }
    jpeg_finish_decompress(&job.info);
    return true;
}

struct EncodeJob
{
    jpeg_compress_struct info;
    ErrorManager errors;
    const VyRGBFormat* image = nullptr;
    int quality = 90;
    std::vector<uint8_t> row;      // one scanline of red, green, blue bytes
    unsigned char* output = nullptr; // the library's output buffer (ours unless it had to grow)
    unsigned long outputSize = 0;
};

// Red, green, blue bytes of image row y.
void PackRow(const VyRGBFormat& image, int y, uint8_t* out)
{
    const uint8_t* row = image.Row(y);
    const int width = image.Width();
    switch (image.FormatId())
    {
    case VY_FORMAT_RGB24:
        std::memcpy(out, row, static_cast<size_t>(width) * 3);
        return;
    case VY_FORMAT_RGB32:
    case VY_FORMAT_RGBA32:
        for (int x = 0; x < width; ++x, row += 4, out += 3)
        {
            out[0] = row[0];
            out[1] = row[1];
            out[2] = row[2];
        }
        return;
    default:
        for (int x = 0; x < width; ++x, out += 3)
        {
            const uint32_t colour = image.GetPixel(x, y);
            out[0] = static_cast<uint8_t>(VyRedOf(colour));
            out[1] = static_cast<uint8_t>(VyGreenOf(colour));
            out[2] = static_cast<uint8_t>(VyBlueOf(colour));
        }
    }
}

bool RunEncode(EncodeJob& job)
{
    if (setjmp(job.errors.jump) != 0)
        return false;
    jpeg_create_compress(&job.info);
    jpeg_mem_dest(&job.info, &job.output, &job.outputSize);
    job.info.image_width = static_cast<JDIMENSION>(job.image->Width());
    job.info.image_height = static_cast<JDIMENSION>(job.image->Height());
    job.info.input_components = 3;
    job.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job.info);
    jpeg_set_quality(&job.info, job.quality, TRUE);
    jpeg_start_compress(&job.info, TRUE);
    const int height = job.image->Height();
    while (job.info.next_scanline < job.info.image_height)
    {
        PackRow(*job.image, height - 1 - static_cast<int>(job.info.next_scanline), job.row.data());
        JSAMPROW row = job.row.data();
        jpeg_write_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_compress(&job.info);
    return true;
}

// A size no baseline JPEG of the picture can exceed (6 bytes for each pixel of the picture padded
// to whole 16 x 16 blocks, plus room for the headers), so the library never grows the buffer.
size_t WorstCaseSize(int width, int height)
{
    const size_t paddedWidth = (static_cast<size_t>(width) + 15) / 16 * 16;
    const size_t paddedHeight = (static_cast<size_t>(height) + 15) / 16 * 16;
    return paddedWidth * paddedHeight * 6 + 2048;
}
} // namespace

std::unique_ptr<VyRGBFormat> VyJpeg::Load(VyIO& stream)
{
    const std::vector<uint8_t> data = VyReadToEnd(stream);
    DecodeJob job;
    std::memset(&job.info, 0, sizeof job.info);
    InstallErrors(job.errors.library);
    job.info.err = &job.errors.library;
    job.data = data.data();
    job.size = data.size();
    const bool done = RunDecode(job);
    jpeg_destroy_decompress(&job.info);
    if (!done)
        throw VyException("VyJpeg", "Load", job.failure != nullptr ? job.failure : "Error reading jpeg");
    return std::move(job.image);
}

void VyJpeg::SaveJpeg(const VyRGBFormat& image, VyIO& stream, int quality)
{
    if (!image.HasPixels() || image.Width() <= 0 || image.Height() <= 0)
        throw VyException("VyJpeg", "SaveJpeg", "Could not save jpeg");
    EncodeJob job;
    std::memset(&job.info, 0, sizeof job.info);
    InstallErrors(job.errors.library);
    job.info.err = &job.errors.library;
    job.image = &image;
    job.quality = quality;
    job.row.resize(static_cast<size_t>(image.Width()) * 3);
    const size_t capacity = WorstCaseSize(image.Width(), image.Height());
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[capacity]);
    job.output = buffer.get();
    job.outputSize = capacity;

    const bool done = RunEncode(job);
    jpeg_destroy_compress(&job.info);
    // Should the library ever have grown past our buffer, the bytes are in its own allocation.
    std::unique_ptr<unsigned char, decltype(&std::free)> grown(job.output != buffer.get() ? job.output : nullptr,
                                                             &std::free);
    if (!done)
        throw VyException("VyJpeg", "SaveJpeg", "Error saving jpeg");
    stream.Write(job.output, static_cast<int>(job.outputSize));
}
