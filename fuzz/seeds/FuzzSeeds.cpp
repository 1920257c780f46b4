// tolmar-fuzz-seeds FOLDER: writes seed inputs for the fuzz targets into FOLDER/<target>/, each made
// by our own encoders (the protocol's messages, VySavedGame, VyBitmap, VyJpeg, VyArchiveBuilder and
// the VyIO operators) and our own set file from the archive linked in. The text formats' seeds are our
// hand-written files under resources/ and the fonts our font tool made (scripts/fuzz-seeds.sh).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "VyChatMsg.h"
#include "VyGameMsg.h"
#include "VyMoveMsg.h"
#include "VyNameMsg.h"
#include "VySavedGame.h"
#include "VyWireBytes.h"
#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyJpeg.h"
#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyArchiveBuilder.h"
#include "vyio/VyArchiveSource.h"
#include "vyio/VyMemFile.h"

namespace
{
namespace fs = std::filesystem;

void Put(const fs::path& folder, const std::string& name, const void* bytes, size_t size)
{
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

void Put(const fs::path& folder, const std::string& name, const VyMemFile& file)
{
    Put(folder, name, file.GetData(), static_cast<size_t>(file.GetLength()));
}

// A chunk plan (see fuzz/VyChunkPlan.h) and then the stream.
void PutStream(const fs::path& folder, const std::string& name, const VyBytes& plan, const VyBytes& stream)
{
    VyBytes input{static_cast<unsigned char>(plan.size())};
    input = input + plan + stream;
    Put(folder, name, input.data(), input.size());
}

void WriteProtocolSeeds(const fs::path& folder)
{
    const VyBytes messages = VyNameMsg("Ann").Encode() + VyMoveMsg::Choice(5).Encode() +
                           VyMoveMsg::Placement(5, 10).Encode() + VyGameMsg(1, 3).Encode() +
                           VyChatMsg("good move").Encode();
    PutStream(folder, "whole", {}, VyWireHandshake() + messages);
    PutStream(folder, "bytewise", {0}, VyWireHandshake() + messages);
    PutStream(folder, "uneven", {2, 6, 12}, VyWireHandshake() + messages);
    PutStream(folder, "unknown-type", {3}, VyWireHandshake() + VyWireWord(9) + messages);
    PutStream(folder, "long-chat", {200, 17}, VyWireHandshake() + VyChatMsg(VyString(300, 'x')).Encode());
    PutStream(folder, "foreign", {}, VyWireWord(0x12345678) + messages);
    PutStream(folder, "wrong-version", {1}, VyWireWord(VY_PROTOCOL_MAGIC) + VyWireWord(2) + messages);
}

VySavedGame ClassicSeedGame(VyGameState state, const std::vector<std::pair<int, int>>& squarePiece)
{
    VySavedGame saved;
    saved.player1Name = "Chris";
    saved.player2Name = "James";
    saved.state = VyNumberOf(state);
    saved.initialState = VyNumberOf(VyGameState::PLAYER1_CHOOSES);
    saved.opponent = VyNumberOf(VyOpponent::HUMAN);
    saved.locations.assign(16, -1);
    for (auto [square, piece] : squarePiece)
    {
        saved.locations[static_cast<size_t>(piece)] = square;
        saved.history.push_back(piece);
    }
    saved.setName = "classic";
    return saved;
}

void PutGame(const fs::path& folder, const std::string& name, const VySavedGame& saved)
{
    VyMemFile file(VY_IO_WRITE);
    saved.Write(file);
    Put(folder, name, file);
}

void WriteSavedGameSeeds(const fs::path& folder)
{
    PutGame(folder, "new", ClassicSeedGame(VyGameState::PLAYER1_CHOOSES, {}));
    VySavedGame chosen = ClassicSeedGame(VyGameState::PLAYER2_PLACES, {{0, 3}, {5, 9}});
    chosen.currentPiece = 7;
    PutGame(folder, "chosen", chosen);
    VySavedGame computer = ClassicSeedGame(VyGameState::PLAYER2_CHOOSES, {{1, 0}, {2, 4}, {3, 8}});
    computer.opponent = VyNumberOf(VyOpponent::COMPUTER);
    computer.level = VyNumberOf(VyLevel::HARD);
    PutGame(folder, "computer", computer);
    PutGame(folder, "won", ClassicSeedGame(VyGameState::GAME_WON, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

// A small picture of the format with a pattern that touches every channel.
std::unique_ptr<VyRGBFormat> Pattern(int formatId, int width, int height)
{
    std::unique_ptr<VyRGBFormat> image = VyRGBFormat::Create(width, height, formatId);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, VyMakeColour(static_cast<uint32_t>(x * 37) & 0xFF, static_cast<uint32_t>(y * 53) & 0xFF,
                                               static_cast<uint32_t>((x ^ y) * 19) & 0xFF));
    return image;
}

void WritePictureSeeds(const fs::path& bmpFolder, const fs::path& jpegFolder)
{
    const int formats[] = {VY_FORMAT_MONO, VY_FORMAT_RGB555, VY_FORMAT_RGB565,
                           VY_FORMAT_RGB24, VY_FORMAT_RGB32, VY_FORMAT_GREY8};
    for (int formatId : formats)
    {
        VyMemFile file(VY_IO_WRITE);
        VyBitmap::SaveWinBitmap(*Pattern(formatId, 5, 3), file);
        Put(bmpFolder, "format" + std::to_string(formatId) + ".bmp", file);
    }
    for (int formatId : {VY_FORMAT_RGB24, VY_FORMAT_GREY8})
    {
        VyMemFile file(VY_IO_WRITE);
        VyJpeg::SaveJpeg(*Pattern(formatId, 17, 9), file, 75);
        Put(jpegFolder, "format" + std::to_string(formatId) + ".jpg", file);
    }
}

// Selectors as StreamFuzz.cpp reads them (selector % 14), each followed by its value.
void WriteStreamSeeds(const fs::path& folder)
{
    VyMemFile file(VY_IO_WRITE);
    file << static_cast<unsigned char>(0) << 0xDEADBEEFu << static_cast<unsigned char>(1) << -5;
    file << static_cast<unsigned char>(2) << static_cast<unsigned short>(65535);
    file << static_cast<unsigned char>(3) << static_cast<short>(-2) << static_cast<unsigned char>(6) << true;
    file << static_cast<unsigned char>(8) << 1.5f << static_cast<unsigned char>(9) << -0.25;
    file << static_cast<unsigned char>(10) << VyRect{1, 2, 3, 4} << static_cast<unsigned char>(11) << VySize{5, 6};
    file << static_cast<unsigned char>(12) << VyPoint{7, 8};
    file << static_cast<unsigned char>(13) << VyString("short") << static_cast<unsigned char>(13)
         << VyString(300, 'm');
    Put(folder, "values", file);
}
VyString Bytes(const VyMemFile& file)
{
    return VyString(file.GetView());
}

VyString BitmapBytes(int formatId, int width, int height)
{
    VyMemFile file(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(*Pattern(formatId, width, height), file);
    return Bytes(file);
}

void PutText(const fs::path& folder, const std::string& name, const VyString& text)
{
    Put(folder, name, text.data(), text.size());
}

// A set file and its pictures as SetFileFuzz.cpp splits them: the board is asked for first.
void WritePieceSetSeeds(const fs::path& folder)
{
    const VyString marker = "\n--picture--\n";
    VyArchiveSource archive;
    VyMemFile classic;
    archive.GetResourceFile("sets\\classic\\classic.cfg", classic);
    const VyString pieces = marker + BitmapBytes(VY_FORMAT_RGB24, 20, 30) + marker + BitmapBytes(VY_FORMAT_RGB555, 24, 26);
    PutText(folder, "classic", Bytes(classic) + marker + BitmapBytes(VY_FORMAT_RGB24, 49, 40) + pieces);
    const VyString tiny = "[General]\nBoard=b.bmp\nBoardSize=40, 40\nChosenPos=5, 5\nColorMask=0, 0, 255\n"
                          "NumberOfPieces=4\nNumberOfSquares=4\n[Properties]\nTone=Dark, Light\n"
                          "[Piece1]\nBitmap=p.bmp\nStart=50, 0\nCenter=2, 2\nTone=Dark\n"
                          "[Piece2]\nBitmap=p.bmp\nStart=50, 10\nCenter=2, 2\nTone=Dark\n"
                          "[Piece3]\nBitmap=q.bmp\nStart=50, 20\nCenter=2, 2\nTone=Light\n"
                          "[Piece4]\nBitmap=q.bmp\nStart=50, 30\nCenter=2, 2\nTone=Light\n"
                          "[Square1]\nCenter=10, 10\nLeft=0, 10\nTop=10, 20\nRight=20, 10\nBottom=10, 0\n"
                          "[Square2]\nCenter=30, 10\nLeft=20, 10\nTop=30, 20\nRight=40, 10\nBottom=30, 0\n"
                          "[Square3]\nCenter=10, 30\nLeft=0, 30\nTop=10, 40\nRight=20, 30\nBottom=10, 20\n"
                          "[Square4]\nCenter=30, 30\nLeft=20, 30\nTop=30, 40\nRight=40, 30\nBottom=30, 20\n"
                          "[WinningCombinations]\nCombination1=1,2\nCombination2=3,4\nCombination3=1,4\n";
    PutText(folder, "tiny", tiny + marker + BitmapBytes(VY_FORMAT_MONO, 40, 40) + pieces);
}

// Archives of stored and compressed entries, as the resource archive holds them.
void WriteArchiveSeeds(const fs::path& folder)
{
    const VyString text = "[General]\nSize=300,160\nCaption=New Game\n";
    const VyString picture = BitmapBytes(VY_FORMAT_RGB24, 12, 10);
    const VyString date = "12/10/2026 09:00:00";
    for (const bool bCompress : {false, true})
    {
        VyArchiveBuilder builder;
        builder.Add("\\dialogs\\2player.dlg", text.data(), static_cast<int>(text.size()), bCompress, date);
        builder.Add("\\bitmaps\\pattern.bmp", picture.data(), static_cast<int>(picture.size()), bCompress, date);
        builder.Add("\\strings\\empty.txt", "", 0, bCompress, date);
        VyMemFile file(VY_IO_WRITE);
        builder.Write(file);
        Put(folder, bCompress ? "compressed" : "stored", file);
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const fs::path folder = argv[1];
    WriteProtocolSeeds(folder / "fuzz_msg_decoder");
    WriteSavedGameSeeds(folder / "fuzz_saved_game");
    WritePictureSeeds(folder / "fuzz_bitmap", folder / "fuzz_jpeg");
    WriteStreamSeeds(folder / "fuzz_stream");
    WritePieceSetSeeds(folder / "fuzz_piece_set");
    WriteArchiveSeeds(folder / "fuzz_archive");
    return 0;
}
