#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The Expert's table of searched positions, keyed by canonical form. Each entry holds a bound on the
// position's value for its placer, the depth (placements) it was searched to, and the best move in
// the canonical frame. Two entries per slot: the deeper search stays, the newer one takes the other.
// A key is 64 bits; two positions with one key (about one in 2^64 per pair) would share an entry.
// The table is allocated at its first use (about 32 MB by default) and never grows.
class VyTranspositionTable
{
public:
    enum class Bound : uint8_t
    {
        NONE,
        EXACT,
        LOWER, // the value is at least this
        UPPER, // the value is at most this
    };

    struct Entry
    {
        uint64_t key = 0;
        int16_t value = 0;
        uint8_t depth = 0;
        Bound bound = Bound::NONE;
        uint8_t square = 0xFF; // the best move, canonical frame; 0xFF for none
        uint8_t piece = 0xFF;
    };

    explicit VyTranspositionTable(int log2Entries = 21);

    // The entry for key, or null.
    const Entry* Find(uint64_t key);
    void Store(const Entry& entry);
    // Empties the table (allocating it when it was not yet).
    void Clear();

    uint64_t Probes() const { return m_probes; }
    uint64_t Hits() const { return m_hits; }

private:
    void Allocate();

    int m_log2Entries;
    std::vector<Entry> m_entries;
    uint64_t m_probes = 0;
    uint64_t m_hits = 0;
};
