#include "VySavedGame.h"

#include <algorithm>

#include "vythread/VyException.h"

namespace
{
[[noreturn]] void EndsEarly(VyIO& stream)
{
    throw VyFileException("VyGameWnd", "LoadGame", "The saved game ends early", stream.GetName());
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

// Reads count bytes, however many Read calls it takes; false when the stream ends first.
bool VySavedGame::ReadBytes(VyIO& stream, unsigned char* bytes, int count)
{
    int done = 0;
    while (done < count)
    {
        const int got = stream.Read(bytes + done, count - done);
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}

int VySavedGame::ReadInt(VyIO& stream)
{
    unsigned char bytes[4];
    if (!ReadBytes(stream, bytes, 4))
        EndsEarly(stream);
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int>(value);
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
    if (!ReadBytes(stream, &first, 1))
        EndsEarly(stream);
    unsigned int length = first;
    if (first == 0xFF)
    {
        unsigned char word[2];
        if (!ReadBytes(stream, word, 2))
            EndsEarly(stream);
        length = static_cast<unsigned int>(word[0] | word[1] << 8);
        if (length == 0xFFFF)
            length = static_cast<unsigned int>(ReadInt(stream));
    }
    const long long left = stream.GetBytesLeft();
    if (left >= 0 && static_cast<long long>(length) > left)
        EndsEarly(stream);
    // In pieces, so that a stream that cannot tell its size holds no more than it delivers.
    constexpr unsigned int PIECE = 65536;
    text.clear();
    while (text.size() < length)
    {
        const size_t done = text.size();
        const unsigned int part = std::min(PIECE, length - static_cast<unsigned int>(done));
        text.resize(done + part);
        if (!ReadBytes(stream, reinterpret_cast<unsigned char*>(text.data() + done), static_cast<int>(part)))
            EndsEarly(stream);
    }
}

VySavedGame::ReadResult VySavedGame::Read(VyIO& stream)
{
    unsigned char magic[4];
    if (!ReadBytes(stream, magic, 4))
        return VY_NOT_A_SAVED_GAME;
    const uint32_t value = static_cast<uint32_t>(magic[0]) | static_cast<uint32_t>(magic[1]) << 8 |
                           static_cast<uint32_t>(magic[2]) << 16 | static_cast<uint32_t>(magic[3]) << 24;
    if (value != static_cast<uint32_t>(VY_SAVED_GAME_MAGIC))
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
