#include <gtest/gtest.h>

#include "vyio/VyTestDir.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyTraceCapture.h"
#include "vywindow/VyWindowTestSupport.h"

// The window tree driven headless through the main window with the input the platform would hand it.


namespace
{
bool Has(const std::vector<VyString>& log, const VyString& line)
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

// Whether a log line of the window starts with the text ("a press" matches "a press 1,2 0x1201").
bool HasPrefix(const std::vector<VyString>& log, const VyString& prefix)
{
    return std::any_of(log.begin(), log.end(), [&](const VyString& line) { return line.rfind(prefix, 0) == 0; });
}
} // namespace

TEST_F(VyWindowTreeTest, PointsOnTheLeftAndBottomEdgesAreInsideAndOnTheRightAndTopOutside)
{
    VyRecordingWnd* pBox = Add("box", {10, 50, 60, 20});
    struct Case
    {
        VyPoint point;
        bool bInside;
    };
    for (const Case& c : {Case{{10, 20}, true}, Case{{59, 49}, true}, Case{{10, 49}, true}, Case{{59, 20}, true},
                          Case{{60, 30}, false}, Case{{30, 50}, false}, Case{{9, 30}, false}, Case{{30, 19}, false}})
    {
        EXPECT_EQ(pBox->ContainsPoint(c.point), c.bInside) << c.point.x << "," << c.point.y;
        EXPECT_EQ(m_pMain->ChildFromPoint(c.point) == pBox, c.bInside) << c.point.x << "," << c.point.y;
    }
    // The same through the routing: a press on the left edge reaches the box at its client (0, 0).
    m_pMain->OnMouseButton({10, 20}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_TRUE(HasPrefix(TakeLog(), "box press 0,0 "));
    m_pMain->OnMouseButton({60, 20}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_FALSE(HasPrefix(TakeLog(), "box press"));
}

TEST_F(VyWindowTreeTest, HitTestsSkipNoHitWindowsButNotTheirChildrenAndTryOverlaysFirst)
{
    VyRecordingWnd* pPanel = Add("panel", {0, 200, 200, 0}, VY_STYLE_NO_HIT);
    VyRecordingWnd* pInner = Add("inner", {10, 60, 60, 10}, 0, pPanel);
    EXPECT_EQ(m_pMain->ChildFromPoint({20, 20}), pInner);
    EXPECT_EQ(m_pMain->ChildFromPoint({150, 150}), m_pMain.get()); // the panel is passed over

    // A pop-up belongs to a small owner but reaches far beyond it, over a window drawn later.
    VyRecordingWnd* pOwner = Add("owner", {210, 100, 230, 80});
    VyRecordingWnd* pBelow = Add("below", {220, 230, 310, 150});
    VyRecordingWnd* pPopup = Add("popup", {0, 130, 80, 20}, VY_STYLE_OVERLAY, pOwner);
    pPopup->SetBackgroundColor(VyColor(0xFF0000));
    pBelow->SetBackgroundColor(VyColor(0x00FF00));
    m_pMain->AddOverlay(pPopup);
    // The pop-up spans x 210..290 and y 100..210 in the main window.
    m_pMain->OnMouseButton({260, 180}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    std::vector<VyString> log = TakeLog();
    EXPECT_TRUE(HasPrefix(log, "popup press 50,80 "));
    EXPECT_FALSE(HasPrefix(log, "below press"));
    m_pMain->OnMouseButton({300, 225}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_TRUE(HasPrefix(TakeLog(), "below press"));

    // Drawn by the main window after the tree and not clipped by its owner.
    Frame();
    EXPECT_EQ(Pixel(260, 180), 0xFF0000u);
    EXPECT_EQ(Pixel(230, 220), 0x00FF00u); // (the cursor hangs from the last press, at 300, 225)
    m_pMain->RemoveOverlay(pPopup);
    Frame();
    EXPECT_EQ(Pixel(260, 180), 0x00FF00u); // below shows through
}

TEST_F(VyWindowTreeTest, QuickClicksOnOneWindowAlternateDoubleAndSingleButNeverAcrossWindows)
{
    Add("a", {0, 100, 100, 0});
    Add("b", {100, 100, 200, 0});
    auto pressFlags = [this] {
        std::vector<int> flags;
        for (const VyString& line : TakeLog())
            if (line.find(" press ") != VyString::npos)
                flags.push_back((std::stoi(line.substr(line.rfind("0x")), nullptr, 16) & VY_MOUSE_DOUBLE_CLICK) != 0);
        return flags;
    };
    Click({50, 50});
    m_now += 100;
    Click({150, 50});
    EXPECT_EQ(pressFlags(), (std::vector<int>{0, 0}));

    m_now += 1000;
    for (int i = 0; i < 3; ++i)
    {
        Click({50, 50});
        m_now += 100;
    }
    EXPECT_EQ(pressFlags(), (std::vector<int>{0, 1, 0}));

    // Too late, or two pixels away, is single again.
    m_now += 1000;
    Click({50, 50});
    m_now += 500;
    Click({50, 50});
    m_now += 10;
    Click({52, 50});
    EXPECT_EQ(pressFlags(), (std::vector<int>{0, 0, 0}));
}

TEST_F(VyWindowTreeTest, DraggingByTheCaptionMovesTheWindowAndSendsItNoPress)
{
    VyRecordingWnd* pDialog = Add("dialog", {50, 150, 250, 50});
    pDialog->m_captionHeight = 20;
    Add("other", {0, 100, 100, 0});
    m_pMain->OnMouseButton({100, 140}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_EQ(m_pMain->GetVisibleChildren().front().get(), pDialog);
    EXPECT_EQ(m_pMain->GetFocus(), pDialog);
    EXPECT_EQ(m_pMain->GetCapture(), pDialog);
    m_pMain->OnMouseMove({120, 130}, VY_MOUSE_LEFT);
    EXPECT_EQ(pDialog->GetRect(), (VyRect{70, 140, 270, 40}));
    m_pMain->OnMouseButton({120, 130}, VY_MOUSE_LEFT | VY_MOUSE_RELEASE);
    const std::vector<VyString> log = TakeLog();
    EXPECT_FALSE(HasPrefix(log, "dialog press"));
    EXPECT_FALSE(HasPrefix(log, "dialog release"));
    EXPECT_TRUE(Has(log, "dialog capture"));
    EXPECT_TRUE(Has(log, "dialog uncapture"));
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);
    EXPECT_FALSE(pDialog->HasStyle(VY_STYLE_DRAGGING));

    // Dragged far away, the caption stays within reach.
    m_pMain->OnMouseButton({100, 130}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    m_pMain->OnMouseMove({2000, 5000}, VY_MOUSE_LEFT);
    m_pMain->OnMouseButton({2000, 5000}, VY_MOUSE_LEFT | VY_MOUSE_RELEASE);
    EXPECT_LE(pDialog->GetRect().left, WIDTH - 40);
    EXPECT_LE(pDialog->GetRect().top, HEIGHT);
}

TEST_F(VyWindowTreeTest, TheFocusFallsBackToTheLastFocusedWindowThatStillExists)
{
    VyRecordingWnd* pA = Add("a", {0, 50, 50, 0});
    VyRecordingWnd* pB = Add("b", {50, 50, 100, 0});
    VyRecordingWnd* pC = Add("c", {100, 50, 150, 0});
    VyRecordingWnd* pRefuses = Add("refuses", {150, 50, 200, 0}, VY_STYLE_NO_FOCUS);
    EXPECT_TRUE(m_pMain->SetFocus(pA));
    EXPECT_TRUE(m_pMain->SetFocus(pC));
    EXPECT_TRUE(m_pMain->SetFocus(pB));
    EXPECT_FALSE(m_pMain->SetFocus(pRefuses));
    EXPECT_EQ(m_pMain->GetFocus(), pB);
    const std::vector<VyString> log = TakeLog();
    EXPECT_TRUE(Has(log, "c blur"));
    EXPECT_TRUE(Has(log, "b focus"));

    pB->DeleteLater(); // the focus goes back at once
    EXPECT_EQ(m_pMain->GetFocus(), pC);
    pC->Destroy();     // destroyed but not yet deleted: no longer a candidate
    EXPECT_TRUE(m_pMain->SetFocus(nullptr));
    EXPECT_EQ(m_pMain->GetFocus(), pA);
    pA->DeleteLater();
    Dispatch();
    EXPECT_EQ(m_pMain->GetFocus(), m_pMain.get());

    // A hidden window gives the focus up too.
    VyRecordingWnd* pD = Add("d", {0, 50, 50, 0});
    m_pMain->SetFocus(pD);
    pD->Hide();
    EXPECT_EQ(m_pMain->GetFocus(), m_pMain.get());
}

// Deletes itself in its own press handler and goes on using its members: the deletion must wait.
class SelfDeletingWnd : public VyRecordingWnd
{
public:
    using VyRecordingWnd::VyRecordingWnd;
    void OnButtonPressed(VyPoint p, int flags) override
    {
        DeleteLater();
        Note(VyString::Format("still here %d,%d", p.x, flags & 0));
    }
};

TEST_F(VyWindowTreeTest, ADestroyedWindowLeavesNothingBehind)
{
    int deleted = 0;
    VyRecordingWnd* pParent = Add("parent", {0, 200, 200, 0});
    VyRecordingWnd* pDoomed = Add("doomed", {10, 100, 100, 10}, 0, pParent);
    pParent->m_pDestroyedCount = &deleted;
    pDoomed->m_pDestroyedCount = &deleted;
    m_pMain->OnMouseMove({50, 50}, 0);
    m_pMain->SetFocus(pDoomed);
    m_pMain->SetCapture(pDoomed);
    m_pMain->SetCaret(pDoomed, {0, 10, 1, 0});
    m_pMain->PushModal(pDoomed);
    m_pMain->AddOverlay(pDoomed);
    EXPECT_EQ(m_pMain->GetHover(), pDoomed);
    VyMessageTarget::Post({pDoomed, 1001, 0, 0});
    VyMessageTarget::SetTimer(pDoomed, 7, 50);

    pParent->DeleteLater();
    EXPECT_EQ(deleted, 0); // kept until the deferred delete
    EXPECT_EQ(m_pMain->GetPendingDeleteCount(), 2u);
    Dispatch();
    EXPECT_EQ(deleted, 2);
    for (int tick = 0; tick < 4; ++tick)
        VyMessageQueue::Current()->ProcessTimers();
    Dispatch();
    EXPECT_EQ(m_pMain->GetFocus(), m_pMain.get());
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
    EXPECT_TRUE(m_pMain->GetOverlays().empty());
    EXPECT_EQ(m_pMain->GetHover(), nullptr);
    EXPECT_EQ(m_pMain->GetCaretOwner(), nullptr);
    EXPECT_FALSE(HasPrefix(TakeLog(), "doomed message"));
    // Input and drawing afterwards touch nothing that went (the sanitizers watch).
    Click({50, 50});
    m_pMain->OnKey(VY_KEY_LEFT, VY_INPUT_KEY);
    Frame();

    SelfDeletingWnd* pSelf =
        m_pMain->CreateChild(std::make_unique<SelfDeletingWnd>("self", m_log), VY_STYLE_VISIBLE, {0, 50, 50, 0});
    pSelf->m_pDestroyedCount = &deleted;
    Click({20, 20});
    EXPECT_TRUE(HasPrefix(TakeLog(), "self still here 20,0"));
    EXPECT_EQ(deleted, 2);
    Dispatch();
    EXPECT_EQ(deleted, 3);
}

TEST_F(VyWindowTreeTest, AModalWindowTakesOutsideKeysAndPressesAndDropsOutsideMoves)
{
    VyRecordingWnd* pOutside = Add("outside", {0, 240, 100, 0});
    VyRecordingWnd* pModal = Add("modal", {150, 200, 300, 50});
    VyRecordingWnd* pButton = Add("button", {10, 40, 60, 10}, 0, pModal);
    pOutside->m_bLogMoves = true;
    pButton->m_bLogMoves = true;
    m_pMain->SetFocus(pOutside);
    m_pMain->PushModal(pModal);
    TakeLog();

    m_pMain->OnKey(VY_KEY_LEFT, VY_INPUT_KEY);
    m_pMain->OnChar('a', VY_INPUT_KEY);
    m_pMain->OnMouseButton({50, 50}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    m_pMain->OnMouseMove({60, 60}, 0);
    std::vector<VyString> log = TakeLog();
    EXPECT_TRUE(Has(log, "modal key 256 0x100"));
    EXPECT_TRUE(Has(log, "modal key 97 0x100"));
    EXPECT_TRUE(HasPrefix(log, "modal press -100,0 ")); // converted to the modal window's client area
    for (const char* line : {"outside key", "outside press", "outside move", "outside enter"})
        EXPECT_FALSE(HasPrefix(log, line)) << line;
    EXPECT_NE(m_pMain->GetHover(), pOutside);
    EXPECT_FALSE(m_pMain->SetCapture(pOutside));

    m_pMain->OnMouseMove({170, 70}, 0);
    EXPECT_TRUE(Has(TakeLog(), "button move 10,10"));
    m_pMain->OnMouseButton({170, 70}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_TRUE(HasPrefix(TakeLog(), "button press 10,10 "));

    m_pMain->PopModal(pModal);
    m_pMain->OnMouseButton({50, 50}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_TRUE(HasPrefix(TakeLog(), "outside press"));
}

TEST_F(VyWindowTreeTest, TabWalksTheTabStopsInCreationOrderForwardAndBack)
{
    VyRecordingWnd* pForm = Add("form", {0, 240, 320, 0});
    VyRecordingWnd* pFirst = Add("first", {0, 20, 50, 0}, VY_STYLE_TABSTOP, pForm);
    Add("label", {0, 40, 50, 20}, 0, pForm);
    VyRecordingWnd* pSecond = Add("second", {0, 60, 50, 40}, VY_STYLE_TABSTOP, pForm);
    Add("disabled", {0, 80, 50, 60}, VY_STYLE_TABSTOP | VY_STYLE_DISABLED, pForm);
    VyRecordingWnd* pBox = Add("box", {100, 100, 200, 0}, 0, pForm);
    VyRecordingWnd* pThird = Add("third", {0, 20, 50, 0}, VY_STYLE_TABSTOP, pBox);
    m_pMain->SetFocus(pFirst);
    std::vector<VyWnd*> seen;
    for (int i = 0; i < 4; ++i)
    {
        m_pMain->OnKey(VY_KEY_TAB, VY_INPUT_KEY);
        seen.push_back(m_pMain->GetFocus());
    }
    EXPECT_EQ(seen, (std::vector<VyWnd*>{pSecond, pThird, pFirst, pSecond}));
    m_pMain->OnKey(VY_KEY_TAB, VY_INPUT_KEY | VY_INPUT_SHIFT);
    EXPECT_EQ(m_pMain->GetFocus(), pFirst);
    m_pMain->OnKey(VY_KEY_TAB, VY_INPUT_KEY | VY_INPUT_SHIFT);
    EXPECT_EQ(m_pMain->GetFocus(), pThird);
    EXPECT_FALSE(HasPrefix(TakeLog(), "third key")); // Tab is consumed
}

TEST_F(VyWindowTreeTest, KeysPassTheFiltersUpTheParentsAndControlPNeverReachesAWindow)
{
    VyRecordingWnd* pParent = Add("parent", {0, 240, 320, 0});
    VyRecordingWnd* pChild = Add("child", {0, 50, 50, 0}, 0, pParent);
    pParent->m_nConsumedKey = VY_KEY_RETURN;
    m_pMain->SetFocus(pChild);
    TakeLog();
    m_pMain->OnKey(VY_KEY_RETURN, VY_INPUT_KEY);
    m_pMain->OnKey(VY_KEY_ESCAPE, VY_INPUT_KEY);
    m_pMain->OnChar('p', VY_INPUT_KEY | VY_INPUT_CONTROL);
    m_pMain->OnChar('p', VY_INPUT_KEY);
    EXPECT_EQ(TakeLog(), (std::vector<VyString>{"parent filter 260", "child key 261 0x100", "child key 112 0x100"}));
    EXPECT_EQ(m_pMain->GetScreenshotCount(), 1);
}

TEST_F(VyWindowTreeTest, ACaptureThatRoutesToChildrenKeepsAnInnerCaptureOnTopOfIt)
{
    VyRecordingWnd* pBar = Add("bar", {0, 240, 320, 200});
    VyRecordingWnd* pTitle = Add("title", {10, 30, 60, 10}, 0, pBar);
    VyRecordingWnd* pOther = Add("other", {0, 100, 100, 0});
    EXPECT_TRUE(m_pMain->SetCapture(pBar, VyCaptureRouting::TO_CHILDREN));
    m_pMain->OnMouseButton({20, 215}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_TRUE(HasPrefix(TakeLog(), "title press 10,5 "));
    // Outside the bar the bar itself gets it.
    m_pMain->OnMouseButton({50, 50}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_TRUE(HasPrefix(TakeLog(), "bar press 50,-150 "));

    EXPECT_TRUE(m_pMain->SetCapture(pTitle));
    EXPECT_EQ(m_pMain->GetCapture(), pTitle);
    m_pMain->ReleaseCapture(pTitle);
    EXPECT_EQ(m_pMain->GetCapture(), pBar);
    EXPECT_TRUE(m_pMain->SetCapture(pOther));
    const std::vector<VyString> log = TakeLog();
    EXPECT_TRUE(Has(log, "bar uncapture"));
    EXPECT_EQ(m_pMain->GetCapture(), pOther);
}

TEST_F(VyWindowTreeTest, ChildrenAreLaidOutByTheirAlignment)
{
    VyRecordingWnd* pFrame = Add("frame", {0, 200, 300, 0}, VY_STYLE_BORDER | VY_STYLE_THICKFRAME);
    // Client area: 296 x 196 inside the two-pixel frame.
    auto add = [&](VyAlignment alignment, const VyRect& rect, int id = 0) {
        return Add("part", rect, VyAlignStyle(alignment), pFrame, id);
    };
    VyWnd* pTop = add(VyAlignment::TOP, {0, 20, 10, 0});
    VyWnd* pLeft = add(VyAlignment::LEFT, {0, 10, 30, 0});
    VyWnd* pCorner = add(VyAlignment::CORNER, {0, 16, 16, 0}, VY_ID_CORNER);
    VyWnd* pScroll = add(VyAlignment::RIGHT, {0, 10, 16, 0}, VY_ID_VSCROLL);
    VyWnd* pBottom = add(VyAlignment::BOTTOM, {0, 16, 10, 0}, VY_ID_HSCROLL);
    VyWnd* pClient = add(VyAlignment::CLIENT, {0, 1, 1, 0});
    VyWnd* pCentred = Add("centred", {0, 40, 100, 0}, VY_STYLE_CENTER_HORIZONTAL | VY_STYLE_CENTER_VERTICAL, pFrame);
    pFrame->Resize(300, 200);
    // Children are placed front to back: the last made first.
    EXPECT_EQ(pCentred->GetRect(), (VyRect{98, 118, 198, 78}));
    EXPECT_EQ(pClient->GetRect(), (VyRect{30, 176, 280, 16})); // placed last: what the others left
    EXPECT_EQ(pBottom->GetRect(), (VyRect{0, 16, 280, 0}));  // stops left of the corner square
    EXPECT_EQ(pScroll->GetRect(), (VyRect{280, 196, 296, 16})); // stops above it
    EXPECT_EQ(pCorner->GetRect(), (VyRect{280, 16, 296, 0}));
    EXPECT_EQ(pLeft->GetRect(), (VyRect{0, 196, 30, 16}));
    EXPECT_EQ(pTop->GetRect(), (VyRect{30, 196, 280, 176}));

    // A window moved by the program keeps its place at the next layout.
    pCentred->Move(5, 100, 100, 40);
    pFrame->Resize(300, 200);
    EXPECT_EQ(pCentred->GetRect(), (VyRect{5, 100, 105, 60}));
}

TEST_F(VyWindowTreeTest, WindowsDrawBackToFrontClippedToTheirAncestorsWithTheFrameLast)
{
    VyRecordingWnd* pParent = Add("parent", {20, 120, 120, 20}, VY_STYLE_BORDER | VY_STYLE_THICKFRAME);
    VyRecordingWnd* pChild = Add("child", {60, 60, 200, 20}, 0, pParent);
    VyRecordingWnd* pBack = Add("back", {150, 200, 250, 150});
    VyRecordingWnd* pFront = Add("front", {200, 220, 300, 170});
    pParent->SetBackgroundColor(VyColor(0xC00000));
    pChild->SetBackgroundColor(VyColor(0x00C000));
    pBack->SetBackgroundColor(VyColor(0x0000C0));
    pFront->SetBackgroundColor(VyColor(0xC0C000));
    Frame();
    EXPECT_EQ(Pixel(50, 50), 0xC00000u);
    EXPECT_EQ(Pixel(100, 60), 0x00C000u);  // the child, at client (60, 20) + frame 2 + parent (20, 20)
    EXPECT_NE(Pixel(150, 60), 0x00C000u);  // outside its parent: clipped
    EXPECT_NE(Pixel(119, 60), 0x00C000u);  // the parent's frame is drawn over it
    EXPECT_EQ(Pixel(220, 180), 0xC0C000u); // the later window is in front
    m_pMain->BringToFront(pBack);
    Frame();
    EXPECT_EQ(Pixel(220, 180), 0x0000C0u);
    pBack->Hide();
    Frame();
    EXPECT_EQ(Pixel(220, 180), 0xC0C000u);
}

TEST_F(VyWindowTreeTest, TheOutlineSwitchMarksEveryWindowTheFocusAndTheCapture)
{
    VyConfigFile("vyw.cfg").SetString("Preferences", "Outline", "TRUE");
    m_pMain->Close();
    m_pMain = std::make_unique<VyMainWnd>(WIDTH, HEIGHT);
    VyRecordingWnd* pPlain = Add("plain", {10, 100, 100, 10});
    VyRecordingWnd* pFocused = Add("focused", {120, 100, 200, 10});
    VyRecordingWnd* pCaptured = Add("captured", {220, 100, 300, 10});
    for (VyWnd* pWnd : std::vector<VyWnd*>{pPlain, pFocused, pCaptured})
        pWnd->SetBackgroundColor(VyColor(0x202020));
    m_pMain->SetFocus(pFocused);
    m_pMain->SetCapture(pCaptured);
    Frame();
    EXPECT_EQ(Pixel(10, 50), 0xFF00FFu);
    EXPECT_EQ(Pixel(50, 50), 0x202020u);
    EXPECT_EQ(Pixel(121, 50), 0xFFFF00u);
    EXPECT_EQ(Pixel(222, 50), 0xFF0000u);
}
