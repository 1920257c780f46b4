#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "vycontrol/VyButton.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyScrollBar.h"
#include "vyrender/VyFont.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMetrics.h"

namespace
{
VyPoint Centre(const VyRect& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A window like the game's main window: it keeps the commands (identifier, extra value) and the
// menu-closed messages it gets, and answers the update requests of its menus from two sets.
class VyMenuOwner : public VyFrameWnd, public VyMenuUpdater
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == VY_MSG_COMMAND)
            m_commands.emplace_back(msg.param1, msg.param2);
        else if (msg.id == VY_MSG_MENU_CLOSED)
            m_closed.push_back(msg.param1);
        else
            VyFrameWnd::HandleMessage(msg);
    }
    void UpdateMenuItem(VyMenuItem& item) override
    {
        m_updated.insert(item.GetId());
        item.EnableIf(m_disabled.count(item.GetId()) == 0);
        item.CheckIf(m_checked.count(item.GetId()) != 0);
    }

    std::vector<std::pair<int, int>> m_commands;
    std::vector<int> m_closed;
    std::set<int> m_disabled;
    std::set<int> m_checked;
    std::set<int> m_updated;
};

// The owner fills the main window and carries a bar of Game / Options / Help:
//   Game     Human (205, extra 7), Computer > Beginner..Advanced (200..204), -, Save (214), -, Exit (208)
//   Options  Undo (8), -, First Turn > Player 1, Player 2, Random (209..211), Chat (222)
//   Help     Rules (216), About (212)
class VyMenuTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pOwner = m_pSink->CreateChild(std::make_unique<VyMenuOwner>(), VY_STYLE_VISIBLE, {0, HEIGHT, WIDTH, 0});
        m_pOwner->SetBackgroundColor(VyColor(0x2F3A44));
        m_pBar = dynamic_cast<VyMenuBar*>(m_pOwner->SetMenuBar());
        ASSERT_NE(m_pBar, nullptr);
        m_pBar->AppendPopup("Game", MakeGame());
        m_pBar->AppendPopup("Options", MakeOptions());
        auto pHelp = std::make_unique<VyPopupMenu>();
        pHelp->AppendItem(216, "Rules");
        pHelp->AppendItem(212, "About");
        m_pBar->AppendPopup("Help", std::move(pHelp));
    }

    static std::unique_ptr<VyPopupMenu> MakeGame()
    {
        auto pGame = std::make_unique<VyPopupMenu>();
        pGame->AppendItem(205, "Human", nullptr, 0, 7);
        auto pComputer = std::make_unique<VyPopupMenu>();
        int id = 200;
        for (const char* level : {"Beginner", "Easy", "Intermediate", "Hard", "Advanced"})
            pComputer->AppendItem(id++, level);
        pGame->AppendSubMenu("Computer", std::move(pComputer));
        pGame->AppendSeparator();
        pGame->AppendItem(214, "Save");
        pGame->AppendSeparator();
        pGame->AppendItem(208, "Exit");
        return pGame;
    }

    static std::unique_ptr<VyPopupMenu> MakeOptions()
    {
        auto pOptions = std::make_unique<VyPopupMenu>();
        pOptions->AppendItem(8, "Undo");
        pOptions->AppendSeparator();
        auto pFirst = std::make_unique<VyPopupMenu>();
        pFirst->AppendItem(209, "Player 1");
        pFirst->AppendItem(210, "Player 2");
        pFirst->AppendItem(211, "Random");
        pOptions->AppendSubMenu("First Turn", std::move(pFirst));
        pOptions->AppendItem(222, "Chat");
        return pOptions;
    }

    VyPopupMenu* Menu(int title) const { return m_pBar->GetPopup(title); }
    VyPopupMenu* Modal() const { return dynamic_cast<VyPopupMenu*>(m_pMain->GetModal()); }
    void ClickTitle(int title)
    {
        Click(Centre(m_pBar->GetTitle(title)->GetRootRect()));
        Dispatch();
    }
    void MoveTo(VyPoint point) { m_pMain->OnMouseMove(point, 0); }
    void MoveOnto(VyPopupMenu* pMenu, int item) { MoveTo(Centre(pMenu->GetItemRootRect(item))); }
    void ClickOn(VyPopupMenu* pMenu, int item)
    {
        Click(Centre(pMenu->GetItemRootRect(item)));
        Dispatch();
    }
    // How many pixels of a root rectangle have the colour of a slot, after drawing a frame.
    int CountSlot(const VyRect& rect, int slot) const
    {
        int count = 0;
        for (int y = rect.bottom; y < rect.top; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += Pixel(x, y) == SlotColor(slot);
        return count;
    }
    // Nothing of a menu is left open: no modal window, capture or overlay.
    void ExpectNothingOpen() const
    {
        EXPECT_EQ(m_pMain->GetModal(), nullptr);
        EXPECT_EQ(m_pMain->GetCapture(), nullptr);
        EXPECT_TRUE(m_pMain->GetOverlays().empty());
    }

    VyMenuOwner* m_pOwner = nullptr;
    VyMenuBar* m_pBar = nullptr;
};
} // namespace

// -- Opening, layout, closing ------------------------------------------------------------------------

TEST_F(VyMenuTest, ATitleOpensItsKeptMenuUnderItAndAClickOnItAgainClosesIt)
{
    EXPECT_EQ(m_pBar->GetId(), VY_ID_MENUBAR);
    ClickTitle(0);
    VyPopupMenu* pGame = Menu(0);
    ASSERT_TRUE(pGame->IsOpen());
    EXPECT_EQ(m_pBar->GetOpenIndex(), 0);
    EXPECT_EQ(m_pBar->GetTitle(0)->GetState(), VyButtonState::DOWN);
    EXPECT_EQ(pGame->GetParent(), m_pBar);
    EXPECT_EQ(pGame->GetId(), VyMenuBar::VY_POPUP_ID_BASE);
    EXPECT_TRUE(pGame->HasStyle(VY_MENUBAR_POPUP_STYLE | VY_STYLE_OVERLAY));
    EXPECT_EQ(m_pMain->GetModal(), pGame);
    EXPECT_EQ(m_pMain->GetCapture(), pGame);
    EXPECT_EQ(m_pMain->GetOverlays(), (std::vector<VyWnd*>{pGame}));
    const VyRect title = m_pBar->GetTitle(0)->GetRootRect();
    EXPECT_EQ(pGame->GetRootRect().left, title.left);
    EXPECT_EQ(pGame->GetRootRect().top, title.bottom);

    ClickTitle(0);
    EXPECT_FALSE(pGame->IsOpen());
    EXPECT_FALSE(pGame->IsVisible());
    EXPECT_EQ(m_pBar->GetOpenIndex(), -1);
    EXPECT_EQ(m_pBar->GetTitle(0)->GetState(), VyButtonState::UP);
    ExpectNothingOpen();
    ClickTitle(0);
    EXPECT_EQ(Menu(0), pGame); // kept, and used again
    EXPECT_TRUE(pGame->IsOpen());
}

TEST_F(VyMenuTest, ItemsAreFontHeightPlusSixAndTheMenuFitsItsWidestTextInsideTheMainWindow)
{
    ClickTitle(0);
    VyPopupMenu* pGame = Menu(0);
    const int font = pGame->GetDrawFont()->GetHeight();
    EXPECT_EQ(pGame->GetItemRect(0).Height(), font + 6);
    EXPECT_EQ(pGame->GetItemRect(2).Height(), (font + 2) / 2); // a separator
    EXPECT_EQ(pGame->GetItemRect(1).top, pGame->GetItemRect(0).bottom);
    const int frame = VyGetMetric(VyMetric::THICK_FRAME_X);
    const int widest = pGame->GetDrawFont()->GetTextWidth("Computer");
    EXPECT_EQ(pGame->GetWidth(), widest + VyPopupMenu::VY_CHECK_COLUMN + VyPopupMenu::VY_ARROW_COLUMN + 2 * frame + 6);

    // A context menu opened near the corner is moved back inside the main window.
    auto pMenu = std::make_unique<VyPopupMenu>();
    pMenu->AppendItem(1, "A rather long entry");
    pMenu->AppendItem(2, "Another");
    Release({WIDTH - 50, HEIGHT - 40}); // closes the Game menu
    VyPopupMenu* pContext = VyPopupMenu::OpenContextMenu(std::move(pMenu), *m_pOwner, {WIDTH - 3, 5});
    ASSERT_NE(pContext, nullptr);
    const VyRect rect = pContext->GetRootRect();
    EXPECT_TRUE(rect.left >= 0 && rect.right <= WIDTH && rect.bottom >= 0 && rect.top <= HEIGHT);
    EXPECT_EQ(rect.right, WIDTH - 3); // it opened to the left of the point
}

TEST_F(VyMenuTest, ADisabledItemSendsNothingAndAnEnabledOneSendsItsCommandAndExtraValueToTheOwner)
{
    m_pOwner->m_disabled = {214};
    ClickTitle(0);
    VyPopupMenu* pGame = Menu(0);
    ClickOn(pGame, 3); // Save
    EXPECT_TRUE(m_pOwner->m_commands.empty());
    EXPECT_TRUE(pGame->IsOpen());
    ClickOn(pGame, 2); // a separator
    EXPECT_TRUE(pGame->IsOpen());

    ClickOn(pGame, 0); // Human
    EXPECT_EQ(m_pOwner->m_commands, (std::vector<std::pair<int, int>>{{205, 7}}));
    EXPECT_FALSE(pGame->IsOpen());
    EXPECT_EQ(m_pBar->GetOpenIndex(), -1);
    EXPECT_EQ(m_pBar->GetTitle(0)->GetState(), VyButtonState::UP);
    ExpectNothingOpen();
}

TEST_F(VyMenuTest, ReleasingOutsideClosesTheMenuPostsMenuClosedAndTheClickReachesTheWindowUnderIt)
{
    Add("below", {200, 100, 300, 20}, 0, m_pOwner);
    auto pMenu = std::make_unique<VyPopupMenu>();
    pMenu->AppendItem(1, "One");
    VyPopupMenu* pContext = VyPopupMenu::OpenContextMenu(std::move(pMenu), *m_pOwner, {20, 150}, 77);
    ASSERT_NE(pContext, nullptr);
    EXPECT_TRUE(pContext->HasStyle(VY_STYLE_OVERLAY));
    TakeLog();
    Click({250, 50});
    EXPECT_EQ(TakeLog(), (std::vector<VyString>{"below release 50,30 0x1081"}));
    ExpectNothingOpen();
    EXPECT_EQ(m_pOwner->GetChild(77), nullptr); // a context menu goes when it closes
    EXPECT_GT(m_pMain->GetPendingDeleteCount(), 0u);
    Dispatch();
    EXPECT_EQ(m_pOwner->m_closed, (std::vector<int>{77}));
    EXPECT_TRUE(m_pOwner->m_commands.empty());

    // A bar's menu is only hidden; the release still reaches the window.
    ClickTitle(1);
    Click({250, 50});
    EXPECT_EQ(TakeLog().back(), "below release 50,30 0x1081");
    Dispatch();
    EXPECT_TRUE(Menu(1)->IsCreated());
    EXPECT_FALSE(Menu(1)->IsVisible());
    EXPECT_EQ(m_pBar->GetOpenIndex(), -1);
}

TEST_F(VyMenuTest, SlidingOntoAnotherTitleOpensItsMenuAtOnce)
{
    MoveTo(Centre(m_pBar->GetTitle(1)->GetRootRect())); // no menu open: only hover
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
    ClickTitle(0);
    MoveTo(Centre(m_pBar->GetTitle(1)->GetRootRect()));
    EXPECT_EQ(m_pBar->GetOpenIndex(), 1);
    EXPECT_TRUE(Menu(1)->IsOpen());
    EXPECT_FALSE(Menu(0)->IsOpen());
    EXPECT_EQ(m_pMain->GetModal(), Menu(1));
    Dispatch();
    EXPECT_EQ(m_pBar->GetTitle(0)->GetState(), VyButtonState::UP);
    EXPECT_EQ(m_pBar->GetTitle(1)->GetState(), VyButtonState::DOWN);
    EXPECT_EQ(m_pBar->GetOpenIndex(), 1); // the first menu's closing does not clear the new one

    MoveTo({WIDTH - 10, m_pBar->GetRootRect().bottom + 2}); // the bar beyond its titles: nothing
    MoveTo(Centre(m_pBar->GetTitle(2)->GetRootRect()));
    EXPECT_TRUE(Menu(2)->IsOpen());
    EXPECT_FALSE(Menu(1)->IsOpen());
    ClickOn(Menu(2), 1);
    EXPECT_EQ(m_pOwner->m_commands.back().first, 212);
}

TEST_F(VyMenuTest, TheOwnerSetsCheckedAndDisabledStatesEachTimeAMenuShows)
{
    m_pOwner->m_checked = {209};
    m_pOwner->m_disabled = {222};
    ClickTitle(1);
    VyPopupMenu* pOptions = Menu(1);
    EXPECT_TRUE(pOptions->GetItem(0).IsEnabled());
    EXPECT_FALSE(pOptions->GetItem(3).IsEnabled());
    MoveOnto(pOptions, 2); // First Turn, through the bar to the owner
    VyPopupMenu* pFirst = pOptions->GetOpenSubMenu();
    ASSERT_NE(pFirst, nullptr);
    EXPECT_TRUE(pFirst->GetItem(0).IsChecked());
    EXPECT_FALSE(pFirst->GetItem(1).IsChecked());
    EXPECT_TRUE(m_pOwner->m_updated.count(211));

    // Drawn: the checked item has its mark in the text colour, the disabled one the disabled text.
    Frame();
    auto column = [](const VyRect& row) {
        return VyRect{row.left, row.top, row.left + VyPopupMenu::VY_CHECK_COLUMN, row.bottom};
    };
    EXPECT_GT(CountSlot(column(pFirst->GetItemRootRect(0)), MENU_TEXT), 6);
    EXPECT_EQ(CountSlot(column(pFirst->GetItemRootRect(1)), MENU_TEXT), 0);
    EXPECT_GT(CountSlot(pOptions->GetItemRootRect(3), MENU_TEXT_DISABLED), 6);
    EXPECT_EQ(CountSlot(pOptions->GetItemRootRect(3), MENU_TEXT), 0);
    EXPECT_GT(CountSlot(pOptions->GetItemRootRect(2), MENU_BACKGROUND_SELECTION), 100); // under the mouse
    EXPECT_EQ(Pixel(pOptions->GetRootRect().left, pOptions->GetRootRect().top - 3), SlotColor(MENU_LIGHT_HILIGHT));
    ClickOn(pOptions, 3); // Chat is disabled
    EXPECT_TRUE(m_pOwner->m_commands.empty());

    Key(VY_KEY_F10, 0); // closes the chain
    m_pOwner->m_checked = {211};
    m_pOwner->m_disabled = {};
    ClickTitle(1);
    EXPECT_TRUE(pOptions->GetItem(3).IsEnabled());
    MoveOnto(pOptions, 2);
    EXPECT_FALSE(pFirst->GetItem(0).IsChecked());
    EXPECT_TRUE(pFirst->GetItem(2).IsChecked());
}

// -- Sub-menus and the keyboard ----------------------------------------------------------------------

TEST_F(VyMenuTest, HoveringASubMenuEntryOpensItBesideTheMenuAndReleasingOnTheEntryDoesNothing)
{
    ClickTitle(0);
    VyPopupMenu* pGame = Menu(0);
    MoveOnto(pGame, 1);
    VyPopupMenu* pComputer = pGame->GetOpenSubMenu();
    ASSERT_NE(pComputer, nullptr);
    EXPECT_EQ(pComputer->GetParentMenu(), pGame);
    EXPECT_EQ(pComputer->GetRootRect().left, pGame->GetRootRect().right);
    EXPECT_EQ(pComputer->GetItemRootRect(0).top, pGame->GetItemRootRect(1).top);
    EXPECT_EQ(m_pMain->GetCapture(), pComputer); // the last menu opened holds the chain's mouse
    ClickOn(pGame, 1);
    EXPECT_TRUE(pComputer->IsOpen());
    EXPECT_TRUE(m_pOwner->m_commands.empty());

    MoveOnto(pGame, 0); // another item closes it
    EXPECT_FALSE(pComputer->IsOpen());
    EXPECT_EQ(m_pMain->GetCapture(), pGame);
    MoveOnto(pGame, 1);
    MoveOnto(pComputer, 3);
    EXPECT_EQ(pGame->GetHighlight(), 1); // the entry stays lit while its sub-menu is in use
    ClickOn(pComputer, 3);
    EXPECT_EQ(m_pOwner->m_commands, (std::vector<std::pair<int, int>>{{203, 0}}));
    EXPECT_FALSE(pGame->IsOpen());
    ExpectNothingOpen();
}

TEST_F(VyMenuTest, F10AndTheArrowsWalkTheMenusAndReturnTakesAnItem)
{
    m_pOwner->m_disabled = {214};
    m_pMain->SetFocus(m_pOwner);
    Key(VY_KEY_F10);
    VyPopupMenu* pGame = Menu(0);
    ASSERT_TRUE(pGame->IsOpen());
    EXPECT_EQ(pGame->GetHighlight(), 0);
    Key(VY_KEY_DOWN);
    Key(VY_KEY_RIGHT);
    VyPopupMenu* pComputer = pGame->GetOpenSubMenu();
    ASSERT_NE(pComputer, nullptr);
    EXPECT_EQ(pComputer->GetHighlight(), 0);
    Key(VY_KEY_DOWN);
    Key(VY_KEY_DOWN);
    Key(VY_KEY_LEFT); // closes the sub-menu only
    EXPECT_FALSE(pComputer->IsOpen());
    EXPECT_EQ(pGame->GetHighlight(), 1);
    Key(VY_KEY_RETURN); // opens it again
    Key(VY_KEY_DOWN);
    Key(VY_KEY_RETURN);
    Dispatch();
    EXPECT_EQ(m_pOwner->m_commands, (std::vector<std::pair<int, int>>{{201, 0}}));
    ExpectNothingOpen();

    Key(VY_KEY_F10);
    Key(VY_KEY_UP); // wraps to Exit
    EXPECT_EQ(pGame->GetHighlight(), 5);
    Key(VY_KEY_UP); // over the separators and the disabled Save
    EXPECT_EQ(pGame->GetHighlight(), 1);
    Key(VY_KEY_UP);
    Key(VY_KEY_RIGHT); // Human has no sub-menu: the next title
    EXPECT_EQ(m_pBar->GetOpenIndex(), 1);
    EXPECT_EQ(Menu(1)->GetHighlight(), 0);
    Key(VY_KEY_LEFT);
    Key(VY_KEY_LEFT); // wraps to Help
    EXPECT_EQ(m_pBar->GetOpenIndex(), 2);
    Key(VY_KEY_ESCAPE);
    Dispatch();
    EXPECT_EQ(m_pBar->GetOpenIndex(), -1);
    EXPECT_EQ(m_pBar->GetTitle(2)->GetState(), VyButtonState::UP);
    ExpectNothingOpen();
    EXPECT_EQ(m_pMain->GetFocus(), m_pOwner); // menus leave the focus alone
}

TEST_F(VyMenuTest, TheOwnersRightButtonMenuOffersEveryTitleAsASubMenu)
{
    Click({150, 100}, VY_MOUSE_RIGHT);
    VyPopupMenu* pAll = Modal();
    ASSERT_NE(pAll, nullptr);
    ASSERT_EQ(pAll->GetItemCount(), 3);
    EXPECT_EQ(pAll->GetItem(2).GetText(), "Help");
    EXPECT_EQ(pAll->GetItem(2).GetSubMenu(), Menu(2));
    EXPECT_EQ(pAll->GetRootRect().left, 150);
    MoveOnto(pAll, 2);
    ASSERT_TRUE(Menu(2)->IsOpen());
    ClickOn(Menu(2), 1);
    EXPECT_EQ(m_pOwner->m_commands, (std::vector<std::pair<int, int>>{{212, 0}}));
    ExpectNothingOpen();
    EXPECT_TRUE(Menu(2)->IsCreated()); // the bar keeps its menus
    EXPECT_EQ(m_pBar->GetOpenIndex(), -1);
}

TEST_F(VyMenuTest, TheBarLosingTheFocusClosesItsMenu)
{
    m_pMain->SetFocus(m_pBar);
    ClickTitle(1);
    EXPECT_EQ(m_pMain->GetFocus(), m_pBar); // titles take no focus
    ASSERT_TRUE(Menu(1)->IsOpen());
    m_pMain->SetFocus(m_pOwner);
    EXPECT_FALSE(Menu(1)->IsOpen());
    EXPECT_EQ(m_pBar->GetOpenIndex(), -1);
    ExpectNothingOpen();
}

// -- The scroll bar's menu ---------------------------------------------------------------------------

namespace
{
// A frame with a vertical bar of 0..100 (line 2, page 20) at its right and a horizontal one below.
class VyScrollBarMenuTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pFrame = m_pSink->CreateChild(std::make_unique<VyCommandSink>(), VY_STYLE_VISIBLE, {20, 220, 220, 20});
        m_pFrame->ShowScrollBar(VY_ID_VSCROLL, VyFrameWnd::VyBarVisibility::SHOWN);
        m_pBar = dynamic_cast<VyScrollBar*>(m_pFrame->GetChild(VY_ID_VSCROLL));
        ASSERT_NE(m_pBar, nullptr);
        m_pBar->SetRange(0, 100);
        m_pBar->SetSteps({2, 20, -3});
        m_pBar->SetPosition(50, VyScrollNotify::SILENT);
        Dispatch();
    }
    // Opens the bar's menu at a root point and takes the item with that text.
    void Choose(VyPoint at, const VyString& text)
    {
        Click(at, VY_MOUSE_RIGHT);
        auto* pMenu = dynamic_cast<VyPopupMenu*>(m_pMain->GetModal());
        ASSERT_NE(pMenu, nullptr);
        for (int i = 0; i < pMenu->GetItemCount(); ++i)
            if (pMenu->GetItem(i).GetText() == text)
            {
                Click(Centre(pMenu->GetItemRootRect(i)));
                Dispatch();
                return;
            }
        ADD_FAILURE() << "no item " << text;
    }
    VyPoint OnBar(int fromTop) const
    {
        const VyRect bar = m_pBar->GetRootRect();
        return {(bar.left + bar.right) / 2, bar.top - 1 - fromTop};
    }
    static std::vector<VyString> Texts(const VyPopupMenu& menu)
    {
        std::vector<VyString> texts;
        for (int i = 0; i < menu.GetItemCount(); ++i)
            if (!menu.GetItem(i).IsSeparator())
                texts.push_back(menu.GetItem(i).GetText());
        return texts;
    }

    VyCommandSink* m_pFrame = nullptr;
    VyScrollBar* m_pBar = nullptr;
};
} // namespace

TEST_F(VyScrollBarMenuTest, TheMenuMovesTheBarToWhereItOpenedItsEndsAndByPagesAndLines)
{
    const int arrow = VyGetMetric(VyMetric::VSCROLL_WIDTH);
    Click(OnBar(arrow + 10), VY_MOUSE_RIGHT);
    auto* pMenu = dynamic_cast<VyPopupMenu*>(m_pMain->GetModal());
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(Texts(*pMenu), (std::vector<VyString>{"Scroll Here", "Top", "Bottom", "Page Up", "Page Down",
                                                    "Scroll Up", "Scroll Down"}));
    Release({5, 5}); // closes it
    m_pFrame->m_commands.clear();

    const VyPoint near{OnBar(200 - arrow - 20)};
    Choose(near, "Scroll Here");
    const VyRect thumb = m_pBar->GetThumbRect();
    const int y = m_pBar->RootToClient(near).y;
    EXPECT_TRUE(thumb.bottom <= y && y < thumb.top); // the thumb came to the place
    EXPECT_GT(m_pBar->GetPosition(), 80);
    Choose(OnBar(100), "Top");
    EXPECT_EQ(m_pBar->GetPosition(), 0);
    Choose(OnBar(100), "Page Down");
    EXPECT_EQ(m_pBar->GetPosition(), 20);
    Choose(OnBar(100), "Scroll Down");
    EXPECT_EQ(m_pBar->GetPosition(), 22);
    Choose(OnBar(100), "Scroll Up");
    EXPECT_EQ(m_pBar->GetPosition(), 20);
    Choose(OnBar(100), "Bottom");
    EXPECT_EQ(m_pBar->GetPosition(), 100);
    Choose(OnBar(100), "Page Up");
    EXPECT_EQ(m_pBar->GetPosition(), 80);
    EXPECT_EQ(m_pFrame->m_commands, std::vector<int>(7, VY_ID_VSCROLL)); // each move told the frame
}

TEST_F(VyScrollBarMenuTest, AHorizontalBarNamesItsItemsLeftAndRight)
{
    m_pFrame->ShowScrollBar(VY_ID_HSCROLL, VyFrameWnd::VyBarVisibility::SHOWN);
    auto* pBar = dynamic_cast<VyScrollBar*>(m_pFrame->GetChild(VY_ID_HSCROLL));
    ASSERT_NE(pBar, nullptr);
    pBar->SetRange(0, 10);
    Click(Centre(pBar->GetRootRect()), VY_MOUSE_RIGHT);
    auto* pMenu = dynamic_cast<VyPopupMenu*>(m_pMain->GetModal());
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(Texts(*pMenu), (std::vector<VyString>{"Scroll Here", "Left", "Right", "Page Left", "Page Right",
                                                    "Scroll Left", "Scroll Right"}));
    Click(Centre(pMenu->GetItemRootRect(3))); // Right
    Dispatch();
    EXPECT_EQ(pBar->GetPosition(), 10);
}
