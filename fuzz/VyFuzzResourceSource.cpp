#include "VyFuzzResourceSource.h"

VyFuzzResourceSource::VyFuzzResourceSource(const VyString& path, const void* bytes, size_t size, Others others)
    : m_path(path), m_served{static_cast<const uint8_t*>(bytes), size}, m_others(others), m_pPrevious(GetCurrent())
{
    SetCurrent(this);
}

VyFuzzResourceSource::~VyFuzzResourceSource()
{
    SetCurrent(m_pPrevious);
}

void VyFuzzResourceSource::SetPieces(std::vector<VyFuzzPiece> pieces)
{
    m_pieces = std::move(pieces);
    m_given.clear();
}

const VyFuzzPiece& VyFuzzResourceSource::PieceFor(const VyString& path)
{
    const auto [at, bNew] = m_given.emplace(path, m_given.size() % m_pieces.size());
    (void)bNew;
    return m_pieces[at->second];
}

void VyFuzzResourceSource::GetResourceFile(const VyString& path, VyIO& out)
{
    const VyFuzzPiece* pPiece = &m_served;
    if (path != m_path)
    {
        if (m_others == Others::PREVIOUS_SOURCE && m_pPrevious != nullptr)
            return m_pPrevious->GetResourceFile(path, out);
        if (m_others != Others::NEXT_PIECE || m_pieces.empty())
            ThrowNotFound(path);
        pPiece = &PieceFor(path);
    }
    out.Write(pPiece->data, static_cast<int>(pPiece->size));
    out.SeekToBegin();
}
