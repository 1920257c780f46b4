#include <gtest/gtest.h>

#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyPopupMenu.h"

namespace
{
VyPoint Centre(const VyRect& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Two fields in the sink, which keeps every command that reaches it; the first starts with "start".
class VyEditMenuTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pEdit = Make<VyEdit>(VyControlKind::EDIT, {20, 200, 300, 178}, VY_STYLE_VISIBLE, "start");
        m_pOther = Make<VyEdit>(VyControlKind::EDIT, {20, 150, 300, 128}, VY_STYLE_VISIBLE, "other", 202);
        ASSERT_TRUE(m_pEdit != nullptr && m_pOther != nullptr);
    }

    // Right-clicks a field and gives back its menu.
    VyPopupMenu* OpenMenu(VyEdit* pEdit)
    {
        Click(Centre(pEdit->GetRootRect()), VY_MOUSE_RIGHT);
        return dynamic_cast<VyPopupMenu*>(m_pMain->GetModal());
    }
    // The menu's item with that text, -1 for none.
    static int Find(const VyPopupMenu& menu, const VyString& text)
    {
        for (int i = 0; i < menu.GetItemCount(); ++i)
            if (menu.GetItem(i).GetText() == text)
                return i;
        return -1;
    }
    bool IsEnabled(const VyPopupMenu& menu, const VyString& text) const
    {
        return menu.GetItem(Find(menu, text)).IsEnabled();
    }
    void Choose(VyPopupMenu* pMenu, const VyString& text)
    {
        Click(Centre(pMenu->GetItemRootRect(Find(*pMenu, text))));
        Dispatch();
    }
    void Control(char letter) { m_pMain->OnChar(letter, VY_INPUT_KEY | VY_INPUT_CONTROL); }

    VyEdit* m_pEdit = nullptr;
    VyEdit* m_pOther = nullptr;
};
} // namespace

TEST_F(VyEditMenuTest, UndoFromTheMenuPutsBackTheTextAndNothingReachesTheWindowAround)
{
    m_pMain->SetFocus(m_pEdit); // "start" goes into the undo buffer
    Type("typed");
    VyPopupMenu* pMenu = OpenMenu(m_pEdit);
    ASSERT_NE(pMenu, nullptr);
    std::vector<std::pair<VyString, int>> items;
    for (int i = 0; i < pMenu->GetItemCount(); ++i)
        if (!pMenu->GetItem(i).IsSeparator())
            items.emplace_back(pMenu->GetItem(i).GetText(), pMenu->GetItem(i).GetId());
    EXPECT_EQ(items, (std::vector<std::pair<VyString, int>>{
                         {"Undo", 8}, {"Cut", 9}, {"Copy", 10}, {"Paste", 11}, {"Delete", 13}, {"Select All", 12}}));
    EXPECT_TRUE(IsEnabled(*pMenu, "Undo"));
    EXPECT_FALSE(IsEnabled(*pMenu, "Cut")); // nothing is selected
    EXPECT_FALSE(IsEnabled(*pMenu, "Paste")); // the clipboard is empty
    Choose(pMenu, "Undo");
    EXPECT_EQ(m_pEdit->GetText(), "start");
    EXPECT_EQ(m_pEdit->GetCaret(), 5);
    EXPECT_EQ(m_pOther->GetText(), "other");
    EXPECT_TRUE(m_pSink->m_commands.empty()); // 8 is the game's Undo: the field kept it
    EXPECT_EQ(m_pMain->GetFocus(), m_pEdit);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);

    pMenu = OpenMenu(m_pEdit);
    EXPECT_FALSE(IsEnabled(*pMenu, "Undo")); // the text is the buffer's again
}

TEST_F(VyEditMenuTest, ItemsFollowTheSelectionTheClipboardAndReadOnly)
{
    VyPopupMenu* pMenu = OpenMenu(m_pOther); // the right button gives the field the focus: all selected
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(m_pMain->GetFocus(), m_pOther);
    EXPECT_TRUE(IsEnabled(*pMenu, "Cut"));
    EXPECT_TRUE(IsEnabled(*pMenu, "Delete"));
    Choose(pMenu, "Cut");
    EXPECT_EQ(m_pOther->GetText(), "");
    EXPECT_EQ(Platform().m_clipboard, "other");
    pMenu = OpenMenu(m_pOther);
    EXPECT_TRUE(IsEnabled(*pMenu, "Paste"));
    EXPECT_FALSE(IsEnabled(*pMenu, "Copy"));
    Choose(pMenu, "Paste");
    Choose(OpenMenu(m_pOther), "Paste");
    EXPECT_EQ(m_pOther->GetText(), "otherother");
    Choose(OpenMenu(m_pOther), "Select All");
    EXPECT_EQ(m_pOther->GetSelectionLength(), 10);
    Choose(OpenMenu(m_pOther), "Delete");
    EXPECT_EQ(m_pOther->GetText(), "");

    m_pEdit->ModifyStyle(VY_EDIT_READONLY, 0);
    pMenu = OpenMenu(m_pEdit);
    for (const char* editing : {"Undo", "Cut", "Paste", "Delete"})
        EXPECT_FALSE(IsEnabled(*pMenu, editing)) << editing;
    EXPECT_TRUE(IsEnabled(*pMenu, "Copy"));
    EXPECT_TRUE(IsEnabled(*pMenu, "Select All"));
    Choose(pMenu, "Delete"); // disabled: nothing, and the menu stays
    EXPECT_EQ(m_pEdit->GetText(), "start");
    Choose(pMenu, "Copy");
    EXPECT_EQ(Platform().m_clipboard, "start");
    EXPECT_TRUE(m_pSink->m_commands.empty());
}

TEST_F(VyEditMenuTest, ControlLettersCutCopyPasteSelectAllAndUndo)
{
    Platform().m_clipboard = "pasted";
    m_pMain->SetFocus(m_pEdit); // everything selected
    Control('v');
    EXPECT_EQ(m_pEdit->GetText(), "pasted");
    EXPECT_EQ(m_pEdit->GetCaret(), 6);
    Control('a');
    EXPECT_EQ(m_pEdit->GetSelectionLength(), 6);
    Control('x');
    EXPECT_EQ(m_pEdit->GetText(), "");
    EXPECT_EQ(Platform().m_clipboard, "pasted");
    Control('z');
    EXPECT_EQ(m_pEdit->GetText(), "start");
    Control('a');
    Control('c');
    EXPECT_EQ(Platform().m_clipboard, "start");
    Control('q'); // no shortcut, and no typing
    EXPECT_EQ(m_pEdit->GetText(), "start");

    m_pEdit->ModifyStyle(VY_EDIT_READONLY, 0);
    Platform().m_clipboard = "more";
    Control('v');
    Control('x');
    EXPECT_EQ(m_pEdit->GetText(), "start");
    EXPECT_TRUE(m_pSink->m_commands.empty());
    EXPECT_EQ(Platform().m_nBeeps, 0);
}
