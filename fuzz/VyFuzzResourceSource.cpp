#include "VyFuzzResourceSource.h"

VyFuzzResourceSource::VyFuzzResourceSource(const VyString& path, const void* bytes, size_t size)
    : m_path(path), m_pBytes(bytes), m_size(size), m_pPrevious(GetCurrent())
{
    SetCurrent(this);
}

VyFuzzResourceSource::~VyFuzzResourceSource()
{
    SetCurrent(m_pPrevious);
}

void VyFuzzResourceSource::GetResourceFile(const VyString& path, VyIO& out)
{
    if (path != m_path)
        ThrowNotFound(path);
    out.Write(m_pBytes, static_cast<int>(m_size));
    out.SeekToBegin();
}
