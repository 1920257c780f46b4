#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyHeader.h"
#include "vycontrol/VyListBox.h"
#include "vywindow/VyDialog.h"

namespace
{
// A list of 20 items in the sink, 200 x 150 at (20, 20), with two columns.
class VyListBoxTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pList = Make<VyListBox>(VyControlKind::LIST, {20, 170, 220, 20}, VY_STYLE_VISIBLE | VY_STYLE_TABSTOP);
        ASSERT_NE(m_pList, nullptr);
        m_pList->AddColumn("Name", 100);
        m_pList->AddColumn("Size", 60);
        for (int i = 0; i < 20; ++i)
            m_pList->AddItem(VyListItem{{VyString::Format("item %d", i), VyString::Format("%d", i * 10)}, {}});
        Dispatch();
        m_pSink->m_commands.clear();
    }
    // The root point in the middle of the row showing item index.
    VyPoint RowOf(int index) const
    {
        const VyRect header = m_pList->GetHeader().GetRootRect();
        const int row = index - m_pList->GetTopItem();
        return {header.left + 20, header.bottom - 1 - row * m_pList->GetItemHeight() - m_pList->GetItemHeight() / 2};
    }

    VyListBox* m_pList = nullptr;
};

// Records every message its list sends it.
class ListParent : public VyFrameWnd
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        m_messages.push_back(VyString::Format("%d %d %d", msg.id, msg.param1, msg.param2));
    }
    std::vector<VyString> m_messages;
};
} // namespace

TEST_F(VyListBoxTest, AClickSelectsWithACommandAndADoubleClickOrReturnTakesTheItem)
{
    auto* pParent = m_pSink->CreateChild(std::make_unique<ListParent>(), VY_STYLE_VISIBLE, {230, 230, 310, 20});
    VyControlDesc desc;
    desc.kind = VyControlKind::LIST;
    desc.rect = {0, 200, 80, 0};
    desc.id = 201;
    desc.style = VY_STYLE_VISIBLE;
    desc.data = {"first", "second\tcolumn", "third"};
    auto* pList = dynamic_cast<VyListBox*>(VyControlFactory::Get()->CreateControl(*pParent, desc));
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(pList->GetItemCount(), 3);
    EXPECT_EQ(pList->GetItem(1).cells, (std::vector<VyString>{"second", "column"}));
    EXPECT_FALSE(pList->GetHeader().IsVisible()); // no columns: one column as wide as the list

    const VyRect area = pList->GetRootRect();
    const VyPoint second{area.left + 10, area.top - 1 - pList->GetItemHeight() - 3};
    Click(second);
    m_now += 100;
    Click(second);
    Dispatch();
    EXPECT_EQ(pList->GetSelection(), 1);
    EXPECT_EQ(pParent->m_messages, (std::vector<VyString>{"6 201 1", "18 201 1"}));
    Key(VY_KEY_DOWN);
    Key(VY_KEY_RETURN);
    Dispatch();
    EXPECT_EQ(pParent->m_messages.back(), "18 201 2");
    m_pMain->OnMouseMove(second, 0);
    EXPECT_EQ(pList->GetHover(), 1);
    m_pMain->OnMouseMove({300, 230}, 0);
    EXPECT_EQ(pList->GetHover(), -1);
}

TEST_F(VyListBoxTest, ItemsBeyondTheListScrollAndANewOneIsBroughtIntoView)
{
    EXPECT_TRUE(m_pList->IsScrollBarVisible(VY_ID_VSCROLL));
    const int rows = m_pList->GetVisibleRows();
    EXPECT_LT(rows, 20);
    EXPECT_EQ(m_pList->GetScrollMaximum(VY_ID_VSCROLL), 20 - rows);
    const int added = m_pList->AddItem("the newest");
    EXPECT_EQ(m_pList->GetTopItem(), 0);
    m_pList->EnsureVisible(added);
    EXPECT_EQ(m_pList->GetTopItem(), added - rows + 1);
    m_pList->EnsureVisible(3);
    EXPECT_EQ(m_pList->GetTopItem(), 3);

    // The keyboard moves the selection and keeps it in view; the wheel scrolls three items a step.
    m_pMain->SetFocus(m_pList);
    Key(VY_KEY_END);
    EXPECT_EQ(m_pList->GetSelection(), added);
    EXPECT_EQ(m_pList->GetTopItem(), added - rows + 1);
    Key(VY_KEY_HOME);
    EXPECT_EQ(m_pList->GetTopItem(), 0);
    m_pMain->OnMouseWheel(RowOf(1), -2);
    EXPECT_EQ(m_pList->GetTopItem(), 6);
}

TEST_F(VyListBoxTest, ColumnsWiderThanTheListShowTheHorizontalBarWhichShiftsTheHeader)
{
    EXPECT_FALSE(m_pList->IsScrollBarVisible(VY_ID_HSCROLL)); // 160 + 10 spare fit
    // Dragging the right edge of the first pane makes it wider: the list lays itself out again.
    VyHeader& header = m_pList->GetHeader();
    const VyRect strip = header.GetRootRect();
    const VyPoint edge{strip.left + 100, (strip.top + strip.bottom) / 2};
    m_pMain->OnMouseMove(edge, 0);
    EXPECT_EQ(m_pMain->GetShownCursor(), VY_CURSOR_EAST_WEST);
    Press(edge);
    m_pMain->OnMouseMove({edge.x + 80, edge.y}, VY_MOUSE_LEFT);
    Release({edge.x + 80, edge.y});
    Dispatch();
    EXPECT_EQ(header.GetPaneWidth(0), 180);
    ASSERT_TRUE(m_pList->IsScrollBarVisible(VY_ID_HSCROLL));
    const int width = m_pList->GetClientRect().Width() - m_pList->GetChild(VY_ID_VSCROLL)->GetWidth();
    EXPECT_EQ(m_pList->GetScrollMaximum(VY_ID_HSCROLL), 180 + 60 + 10 - width);
    EXPECT_EQ(m_pList->GetScrollSteps(VY_ID_HSCROLL).page, width);
    m_pList->SetScrollPosition(VY_ID_HSCROLL, 25, VyScrollNotify::NOTIFY);
    Dispatch();
    EXPECT_EQ(header.GetOffset(), 25);
    EXPECT_TRUE(m_pSink->m_commands.empty()); // the list's parts talk to the list only
}

TEST_F(VyListBoxTest, TheMessagesDialogLoadsItsList)
{
    VyDialog* pMessages = VyDialog::Load("messages.dlg", 206);
    ASSERT_NE(pMessages, nullptr);
    auto* pList = dynamic_cast<VyListBox*>(pMessages->GetControl(201));
    ASSERT_NE(pList, nullptr);
    pList->AddItem("Ann: hello");
    EXPECT_EQ(pList->GetItemCount(), 1);
    Frame();
}
