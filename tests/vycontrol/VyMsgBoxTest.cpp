#include <gtest/gtest.h>

#include <functional>

#include "vycontrol/VyButton.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyLabel.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMetrics.h"
#include "vywindow/VyMsgBox.h"

// Message boxes and the shipped dialogs with the real controls, run as the game runs them.

namespace
{
class Owner : public VyMessageTarget
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        m_messages.push_back(VyString::Format("%d %d %d", msg.id, msg.param1, msg.param2));
    }
    std::vector<VyString> m_messages;
};

// The root point of the middle of a box's button.
VyPoint ButtonCentre(const VyDialog& box, int id)
{
    const VyWnd* pButton = box.GetControl(id);
    const VyRect rect = pButton->GetRootRect();
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}
} // namespace

TEST_F(VyControlTest, ModalMessageBoxesAnswerWithTheirButtonsOnReturnEscapeAndClicks)
{
    struct Case
    {
        int type;
        const char* input; // "return", "escape" or "click N"
        int answer;
    };
    const Case cases[] = {
        {VY_MB_OK, "return", VY_IDOK},           {VY_MB_OK, "escape", VY_IDOK},
        {VY_MB_YESNO, "return", VY_IDYES},       {VY_MB_YESNO, "escape", VY_IDNO},
        {VY_MB_YESNO | VY_MB_DEFAULT_SECOND, "return", VY_IDNO},
        {VY_MB_YESNO, "click 7", VY_IDNO},       {VY_MB_YESNO, "click 6", VY_IDYES},
        {VY_MB_OKCANCEL, "return", VY_IDOK},     {VY_MB_OKCANCEL, "escape", VY_IDCANCEL},
        {VY_MB_OKCANCEL | VY_MB_DEFAULT_SECOND, "return", VY_IDCANCEL},
        {VY_MB_OKCANCEL, "click 2", VY_IDCANCEL}, {VY_MB_CANCEL, "return", VY_IDCANCEL},
        {VY_MB_CANCEL, "escape", VY_IDCANCEL},
    };
    for (const Case& c : cases)
    {
        const VyString input = c.input;
        VyLater act([&] {
            VyDialog* pBox = dynamic_cast<VyDialog*>(m_pMain->GetModal());
            ASSERT_NE(pBox, nullptr);
            if (input == "return")
                Key(VY_KEY_RETURN);
            else if (input == "escape")
                Key(VY_KEY_ESCAPE);
            else
                Click(ButtonCentre(*pBox, VyString(input.substr(6)).ToInt()));
        });
        act.Post();
        EXPECT_EQ(VyMsgBox::Run("Question?", "Tolmar", c.type), c.answer) << c.type << " " << c.input;
        Dispatch();
    }
}

TEST_F(VyControlTest, AModelessBoxReportsItsAnswerToItsOwnerWithItsIdentifier)
{
    Owner owner;
    VyMsgBoxOptions options;
    options.boxId = 203;
    options.pOwner = &owner;
    options.position = VyPoint{80, 220};
    VyMsgBox* pBox = VyMsgBox::Show("Would you like to play again?\n\n", "Tolmar", VY_MB_YESNO, options);
    ASSERT_NE(pBox, nullptr);
    EXPECT_EQ(pBox->GetRect().left, 80);
    EXPECT_EQ(pBox->GetRect().top, 220);
    EXPECT_EQ(pBox->GetText(), "Tolmar");
    Click(ButtonCentre(*pBox, VY_IDYES));
    Dispatch();
    EXPECT_EQ(owner.m_messages, (std::vector<VyString>{"10 203 6", "17 203 6"}));

    // A single button can carry another word, as the waiting boxes of network games do.
    options.boxId = 202;
    options.position.reset();
    options.buttonLabel = "Kill";
    VyMsgBox* pWait = VyMsgBox::Show("Waiting for the previous call", "Client", VY_MB_CANCEL, options);
    ASSERT_NE(pWait, nullptr);
    EXPECT_EQ(pWait->GetControlText(VY_IDCANCEL), "Kill");
    m_pMain->SetFocus(pWait);
    Key(VY_KEY_ESCAPE);
    Dispatch();
    EXPECT_EQ(owner.m_messages.back(), "17 202 2");
}

TEST_F(VyControlTest, AMessageBoxIsSizedToItsTextWithinItsLimits)
{
    VyMsgBoxOptions options;
    VyMsgBox* pShort = VyMsgBox::Show("Hi", "Tolmar", VY_MB_OK, options);
    ASSERT_NE(pShort, nullptr);
    const int frameAndCaption = 2 * 2 + VyGetMetric(VyMetric::CAPTION_HEIGHT);
    EXPECT_EQ(pShort->GetWidth(), 175 + 4);
    EXPECT_GE(pShort->GetHeight(), 30 + 50 + VyGetMetric(VyMetric::BUTTON_HEIGHT) + 30 + frameAndCaption);
    const VyString text = "A file with that name already exists.  Would you like to overwrite it? It holds a "
                          "game saved some time ago, and it will be lost.";
    VyMsgBox* pLong = VyMsgBox::Show(text, "Overwrite?", VY_MB_YESNO, options);
    ASSERT_NE(pLong, nullptr);
    auto* pLabel = dynamic_cast<VyLabel*>(pLong->GetControl(VyMsgBox::VY_TEXT_ID));
    ASSERT_NE(pLabel, nullptr);
    EXPECT_GT(pLabel->GetLines().size(), 1u);  // wrapped
    EXPECT_LT(pLong->GetWidth(), WIDTH);       // and wider than high
    EXPECT_GT(pLong->GetWidth(), pLong->GetHeight());
    // The text and the buttons lie inside the box, the buttons below the text.
    const VyRect box = pLong->GetRootRect();
    const VyRect label = pLabel->GetRootRect();
    const VyRect yes = pLong->GetControl(VY_IDYES)->GetRootRect();
    EXPECT_TRUE(label.left >= box.left && label.right <= box.right && label.top <= box.top);
    EXPECT_LT(yes.top, label.bottom);
    EXPECT_GE(yes.bottom, box.bottom);
}

TEST_F(VyControlTest, TheNamesDialogGivesBackWhatWasTyped)
{
    VyDialog* pDialog = VyDialog::Load("2player.dlg", 0);
    ASSERT_NE(pDialog, nullptr);
    pDialog->SetControlText(202, "Ann");
    pDialog->SetControlText(204, "Bob");
    VyLater type([&] {
        auto* pEdit = dynamic_cast<VyEdit*>(pDialog->GetControl(204));
        ASSERT_NE(pEdit, nullptr);
        Click(pEdit->ClientToRoot(VyPoint{5, 5}));
        Key(VY_KEY_END);
        Type("by");
        Key(VY_KEY_TAB); // on to Ok
        Key(VY_KEY_RETURN);
    });
    type.Post();
    const VyDialogResult result = pDialog->RunModal();
    EXPECT_EQ(result.result, VY_IDOK);
    EXPECT_EQ(result.GetText(202), "Ann");
    EXPECT_EQ(result.GetText(204), "Bobby");
}

TEST_F(VyControlTest, AFatalErrorIsShownInAnErrorBoxThatWaitsForItsOk)
{
    VyString caption;
    VyString text;
    VyLater answer([&] {
        auto* pBox = dynamic_cast<VyDialog*>(m_pMain->GetModal());
        ASSERT_NE(pBox, nullptr);
        caption = pBox->GetText();
        text = pBox->GetControlText(VyMsgBox::VY_TEXT_ID);
        EXPECT_NE(pBox->GetControl(VY_IDOK), nullptr);
        Key(VY_KEY_RETURN);
    });
    answer.Post();
    EXPECT_TRUE(m_pMain->ShowFatalError("Error", "*VyGame::Start : it went wrong"));
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "*VyGame::Start : it went wrong");
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
}
