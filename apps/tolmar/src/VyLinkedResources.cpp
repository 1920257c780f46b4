#include "VyLinkedResources.h"

#include <climits>

#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

// Put there by the build in executables that embed the archive; weak, so that any other program
// links and sees null.
extern "C" {
extern const unsigned char vyw_resource_archive_begin[] __attribute__((weak));
extern const unsigned char vyw_resource_archive_end[] __attribute__((weak));
}

VyLinkedResources::VyLinkedResources() : m_pPrevious(VyResourceSource::GetCurrent())
{
    const unsigned char* begin = vyw_resource_archive_begin;
    const unsigned char* end = vyw_resource_archive_end;
    if (begin != nullptr && end != nullptr && end > begin && end - begin <= INT_MAX)
    {
        try
        {
            m_archive.Attach(std::make_unique<VyMemFile>(begin, static_cast<int>(end - begin)));
        }
        catch (VyException& error)
        {
            error.AddContext("VyLinkedResources", "VyLinkedResources", "the linked archive is not used");
            error.Report();
        }
    }
    VyResourceSource::SetCurrent(this);
}

VyLinkedResources::~VyLinkedResources()
{
    if (VyResourceSource::GetCurrent() == this)
        VyResourceSource::SetCurrent(m_pPrevious);
}

void VyLinkedResources::GetResourceFile(const VyString& path, VyIO& out)
{
    if (!m_archive.GetFile(path, out))
        throw VyFileException("VyPlatform", "GetResourceFile", "Could not locate resource file", path);
}
