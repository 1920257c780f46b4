#include "vyio/VyIO.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

#include "vyio/VyReadBytes.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
constexpr int VY_COPY_BLOCK = 32768;
constexpr int VY_COPY_ALL_BLOCK = 4096;

void PutLittleEndian(unsigned char* bytes, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint64_t GetLittleEndian(const unsigned char* bytes, int width)
{
    uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return value;
}
} // namespace

void VyIO::WriteBytes(const void* bytes, int count, const char* context)
{
    try
    {
        Write(bytes, count);
    }
    catch (VyException& error)
    {
        error.AddContext("VyIO", context);
        throw;
    }
}

void VyIO::ReadBytes(void* bytes, int count, const char* context)
{
    try
    {
        Read(bytes, count);
    }
    catch (VyException& error)
    {
        error.AddContext("VyIO", context);
        throw;
    }
}

// Integers: the destination's own bytes are loaded first so that a short read keeps them.
#define VY_IO_INTEGER(Type, width, inName, outName)                                                        \
    VyIO& VyIO::operator<<(Type value)                                                                     \
    {                                                                                                      \
        unsigned char bytes[width];                                                                        \
        PutLittleEndian(bytes, static_cast<uint64_t>(value), width);                                       \
        WriteBytes(bytes, width, inName);                                                                  \
        return *this;                                                                                      \
    }                                                                                                      \
    VyIO& VyIO::operator>>(Type& value)                                                                    \
    {                                                                                                      \
        unsigned char bytes[width];                                                                        \
        PutLittleEndian(bytes, static_cast<uint64_t>(value), width);                                       \
        ReadBytes(bytes, width, outName);                                                                  \
        value = static_cast<Type>(GetLittleEndian(bytes, width));                                          \
        return *this;                                                                                      \
    }

VY_IO_INTEGER(unsigned int, 4, "operator << unsigned int", "operator >> unsigned int")
VY_IO_INTEGER(int, 4, "operator << int", "operator >> int")
VY_IO_INTEGER(unsigned short, 2, "operator << unsigned short", "operator >> unsigned short")
VY_IO_INTEGER(short, 2, "operator << short", "operator >> short")
VY_IO_INTEGER(unsigned char, 1, "operator << unsigned char", "operator >> unsigned char")
VY_IO_INTEGER(char, 1, "operator << char", "operator >> unsigned char")
#undef VY_IO_INTEGER

VyIO& VyIO::operator<<(bool value)
{
    return *this << static_cast<unsigned char>(value ? 1 : 0);
}

VyIO& VyIO::operator>>(bool& value)
{
    unsigned char byte = value ? 1 : 0;
    *this >> byte;
    value = byte != 0;
    return *this;
}

VyIO& VyIO::operator<<(unsigned long value)
{
    VY_ASSERT(value <= 0xFFFFFFFFul);
    unsigned char bytes[4];
    PutLittleEndian(bytes, value, 4);
    WriteBytes(bytes, 4, "operator << unsigned long");
    return *this;
}

VyIO& VyIO::operator>>(unsigned long& value)
{
    unsigned char bytes[4];
    PutLittleEndian(bytes, value, 4);
    ReadBytes(bytes, 4, "operator >> unsigned long");
    value = static_cast<unsigned long>(GetLittleEndian(bytes, 4));
    return *this;
}

VyIO& VyIO::operator<<(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char bytes[4];
    PutLittleEndian(bytes, bits, 4);
    WriteBytes(bytes, 4, "operator << float");
    return *this;
}

VyIO& VyIO::operator>>(float& value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char bytes[4];
    PutLittleEndian(bytes, bits, 4);
    ReadBytes(bytes, 4, "operator >> float");
    bits = static_cast<uint32_t>(GetLittleEndian(bytes, 4));
    std::memcpy(&value, &bits, sizeof bits);
    return *this;
}

VyIO& VyIO::operator<<(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char bytes[8];
    PutLittleEndian(bytes, bits, 8);
    WriteBytes(bytes, 8, "operator << double");
    return *this;
}

VyIO& VyIO::operator>>(double& value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char bytes[8];
    PutLittleEndian(bytes, bits, 8);
    ReadBytes(bytes, 8, "operator >> double");
    bits = GetLittleEndian(bytes, 8);
    std::memcpy(&value, &bits, sizeof bits);
    return *this;
}

// Pairs and rectangles go out as one Write of their full width, ints in declaration order.
namespace
{
template <int N>
void PackInts(unsigned char* bytes, const int (&values)[N])
{
    for (int i = 0; i < N; ++i)
        PutLittleEndian(bytes + 4 * i, static_cast<uint32_t>(values[i]), 4);
}

template <int N>
void UnpackInts(const unsigned char* bytes, int (&values)[N])
{
    for (int i = 0; i < N; ++i)
        values[i] = static_cast<int>(static_cast<uint32_t>(GetLittleEndian(bytes + 4 * i, 4)));
}
} // namespace

VyIO& VyIO::operator<<(const VyRect& value)
{
    unsigned char bytes[16];
    PackInts(bytes, {value.left, value.top, value.right, value.bottom});
    WriteBytes(bytes, 16, "operator << rect");
    return *this;
}

VyIO& VyIO::operator>>(VyRect& value)
{
    int parts[4] = {value.left, value.top, value.right, value.bottom};
    unsigned char bytes[16];
    PackInts(bytes, parts);
    ReadBytes(bytes, 16, "operator >> rect");
    UnpackInts(bytes, parts);
    value = VyRect{parts[0], parts[1], parts[2], parts[3]};
    return *this;
}

VyIO& VyIO::operator<<(const VySize& value)
{
    unsigned char bytes[8];
    PackInts(bytes, {value.cx, value.cy});
    WriteBytes(bytes, 8, "operator << size");
    return *this;
}

VyIO& VyIO::operator>>(VySize& value)
{
    int parts[2] = {value.cx, value.cy};
    unsigned char bytes[8];
    PackInts(bytes, parts);
    ReadBytes(bytes, 8, "operator >> size");
    UnpackInts(bytes, parts);
    value = VySize{parts[0], parts[1]};
    return *this;
}

VyIO& VyIO::operator<<(const VyPoint& value)
{
    unsigned char bytes[8];
    PackInts(bytes, {value.x, value.y});
    WriteBytes(bytes, 8, "operator << point");
    return *this;
}

VyIO& VyIO::operator>>(VyPoint& value)
{
    int parts[2] = {value.x, value.y};
    unsigned char bytes[8];
    PackInts(bytes, parts);
    ReadBytes(bytes, 8, "operator >> point");
    UnpackInts(bytes, parts);
    value = VyPoint{parts[0], parts[1]};
    return *this;
}

VyIO& VyIO::operator<<(const VyString& value)
{
    const size_t length = value.size();
    VY_ASSERT(length <= INT_MAX);
    try
    {
        if (length < 255)
            *this << static_cast<unsigned char>(length);
        else if (length < 65534)
            *this << static_cast<unsigned char>(0xFF) << static_cast<unsigned short>(length);
        else
            *this << static_cast<unsigned char>(0xFF) << static_cast<unsigned short>(0xFFFF)
                  << static_cast<unsigned int>(length);
        if (length > 0)
            Write(value.data(), static_cast<int>(std::min<size_t>(length, INT_MAX)));
    }
    catch (VyException& error)
    {
        error.AddContext("VyIO", "operator << VyString");
        throw;
    }
    return *this;
}

VyIO& VyIO::operator>>(VyString& value)
{
    unsigned int length = 0;
    try
    {
        unsigned char first = 0;
        *this >> first;
        length = first;
        if (first == 0xFF)
        {
            unsigned short middle = 0;
            *this >> middle;
            length = middle;
            if (middle == 0xFFFF)
                *this >> length;
        }
    }
    catch (VyException& error)
    {
        error.AddContext("VyIO", "operator >> VyString");
        throw;
    }

    // Checked outside the try so that the exception carries one line of this operator, not two.
    const long long left = GetBytesLeft();
    if (left >= 0 && static_cast<long long>(length) > left)
        throw VyFileException("VyIO", "operator >> VyString",
                              VyString::Format("string length %u is more than the %lld bytes left in the stream",
                                               length, left),
                              GetName());

    try
    {
        ReadStringBytes(value, length);
    }
    catch (VyException& error)
    {
        error.AddContext("VyIO", "operator >> VyString");
        throw;
    }
    return *this;
}

void VyIO::ReadStringBytes(VyString& value, unsigned int length)
{
    if (GetBytesLeft() >= 0 && length <= INT_MAX)
    {
        value.assign(length, '\0');
        if (length > 0)
            Read(value.data(), static_cast<int>(length));
        return;
    }
    // Unknown size: the string grows step by step as bytes arrive, so that a lying length prefix on a
    // socket costs little more memory than the bytes that really come; a stream that runs dry leaves the
    // string with what arrived.
    VyReadExactly(*this, length, value);
}

void VyIO::Serialize(unsigned int& value)
{
    if (IsWriting())
        *this << value;
    else
        *this >> value;
}

void VyIO::Serialize(int& value)
{
    if (IsWriting())
        *this << value;
    else
        *this >> value;
}

void VyIO::Serialize(VyRect& value)
{
    if (IsWriting())
        *this << value;
    else
        *this >> value;
}

void VyIO::CopyFrom(VyIO& source, int count)
{
    if (count <= 0)
        return;
    std::unique_ptr<char[]> buffer(new char[VY_COPY_BLOCK]);
    while (count > 0)
    {
        // A source that fails answers a negative count: the copy ends there, as at its end.
        const int got = source.Read(buffer.get(), std::min(count, VY_COPY_BLOCK));
        if (got <= 0)
            return;
        Write(buffer.get(), got);
        count -= got;
    }
}

void VyIO::CopyAll(VyIO& source)
{
    std::unique_ptr<char[]> buffer(new char[VY_COPY_ALL_BLOCK]);
    int got = source.Read(buffer.get(), VY_COPY_ALL_BLOCK);
    while (got > 0)
    {
        Write(buffer.get(), got);
        got = source.Read(buffer.get(), VY_COPY_ALL_BLOCK);
    }
}

void VyIO::CopyAllTo(VyIO& target)
{
    target.CopyAll(*this);
}

bool VyIO::ReadLine(VyString& line)
{
    line.clear();
    char byte = 0;
    bool ranDry = false;
    while (!IsEOF())
    {
        if (Read(&byte, 1) < 1)
        {
            ranDry = true;
            break;
        }
        line.push_back(byte);
        if (byte == '\n')
            break;
    }
    // A stream that yields nothing without reporting its end (a closed socket, a compressed stream whose
    // source is used up) also ends the reading; otherwise a reader looping on ReadLine would never stop.
    return !line.empty() || !(IsEOF() || ranDry);
}

void VyIO::WriteLine(const VyString& text)
{
    if (text.empty())
        return;
    for (char byte : text)
        *this << byte;
    if (text.back() != '\n')
        *this << '\n';
}
