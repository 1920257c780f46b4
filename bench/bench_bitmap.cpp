// Image speed: blits of a 512 x 512 RGBA picture onto RGBA and 16-bit images, fills, decoding a
// 512 x 512 24-bit BMP, and encoding a 640 x 480 frame as JPEG at quality 90 beside libjpeg's own
// cjpeg program on the same frame (spawned on a PPM file, so its time includes starting a process).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyJpeg.h"
#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyMemFile.h"

extern char** environ;

namespace
{
// Shaded round shapes with soft edges and a little grain, like piece pictures over a board. The same
// size always gives the same picture.
std::unique_ptr<VyRGBFormat> MakePicture(int width, int height, int formatId)
{
    uint32_t seed = 77;
    auto image = VyRGBFormat::Create(width, height, formatId);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const double dx = (x % 128) - 64.0, dy = (y % 128) - 64.0;
            const double d = std::sqrt(dx * dx + dy * dy);
            seed = seed * 1664525u + 1013904223u;
            const int shade = static_cast<int>(200 - d) + static_cast<int>((seed >> 8) % 7);
            const uint32_t alpha = d < 50 ? 255 : d < 60 ? static_cast<uint32_t>((60 - d) * 25) : 0;
            image->SetPixel(x, y, VyMakeColour(std::clamp(shade, 0, 255), std::clamp(shade - 30, 0, 255),
                                               std::clamp(shade / 2 + x % 40, 0, 255), alpha));
        }
    return image;
}

void BlitOnto(benchmark::State& state, int destId)
{
    auto source = MakePicture(512, 512, VY_FORMAT_RGBA32);
    auto dest = VyRGBFormat::Create(512, 512, destId, VY_ALIGN_BYTE, 0xFF336699);
    const VyRect rect{0, 512, 512, 0};
    for (auto _ : state)
    {
        dest->Blit(rect, *source, rect);
        benchmark::DoNotOptimize(dest->Buffer());
    }
    state.SetItemsProcessed(state.iterations() * 512 * 512);
}

void BM_BlitRgbaOntoRgba(benchmark::State& state) { BlitOnto(state, VY_FORMAT_RGBA32); }
void BM_BlitRgbaOnto565(benchmark::State& state) { BlitOnto(state, VY_FORMAT_RGB565); }

void BM_BlitRgbaOntoRgbaTinted(benchmark::State& state)
{
    auto source = MakePicture(512, 512, VY_FORMAT_RGBA32);
    auto dest = VyRGBFormat::Create(512, 512, VY_FORMAT_RGBA32, VY_ALIGN_BYTE, 0xFF336699);
    const VyRect rect{0, 512, 512, 0};
    const VyRGBFx fx(VyMakeColour(255, 200, 120), 200, VyRGBFx::VY_FX_MULTIPLICATIVE);
    for (auto _ : state)
    {
        dest->Blit(rect, *source, rect, fx);
        benchmark::DoNotOptimize(dest->Buffer());
    }
    state.SetItemsProcessed(state.iterations() * 512 * 512);
}

// state.range(0): destination format id; range(1): strength (255 plain, below blended).
void BM_Fill(benchmark::State& state)
{
    auto dest = VyRGBFormat::Create(512, 512, static_cast<int>(state.range(0)));
    const VyRGBFx fx(0xFFFFFF, static_cast<int>(state.range(1)));
    for (auto _ : state)
    {
        dest->Fill(VyRect{0, 512, 512, 0}, 0xFF8040C0, fx);
        benchmark::DoNotOptimize(dest->Buffer());
    }
    state.SetItemsProcessed(state.iterations() * 512 * 512);
}

void BM_DecodeBmp24(benchmark::State& state)
{
    auto picture = MakePicture(512, 512, VY_FORMAT_RGB24);
    VyMemFile file(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(*picture, file);
    for (auto _ : state)
    {
        VyMemFile in(file.GetData(), file.GetLength());
        auto image = VyBitmap::Load(in);
        benchmark::DoNotOptimize(image->Buffer());
    }
    state.SetBytesProcessed(state.iterations() * file.GetLength());
}

void BM_EncodeJpeg(benchmark::State& state)
{
    auto frame = MakePicture(640, 480, VY_FORMAT_RGB24);
    int size = 0;
    for (auto _ : state)
    {
        VyMemFile out(VY_IO_WRITE);
        VyJpeg::SaveJpeg(*frame, out, 90);
        size = out.GetLength();
    }
    state.counters["jpeg_bytes"] = size;
}

std::string FindCjpeg()
{
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"})
    {
        const std::string path = std::string(dir) + "/cjpeg";
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

void BM_CjpegProgram(benchmark::State& state)
{
    const std::string cjpeg = FindCjpeg();
    if (cjpeg.empty())
    {
        state.SkipWithError("cjpeg is not installed");
        return;
    }
    auto frame = MakePicture(640, 480, VY_FORMAT_RGB24);
    std::string pattern = (std::filesystem::temp_directory_path() / "benchbitmapXXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
    {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string ppm = pattern + "/frame.ppm", jpg = pattern + "/frame.jpg";
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n640 480\n255\n";
        for (int y = 479; y >= 0; --y)
            out.write(reinterpret_cast<const char*>(frame->Row(y)), 640 * 3);
    }
    const char* argv[] = {cjpeg.c_str(), "-quality", "90", "-outfile", jpg.c_str(), ppm.c_str(), nullptr};
    for (auto _ : state)
    {
        pid_t child = 0;
        if (posix_spawn(&child, cjpeg.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        {
            state.SkipWithError("cjpeg could not be started");
            break;
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    std::error_code ignored;
    state.counters["jpeg_bytes"] = static_cast<double>(std::filesystem::file_size(jpg, ignored));
    std::filesystem::remove_all(pattern, ignored);
}
} // namespace

BENCHMARK(BM_BlitRgbaOntoRgba)->UseRealTime();
BENCHMARK(BM_BlitRgbaOnto565)->UseRealTime();
BENCHMARK(BM_BlitRgbaOntoRgbaTinted)->UseRealTime();
BENCHMARK(BM_Fill)->Args({VY_FORMAT_RGBA32, 255})->Args({VY_FORMAT_RGBA32, 128})->Args({VY_FORMAT_RGB565, 255})
    ->Args({VY_FORMAT_RGB565, 128})->Args({VY_FORMAT_RGB24, 255})->UseRealTime();
BENCHMARK(BM_DecodeBmp24)->UseRealTime();
BENCHMARK(BM_EncodeJpeg)->UseRealTime();
BENCHMARK(BM_CjpegProgram)->UseRealTime();
