#include "vyio/VyMemFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "vythread/VyTrace.h"

VyMemFile::VyMemFile(const void* data, int length, int direction) : VyIO(direction)
{
    Attach(data, length);
}

VyMemFile::~VyMemFile()
{
    Close();
}

void VyMemFile::Attach(const void* data, int length)
{
    Close();
    m_pData = static_cast<const unsigned char*>(data);
    m_length = m_pData != nullptr ? std::max(length, 0) : 0;
}

void VyMemFile::Close()
{
    std::free(m_pBuffer);
    m_pBuffer = nullptr;
    m_pData = nullptr;
    m_length = 0;
    m_capacity = 0;
    m_position = 0;
}

int VyMemFile::Read(void* buffer, int count)
{
    const int got = std::clamp(count, 0, m_length - m_position);
    if (got > 0)
    {
        std::memcpy(buffer, m_pData + m_position, static_cast<size_t>(got));
        m_position += got;
    }
    return got;
}

int VyMemFile::Write(const void* buffer, int count)
{
    if (count <= 0)
        return 0;
    VY_ASSERT_TEXT(!IsAttached(), "!IsAttached()");
    if (IsAttached())
        return 0;
    const long long end = static_cast<long long>(m_position) + count;
    if (end > INT_MAX)
        throw std::bad_alloc();
    if (end > m_capacity)
    {
        // Grow to 64 bytes for small contents, otherwise to half as much again as needed.
        const long long capacity = end < 64 ? 64 : std::min<long long>(end * 3 / 2, INT_MAX);
        void* grown = std::realloc(m_pBuffer, static_cast<size_t>(capacity));
        if (grown == nullptr)
            throw std::bad_alloc();
        m_pBuffer = static_cast<unsigned char*>(grown);
        m_pData = m_pBuffer;
        m_capacity = static_cast<int>(capacity);
    }
    std::memcpy(m_pBuffer + m_position, buffer, static_cast<size_t>(count));
    m_position = static_cast<int>(end);
    m_length = std::max(m_length, m_position);
    return count;
}

int VyMemFile::Clamp(long long position) const
{
    return static_cast<int>(std::clamp<long long>(position, 0, m_length));
}

void VyMemFile::Seek(int offset)
{
    m_position = Clamp(static_cast<long long>(m_position) + offset);
}

void VyMemFile::SetPosition(int position)
{
    m_position = Clamp(position);
}
