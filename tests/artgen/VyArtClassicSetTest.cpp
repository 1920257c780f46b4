#include <gtest/gtest.h>

#include "artgen/VyArtClassicSet.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

namespace
{
// Tests that point the layout at another set file; the classic one is read again afterwards.
class VyArtClassicSetFile : public ::testing::Test
{
protected:
    void TearDown() override { UseClassicSetFile(TOLMAR_CLASSIC_SET_FILE); }

    // The classic set file with the first occurrence of line replaced (removed when replacement is
    // empty), written to a file of its own in the test folder (configuration files are cached by name).
    std::string Edited(const std::string& line, const std::string& replacement)
    {
        std::string text = VyTestDir::Slurp(TOLMAR_CLASSIC_SET_FILE);
        const size_t at = text.find(line + "\n");
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos)
            text.replace(at, line.size() + 1, replacement.empty() ? "" : replacement + "\n");
        return m_dir.Put("edited" + std::to_string(++m_nFiles) + ".cfg", text);
    }

    // The failure text of reading the file; empty when it was read.
    static std::string ReadFailure(const std::string& path)
    {
        UseClassicSetFile(path);
        try
        {
            ClassicSquares();
        }
        catch (const VyException& error)
        {
            return error.GetMessage();
        }
        return {};
    }

    VyTestDir m_dir;
    int m_nFiles = 0;
};
} // namespace

TEST_F(VyArtClassicSetFile, RefusesValuesThePicturesAreNotDrawnFor)
{
    const struct
    {
        const char* line;
        const char* replacement;
        const char* failure;
    } cases[] = {
        {"BoardSize=490, 400", "BoardSize=500, 400", "[General].BoardSize=500, 400"},
        {"ChosenPos=35, 40", "ChosenPos=35, 41", "[General].ChosenPos=35, 41"},
        {"ColorMask=0, 0, 255", "ColorMask=0, 255, 0", "[General].ColorMask=0, 255, 0"},
        {"SelectColor=255, 255, 0", "SelectColor=255, 0, 0", "[Square1].SelectColor=255, 0, 0"},
        {"Center=30, 24", "Center=25, 15", "[Piece9].Center=25, 15"},
    };
    for (const auto& test : cases)
    {
        const std::string failure = ReadFailure(Edited(test.line, test.replacement));
        EXPECT_NE(failure.find(std::string("The art is not drawn for ") + test.failure), std::string::npos)
            << failure;
    }

    // Without a mask colour the game keys blue, the art's own mask.
    EXPECT_EQ(ReadFailure(Edited("ColorMask=0, 0, 255", "")), "");
    EXPECT_NE(ReadFailure(Edited("BoardSize=490, 400", "")).find("Missing [General].BoardSize"), std::string::npos);

    UseClassicSetFile(TOLMAR_CLASSIC_SET_FILE);
    EXPECT_EQ(ClassicSquares()[0].center, (VyPoint{57, 244}));
}
