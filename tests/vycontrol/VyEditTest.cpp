#include <gtest/gtest.h>

#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyEdit.h"
#include "vyutil/VyColorSlots.h"

namespace
{
class VyEditTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pEdit = Make<VyEdit>(VyControlKind::EDIT, {20, 100, 300, 78}, VY_STYLE_VISIBLE | VY_STYLE_TABSTOP);
        ASSERT_NE(m_pEdit, nullptr);
        m_pMain->SetFocus(m_pEdit);
    }
    // The text with the selection in brackets and the caret as '|'.
    VyString Shown() const
    {
        VyString text = m_pEdit->GetText();
        const int start = m_pEdit->GetSelectionStart();
        const int length = m_pEdit->GetSelectionLength();
        if (length == 0)
            return text.insert(static_cast<size_t>(m_pEdit->GetCaret()), "|");
        text.insert(static_cast<size_t>(start + length), "]");
        text.insert(static_cast<size_t>(start), "[");
        return m_pEdit->GetCaret() == start ? "|" + text : text + "|";
    }

    VyEdit* m_pEdit = nullptr;
};
} // namespace

TEST_F(VyEditTest, KeysMoveTheCaretAndShiftExtendsTheSelection)
{
    Type("hello");
    EXPECT_EQ(Shown(), "hello|");
    Key(VY_KEY_LEFT);
    Key(VY_KEY_LEFT, VY_INPUT_SHIFT);
    Key(VY_KEY_LEFT, VY_INPUT_SHIFT);
    EXPECT_EQ(Shown(), "|he[ll]o"); // the caret is at the selection's left end
    Key(VY_KEY_RIGHT);               // collapses to the right end
    EXPECT_EQ(Shown(), "hell|o");
    Key(VY_KEY_HOME, VY_INPUT_SHIFT);
    EXPECT_EQ(m_pEdit->GetSelectedText(), "hell");
    Key(VY_KEY_LEFT); // collapses to the left end
    EXPECT_EQ(Shown(), "|hello");
    Key(VY_KEY_END);
    Key(VY_KEY_HOME);
    Key(VY_KEY_BACKSPACE); // at 0: nothing
    EXPECT_EQ(Shown(), "|hello");
    Key(VY_KEY_DELETE);
    EXPECT_EQ(Shown(), "|ello");
    Key(VY_KEY_END);
    Key(VY_KEY_DELETE); // at the end: nothing
    EXPECT_EQ(Shown(), "ello|");
    Key(VY_KEY_BACKSPACE);
    EXPECT_EQ(Shown(), "ell|");
    Key(VY_KEY_LEFT, VY_INPUT_SHIFT);
    Type("X"); // replaces the selection
    EXPECT_EQ(Shown(), "elX|");
    m_pMain->OnChar('q', VY_INPUT_KEY | VY_INPUT_CONTROL); // Control combinations are not typing
    EXPECT_EQ(Shown(), "elX|");
    EXPECT_EQ(Platform().m_nBeeps, 0);
}

TEST_F(VyEditTest, TypingIntoAFullFieldBeepsAndChangesNothing)
{
    VyEdit* pNarrow = Make<VyEdit>(VyControlKind::EDIT, {20, 60, 70, 38}, VY_STYLE_VISIBLE, {}, 202);
    m_pMain->SetFocus(pNarrow);
    Type("wwwwwwwwwwwwwwww");
    const VyString full = pNarrow->GetText();
    EXPECT_LT(full.size(), 16u);
    EXPECT_GT(full.size(), 0u);
    EXPECT_GT(Platform().m_nBeeps, 0);
    const int beeps = Platform().m_nBeeps;
    Type("w");
    EXPECT_EQ(pNarrow->GetText(), full);
    EXPECT_EQ(Platform().m_nBeeps, beeps + 1);

    // A read-only field takes no typing and no deleting.
    VyEdit* pFixed = Make<VyEdit>(VyControlKind::EDIT, {100, 60, 300, 38}, VY_STYLE_VISIBLE | VY_EDIT_READONLY,
                                  "fixed", 203);
    m_pMain->SetFocus(pFixed);
    Type("x");
    Key(VY_KEY_BACKSPACE);
    Key(VY_KEY_DELETE);
    EXPECT_EQ(pFixed->GetText(), "fixed");
}

TEST_F(VyEditTest, TheFocusSelectsAllAndKeepsTheTextForUndoAndEscape)
{
    m_pEdit->SetText("Player 1");
    m_pMain->SetFocus(m_pMain.get());
    m_pMain->SetFocus(m_pEdit);
    EXPECT_EQ(Shown(), "[Player 1]|");
    EXPECT_EQ(VyEdit::GetUndoBuffer(), "Player 1");
    ASSERT_NE(m_pMain->GetCaretOwner(), nullptr);
    EXPECT_FALSE(m_pEdit->CanUndo());
    Type("Ann");
    EXPECT_EQ(m_pEdit->GetText(), "Ann");
    EXPECT_TRUE(m_pEdit->CanUndo());
    Key(VY_KEY_ESCAPE);
    EXPECT_EQ(Shown(), "Player 1|");
    m_pMain->SetFocus(m_pMain.get());
    EXPECT_EQ(m_pMain->GetCaretOwner(), nullptr);
}

TEST_F(VyEditTest, ClipboardOperationsCutCopyAndPasteThroughThePlatform)
{
    Type("join me");
    m_pEdit->SetSelection(0, 4);
    m_pEdit->Copy();
    EXPECT_EQ(Platform().m_clipboard, "join");
    m_pEdit->Cut();
    EXPECT_EQ(Shown(), "| me");
    Platform().m_clipboard = "host\texample\nsecond line";
    m_pEdit->Paste(); // the first line, without the tab
    EXPECT_EQ(Shown(), "hostexample| me");
    m_pEdit->SelectAll();
    m_pEdit->DeleteSelection();
    EXPECT_EQ(m_pEdit->GetText(), "");
    m_pEdit->Undo();
    EXPECT_EQ(Shown(), "|"); // the text when the field got the focus was empty
    Platform().m_clipboard = VyString(200, 'w');
    m_pEdit->Paste();
    EXPECT_EQ(m_pEdit->GetText(), "");
    EXPECT_EQ(Platform().m_nBeeps, 1);
}

TEST_F(VyEditTest, TheMousePutsTheCaretAndDragsASelection)
{
    Type("abcdef");
    const VyPoint origin = m_pEdit->ClientToRoot(VyPoint{VyEdit::VY_TEXT_X, 5});
    Press(origin); // before the first character
    EXPECT_EQ(Shown(), "|abcdef");
    m_pMain->OnMouseMove({origin.x + 400, origin.y}, VY_MOUSE_LEFT);
    EXPECT_EQ(m_pMain->GetCapture(), m_pEdit);
    EXPECT_EQ(Shown(), "[abcdef]|");
    Release({origin.x + 400, origin.y});
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);
    m_pMain->OnMouseMove(origin, 0);
    EXPECT_EQ(m_pMain->GetShownCursor(), VY_CURSOR_IBEAM);
}

TEST_F(VyEditTest, AFieldDrawsItsBackgroundFrameTextAndSelection)
{
    Type("mmm");
    m_pEdit->SetSelection(0, 1);
    Frame();
    EXPECT_EQ(Pixel(290, 89), SlotColor(EDIT_BACKGROUND));
    EXPECT_EQ(Pixel(20, 89), SlotColor(EDIT_LIGHT_SHADOW)); // sunken: shadow on the left
    int selected = 0;
    int text = 0;
    for (int y = 80; y < 98; ++y)
        for (int x = 22; x < 60; ++x)
        {
            selected += Pixel(x, y) == SlotColor(EDIT_BACKGROUND_SELECTION);
            text += Pixel(x, y) == SlotColor(EDIT_TEXT);
        }
    EXPECT_GT(selected, 20);
    EXPECT_GT(text, 10);
}

TEST_F(VyEditTest, TypingOverASelectionInAFullFieldRemovesItEvenWhenTheCharacterDoesNotFit)
{
    VyEdit* pNarrow = Make<VyEdit>(VyControlKind::EDIT, {20, 60, 70, 38}, VY_STYLE_VISIBLE, {}, 202);
    m_pMain->SetFocus(pNarrow);
    Type(VyString(60, 'i'));
    const VyString full = pNarrow->GetText();
    ASSERT_LT(full.size(), 60u);
    const int beeps = Platform().m_nBeeps;
    Key(VY_KEY_LEFT, VY_INPUT_SHIFT);
    Type("W"); // far wider than the one 'i' it replaces
    EXPECT_EQ(pNarrow->GetText(), full.substr(0, full.size() - 1));
    EXPECT_EQ(pNarrow->GetSelectionLength(), 0);
    EXPECT_EQ(Platform().m_nBeeps, beeps + 1);
    Type("i");
    EXPECT_EQ(pNarrow->GetText(), full);
    EXPECT_EQ(Platform().m_nBeeps, beeps + 1);
}

TEST_F(VyEditTest, TheCaretIsOnePixelWideAndTwoTallerThanTheFontInAFieldSizedToItsFont)
{
    const int fontHeight = VyRenderContext::GetCurrent()->GetFonts()[VY_FONT_CONTROL]->GetHeight();
    VyEdit* pAuto =
        Make<VyEdit>(VyControlKind::EDIT, {20, 200, 200, 196}, VY_STYLE_VISIBLE | VY_EDIT_AUTO_HEIGHT, {}, 202);
    ASSERT_NE(pAuto, nullptr);
    EXPECT_EQ(pAuto->GetRect().top, 200);
    EXPECT_EQ(pAuto->GetClientRect().Height(), fontHeight + 2 + 2 * VyEdit::VY_TEXT_X);
    m_pMain->SetFocus(pAuto);
    Frame();
    const VyRect field = pAuto->GetRootRect();
    std::vector<int> columns;
    int pixels = 0;
    for (int x = field.left; x < field.right; ++x)
        for (int y = field.bottom; y < field.top; ++y)
            if (Pixel(x, y) == SlotColor(CARET))
            {
                ++pixels;
                if (columns.empty() || columns.back() != x)
                    columns.push_back(x);
            }
    EXPECT_EQ(columns, (std::vector<int>{pAuto->GetClientRootRect().left + VyEdit::VY_TEXT_X}));
    EXPECT_EQ(pixels, fontHeight + 2);
}

TEST_F(VyEditTest, AReadOnlyFieldDrawsOnItsOwnBackgroundInItsOwnTextColour)
{
    VyEdit* pFixed = Make<VyEdit>(VyControlKind::EDIT, {20, 60, 300, 38}, VY_STYLE_VISIBLE | VY_EDIT_READONLY,
                                  "mmmm", 202);
    ASSERT_NE(pFixed, nullptr);
    constexpr uint32_t NORMAL = 0xA00000;
    constexpr uint32_t READONLY = 0x00A000;
    pFixed->SetColor(VyControlColor::TEXT, VyColor(NORMAL));
    pFixed->SetColor(VyControlColor::TEXT_READONLY, VyColor(READONLY));
    Frame();
    EXPECT_EQ(Pixel(290, 49), SlotColor(EDIT_BACKGROUND_READONLY));
    int readonlyText = 0;
    int normalText = 0;
    for (int y = 40; y < 58; ++y)
        for (int x = 22; x < 80; ++x)
        {
            readonlyText += Pixel(x, y) == READONLY;
            normalText += Pixel(x, y) == NORMAL;
        }
    EXPECT_GT(readonlyText, 10);
    EXPECT_EQ(normalText, 0);
}
