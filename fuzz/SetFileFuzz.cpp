// A piece-set file with its pictures, read by VySetFileReader (on this thread; the game runs it on the
// set loader's), then played on: a whole game between two local players on the set. The input is
// the set file, then the pictures, each after the marker line "--picture--"; the pictures go to the
// names the file asks for in the order it asks (round the pictures again when it asks for more).
// Checked: an accepted set keeps the count and side limits, its pieces name values its properties
// have; a game on it ends in at most one move per piece, with a history of exactly the placed pieces
// and at most one piece per square.

#include "GameTestHost.h"
#include "VyFuzzCheck.h"
#include "VyFuzzPosition.h"
#include "VyFuzzInput.h"
#include "VyFuzzResourceSource.h"
#include "VyGameRules.h"
#include "VySetFileReader.h"
#include "VySetLoader.h"
#include "vyio/VyConfigFile.h"
#include "vythread/VyException.h"
#include "vythread/VyRandom.h"

namespace
{
constexpr char VY_FUZZ_SET[] = "sets\\fuzz\\fuzz.cfg";
constexpr char VY_FUZZ_MARKER[] = "\n--picture--\n";

bool WithinSide(const rgb& picture, int side)
{
    return picture.Width() <= side && picture.Height() <= side;
}

void CheckSet(const VyPieceSet& set)
{
    VyFuzzCheck(set.pieces.size() <= VySetLoader::VY_MAX_SET_ITEMS && set.squares.size() <= VySetLoader::VY_MAX_SET_ITEMS,
                "more pieces or squares than the limit");
    VyFuzzCheck(set.images && WithinSide(set.images->board, VySetLoader::VY_MAX_BOARD_SIDE), "a board above the limit");
    VyFuzzCheck(set.images->pieces.size() == set.pieces.size(), "pictures for another number of pieces");
    for (const VyPieceImages& images : set.images->pieces)
        VyFuzzCheck(WithinSide(images.normal, VySetLoader::VY_MAX_PIECE_SIDE), "a piece above the limit");
    for (const VyPieceInfo& piece : set.pieces)
    {
        VyFuzzCheck(piece.values.size() == set.properties.size(), "a piece without a value per property");
        for (size_t property = 0; property < piece.values.size(); ++property)
            VyFuzzCheck(piece.values[property] >= 0 &&
                            piece.values[property] < static_cast<int>(set.properties[property].values.size()),
                        "a piece names a value its property lacks");
    }
    // A winning line may name a square the set lacks (a part without digits, say): it loads, and that
    // line never wins. The game below must never reach past the board for it.
}

// One half-move: a piece off the board chosen, or the current piece put on a free square, each
// picked from a random start.
void Act(VyGameRules& rules, VyRandom& random)
{
    const bool bChoosing = rules.IsChoosing();
    const int count = bChoosing ? rules.GetNumberOfPieces() : rules.GetNumberOfSquares();
    const int start = random.Below(count);
    for (int step = 0; step < count; ++step)
    {
        const int at = (start + step) % count;
        if (bChoosing && rules.GetPieces()[at].location < 0 && at != rules.GetCurrentPiece())
            return rules.ChoosePiece(at);
        if (!bChoosing && rules.GetSquares()[at].piece < 0)
            return rules.PlacePiece(at);
    }
    VyFuzzCheck(false, "a turn with nothing to do");
}

void Play(const VyPieceSet& set, size_t seed)
{
    GameTestHost host;
    VyRandom random(static_cast<unsigned int>(seed));
    VyGameRules rules(host, random);
    rules.SetPieceSet(set);
    rules.SelectOpponent(VyOpponent::HUMAN);
    rules.StartGame();
    const int halfMoves = 2 * rules.GetNumberOfPieces() + 2;
    for (int done = 0; done < halfMoves && rules.IsInPlay(); ++done)
    {
        Act(rules, random);
        host.FinishMoves(rules);
        VyFuzzCheckPosition(rules);
    }
    VyFuzzCheck(!rules.IsInPlay(), "a game that does not end");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<VyFuzzPiece> pieces = VyFuzzInput(data, size).SplitRest(VY_FUZZ_MARKER);
    VyFuzzResourceSource source(VY_FUZZ_SET, pieces[0].data, pieces[0].size, VyFuzzResourceSource::Others::NEXT_PIECE);
    source.SetPieces({pieces.begin() + 1, pieces.end()});
    VyPieceSet set;
    try
    {
        set = VySetFileReader(VY_FUZZ_SET, nullptr, nullptr, 0).Read();
        VyConfigFile::Forget(VY_FUZZ_SET); // each input parses afresh
    }
    catch (const VyException&)
    {
        VyConfigFile::Forget(VY_FUZZ_SET);
        return 0;
    }
    CheckSet(set);
    Play(set, size);
    return 0;
}
