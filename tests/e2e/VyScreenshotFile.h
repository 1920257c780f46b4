#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "vybitmap/VyRGBIO.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

// The screenshot a running game writes on Control+P, read once it decodes (the game writes it at the
// end of its next frame, so a read may catch it half written); null when none decoded within limitMs
// (the limit only guards against a hang). Read past VyFile, which would take a backslash in a test
// folder's name for a separator.
inline std::unique_ptr<VyRGBFormat> VyAwaitScreenshot(const std::filesystem::path& path, int limitMs)
{
    for (int waited = 0; waited < limitMs; waited += 10)
    {
        const std::string bytes = VyTestDir::Slurp(path.string());
        if (!bytes.empty())
        {
            try
            {
                VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
                return VyRGBIO::Load(file, VyRGBIO::VY_IMAGE_JPEG);
            }
            catch (const VyException&)
            {
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}
