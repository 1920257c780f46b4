// Unpacking every entry of a resource archive of a few megabytes, beside the bzip2 program decompressing
// the same compressed bytes. Both are timed on the wall clock; the ratio is printed at the end.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vyio/VyArchive.h"
#include "vyio/VyArchiveBuilder.h"
#include "vyio/VyMemFile.h"

extern char** environ;

namespace
{
uint32_t g_seed = 2024;
uint32_t NextRandom()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return g_seed >> 8;
}

// A 24-bit picture: smooth shading with a little grain, as the board and piece bitmaps have.
std::string MakePicture(int width, int height)
{
    std::string pixels;
    pixels.reserve(static_cast<size_t>(width * height * 3 + 54));
    pixels.append(54, '\0');
    const double cx = width * 0.4, cy = height * 0.6;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
            const int grain = static_cast<int>(NextRandom() % 9) - 4;
            const int shade = static_cast<int>(180 - d * 0.6) + grain;
            for (int channel = 0; channel < 3; ++channel)
                pixels.push_back(static_cast<char>(std::clamp(shade + channel * 20, 0, 255)));
        }
    return pixels;
}

// A definition file: keys and values with the usual repetition.
std::string MakeText(size_t length)
{
    const char* words[] = {"BUTTON", "LABEL", "Rect=", "10,170,235,140", "Caption=", "TABSTOP", "ID=", "IDOK",
                           "Font=", "CONTROL", "\n", "[Control", "]\n", "Text=Choose a piece", " "};
    std::string text;
    while (text.size() < length)
        text += words[NextRandom() % 15];
    text.resize(length);
    return text;
}

struct BenchArchive
{
    std::string archiveBytes;
    std::string compressedFile; // every entry's bzip2 stream, back to back
    std::vector<VyString> names;
    long long unpackedBytes = 0;
    std::filesystem::path directory;

    BenchArchive()
    {
        VyArchiveBuilder builder;
        auto add = [&](const VyString& name, const std::string& data) {
            builder.Add(name, data.data(), static_cast<int>(data.size()), true, "01/01/2026 00:00:00");
            names.push_back(name);
            unpackedBytes += static_cast<long long>(data.size());
        };
        for (int i = 0; i < 16; ++i)
            add(VyString::Format("\\sets\\classic\\piece%d.bmp", i + 1), MakePicture(160, 200));
        add("\\bitmaps\\board.bmp", MakePicture(640, 480));
        add("\\bitmaps\\marble.bmp", MakePicture(256, 256));
        for (int i = 0; i < 12; ++i)
            add(VyString::Format("\\dialogs\\dialog%d.dlg", i), MakeText(4000 + 1000 * static_cast<size_t>(i)));
        VyMemFile image;
        builder.Write(image);
        archiveBytes.assign(image.GetView());

        VyArchive archive;
        archive.Attach(std::make_unique<VyMemFile>(archiveBytes.data(), static_cast<int>(archiveBytes.size())));
        for (const auto& [name, entry] : archive.GetEntries())
            compressedFile.append(archiveBytes, entry.m_startingPos, entry.m_storedSize);

        std::string pattern = (std::filesystem::temp_directory_path() / "vywbenchXXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            directory = pattern;
        std::ofstream(directory / "entries.bz2", std::ios::binary) << compressedFile;
    }
    ~BenchArchive()
    {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
};

BenchArchive& Data()
{
    static BenchArchive data;
    return data;
}

void BM_ArchiveExtractAll(benchmark::State& state)
{
    BenchArchive& data = Data();
    for (auto _ : state)
    {
        VyArchive archive;
        archive.Attach(std::make_unique<VyMemFile>(data.archiveBytes.data(), static_cast<int>(data.archiveBytes.size())));
        long long total = 0;
        for (const VyString& name : data.names)
        {
            VyMemFile out;
            if (!archive.GetFile(name, out))
                state.SkipWithError("entry missing");
            total += out.GetLength();
        }
        if (total != data.unpackedBytes)
            state.SkipWithError("wrong size");
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * data.unpackedBytes);
    state.counters["archive_bytes"] = static_cast<double>(data.archiveBytes.size());
}
BENCHMARK(BM_ArchiveExtractAll)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Bzip2ProgramDecompress(benchmark::State& state)
{
    BenchArchive& data = Data();
    const std::string input = (data.directory / "entries.bz2").string();
    for (auto _ : state)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv = {const_cast<char*>("bzip2"), const_cast<char*>("-dc"),
                                   const_cast<char*>(input.c_str()), nullptr};
        pid_t pid = 0;
        const int failed = posix_spawnp(&pid, "bzip2", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (failed != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        {
            state.SkipWithError("bzip2 -dc failed (is the bzip2 program installed?)");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * data.unpackedBytes);
}
BENCHMARK(BM_Bzip2ProgramDecompress)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the usual table, then the ratio of the two wall-clock times.
class VyRatioReporter : public benchmark::ConsoleReporter
{
public:
    VyRatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto ours = m_times.find("BM_ArchiveExtractAll");
        auto theirs = m_times.find("BM_Bzip2ProgramDecompress");
        if (ours != m_times.end() && theirs != m_times.end() && theirs->second > 0)
            std::printf("ratio archive extract / bzip2 -dc: %.3f (%.3f ms / %.3f ms, %lld unpacked bytes)\n",
                        ours->second / theirs->second, ours->second, theirs->second, Data().unpackedBytes);
    }

private:
    std::map<std::string, double> m_times;
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    VyRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
