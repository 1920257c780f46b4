#pragma once

#include "vythread/VyMessageTarget.h"
#include "vythread/VyPoint.h"
#include "vythread/VyRect.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"

// Direction a stream was opened for; only Serialize and IsReading/IsWriting look at it.
constexpr int VY_IO_ANY = 0;   // no fixed direction (sockets)
constexpr int VY_IO_READ = 1;
constexpr int VY_IO_WRITE = 2;

// The framework's abstract byte stream and its binary encoding.
//
// Every value is little-endian, two's complement, unpadded, and written or read by exactly one
// Write/Read of its full width:
//     unsigned int, int 4 | unsigned short, short 2 | unsigned char, char, bool 1 (bool reads nonzero
//     as true) | rect 16 (left, top, right, bottom) | size 8 (cx, cy) | point 8 (x, y) |
//     unsigned long 4 (values above 32 bits are reported and cut) | float 4, double 8 (IEEE 754) |
//     VyString: length n as 1 byte (n < 255), or FF + unsigned short (n < 65534), or
//     FF FF FF + unsigned int; then the n bytes without terminator.
// A failing Read/Write throws VyException (VyFileException for files); each operator puts its own
// "*VyIO::operator ..." line on the exception and rethrows it. Short reads are not detected: the bytes
// a read did not deliver keep the value the destination held before.
// A stream is a message target so that a socket can take framework messages; others ignore them.
class VyIO : public VyMessageTarget
{
public:
    explicit VyIO(int mode = VY_IO_ANY) : m_nMode(mode) {}
    ~VyIO() override = default;
    VyIO(const VyIO&) = delete;
    VyIO& operator=(const VyIO&) = delete;

    virtual void Close() {}
    // Reads up to count bytes; returns the number read, 0 at the end (a compressed stream may return -1).
    virtual int Read(void* buffer, int count) = 0;
    // Writes count bytes; returns the number written.
    virtual int Write(const void* buffer, int count) = 0;
    virtual void SeekToBegin() = 0;
    virtual void SeekToEnd() = 0;
    virtual void Seek(int offset) = 0;          // relative to the current position
    virtual void SetPosition(int position) = 0; // absolute
    virtual int GetPosition() = 0;
    virtual bool IsEOF() = 0;
    virtual VyString GetName() const { return {}; }
    // Bytes the stream can still deliver from its position, or -1 when it cannot tell (sockets,
    // compressed streams). Length prefixes read from hostile input are checked against it.
    virtual long long GetBytesLeft() { return -1; }

    bool IsReading() const { return m_nMode == VY_IO_READ; }
    bool IsWriting() const { return m_nMode == VY_IO_WRITE; }

    VyIO& operator<<(unsigned int value);
    VyIO& operator<<(int value);
    VyIO& operator<<(unsigned short value);
    VyIO& operator<<(short value);
    VyIO& operator<<(unsigned char value);
    VyIO& operator<<(char value);
    VyIO& operator<<(bool value);
    VyIO& operator<<(unsigned long value);
    VyIO& operator<<(float value);
    VyIO& operator<<(double value);
    VyIO& operator<<(const VyRect& value);
    VyIO& operator<<(const VySize& value);
    VyIO& operator<<(const VyPoint& value);
    VyIO& operator<<(const VyString& value);
    // A bare literal would otherwise be written as a bool; write VyString("...") instead.
    VyIO& operator<<(const char* value) = delete;

    VyIO& operator>>(unsigned int& value);
    VyIO& operator>>(int& value);
    VyIO& operator>>(unsigned short& value);
    VyIO& operator>>(short& value);
    VyIO& operator>>(unsigned char& value);
    VyIO& operator>>(char& value);
    VyIO& operator>>(bool& value);
    VyIO& operator>>(unsigned long& value);
    VyIO& operator>>(float& value);
    VyIO& operator>>(double& value);
    VyIO& operator>>(VyRect& value);
    VyIO& operator>>(VySize& value);
    VyIO& operator>>(VyPoint& value);
    // A length larger than GetBytesLeft() throws VyFileException before anything is allocated.
    VyIO& operator>>(VyString& value);

    // Writes when the stream was opened for writing, reads otherwise.
    void Serialize(unsigned int& value);
    void Serialize(int& value);
    void Serialize(VyRect& value);

    // Copies up to count bytes from source in reads of at most 32768 bytes; stops early when a read
    // gives nothing.
    void CopyFrom(VyIO& source, int count);
    // Copies everything source yields, in reads of 4096 bytes, until a read gives 0 or less.
    void CopyAll(VyIO& source);
    void CopyAllTo(VyIO& target);

    // Reads bytes up to and including a line feed (kept in line). False when the stream was already at
    // its end and nothing was read.
    bool ReadLine(VyString& line);
    // Writes text and a line feed unless text already ends in one; an empty text writes nothing.
    void WriteLine(const VyString& text);

protected:
    const int m_nMode;

private:
    void WriteBytes(const void* bytes, int count, const char* context);
    void ReadBytes(void* bytes, int count, const char* context);
    void ReadStringBytes(VyString& value, unsigned int length);
};
