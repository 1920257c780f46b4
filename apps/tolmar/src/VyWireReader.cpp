#include "VyWireReader.h"

#include "VyProtocol.h"

namespace
{
constexpr unsigned int VY_LONG_PREFIX_BYTE = 0xFF;
constexpr unsigned int VY_LONG_PREFIX_SHORT = 0xFFFF;
} // namespace

const unsigned char* VyWireReader::Take(size_t count)
{
    if (!IsComplete())
        return nullptr;
    if (m_count - m_position < count)
    {
        m_status = VyWireStatus::NEED_MORE_BYTES;
        return nullptr;
    }
    const unsigned char* bytes = m_pBytes + m_position;
    m_position += count;
    return bytes;
}

unsigned int VyWireReader::TakeNumber(size_t width)
{
    const unsigned char* bytes = Take(width);
    unsigned int value = 0;
    for (size_t i = 0; bytes != nullptr && i < width; ++i)
        value |= static_cast<unsigned int>(bytes[i]) << (8 * i);
    return value;
}

void VyWireReader::Read(unsigned int& value)
{
    const unsigned int number = TakeNumber(4);
    if (IsComplete())
        value = number;
}

void VyWireReader::Read(int& value)
{
    const unsigned int number = TakeNumber(4);
    if (IsComplete())
        value = static_cast<int>(number);
}

void VyWireReader::ExpectVersion(unsigned int expected)
{
    const unsigned int number = TakeNumber(4);
    if (IsComplete() && number != expected)
        m_status = VyWireStatus::INCORRECT_VERSION;
}

// One byte; FF means an unsigned short follows; FFFF there means an unsigned int follows.
unsigned int VyWireReader::ReadStringLength()
{
    unsigned int length = TakeNumber(1);
    if (length == VY_LONG_PREFIX_BYTE)
        length = TakeNumber(2);
    if (length == VY_LONG_PREFIX_SHORT)
        length = TakeNumber(4);
    return length;
}

void VyWireReader::Read(VyString& value)
{
    const unsigned int length = ReadStringLength();
    if (!IsComplete())
        return;
    if (length > VY_MAX_WIRE_STRING)
    {
        m_status = VyWireStatus::STRING_TOO_LONG;
        return;
    }
    if (const unsigned char* bytes = Take(length))
        value.assign(reinterpret_cast<const char*>(bytes), length);
}
