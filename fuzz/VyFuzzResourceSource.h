#pragma once

#include "vyio/VyResourceSource.h"

// The resource look-up of a fuzz target: one path serves the bytes of the current input, every other
// path is not found. Installed for its lifetime.
class VyFuzzResourceSource : public VyResourceSource
{
public:
    VyFuzzResourceSource(const VyString& path, const void* bytes, size_t size);
    ~VyFuzzResourceSource() override;
    VyFuzzResourceSource(const VyFuzzResourceSource&) = delete;
    VyFuzzResourceSource& operator=(const VyFuzzResourceSource&) = delete;

    void GetResourceFile(const VyString& path, VyIO& out) override;

private:
    VyString m_path;
    const void* m_pBytes;
    size_t m_size;
    VyResourceSource* m_pPrevious;
};
