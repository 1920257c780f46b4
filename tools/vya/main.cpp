// vya: the resource archive tool.
//     vya create [--date "MM/DD/YYYY HH:MM:SS"] OUT.vya DIR   pack every file below DIR
//     vya list FILE.vya                                       one line per entry
//     vya extract FILE.vya NAME [OUT]                         one entry to OUT or standard output
// Entry names are the paths below DIR in lower case with backslash separators and a leading backslash;
// every entry is one bzip2 stream. Dates come from the files' modification times, capped at
// SOURCE_DATE_EPOCH when that is set, or all equal to --date, so a build can give the same bytes twice.
// The archive is written through OUT.vya.tmp, synchronised and renamed over OUT.vya
// (VyFile::WriteReplacing); a failure is printed with the system's reason and exits 1.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <vector>

#include "vyio/VyArchive.h"
#include "vyio/VyArchiveBuilder.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace fs = std::filesystem;

namespace
{
int Usage()
{
    std::cerr << "usage: vya create [--date \"MM/DD/YYYY HH:MM:SS\"] OUT.vya DIR\n"
                 "       vya list FILE.vya\n"
                 "       vya extract FILE.vya NAME [OUT]\n";
    return 2;
}

VyString FormatDate(std::time_t when)
{
    std::tm parts{};
    gmtime_r(&when, &parts);
    return VyString::Format("%02d/%02d/%04d %02d:%02d:%02d", parts.tm_mon + 1, parts.tm_mday, parts.tm_year + 1900,
                            parts.tm_hour, parts.tm_min, parts.tm_sec);
}

std::time_t ModificationTime(const fs::path& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return 0;
    std::time_t when = info.st_mtime;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"))
        when = std::min<std::time_t>(when, static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10)));
    return when;
}

// "\dir\file.ext" in lower case for a file below root.
VyString EntryName(const fs::path& root, const fs::path& file)
{
    VyString name;
    for (const fs::path& part : fs::relative(file, root))
        name += "\\" + part.string();
    return name.Lower();
}

int Create(const VyString& out, const fs::path& root, const std::optional<VyString>& date)
{
    if (!fs::is_directory(root))
    {
        std::cerr << "vya: not a directory: " << root << "\n";
        return 1;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(entry.path());

    VyArchiveBuilder builder;
    std::vector<VyString> names;
    for (const fs::path& file : files)
    {
        const VyString name = EntryName(root, file);
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof())
            throw VyFileException("vya", "Create", "could not read", file.string());
        const int before = builder.GetEntryCount();
        builder.Add(name, bytes.data(), static_cast<int>(bytes.size()), true,
                    date ? *date : FormatDate(ModificationTime(file)));
        if (builder.GetEntryCount() == before)
            throw VyException("vya", "Create", "two files give the entry name", name);
    }

    // A failed or interrupted run leaves an archive that was already there as it was.
    try
    {
        VyFile::WriteReplacing(out, [&builder](VyFile& file) { builder.Write(file); });
    }
    catch (VyException& error)
    {
        error.AddContext("vya", "Create", "could not write", out);
        throw;
    }
    return 0;
}

int List(const VyString& path)
{
    VyArchive archive;
    if (!archive.Open(path))
        throw VyFileException("vya", "List", "could not open", path);
    for (const auto& [name, entry] : archive.GetEntries())
        std::printf("%s %u %u %s\n", name.c(), entry.m_storedSize, entry.m_unpackedSize, entry.m_date.c());
    return 0;
}

int Extract(const VyString& path, const VyString& name, const std::optional<VyString>& out)
{
    VyArchive archive;
    if (!archive.Open(path))
        throw VyFileException("vya", "Extract", "could not open", path);
    VyMemFile contents;
    if (!archive.GetFile(name, contents))
    {
        std::cerr << "vya: no entry " << name << " in " << path << "\n";
        return 1;
    }
    if (!out)
    {
        std::fwrite(contents.GetData(), 1, static_cast<size_t>(contents.GetLength()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    VyFile file(VY_IO_WRITE);
    if (!file.Open(*out, VY_FILE_WRITE))
        throw VyFileException("vya", "Extract", "could not create", *out);
    file.CopyAll(contents);
    file.Close();
    return 0;
}

int Run(std::vector<VyString> args)
{
    if (args.empty())
        return Usage();
    const VyString command = args[0];
    args.erase(args.begin());
    if (command == "create")
    {
        std::optional<VyString> date;
        if (args.size() >= 2 && args[0] == "--date")
        {
            date = args[1];
            args.erase(args.begin(), args.begin() + 2);
        }
        return args.size() == 2 ? Create(args[0], args[1].c(), date) : Usage();
    }
    if (command == "list")
        return args.size() == 1 ? List(args[0]) : Usage();
    if (command == "extract" && (args.size() == 2 || args.size() == 3))
        return Extract(args[0], args[1], args.size() == 3 ? std::optional<VyString>(args[2]) : std::nullopt);
    return Usage();
}
} // namespace

int main(int argc, char** argv)
{
    try
    {
        return Run(std::vector<VyString>(argv + 1, argv + argc));
    }
    catch (VyFileException& error)
    {
        const VyString reason = error.GetReason();
        std::cerr << "vya: " << error.GetMessage() << (reason.empty() ? "" : "\n" + reason) << "\n";
    }
    catch (VyException& error)
    {
        std::cerr << "vya: " << error.GetMessage() << "\n";
    }
    catch (std::exception& error)
    {
        std::cerr << "vya: " << error.what() << "\n";
    }
    return 1;
}
