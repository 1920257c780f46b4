// The extraction operators of VyIO over a VyMemFile holding the input. Each byte read as a selector
// picks the next value to extract (an integer of some width, a bool, a float, a double, a rectangle, size or point, or a VyString);
// the values follow in the same stream. Checked: a string never holds more bytes than the stream
// had left, the position only moves forward by at most the value's width, and every extracted value
// written back with operator<< and extracted again is the same.
#include <cstring>

#include "VyFuzzCheck.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
// Writes value, reads it back and compares the bytes of the two.
template <typename Type>
void CheckRoundTrip(const Type& value)
{
    VyMemFile written(VY_IO_WRITE);
    written << value;
    VyMemFile reading(written.GetData(), written.GetLength());
    Type again{};
    reading >> again;
    VyFuzzCheck(reading.IsEOF(), "a value reads back shorter than it was written");
    VyFuzzCheck(std::memcmp(&again, &value, sizeof value) == 0, "a value reads back changed");
}

template <typename Type>
void Extract(VyMemFile& stream, int width)
{
    const int before = stream.GetPosition();
    Type value{};
    stream >> value;
    VyFuzzCheck(stream.GetPosition() - before <= width, "a read went past its width");
    if (stream.GetPosition() - before == width)
        CheckRoundTrip(value);
}

void ExtractString(VyMemFile& stream)
{
    const long long left = stream.GetBytesLeft();
    VyString value;
    try
    {
        stream >> value;
    }
    catch (const VyException&)
    {
        return;
    }
    VyFuzzCheck(static_cast<long long>(value.size()) <= left, "a string longer than the stream");
    VyMemFile written(VY_IO_WRITE);
    written << value;
    VyMemFile reading(written.GetData(), written.GetLength());
    VyString again;
    reading >> again;
    VyFuzzCheck(again == value && reading.IsEOF(), "a string reads back changed");
}

void ExtractOne(VyMemFile& stream, unsigned char selector)
{
    switch (selector % 14)
    {
    case 0: Extract<unsigned int>(stream, 4); return;
    case 1: Extract<int>(stream, 4); return;
    case 2: Extract<unsigned short>(stream, 2); return;
    case 3: Extract<short>(stream, 2); return;
    case 4: Extract<unsigned char>(stream, 1); return;
    case 5: Extract<char>(stream, 1); return;
    case 6: Extract<bool>(stream, 1); return;
    case 7: Extract<unsigned long>(stream, 4); return;
    case 8: Extract<float>(stream, 4); return;
    case 9: Extract<double>(stream, 8); return;
    case 10: Extract<VyRect>(stream, 16); return;
    case 11: Extract<VySize>(stream, 8); return;
    case 12: Extract<VyPoint>(stream, 8); return;
    default: ExtractString(stream); return;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyMemFile stream(data, static_cast<int>(size));
    while (!stream.IsEOF())
    {
        unsigned char selector = 0;
        stream >> selector;
        ExtractOne(stream, selector);
    }
    return 0;
}
