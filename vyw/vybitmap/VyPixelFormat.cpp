#include "vybitmap/VyPixelFormat.h"

#include <bit>

#include "vythread/VyException.h"

namespace
{
// One row of the format table: bits per pixel, then shift and bit count of red, green, blue, alpha.
struct FormatRow
{
    int bits;
    int channels[VY_CHANNELS][2];
};

constexpr FormatRow kFormats[] = {
    /* 1 */ {0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    /* 2 */ {1, {{0, 1}, {0, 1}, {0, 1}, {0, 0}}},
    /* 3 */ {16, {{10, 5}, {5, 5}, {0, 5}, {0, 0}}},
    /* 4 */ {16, {{11, 5}, {5, 6}, {0, 5}, {0, 0}}},
    /* 5 */ {24, {{0, 8}, {8, 8}, {16, 8}, {0, 0}}},
    /* 6 */ {32, {{0, 8}, {8, 8}, {16, 8}, {0, 0}}},
    /* 7 */ {32, {{0, 8}, {8, 8}, {16, 8}, {24, 8}}},
    /* 8 */ {8, {{0, 8}, {0, 8}, {0, 8}, {0, 0}}},
    /* 9 */ {16, {{0, 8}, {0, 8}, {0, 8}, {8, 8}}},
    /* 10 */ {8, {{0, 0}, {0, 0}, {0, 0}, {0, 8}}},
};

// Total masks of the table; id 6 uses all 32 bits although its fourth byte carries nothing.
constexpr uint32_t kTotalMasks[] = {0, 1, 0x7FFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF, 0xFFFF, 0xFF};

uint32_t LowBits(int bits)
{
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}
} // namespace

void VyPixelFormat::SetChannel(int channel, int shift, int bits)
{
    m_shift[channel] = shift;
    m_bitCount[channel] = bits;
    m_valueMask[channel] = LowBits(bits);
}

void VyPixelFormat::SetFormat(int id)
{
    if (id < VY_FORMAT_NONE || id > VY_FORMAT_ALPHA8)
        throw VyException("VyPixelFormat", "SetFormat", "Unsupported format");
    const FormatRow& row = kFormats[id - 1];
    m_nId = id;
    m_bits = row.bits;
    m_mask = kTotalMasks[id - 1];
    for (int channel = 0; channel < VY_CHANNELS; ++channel)
        SetChannel(channel, row.channels[channel][0], row.channels[channel][1]);
}

void VyPixelFormat::SetMasks(int bitsPerPixel, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha)
{
    const uint32_t masks[VY_CHANNELS] = {red, green, blue, alpha};
    m_bits = bitsPerPixel;
    m_mask = 0;
    for (int channel = 0; channel < VY_CHANNELS; ++channel)
    {
        const uint32_t mask = masks[channel];
        const int shift = std::countr_zero(mask); // 32 for an empty mask
        const int bits = shift >= 32 ? 0 : std::countr_one(mask >> shift);
        SetChannel(channel, shift, bits);
        m_mask |= mask;
    }

    auto channelIs = [this](int channel, int shift, int bits) {
        return m_bitCount[channel] == bits && (bits == 0 || m_shift[channel] == shift);
    };
    const bool noAlpha = m_bitCount[VY_ALPHA] == 0;
    const bool colours8 = m_bitCount[VY_RED] == 8 && m_bitCount[VY_GREEN] == 8 && m_bitCount[VY_BLUE] == 8;
    int id = VY_FORMAT_NONE;
    switch (bitsPerPixel)
    {
    case 1:
        if (channelIs(VY_RED, 0, 1) && channelIs(VY_GREEN, 0, 1) && channelIs(VY_BLUE, 0, 1) && noAlpha)
            id = VY_FORMAT_MONO;
        break;
    case 8:
        if (channelIs(VY_ALPHA, 0, 8) && m_bitCount[VY_RED] == 0 && m_bitCount[VY_GREEN] == 0 &&
            m_bitCount[VY_BLUE] == 0)
            id = VY_FORMAT_ALPHA8;
        else if (channelIs(VY_RED, 0, 8) && channelIs(VY_GREEN, 0, 8) && channelIs(VY_BLUE, 0, 8) && noAlpha)
            id = VY_FORMAT_GREY8;
        break;
    case 16:
        if (channelIs(VY_ALPHA, 8, 8))
            id = VY_FORMAT_GREY_ALPHA16;
        else
            id = m_mask == 0x7FFF ? VY_FORMAT_RGB555 : VY_FORMAT_RGB565;
        break;
    case 24:
        id = VY_FORMAT_RGB24;
        break;
    case 32:
        if (colours8 && noAlpha)
            id = VY_FORMAT_RGB32;
        else if (m_bitCount[VY_ALPHA] == 8)
            id = VY_FORMAT_RGBA32;
        break;
    default:
        break;
    }
    m_nId = id;
}

VyString VyPixelFormat::Describe() const
{
    int order[3] = {VY_RED, VY_GREEN, VY_BLUE};
    // Stable order by rising shift: equal shifts keep R, G, B.
    for (int i = 1; i < 3; ++i)
        for (int j = i; j > 0 && m_shift[order[j - 1]] > m_shift[order[j]]; --j)
            std::swap(order[j - 1], order[j]);
    static constexpr char letters[3] = {'R', 'G', 'B'};
    VyString text = VyString::Format("%d-bit ", m_bits);
    VyString counts;
    for (int channel : order)
    {
        text.push_back(letters[channel]);
        counts += VyString::Format("%d", m_bitCount[channel]);
    }
    return text + " (" + counts + ")";
}

int64_t VyPixelFormat::PitchFor(int64_t width, int alignment) const
{
    if (width < 0 || width > (int64_t{1} << 31))
        return -1;
    const int64_t rowBits = int64_t{m_bits} * width;
    switch (alignment)
    {
    case -1:
        return (rowBits + 15) / 16 * 2;
    case -2:
        return (rowBits + 31) / 32 * 4;
    default:
        return (rowBits + 7) / 8;
    }
}

uint32_t VyPixelFormat::WordToColour(uint32_t word) const
{
    static constexpr int colourShifts[VY_CHANNELS] = {16, 8, 0, 24};
    word &= m_mask;
    uint32_t colour = HasAlpha() ? 0 : 0xFF000000u;
    for (int channel = 0; channel < VY_CHANNELS; ++channel)
    {
        const int bits = m_bitCount[channel];
        if (bits == 0)
            continue;
        uint32_t value = (word >> m_shift[channel]) & m_valueMask[channel];
        value = bits >= 8 ? value >> (bits - 8) : value << (8 - bits);
        colour |= value << colourShifts[channel];
    }
    return colour;
}

uint32_t VyPixelFormat::ColourToWord(uint32_t colour) const
{
    uint32_t word = 0;
    for (int channel = 0; channel < VY_CHANNELS; ++channel)
    {
        const int bits = m_bitCount[channel];
        if (bits == 0)
            continue;
        uint32_t value = VyComponentOf(colour, channel);
        value = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
        word |= (value & m_valueMask[channel]) << m_shift[channel];
    }
    return word & m_mask;
}

uint32_t VyPixelFormat::Widen(uint32_t value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return (value >> (bits - 8)) & 0xFF;
    value &= LowBits(bits);
    uint32_t result = 0;
    // Repeat the value from the top down until all eight bits are covered.
    for (int filled = 0; filled < 8; filled += bits)
        result |= (value << 8) >> (bits + filled);
    return result & 0xFF;
}
