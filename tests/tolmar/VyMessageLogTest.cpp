#include <gtest/gtest.h>

#include "VyMessageLog.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyLabel.h"
#include "vyrender/VyFont.h"

namespace
{
constexpr uint32_t LOG_STYLE =
    VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT | VY_STYLE_NO_HIT | VY_STYLE_NO_FOCUS | VY_LOG_MOUSE_THROUGH;

// A log over the left of the sink, 300 x 200, its lines living the default 5 s unless a test says.
class VyMessageLogTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pLog = m_pSink->CreateChild(std::make_unique<VyMessageLog>(), LOG_STYLE, VyRect{0, 200, 300, 0});
        ASSERT_NE(m_pLog, nullptr);
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            Tick();
    }
    // The lines' texts, oldest first.
    std::vector<VyString> Texts() const
    {
        std::vector<VyString> texts;
        for (int i = 0; i < m_pLog->GetLineCount(); ++i)
            texts.push_back(m_pLog->GetLine(i)->GetText());
        return texts;
    }
    // The height of a line of one row of text: the label's rows, plus its margins.
    static int OneRowHeight()
    {
        const VyFont& font = *VyRenderContext::GetCurrent()->GetFonts()[VY_FONT_CONTROL];
        return font.GetHeight() + 2 + 2 * VyLabel::VY_TEXT_MARGIN;
    }
    static size_t Timers() { return VyMessageQueue::Current()->GetTimerCount(); }

    VyMessageLog* m_pLog = nullptr;
};
} // namespace

TEST_F(VyMessageLogTest, LinesStandFromTheTopOldestFirstInTheTemplatesColoursOrTheirOwn)
{
    m_pLog->SetLineColors(VyColor(0xFFFFFF), VyColor(0x000000));
    m_pLog->AddLine("Ann joined from 10.0.0.2.\n");
    m_pLog->AddLine("a notice", VyColor(0x00FF00));
    m_pLog->AddLine("<><green>Ann: <white>hello");
    ASSERT_EQ(m_pLog->GetLineCount(), 3);
    EXPECT_EQ(Texts()[2], "<><green>Ann: <white>hello");
    EXPECT_EQ(m_pLog->GetLine(3), nullptr);

    int top = 200 - VyMessageLog::VY_TOP_MARGIN;
    for (int i = 0; i < 3; ++i)
    {
        const VyLabel& line = *m_pLog->GetLine(i);
        EXPECT_EQ(line.GetRect().top, top) << i;
        EXPECT_EQ(line.GetRect().left, VyMessageLog::VY_SIDE_MARGIN);
        EXPECT_EQ(line.GetWidth(), 300 - 2 * VyMessageLog::VY_SIDE_MARGIN);
        EXPECT_EQ(line.GetHeight(), OneRowHeight()) << "one row each, the final line feed adding none";
        EXPECT_TRUE(line.HasStyle(VY_STYLE_TRANSPARENT | VY_STYLE_NO_FOCUS));
        EXPECT_EQ(line.GetColor(VyControlColor::TEXT_SHADOW).GetValue(), 0x000000u);
        top -= line.GetHeight();
    }
    EXPECT_EQ(m_pLog->GetLine(0)->GetColor(VyControlColor::TEXT).GetValue(), 0xFFFFFFu);
    EXPECT_EQ(m_pLog->GetLine(1)->GetColor(VyControlColor::TEXT).GetValue(), 0x00FF00u);
    EXPECT_EQ(m_pLog->GetLine(2)->GetColor(VyControlColor::TEXT).GetValue(), 0xFFFFFFu);

    // A narrower log wraps its lines again and stacks them anew.
    m_pLog->Move(0, 200, 120, 200);
    const VyLabel& first = *m_pLog->GetLine(0);
    EXPECT_EQ(first.GetWidth(), 100);
    EXPECT_GT(first.GetLines().size(), 1u);
    EXPECT_EQ(m_pLog->GetLine(1)->GetRect().top, first.GetRect().bottom);
}

TEST_F(VyMessageLogTest, TheMouseGoesThroughTheLinesToTheWindowUnderThemUnlessTheStyleSaysOtherwise)
{
    m_pLog->AddLine("over the board");
    const VyLabel& line = *m_pLog->GetLine(0);
    const VyPoint inside = line.ClientToRoot(VyPoint{5, line.GetHeight() / 2});
    EXPECT_EQ(m_pMain->ChildFromPoint(inside), m_pSink);
    m_pLog->ModifyStyle(0, VY_LOG_MOUSE_THROUGH);
    EXPECT_EQ(m_pMain->ChildFromPoint(inside), &line);
}

TEST_F(VyMessageLogTest, ALineGoesAtTheFirstTickAtOrAfterItsLifetimeAndTheTimerRunsOnlyWhileThereAreLines)
{
    const size_t idle = Timers();
    m_pLog->SetLifetime(15000); // 300 ticks
    m_pLog->AddLine("a");
    EXPECT_EQ(Timers(), idle + 1);
    Ticks(5);
    m_pLog->AddLine("b");
    Ticks(294);
    EXPECT_EQ(Texts(), (std::vector<VyString>{"a", "b"})) << "tick 299";
    Tick();
    EXPECT_EQ(Texts(), (std::vector<VyString>{"b"})) << "tick 300";
    // b came at tick 5: 15 s later is tick 305, and the log's timer ticks every 10th, from tick 0.
    Ticks(9);
    EXPECT_EQ(m_pLog->GetLineCount(), 1) << "tick 309";
    Tick();
    EXPECT_EQ(m_pLog->GetLineCount(), 0) << "tick 310";
    Tick();
    EXPECT_EQ(Timers(), idle) << "no lines, no timer";

    // A line after the log emptied starts the timer again.
    m_pLog->AddLine("c");
    Ticks(299);
    EXPECT_EQ(m_pLog->GetLineCount(), 1);
    Tick();
    EXPECT_EQ(m_pLog->GetLineCount(), 0);
}

TEST_F(VyMessageLogTest, AtMostOneLineGoesATick)
{
    m_pLog->SetLifetime(1000); // 20 ticks
    for (const char* text : {"one", "two", "three"})
        m_pLog->AddLine(text);
    Ticks(20);
    EXPECT_EQ(Texts(), (std::vector<VyString>{"two", "three"}));
    Ticks(9);
    EXPECT_EQ(m_pLog->GetLineCount(), 2);
    Tick();
    EXPECT_EQ(Texts(), (std::vector<VyString>{"three"}));
    Ticks(10);
    EXPECT_EQ(m_pLog->GetLineCount(), 0);
}

TEST_F(VyMessageLogTest, AFullLogPushesOutItsOldestLinesAtOnceButKeepsTheNewest)
{
    m_pLog->Move(0, 60, 300, 60);
    for (int i = 1; i <= 20; ++i)
        m_pLog->AddLine(VyString::Format("line %d", i));
    const int count = m_pLog->GetLineCount();
    const int room = 60 - VyMessageLog::VY_TOP_MARGIN;
    EXPECT_GE(room - count * OneRowHeight(), VyMessageLog::VY_MIN_FREE);
    EXPECT_LT(room - (count + 1) * OneRowHeight(), VyMessageLog::VY_MIN_FREE) << "no room was left unused";
    ASSERT_GE(count, 1);
    EXPECT_EQ(Texts().back(), "line 20");
    EXPECT_EQ(Texts().front(), VyString::Format("line %d", 21 - count));

    // A line taller than the log stands alone.
    VyString longText;
    for (int i = 0; i < 40; ++i)
        longText += "word ";
    m_pLog->AddLine(longText);
    EXPECT_EQ(m_pLog->GetLineCount(), 1);
    EXPECT_GT(m_pLog->GetLine(0)->GetHeight(), 60);
    m_pLog->AddLine("after");
    EXPECT_EQ(Texts(), (std::vector<VyString>{"after"}));
}
