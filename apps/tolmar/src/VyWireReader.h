#pragma once

#include <cstddef>

#include "vythread/VyString.h"

// How far a VyWireReader got through the bytes it was given.
enum class VyWireStatus
{
    COMPLETE,          // every read so far found its bytes
    NEED_MORE_BYTES,   // a read ran past the end of the bytes: the value has not all arrived yet
    INCORRECT_VERSION, // ExpectVersion read another number
    STRING_TOO_LONG,   // a string's length prefix is above VY_MAX_WIRE_STRING
};

// Reads protocol values out of a buffer of received bytes that may end anywhere, in the encoding of
// VyIO. The first read that cannot complete sets the status, which then stays: later reads do nothing
// and leave their destinations as they were, so a whole message can be read field by field and the
// status looked at once at the end. It never throws and never allocates more for a string than the
// bytes that are there (the length is checked against the limit and the buffer first).
// The buffer is not copied; it must outlive the reader.
class VyWireReader
{
public:
    VyWireReader(const unsigned char* bytes, size_t count) : m_pBytes(bytes), m_count(count) {}

    void Read(int& value);
    void Read(unsigned int& value);
    // Length prefix of 1, 3 or 7 bytes, then the bytes.
    void Read(VyString& value);
    // Reads an unsigned int and sets INCORRECT_VERSION unless it equals expected.
    void ExpectVersion(unsigned int expected);

    VyWireStatus GetStatus() const { return m_status; }
    bool IsComplete() const { return m_status == VyWireStatus::COMPLETE; }
    // Bytes consumed by the reads that completed.
    size_t GetPosition() const { return m_position; }

private:
    // The next count bytes, consumed; null (with NEED_MORE_BYTES set) when fewer are left.
    const unsigned char* Take(size_t count);
    // The little-endian number in the next width bytes; 0 when they are not there.
    unsigned int TakeNumber(size_t width);
    unsigned int ReadStringLength();

    const unsigned char* m_pBytes;
    size_t m_count;
    size_t m_position = 0;
    VyWireStatus m_status = VyWireStatus::COMPLETE;
};
