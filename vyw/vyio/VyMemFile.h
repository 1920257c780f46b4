#pragma once

#include <string_view>

#include "vyio/VyIO.h"

// A stream over a memory buffer that grows as it is written, or attached to a foreign buffer that it
// only reads. No operation fails: reads past the end return fewer bytes, positions are clamped.
class VyMemFile : public VyIO
{
public:
    explicit VyMemFile(int direction = VY_IO_ANY) : VyIO(direction) {}
    // Attached to a foreign buffer from the start (see Attach).
    VyMemFile(const void* data, int length, int direction = VY_IO_READ);
    ~VyMemFile() override;

    // Reads the foreign buffer without copying it: position 0, capacity 0. The buffer must outlive the
    // stream; it is never reallocated, freed or written (a write is reported and writes nothing).
    void Attach(const void* data, int length);
    bool IsAttached() const { return m_pData != nullptr && m_pBuffer == nullptr; }

    // Frees an owned buffer and zeroes length, capacity and position.
    void Close() override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    void SeekToBegin() override { m_position = 0; }
    void SeekToEnd() override { m_position = m_length; }
    void Seek(int offset) override;         // clamped into 0..length
    void SetPosition(int position) override; // clamped into 0..length
    int GetPosition() override { return m_position; }
    bool IsEOF() override { return m_position == m_length; }
    long long GetBytesLeft() override { return m_length - m_position; }

    // The data (owned or attached) and its size; null when empty and unattached.
    const unsigned char* GetData() const { return m_pData; }
    int GetLength() const { return m_length; }
    int GetCapacity() const { return m_capacity; }
    // The data as characters, valid until the next write or Close.
    std::string_view GetView() const
    {
        return {reinterpret_cast<const char*>(m_pData), static_cast<size_t>(m_length)};
    }

private:
    int Clamp(long long position) const;

    unsigned char* m_pBuffer = nullptr; // owned buffer, grown with realloc; null when attached
    const unsigned char* m_pData = nullptr; // what is read: m_pBuffer or the foreign buffer
    int m_length = 0;
    int m_capacity = 0;
    int m_position = 0;
};
