#include <gtest/gtest.h>

#include "vythread/VyException.h"
#include "vythread/VyTraceCapture.h"

TEST(VyException, ContextLinesReadLikeACallStack)
{
    VyFileException inner("VyFile", "Read", {}, "saves/game.sav");
    EXPECT_EQ(inner.GetMessage(), "*VyFile::Read -> File: saves/game.sav");

    inner.AddContext("VyIO", "operator >> int");
    inner.AddContext("VyGameRules", "LoadGame", "Could not load");
    EXPECT_EQ(inner.GetMessage(),
              "*VyGameRules::LoadGame : Could not load\n*VyIO::operator >> int\n*VyFile::Read -> File: saves/game.sav");

    try
    {
        try
        {
            throw VyFileException("VyPlatform", "GetResourceFile", "Could not locate resource file",
                                  "Colors\\Default.Color");
        }
        catch (VyException& error)
        {
            error.AddContext("VyMessageTarget", "CreateFont", "Can not create font");
            throw;
        }
    }
    catch (VyFileException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyMessageTarget::CreateFont : Can not create font\n"
                                      "*VyPlatform::GetResourceFile : Could not locate resource file -> File: "
                                      "Colors\\Default.Color");
    }
}

TEST(VyTrace, AssertionReportFormatAndExecutionContinues)
{
    VyTraceCapture trace;
    int value = 3;
    const int firstLine = __LINE__; VY_ASSERT(value == 4);
    VY_ASSERT(value == 3);
    const int thirdLine = __LINE__; VY_ASSERT_TEXT(value < 0, "m_currentPiece!=INVALID_PIECE");
    const VyString seen = trace.Text();

    const VyString file = __FILE__;
    EXPECT_EQ(seen, VyString::Format("%s(%d) : Assertion Failed:value == 4\n", file.c(), firstLine) +
                        VyString::Format("%s(%d) : Assertion Failed:m_currentPiece!=INVALID_PIECE\n", file.c(), thirdLine));
    EXPECT_EQ(file.rfind("tests/vythread/", 0), 0u) << "source paths are relative to the tree";
}
