#include "vyio/VyBzipStream.h"

#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

VyBzipStream::VyBzipStream(VyIO& underlying, int direction)
    : VyIO(direction == VY_BZIP_COMPRESS ? VY_IO_WRITE : VY_IO_READ), m_pUnderlying(&underlying),
      m_nDirection(direction)
{
    if (direction == VY_BZIP_COMPRESS)
    {
        m_nStatus = BZ2_bzCompressInit(&m_stream, 9, 0, 30);
        m_stream.next_out = m_buffer;
        m_stream.avail_out = VY_BZIP_BUFFER;
    }
    else if (direction == VY_BZIP_DECOMPRESS)
        m_nStatus = BZ2_bzDecompressInit(&m_stream, 0, 0);
    else
    {
        VY_ASSERT_TEXT(false, "false");
        m_nStatus = BZ_PARAM_ERROR;
    }
    m_bOpen = m_nStatus == BZ_OK;
    m_bFailed = !m_bOpen;
}

VyBzipStream::~VyBzipStream()
{
    try
    {
        Close();
    }
    catch (VyException& error)
    {
        error.Report();
    }
}

int VyBzipStream::Fail()
{
    m_bFailed = true;
    return -1;
}

int VyBzipStream::Read(void* buffer, int count)
{
    if (m_bEnded || count <= 0)
        return 0;
    if (!m_bOpen || m_nDirection != VY_BZIP_DECOMPRESS || m_bFailed)
        return m_nDirection == VY_BZIP_DECOMPRESS && m_bFailed ? -1 : 0;
    m_stream.next_out = static_cast<char*>(buffer);
    m_stream.avail_out = static_cast<unsigned int>(count);
    while (true)
    {
        if (m_stream.avail_in == 0)
        {
            const int got = m_pUnderlying->Read(m_buffer, VY_BZIP_BUFFER);
            if (got <= 0)
            {
                // The source is used up before the stream's end: hand out what this call decoded, and
                // report the damage on the next call.
                m_bTruncated = true;
                const int produced = count - static_cast<int>(m_stream.avail_out);
                Fail();
                return produced > 0 ? produced : -1;
            }
            m_stream.next_in = m_buffer;
            m_stream.avail_in = static_cast<unsigned int>(got);
        }
        m_nStatus = BZ2_bzDecompress(&m_stream);
        if (m_nStatus == BZ_STREAM_END)
        {
            m_bEnded = true;
            return count - static_cast<int>(m_stream.avail_out);
        }
        if (m_nStatus != BZ_OK)
            return Fail();
        if (m_stream.avail_out == 0)
            return count;
    }
}

// Writes the compressed bytes gathered in the buffer to the underlying stream.
void VyBzipStream::FlushOutput()
{
    const int produced = VY_BZIP_BUFFER - static_cast<int>(m_stream.avail_out);
    if (produced > 0)
        m_pUnderlying->Write(m_buffer, produced);
    m_stream.next_out = m_buffer;
    m_stream.avail_out = VY_BZIP_BUFFER;
}

int VyBzipStream::Write(const void* buffer, int count)
{
    if (!m_bOpen || m_nDirection != VY_BZIP_COMPRESS)
        return m_nDirection == VY_BZIP_COMPRESS ? -1 : 0;
    if (count <= 0)
        return 0;
    m_stream.next_in = const_cast<char*>(static_cast<const char*>(buffer));
    m_stream.avail_in = static_cast<unsigned int>(count);
    while (m_stream.avail_in > 0)
    {
        m_nStatus = BZ2_bzCompress(&m_stream, BZ_RUN);
        if (m_nStatus != BZ_RUN_OK)
            return Fail();
        if (m_stream.avail_out == 0)
            FlushOutput();
    }
    return count;
}

void VyBzipStream::Close()
{
    if (!m_bOpen)
        return;
    m_bOpen = false;
    if (m_nDirection == VY_BZIP_DECOMPRESS)
    {
        BZ2_bzDecompressEnd(&m_stream);
        return;
    }
    try
    {
        do
        {
            m_nStatus = BZ2_bzCompress(&m_stream, BZ_FINISH);
            if (m_stream.avail_out == 0 || m_nStatus == BZ_STREAM_END)
                FlushOutput();
        } while (m_nStatus == BZ_FINISH_OK);
    }
    catch (VyException&)
    {
        BZ2_bzCompressEnd(&m_stream);
        throw;
    }
    if (m_nStatus != BZ_STREAM_END)
        m_bFailed = true;
    BZ2_bzCompressEnd(&m_stream);
}

void VyBzipStream::SeekToBegin()
{
    VY_ASSERT_TEXT(false, "false");
}

void VyBzipStream::SeekToEnd()
{
    VY_ASSERT_TEXT(false, "false");
}

void VyBzipStream::Seek(int)
{
    VY_ASSERT_TEXT(false, "false");
}

void VyBzipStream::SetPosition(int)
{
    VY_ASSERT_TEXT(false, "false");
}

int VyBzipStream::GetPosition()
{
    VY_ASSERT_TEXT(false, "false");
    return 0;
}

bool VyBzipStream::IsEOF()
{
    if (m_nDirection == VY_BZIP_DECOMPRESS)
        return m_bEnded || m_bFailed;
    return m_pUnderlying->IsEOF();
}
