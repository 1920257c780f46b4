#include "VyGameWndTestSupport.h"

#include <algorithm>

#include "VyChatHistory.h"
#include "VyChatSender.h"
#include "VyMessageLog.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyLabel.h"
#include "vycontrol/VyListBox.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyMenuItem.h"
#include "vyrender/VyMarkup.h"
#include "vythread/VyException.h"
#include "vythread/VyTraceCapture.h"
#include "vywindow/VyDialog.h"

namespace
{
// The connection's side of the chat: keeps what it was given and answers as the test says.
class VyRecordingSender : public VyChatSender
{
public:
    enum class Outcome
    {
        SENT,
        FAILED,
        THROWS,
    };

    bool SendChat(const VyString& text) override
    {
        m_texts.push_back(text);
        if (m_outcome == Outcome::THROWS)
            throw VyException("VySocket", "Write", "Connection reset by peer");
        return m_outcome == Outcome::SENT;
    }

    std::vector<VyString> m_texts;
    Outcome m_outcome = Outcome::SENT;
};

class VyChatTest : public VyGameWndTest
{
protected:
    void Type(const VyString& text)
    {
        for (char c : text)
            m_pMain->OnChar(static_cast<unsigned char>(c), VY_INPUT_KEY);
        Dispatch();
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            Tick();
    }
    void Names()
    {
        Rules().SetPlayerName(VyPlayer::PLAYER1, "Ann");
        Rules().SetPlayerName(VyPlayer::PLAYER2, "Bob");
    }
    VyMessageLog& Log() const { return *m_pGame->GetMessageLog(); }
    std::vector<VyString> LogTexts() const
    {
        std::vector<VyString> texts;
        for (int i = 0; i < Log().GetLineCount(); ++i)
            texts.push_back(Log().GetLine(i)->GetText());
        return texts;
    }
    const std::vector<VyString>& History() const { return m_pGame->GetChat().GetHistory().GetLines(); }
    VyEdit* ChatEdit() const { return m_pGame->GetChat().GetChatLine().GetEdit(); }
    const VyMessagesWindow& Messages() const { return m_pGame->GetChat().GetMessagesWindow(); }
    std::vector<VyString> ListTexts() const
    {
        std::vector<VyString> texts;
        const VyListBox* pList = Messages().GetList();
        for (int i = 0; pList != nullptr && i < pList->GetItemCount(); ++i)
            texts.push_back(pList->GetItem(i).cells.at(0));
        return texts;
    }
    // The window's place in the game window's stacking order, 0 in front.
    int StackPlace(const VyWnd* pWnd) const
    {
        const auto& children = m_pGame->GetVisibleChildren();
        const auto same = [pWnd](const std::unique_ptr<VyWnd>& pChild) { return pChild.get() == pWnd; };
        const auto it = std::find_if(children.begin(), children.end(), same);
        return static_cast<int>(it - children.begin());
    }
    bool IsLogInFrontOfThePieces() const
    {
        for (int piece = 0; piece < 16; ++piece)
            if (StackPlace(&Log()) > StackPlace(m_pGame->GetPiece(piece)))
                return false;
        return true;
    }
    VyMenuItem& UpdatedItem(int command)
    {
        auto* pBar = dynamic_cast<VyMenuBar*>(m_pMain->GetMenuBar());
        VyMenuItem* pItem = pBar == nullptr ? nullptr : pBar->FindItem(command);
        if (pItem == nullptr)
            throw std::runtime_error("no menu item " + std::to_string(command));
        m_pMain->UpdateMenuItem(*pItem);
        return *pItem;
    }

    VyRecordingSender m_sender;
};

// A dialog folder whose Messages window has no list.
class VyChatWithoutListTest : public VyChatTest
{
protected:
    void WriteSettings() override
    {
        VyChatTest::WriteSettings();
        m_dir.Put("vyw.cfg", "[Directories]\nDialogs=Broken\n");
        m_dir.Put("Broken/messages.dlg", "[General]\nSize=502,400\nCaption=Messages\nControlCount=1\nDefaultID=IDOK\n\n"
                                         "[Control1]\nType=BUTTON\nRect=206,38,281,13\nValue=Ok\nID=IDOK\n");
    }
};
} // namespace

TEST(VyChatHistoryLines, ALineNamesItsWriterInItsColourAndShowsNameAndTextAsTyped)
{
    EXPECT_EQ(VyChatHistory::SentLine("Ann", "hello"), "<><yellow>Ann: <white>hello");
    EXPECT_EQ(VyChatHistory::ReceivedLine("Bob", "hi"), "<><green>Bob: <white>hi");
    // A '<' starts no tag: it shows as it was typed.
    const VyString line = VyChatHistory::SentLine("A<b>", "I <3 <red> you");
    EXPECT_EQ(line, "<><yellow>A<<b>: <white>I <<3 <<red> you");
    EXPECT_EQ(VyMarkup::Strip(line), "A<b>: I <3 <red> you");
}

TEST_F(VyChatTest, TheLogLiesOverTheBoardBelowTheStatusLineAndNeverTakesThePiecesClicks)
{
    VyMessageLog* pLog = m_pGame->GetMessageLog();
    ASSERT_NE(pLog, nullptr);
    EXPECT_EQ(pLog->GetParent(), m_pGame);
    EXPECT_EQ(pLog->GetStyle() & ~VY_STYLE_CREATED, 0x438008u);
    EXPECT_EQ(pLog->GetLifetime(), 15000);
    // The game window has its size from the layout under the menu bar; the log follows it.
    VyRect expected = m_pGame->GetClientRect();
    EXPECT_LT(expected.top, HEIGHT);
    expected.top -= 30;
    EXPECT_EQ(pLog->GetRect(), expected);
    EXPECT_TRUE(IsLogInFrontOfThePieces());

    m_pGame->AddLogLine("Bob has successfully joined the game from 10.0.0.2.\n");
    m_pGame->AddLogLine("in red", VyColor(0xFF0000));
    ASSERT_EQ(pLog->GetLineCount(), 2);
    EXPECT_EQ(pLog->GetLine(0)->GetColor(VyControlColor::TEXT).GetValue(), 0xFFFFFFu);
    EXPECT_EQ(pLog->GetLine(0)->GetColor(VyControlColor::TEXT_SHADOW).GetValue(), 0x000000u);
    EXPECT_EQ(pLog->GetLine(1)->GetColor(VyControlColor::TEXT).GetValue(), 0xFF0000u);
    EXPECT_TRUE(History().empty()) << "notices are no chat lines";

    // A full log covers the board; a piece under its lines is still chosen by a click.
    m_pMain->OnCommand(200);
    for (int i = 0; i < 40; ++i)
        m_pGame->AddLogLine("a line over the board to cover it all");
    int covered = INVALID_PIECE;
    for (int piece = 0; piece < 16 && covered == INVALID_PIECE; ++piece)
        for (int i = 0; i < pLog->GetLineCount(); ++i)
            if (pLog->GetLine(i)->GetRootRect().Contains(SolidPointOf(piece)))
                covered = piece;
    ASSERT_NE(covered, INVALID_PIECE);
    ChoosePieceByClick(covered);
    Settle();
    ASSERT_FALSE(Rules().GetHistory().empty());
    EXPECT_EQ(Rules().GetHistory().front(), covered);
    EXPECT_TRUE(IsLogInFrontOfThePieces()) << "after the placement's restacking";
    // The mouse over a square under the lines highlights it.
    ASSERT_TRUE(Rules().IsHumanPlacing());
    const int square = FirstEmptySquare();
    Move(CenterOf(square));
    EXPECT_EQ(Rules().GetHighlightedSquare(), square);
}

TEST_F(VyChatTest, ALineInTheLogGoesAtTheFirstTickFifteenSecondsAfterItCame)
{
    m_pGame->ReceiveChat("hi");
    Ticks(299);
    EXPECT_EQ(Log().GetLineCount(), 1);
    Tick();
    EXPECT_EQ(Log().GetLineCount(), 0);
    EXPECT_EQ(History().size(), 1u) << "the history keeps it";
}

TEST_F(VyChatTest, ReturnOpensTheChatLineAtTheBottomAndTheNextReturnSendsWhatWasTyped)
{
    m_pGame->SetChatSender(&m_sender);
    m_pMain->OnCommand(200);
    Names();
    Key(VY_KEY_TAB);
    VyWnd* pFocus = m_pMain->GetFocus();
    ASSERT_EQ(pFocus, m_pGame->GetPiece(15));
    m_script
        .Then([this] {
            ASSERT_NE(ChatEdit(), nullptr);
            EXPECT_EQ(m_pMain->GetModal(), ChatEdit());
            EXPECT_EQ(m_pMain->GetFocus(), ChatEdit());
            EXPECT_EQ(ChatEdit()->GetParent(), m_pGame);
            EXPECT_EQ(ChatEdit()->GetStyle() & ~(VY_STYLE_CREATED | VY_STYLE_MOUSE_OVER), 0x1000008u);
            const VyRect client = m_pGame->GetClientRect();
            EXPECT_EQ(ChatEdit()->GetRect().left, client.left + 50);
            EXPECT_EQ(ChatEdit()->GetRect().right, client.right - 50);
            EXPECT_EQ(ChatEdit()->GetRect().top, client.bottom + 50);
            EXPECT_GT(ChatEdit()->GetRect().bottom, client.bottom);
            EXPECT_EQ(StackPlace(ChatEdit()), 0);
            Type("hello there");
            Key(VY_KEY_TAB); // the field keeps the keys: no piece is walked to
            EXPECT_EQ(m_pMain->GetFocus(), ChatEdit());
        })
        .Then([this] { Key(VY_KEY_RETURN); })
        .Start();
    Key(VY_KEY_RETURN);
    EXPECT_EQ(m_sender.m_texts, (std::vector<VyString>{"hello there"}));
    const VyString line = "<><yellow>Ann: <white>hello there";
    EXPECT_EQ(LogTexts(), (std::vector<VyString>{line}));
    EXPECT_EQ(History(), (std::vector<VyString>{line}));
    EXPECT_EQ(ChatEdit(), nullptr);
    EXPECT_FALSE(m_pGame->GetChat().GetChatLine().IsWaiting());
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
    Dispatch();
    EXPECT_EQ(m_pMain->GetFocus(), pFocus) << "the focus goes back where it was";
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES) << "the space typed chose nothing";

    // The Chat command opens it too.
    m_script.Then([this] { Type("by menu"); }).Then([this] { Key(VY_KEY_RETURN); }).Start();
    m_pMain->OnCommand(222);
    EXPECT_EQ(m_sender.m_texts.back(), "by menu");
    EXPECT_EQ(History().size(), 2u);
}

TEST_F(VyChatTest, AnEmptyLineAndEscapeSendNothing)
{
    m_pGame->SetChatSender(&m_sender);
    m_script.Then([this] { ASSERT_NE(ChatEdit(), nullptr); }).Then([this] { Key(VY_KEY_RETURN); }).Start();
    Key(VY_KEY_RETURN);
    EXPECT_EQ(ChatEdit(), nullptr);

    m_script.Then([this] { Type("never mind"); }).Then([this] { Key(VY_KEY_ESCAPE); }).Start();
    Key(VY_KEY_RETURN);
    EXPECT_EQ(ChatEdit(), nullptr);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);

    EXPECT_TRUE(m_sender.m_texts.empty());
    EXPECT_EQ(Log().GetLineCount(), 0);
    EXPECT_TRUE(History().empty());
    // Escape with no chat line open goes on to the game window, and opens nothing.
    Key(VY_KEY_ESCAPE);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
}

TEST_F(VyChatTest, WithoutAConnectionTheChatDoesNothingAndItsEndClosesAnOpenChatLine)
{
    EXPECT_FALSE(UpdatedItem(222).IsEnabled());
    EXPECT_TRUE(UpdatedItem(221).IsEnabled());
    Key(VY_KEY_RETURN); // returns at once: there is no chat line to wait for
    m_pMain->OnCommand(222);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
    m_pGame->SendChat("hello");
    EXPECT_EQ(Log().GetLineCount(), 0);
    EXPECT_TRUE(History().empty());

    // The connection closes while a line is being typed: the line closes, unsent.
    m_pGame->SetChatSender(&m_sender);
    m_script.Then([this] { Type("bye"); }).Then([this] { m_pGame->SetChatSender(nullptr); }).Start();
    Key(VY_KEY_RETURN);
    EXPECT_EQ(ChatEdit(), nullptr);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
    EXPECT_TRUE(m_sender.m_texts.empty());
    EXPECT_TRUE(History().empty());
    Key(VY_KEY_RETURN);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
}

TEST_F(VyChatTest, ALineThatCouldNotBeSentIsLeftOutEverywhere)
{
    m_pGame->SetChatSender(&m_sender);
    Names();
    m_pMain->OnCommand(221);
    ASSERT_NE(Messages().GetList(), nullptr);
    m_sender.m_outcome = VyRecordingSender::Outcome::FAILED;
    m_pGame->SendChat("lost");
    VyTraceCapture trace;
    m_sender.m_outcome = VyRecordingSender::Outcome::THROWS;
    m_pGame->SendChat("reset");
    EXPECT_EQ(m_sender.m_texts, (std::vector<VyString>{"lost", "reset"}));
    EXPECT_EQ(Log().GetLineCount(), 0);
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(ListTexts().empty());
    EXPECT_TRUE(trace.Has("*VyChatPanel::SendChat : the line was not sent\n"
                          "*VySocket::Write : Connection reset by peer"));

    m_sender.m_outcome = VyRecordingSender::Outcome::SENT;
    m_pGame->SendChat("back");
    EXPECT_EQ(ListTexts(), (std::vector<VyString>{"<><yellow>Ann: <white>back"}));
    EXPECT_EQ(Log().GetLineCount(), 1);
}

TEST_F(VyChatTest, TheMessagesWindowListsEveryLineSinceTheStartAndGrowsWhileOpen)
{
    Names();
    m_pGame->SetChatSender(&m_sender);
    m_pGame->SendChat("one");
    m_pGame->ReceiveChat("two");
    m_pGame->SetChatSender(nullptr); // that connection ended; another one follows
    VyRecordingSender second;
    m_pGame->SetChatSender(&second);
    m_pGame->SendChat("three");

    m_pMain->OnCommand(221);
    VyDialog* pDialog = Messages().GetDialog();
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->GetDialogId(), 206);
    EXPECT_EQ(pDialog->GetText(), "Messages");
    EXPECT_EQ(pDialog->GetParent(), m_pGame);
    EXPECT_TRUE(pDialog->IsSelfOrDescendant(m_pMain->GetFocus()));
    EXPECT_EQ(ListTexts(), (std::vector<VyString>{"<><yellow>Ann: <white>one", "<><green>Bob: <white>two",
                                                  "<><yellow>Ann: <white>three"}));
    EXPECT_FALSE(Log().IsVisible());
    // Half see-through over the board, its items black where their markup says nothing, on black shadows.
    const VyListBox& list = *Messages().GetList();
    EXPECT_EQ(pDialog->GetBackgroundColor().GetAlpha(), 128);
    EXPECT_EQ(list.GetBackgroundColor(), pDialog->GetBackgroundColor());
    EXPECT_EQ(list.GetColor(VyControlColor::TEXT), VyColor(0x000000));
    EXPECT_EQ(list.GetColor(VyControlColor::TEXT_SHADOW), VyColor(0x000000));
    // Centred, moved up 50 as far as the game window leaves room for its caption.
    const VyRect client = m_pGame->GetClientRect();
    EXPECT_EQ(pDialog->GetRect().left, (client.Width() - pDialog->GetWidth()) / 2);
    EXPECT_EQ(pDialog->GetRect().top, std::min((client.Height() + pDialog->GetHeight()) / 2 + 50, client.top));
    EXPECT_GT(pDialog->GetRect().top, (client.Height() + pDialog->GetHeight()) / 2);

    // Lines arriving meanwhile go at the end, and the newest is scrolled into view.
    for (int i = 0; i < 40; ++i)
        m_pGame->ReceiveChat(VyString::Format("more %d", i));
    m_pGame->SendChat("last");
    ASSERT_EQ(list.GetItemCount(), 44);
    EXPECT_EQ(ListTexts().back(), "<><yellow>Ann: <white>last");
    EXPECT_GT(list.GetTopItem(), 0);
    EXPECT_GE(list.GetTopItem() + list.GetVisibleRows(), 44);
    EXPECT_EQ(ListTexts(), History());

    // Ok (Return: it has the focus) closes it, and the log is back in front of the pieces.
    Key(VY_KEY_RETURN);
    Dispatch();
    EXPECT_FALSE(Messages().IsShown());
    EXPECT_TRUE(Log().IsVisible());
    EXPECT_TRUE(IsLogInFrontOfThePieces());
    EXPECT_EQ(m_pMain->GetModal(), nullptr) << "Return went to the window, not to the chat line";

    // Shown again while shown: one window, and the first one's closing leaves the log hidden.
    m_pMain->OnCommand(221);
    m_pMain->OnCommand(221);
    Dispatch();
    int windows = 0;
    for (const auto& pChild : m_pGame->GetVisibleChildren())
        windows += dynamic_cast<const VyDialog*>(pChild.get()) != nullptr;
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(Messages().IsShown());
    EXPECT_FALSE(Log().IsVisible());
    EXPECT_EQ(ListTexts(), History());
}

TEST_F(VyChatWithoutListTest, AMessagesWindowWithoutItsListReportsItAndShowsEmpty)
{
    VyTraceCapture trace;
    m_pMain->OnCommand(221);
    EXPECT_TRUE(trace.Has("Assertion Failed:pListBox"));
    ASSERT_TRUE(Messages().IsShown());
    EXPECT_EQ(Messages().GetList(), nullptr);
    m_pGame->ReceiveChat("kept all the same");
    EXPECT_EQ(History().size(), 1u);
    EXPECT_EQ(Log().GetLineCount(), 1);
}
