#include "vyio/VyArchiveSource.h"

#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

VyArchiveSource::VyArchiveSource() : m_pPrevious(VyResourceSource::GetCurrent())
{
    const unsigned char* data = nullptr;
    int size = 0;
    try
    {
        if (VyArchive::GetLinkedImage(data, size))
            m_archive.Attach(std::make_unique<VyMemFile>(data, size));
    }
    catch (VyException& error)
    {
        error.AddContext("VyArchiveSource", "VyArchiveSource", "the linked archive is not used");
        error.Report();
    }
    VyResourceSource::SetCurrent(this);
}

VyArchiveSource::VyArchiveSource(const VyString& path) : m_pPrevious(VyResourceSource::GetCurrent())
{
    try
    {
        m_archive.Open(path);
    }
    catch (VyException& error)
    {
        error.AddContext("VyArchiveSource", "VyArchiveSource", "the archive file is not used", path);
        error.Report();
    }
    VyResourceSource::SetCurrent(this);
}

VyArchiveSource::~VyArchiveSource()
{
    if (VyResourceSource::GetCurrent() == this)
        VyResourceSource::SetCurrent(m_pPrevious);
}

void VyArchiveSource::GetResourceFile(const VyString& path, VyIO& out)
{
    if (!m_archive.GetFile(path, out))
        VyResourceSource::ThrowNotFound(path);
}
