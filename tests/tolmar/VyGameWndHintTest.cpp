#include "VyGameWndTestSupport.h"

#include "VyMessageLog.h"
#include "vycontrol/VyLabel.h"
#include "vycontrol/VyMenuItem.h"
#include "vyio/VyConfigFile.h"

namespace
{
// The Expert on the smallest budget, so that its games run quickly (the end of a game is solved
// whatever the budget).
class VyGameWndExpertTest : public VyGameWndTest
{
protected:
    void WriteSettings() override { m_dir.Put("Tolmar.cfg", "[General]\nMovement Speed=-1\nExpert Time=1\n"); }

    bool LogHas(const VyString& text)
    {
        VyMessageLog* pLog = m_pGame->GetMessageLog();
        for (int i = 0; pLog != nullptr && i < pLog->GetLineCount(); ++i)
            if (pLog->GetLine(i) != nullptr && pLog->GetLine(i)->GetText().find(text) != std::string::npos)
                return true;
        return false;
    }

    // Whether the last frame has the hint's colour within a ring's width of edge (a pixel of the
    // picture's outermost row or column), outwards along step or, at the window's edge, inwards.
    bool RingNear(VyPoint edge, VyPoint step)
    {
        for (int d = -VyGameWnd::HINT_RING; d <= VyGameWnd::HINT_RING; ++d)
        {
            const VyPoint p{edge.x + d * step.x, edge.y + d * step.y};
            if (p.x >= 0 && p.y >= 0 && p.x < WIDTH && p.y < HEIGHT &&
                (m_context.GetFrameBuffer()->GetPixel(p.x, p.y) & 0xFFFFFF) == VyGameWnd::VY_HINT_COLOR)
                return true;
        }
        return false;
    }
};

class VyGameWndBadExpertTimeTest : public VyGameWndTest
{
protected:
    void WriteSettings() override { m_dir.Put("Tolmar.cfg", "[General]\nMovement Speed=-1\nExpert Time=-40\n"); }
};
} // namespace

TEST_F(VyGameWndExpertTest, TheExpertIsTheMenusSixthLevelAndPlaysAGameToTheEnd)
{
    EXPECT_EQ(Rules().GetExpertTime(), 1u);
    m_pMain->OnCommand(215);
    EXPECT_EQ(Rules().GetLevel(), VyLevel::EXPERT);
    EXPECT_EQ(Rules().GetOpponent(), VyOpponent::COMPUTER);
    EXPECT_EQ(UpdatedItem(*m_pMain, 215).GetText(), "Expert");
    PlayToTheEndByClicks();
    EXPECT_NE(m_pGame->GetQuestionBox(), nullptr);
}

TEST_F(VyGameWndExpertTest, AHintMarksThePieceThenTheSquareAndGoesWithThePosition)
{
    m_pMain->OnCommand(215);
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_TRUE(UpdatedItem(*m_pMain, 223).IsEnabled());
    m_pMain->OnCommand(223);
    EXPECT_FALSE(UpdatedItem(*m_pMain, 223).IsEnabled()) << "one hint at a time";
    EXPECT_TRUE(m_pGame->IsBusy()) << "the busy cursor while it is worked out";
    WaitFor([this] { return m_pGame->GetShownHint().has_value(); });
    EXPECT_FALSE(m_pGame->IsBusy());
    const VyHintAnswer piece = *m_pGame->GetShownHint();
    ASSERT_GE(piece.piece, 0);
    EXPECT_EQ(Rules().GetPieces()[static_cast<size_t>(piece.piece)].location, -1);
    EXPECT_TRUE(LogHas("No sure outcome yet.") || LogHas("You can force a win.") || LogHas("A draw is the best"));

    // The ring shows on all four sides of the piece's picture, over the neighbours that overlap it and
    // inside the window where the piece stands at its edge.
    const VyRect shown = m_pGame->ClientToRoot(m_pGame->GetPiece(piece.piece)->GetShownBounds());
    ASSERT_FALSE(shown.IsEmpty());
    m_context.BeginFrame();
    m_pMain->Draw();
    m_context.EndFrame();
    const VyPoint middle{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    EXPECT_TRUE(RingNear({shown.left, middle.y}, {-1, 0})) << "left";
    EXPECT_TRUE(RingNear({shown.right - 1, middle.y}, {1, 0})) << "right";
    EXPECT_TRUE(RingNear({middle.x, shown.top - 1}, {0, 1})) << "top";
    EXPECT_TRUE(RingNear({middle.x, shown.bottom}, {0, -1})) << "bottom";

    // The hint is only advice: nothing moved, and it goes with the position.
    EXPECT_EQ(Rules().GetCurrentPiece(), INVALID_PIECE);
    ChoosePieceByClick(piece.piece);
    Settle();
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_FALSE(m_pGame->GetShownHint().has_value());

    m_pMain->OnCommand(223);
    WaitFor([this] { return m_pGame->GetShownHint().has_value(); });
    const int square = m_pGame->GetShownHint()->square;
    ASSERT_GE(square, 0);
    EXPECT_EQ(Rules().GetSquares()[static_cast<size_t>(square)].piece, -1);
}

TEST_F(VyGameWndExpertTest, AHintForAPositionThatChangedIsDroppedAndNoneIsOfferedOffTurn)
{
    m_pMain->OnCommand(215);
    m_pMain->OnCommand(223);
    Rules().ChoosePiece(3); // a new position before the answer is handled
    Settle();
    EXPECT_FALSE(m_pGame->GetShownHint().has_value());
    EXPECT_FALSE(LogHas("No sure outcome yet."));

    // A game over offers none.
    PlayToTheEndByClicks();
    EXPECT_FALSE(UpdatedItem(*m_pMain, 223).IsEnabled());
}

TEST_F(VyGameWndBadExpertTimeTest, ANegativeExpertTimeGivesTheDefault)
{
    EXPECT_EQ(Rules().GetExpertTime(), 2000u);
}
