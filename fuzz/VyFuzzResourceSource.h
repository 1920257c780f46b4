#pragma once

#include <map>
#include <vector>

#include "VyFuzzInput.h"
#include "vyio/VyResourceSource.h"

// The resource look-up of a fuzz target: one path serves the bytes of the current input; what every
// other path gets is chosen at construction. Installed for its lifetime.
class VyFuzzResourceSource : public VyResourceSource
{
public:
    // What answers a path other than the served one.
    enum class Others
    {
        NOT_FOUND,       // nothing else exists
        PREVIOUS_SOURCE, // the source installed before (the archive linked in, say)
        NEXT_PIECE,      // the pieces of SetPieces, handed out in turn (see there)
    };

    VyFuzzResourceSource(const VyString& path, const void* bytes, size_t size, Others others = Others::NOT_FOUND);
    ~VyFuzzResourceSource() override;
    VyFuzzResourceSource(const VyFuzzResourceSource&) = delete;
    VyFuzzResourceSource& operator=(const VyFuzzResourceSource&) = delete;

    // With Others::NEXT_PIECE: the first other path asked for gets the first piece, the next new one
    // the second, and so on round the pieces again; a path asked for before gets its piece again.
    // Without pieces every other path is not found.
    void SetPieces(std::vector<VyFuzzPiece> pieces);

    void GetResourceFile(const VyString& path, VyIO& out) override;

private:
    const VyFuzzPiece& PieceFor(const VyString& path);

    VyString m_path;
    VyFuzzPiece m_served;
    Others m_others;
    std::vector<VyFuzzPiece> m_pieces;
    std::map<VyString, size_t> m_given; // path -> index into m_pieces
    VyResourceSource* m_pPrevious;
};
