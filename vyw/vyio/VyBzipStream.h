#pragma once

#include <bzlib.h>

#include "vyio/VyIO.h"

constexpr int VY_BZIP_DECOMPRESS = 1;
constexpr int VY_BZIP_COMPRESS = 2;
constexpr int VY_BZIP_BUFFER = 5000; // compressed bytes moved to or from the underlying stream at once

// bzip2 over another stream (not owned, must outlive this one): decompresses what it reads
// (direction 1) or compresses what is written to it (direction 2, block size 9).
//
// Read results:   > 0 bytes produced | 0 the compressed stream has ended |
//                 -1 damaged data, or the underlying stream ran dry before the compressed stream ended
//                 (a truncated stream: the bytes decoded so far are returned first, then -1; IsTruncated()
//                 tells the two failures apart). The copies of VyIO stop at -1 as they stop at 0.
// Positioning is not supported: it reports an assertion and does nothing.
class VyBzipStream : public VyIO
{
public:
    VyBzipStream(VyIO& underlying, int direction);
    ~VyBzipStream() override; // closes; a failure of the underlying stream is reported, never thrown

    // Finishes a compressor (the remaining bytes and the trailer go to the underlying stream) and
    // releases the bzip2 state. The underlying stream stays open.
    void Close() override;
    int Read(void* buffer, int count) override;
    // Returns count, or -1 on a compression error.
    int Write(const void* buffer, int count) override;
    void SeekToBegin() override;
    void SeekToEnd() override;
    void Seek(int offset) override;
    void SetPosition(int position) override;
    int GetPosition() override; // always 0
    // Decompressing: true once the compressed stream has ended or failed. Compressing: the underlying
    // stream's end flag.
    bool IsEOF() override;

    bool HasFailed() const { return m_bFailed; }
    bool IsTruncated() const { return m_bTruncated; }

private:
    int Fail();
    void FlushOutput();

    VyIO* m_pUnderlying;
    int m_nDirection;
    bz_stream m_stream{};
    char m_buffer[VY_BZIP_BUFFER];
    int m_nStatus = BZ_OK;
    bool m_bOpen = false;
    bool m_bEnded = false;
    bool m_bFailed = false;
    bool m_bTruncated = false;
};
