#include "VySavedGame.h"

#include <cstdint>

#include "vyio/VyReadBytes.h"
#include "vythread/VyException.h"

namespace
{
[[noreturn]] void EndsEarly(VyIO& stream)
{
    throw VyFileException("VyGameWnd", "LoadGame", "The saved game ends early", stream.GetName());
}

// The unsigned number of `width` little-endian bytes.
uint32_t DecodeLittleEndian(const unsigned char* bytes, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

void WriteList(VyIO& stream, const std::vector<int>& list)
{
    stream << static_cast<unsigned int>(list.size());
    for (int entry : list)
        stream << entry;
}
} // namespace

void VySavedGame::Write(VyIO& stream) const
{
    stream << VY_SAVED_GAME_MAGIC << VY_SAVED_GAME_VERSION << player1Name << player2Name << state << initialState
           << opponent;
    WriteList(stream, history);
    WriteList(stream, locations);
    stream << currentPiece << level << setName;
}

int VySavedGame::ReadInt(VyIO& stream)
{
    unsigned char bytes[4];
    if (VyReadUpTo(stream, bytes, 4) < 4)
        EndsEarly(stream);
    return static_cast<int>(DecodeLittleEndian(bytes, 4));
}

void VySavedGame::ReadList(VyIO& stream, const char* what, std::vector<int>& list)
{
    const unsigned int count = static_cast<unsigned int>(ReadInt(stream));
    const long long left = stream.GetBytesLeft();
    if (left >= 0 && static_cast<long long>(count) * 4 > left)
        throw VyFileException("VyGameWnd", "LoadGame",
                              VyString::Format("The saved game's %s count %u is larger than the file", what, count),
                              stream.GetName());
    // A stream that cannot tell its size ends the list with the exception of a missing entry.
    list.clear();
    if (left >= 0)
        list.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        list.push_back(ReadInt(stream));
}

void VySavedGame::ReadText(VyIO& stream, VyString& text)
{
    unsigned char first = 0;
    if (VyReadUpTo(stream, &first, 1) < 1)
        EndsEarly(stream);
    unsigned int length = first;
    if (first == 0xFF)
    {
        unsigned char word[2];
        if (VyReadUpTo(stream, word, 2) < 2)
            EndsEarly(stream);
        length = DecodeLittleEndian(word, 2);
        if (length == 0xFFFF)
            length = static_cast<unsigned int>(ReadInt(stream));
    }
    const long long left = stream.GetBytesLeft();
    if (left >= 0 && static_cast<long long>(length) > left)
        EndsEarly(stream);
    // A stream that cannot tell its size is read step by step, holding little more than it delivers.
    if (!VyReadExactly(stream, length, text))
        EndsEarly(stream);
}

VySavedGame::ReadResult VySavedGame::Read(VyIO& stream)
{
    unsigned char magic[4];
    if (VyReadUpTo(stream, magic, 4) < 4 ||
        DecodeLittleEndian(magic, 4) != static_cast<uint32_t>(VY_SAVED_GAME_MAGIC))
        return VY_NOT_A_SAVED_GAME;
    if (ReadInt(stream) != VY_SAVED_GAME_VERSION)
        return VY_OTHER_VERSION;
    ReadText(stream, player1Name);
    ReadText(stream, player2Name);
    state = ReadInt(stream);
    initialState = ReadInt(stream);
    opponent = ReadInt(stream);
    ReadList(stream, "history", history);
    ReadList(stream, "location", locations);
    currentPiece = ReadInt(stream);
    level = ReadInt(stream);
    ReadText(stream, setName);
    return VY_SAVED_GAME_READ;
}
