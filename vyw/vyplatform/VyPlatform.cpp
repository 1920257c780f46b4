#include "vyplatform/VyPlatform.h"

#include <atomic>
#include <climits>

#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

// Put there by the build (resources/CMakeLists.txt) in executables that embed the archive; weak, so
// that any other program links and sees null.
extern "C" {
extern const unsigned char vyw_resource_archive_begin[] __attribute__((weak));
extern const unsigned char vyw_resource_archive_end[] __attribute__((weak));
}

namespace
{
std::atomic<VyPlatform*> g_pPlatform{nullptr};
}

VyPlatform::VyPlatform()
{
    VY_ASSERT(g_pPlatform.load() == nullptr);
    g_pPlatform.store(this);
    VyResourceSource::SetCurrent(this);
    OpenArchive();
}

VyPlatform::~VyPlatform()
{
    if (VyResourceSource::GetCurrent() == this)
        VyResourceSource::SetCurrent(nullptr);
    VyPlatform* self = this;
    g_pPlatform.compare_exchange_strong(self, nullptr);
}

VyPlatform* VyPlatform::Get()
{
    return g_pPlatform.load();
}

bool VyPlatform::GetEmbeddedArchive(const unsigned char*& data, int& length) const
{
    const unsigned char* begin = vyw_resource_archive_begin;
    const unsigned char* end = vyw_resource_archive_end;
    if (begin == nullptr || end == nullptr || end <= begin || end - begin > INT_MAX)
        return false;
    data = begin;
    length = static_cast<int>(end - begin);
    return true;
}

void VyPlatform::OpenArchive()
{
    m_archive.Close();
    try
    {
        const unsigned char* data = nullptr;
        int length = 0;
        if (GetEmbeddedArchive(data, length))
            m_archive.Attach(std::make_unique<VyMemFile>(data, length));
    }
    catch (VyException& error)
    {
        error.AddContext("VyPlatform", "OpenArchive", "the embedded archive is not used");
        error.Report();
    }
    if (m_archive.HasEntries())
        return;
    try
    {
        m_archive.Open("resource.vya");
    }
    catch (VyException& error)
    {
        error.AddContext("VyPlatform", "OpenArchive", "the archive file is not used");
        error.Report();
    }
}

void VyPlatform::GetResourceFile(const VyString& path, VyIO& out)
{
    if (m_archive.GetFile(path, out))
        return;
    VyResourceSource::FetchFromDisk(path, out);
}
