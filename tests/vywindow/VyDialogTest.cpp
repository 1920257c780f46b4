#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "vyio/VyTestDir.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyTraceCapture.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyControlFactory.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMetrics.h"
#include "vywindow/VyWindowTestSupport.h"

// Dialogs read from definition files (the shipped ones from the archive linked into the test, the
// test's own from the working directory) with controls of a stand-in factory: every kind but TREE,
// WND and LIST becomes a plain window that posts its command when released.

namespace
{
class CommandWnd : public VyFrameWnd
{
public:
    void OnButtonReleased(VyPoint, int) override { PostTo(GetParent(), VY_MSG_COMMAND, GetId()); }
};

class TestFactory : public VyControlFactory
{
public:
    VyWnd* CreateControl(VyFrameWnd& parent, const VyControlDesc& desc) override
    {
        if (desc.kind == VyControlKind::TREE || desc.kind == VyControlKind::WND || desc.kind == VyControlKind::LIST)
            return nullptr;
        VyWnd* pWnd = parent.CreateChild(std::make_unique<CommandWnd>(), desc.style, desc.rect, desc.id);
        if (pWnd != nullptr)
            pWnd->SetText(desc.value);
        return pWnd;
    }
};

// Records the notifications a dialog sends its owner.
class Owner : public VyMessageTarget
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        m_messages.push_back(VyString::Format("%d %d %d", msg.id, msg.param1, msg.param2));
    }
    std::vector<VyString> m_messages;
};

void WriteDialog(const std::string& name, const std::string& text)
{
    std::filesystem::create_directories("Dialogs");
    std::ofstream("Dialogs/" + name) << text;
}

class VyDialogTest : public VyWindowTreeTest
{
protected:
    void SetUp() override
    {
        VyWindowTreeTest::SetUp();
        VyControlFactory::Install(&m_factory);
    }
    void TearDown() override
    {
        VyWindowTreeTest::TearDown();
        VyControlFactory::Install(nullptr);
    }

    TestFactory m_factory;
    Owner m_owner;
};
} // namespace


TEST_F(VyDialogTest, EveryShippedDialogLoadsWithItsControlNumbers)
{
    struct Case
    {
        const char* file;
        const char* caption;
        VySize size;
        std::vector<int> controls;
    };
    const Case cases[] = {
        {"2player.dlg", "New Game", {300, 160}, {202, 204, VY_IDOK, VY_IDCANCEL}},
        {"networkjoin.dlg", "Join a game", {330, 165}, {202, 204, 205, VY_IDOK, VY_IDCANCEL}},
        {"networkstart.dlg", "Start a game", {360, 230}, {203, 205, 207, 210, VY_IDOK, VY_IDCANCEL}},
        {"networkoptions.dlg", "Port Number", {280, 150}, {203, VY_IDOK, VY_IDCANCEL}},
        {"messages.dlg", "Messages", {502, 400}, {VY_IDOK}},
        {"about.cfg", "About Tolmar", {300, 330}, {201, 208, 209, VY_IDOK}},
    };
    for (const Case& c : cases)
    {
        VyDialog* pDialog = VyDialog::Load(c.file, 7);
        ASSERT_NE(pDialog, nullptr) << c.file;
        EXPECT_EQ(pDialog->GetText(), c.caption);
        EXPECT_EQ(pDialog->GetWidth(), c.size.cx) << c.file;
        EXPECT_EQ(pDialog->GetHeight(), c.size.cy) << c.file;
        for (int id : c.controls)
            EXPECT_NE(pDialog->GetControl(id), nullptr) << c.file << " control " << id;
        // Every control lies inside the client area.
        for (const VyControlDesc& desc : pDialog->GetDescriptions())
        {
            const VyRect client = pDialog->GetClientRect();
            EXPECT_TRUE(desc.rect.left >= 0 && desc.rect.right <= client.right && desc.rect.bottom >= 0 &&
                        desc.rect.top <= client.top)
                << c.file << " control " << desc.id;
        }
        pDialog->Close(VY_IDCANCEL);
    }
    // The messages window's list is described (the list control itself comes with the lists).
    VyDialog* pMessages = VyDialog::Load("messages.dlg", 206);
    ASSERT_NE(pMessages, nullptr);
    EXPECT_EQ(pMessages->GetDescriptions().front().kind, VyControlKind::LIST);
    EXPECT_EQ(pMessages->GetDescriptions().front().id, 201);
}

TEST_F(VyDialogTest, ControlKeysAreReadAsTheFileSaysAndOddValuesFallBack)
{
    WriteDialog("keys.dlg", "[General]\nSize=200,150\nControlCount=8\n"
                            "[Control1]\nType=LABEL\nStyle=\nID=1\n"
                            "[Control2]\nType=BUTTON\nStyle=TRANSPARENT\nID=2\nJustification=Center\n"
                            "[Control3]\nType=EDIT\nStyle=TABSTOP | READONLY|AUTOHEIGHT|BOGUS\nID=3\n"
                            "[Control4]\nType=LABEL\nStyle=READONLY|AUTOSIZE\nID=4\nJustification=middle\n"
                            "[Control5]\nType=IMAGE\nStyle=AUTOSIZE\nID=5\nData=255,255,255\n"
                            "[Control6]\nType=Label\nRect=10,5,50,30\nID=IDYES\nValue=upside down\n"
                            "[Control7]\nType=TREE\nID=7\n"
                            "[Control8]\nType=LABEL\nID=8\nFontColor=WINDOW_BACKGROUND\nBkColor=1,2,3,128\n"
                            "Font=menu\nCloseOnSelect=TRUE\nJustification=RIGHT\n");
    VyDialog* pDialog = VyDialog::Load("keys.dlg", 1);
    ASSERT_NE(pDialog, nullptr);
    const std::vector<VyControlDesc>& d = pDialog->GetDescriptions();
    ASSERT_EQ(d.size(), 8u);
    EXPECT_EQ(d[0].style, 0x808u);
    EXPECT_EQ(d[1].style, 0x8008u);
    EXPECT_EQ(d[1].justification, VyJustification::CENTER);
    EXPECT_EQ(d[2].style, 0x8u | 0x40u | 0x2000000u | 0x1000000u);
    EXPECT_EQ(d[3].style, 0x8u | 0x3000000u); // READONLY means nothing to a label
    EXPECT_EQ(d[3].justification, VyJustification::LEFT);
    EXPECT_EQ(d[4].style, 0x8u | 0x1000000u);
    EXPECT_EQ(d[4].data, (std::vector<VyString>{"255,255,255"}));
    EXPECT_EQ(d[5].kind, VyControlKind::LABEL); // "Label" is no kind name: a label all the same
    EXPECT_EQ(d[5].id, VY_IDYES);
    EXPECT_EQ(d[6].kind, VyControlKind::TREE);
    EXPECT_EQ(pDialog->GetControl(207), nullptr);
    EXPECT_TRUE(d[7].textColor.bSet && d[7].textColor.color.IsSlot());
    EXPECT_EQ(d[7].textColor.color.GetSlot(), WINDOW_BACKGROUND);
    EXPECT_EQ(d[7].backgroundColor.color.GetValue(), 0x010203u);
    EXPECT_EQ(d[7].backgroundColor.color.GetAlpha(), 128);
    EXPECT_FALSE(d[0].textColor.bSet);
    EXPECT_EQ(d[7].font.standard, 0);
    EXPECT_TRUE(d[7].bCloseOnSelect);
    EXPECT_EQ(d[7].justification, VyJustification::RIGHT);
    // A rectangle whose top is below its bottom describes an empty control.
    ASSERT_NE(pDialog->GetControl(VY_IDYES), nullptr);
    EXPECT_TRUE(pDialog->GetControl(VY_IDYES)->GetRect().IsEmpty());
}

TEST_F(VyDialogTest, ADialogWithoutControlsStillShowsItsCaptionAndFrame)
{
    WriteDialog("empty.dlg", "[General]\nSize=160,100\nCaption=Nothing here\nControlCount=0\n");
    VyDialog* pDialog = VyDialog::Load("empty.dlg", 3);
    ASSERT_NE(pDialog, nullptr);
    m_pMain->SetFocus(pDialog);
    Frame();
    // Centred in the 320 x 240 main window: x 80..240, y 70..170; the caption strip is the 20 rows
    // below the two-pixel frame.
    const VyColorSchemeSlot& caption = VyColorScheme::Global().GetSlot(DIALOG_ACTIVE_CAPTION_BACKGROUND);
    const VyColorSchemeSlot& body = VyColorScheme::Global().GetSlot(DIALOG_BACKGROUND);
    const VyColorSchemeSlot& outer = VyColorScheme::Global().GetSlot(DIALOG_LIGHT_HILIGHT);
    EXPECT_EQ(pDialog->GetRect(), (VyRect{80, 170, 240, 70}));
    EXPECT_EQ(Pixel(200, 160), caption.color); // no text there
    EXPECT_EQ(Pixel(160, 100), body.color);
    EXPECT_EQ(Pixel(80, 120), outer.color);    // the raised frame's outer left edge
    EXPECT_EQ(pDialog->GetZone(pDialog->RootToClient({200, 160})), VY_ZONE_CAPTION);
    EXPECT_EQ(pDialog->GetZone(pDialog->RootToClient({160, 100})), VY_ZONE_CLIENT);
}

TEST_F(VyDialogTest, BrokenOrHostileFilesLoadWhatTheyCanOrFailWithATrace)
{
    VyTraceCapture trace;
    EXPECT_EQ(VyDialog::Load("nowhere.dlg", 1), nullptr);
    EXPECT_TRUE(trace.Has("the dialog is not shown -> File: Dialogs\\nowhere.dlg"));

    WriteDialog("huge.dlg", "[General]\nSize=-50,99999\nControlCount=2000000000\n[Control3]\nType=BUTTON\nID=3\n"
                            "Rect=1,2,3\n");
    VyDialog* pHuge = VyDialog::Load("huge.dlg", 2);
    ASSERT_NE(pHuge, nullptr);
    EXPECT_EQ(pHuge->GetDescriptions().size(), static_cast<size_t>(VyDialog::VY_MAX_CONTROLS));
    EXPECT_TRUE(trace.Has("the rest are not read"));
    EXPECT_TRUE(trace.Has("values.size()==4"));
    EXPECT_EQ(pHuge->GetWidth(), 0);
    EXPECT_EQ(pHuge->GetHeight(), VyDialog::VY_MAX_SIDE);
    EXPECT_EQ(pHuge->GetDescriptions()[2].kind, VyControlKind::BUTTON); // the one section there is
    EXPECT_EQ(pHuge->GetDescriptions()[0].style, 0x808u);            // the others are defaults
    Frame();

    WriteDialog("nogeneral.dlg", "[Control1]\nType=EDIT\n");
    VyDialog* pBare = VyDialog::Load("nogeneral.dlg", 2);
    ASSERT_NE(pBare, nullptr);
    EXPECT_TRUE(pBare->GetDescriptions().empty());
    Frame();
}

TEST_F(VyDialogTest, CommandsGoToTheOwnerAndOkCancelOrCloseOnSelectCloseTheDialog)
{
    WriteDialog("commands.dlg", "[General]\nSize=200,150\nControlCount=3\n"
                                "[Control1]\nType=BUTTON\nID=1\nRect=10,40,60,10\n"
                                "[Control2]\nType=BUTTON\nID=5\nRect=70,40,120,10\n"
                                "[Control3]\nType=BUTTON\nID=6\nRect=130,40,180,10\nCloseOnSelect=1\n");
    VyDialog* pDialog = VyDialog::Load("commands.dlg", 42, nullptr, &m_owner);
    ASSERT_NE(pDialog, nullptr);
    const VyPoint origin = pDialog->ClientToRoot(VyPoint{0, 0});
    Click({origin.x + 80, origin.y + 20}); // control 205: forwarded, the dialog stays
    Dispatch();
    EXPECT_EQ(m_owner.m_messages, (std::vector<VyString>{"10 42 205"}));
    EXPECT_TRUE(pDialog->IsCreated());
    Click({origin.x + 140, origin.y + 20}); // control 206 closes on select
    Dispatch();
    EXPECT_EQ(m_owner.m_messages, (std::vector<VyString>{"10 42 205", "10 42 206", "17 42 206"}));
    EXPECT_EQ(m_pMain->GetVisibleChildren().size(), 0u);
}

TEST_F(VyDialogTest, ReturnTakesTheDefaultControlAndEscapeTheCurrentResult)
{
    WriteDialog("keys2.dlg", "[General]\nSize=200,150\nControlCount=2\nDefaultID=3\n"
                             "[Control1]\nType=EDIT\nID=1\nRect=10,80,150,60\nValue=typed\n"
                             "[Control2]\nType=BUTTON\nID=3\nRect=10,40,60,10\n");
    VyDialog* pDialog = VyDialog::Load("keys2.dlg", 9, nullptr, &m_owner);
    ASSERT_NE(pDialog, nullptr);
    VyLater pressReturn([this] { m_pMain->OnKey(VY_KEY_RETURN, VY_INPUT_KEY); });
    pressReturn.Post();
    const VyDialogResult result = pDialog->RunModal();
    EXPECT_EQ(result.result, 203);
    EXPECT_EQ(result.GetText(201), "typed"); // the control's text, copied back
    Dispatch();
    EXPECT_EQ(m_owner.m_messages.back(), "17 9 203");

    // Without the default control Return is not the dialog's; Escape closes with the current result.
    WriteDialog("keys3.dlg", "[General]\nSize=200,150\nControlCount=0\n");
    VyDialog* pPlain = VyDialog::Load("keys3.dlg", 10, nullptr, &m_owner);
    ASSERT_NE(pPlain, nullptr);
    m_pMain->SetFocus(pPlain);
    m_pMain->OnKey(VY_KEY_RETURN, VY_INPUT_KEY);
    EXPECT_TRUE(pPlain->IsCreated());
    pPlain->SetResult(VY_IDNO);
    m_pMain->OnKey(VY_KEY_ESCAPE, VY_INPUT_KEY);
    Dispatch();
    EXPECT_EQ(m_owner.m_messages.back(), "17 10 7");
}

TEST_F(VyDialogTest, AQuitDuringAModalRunEndsTheWaitAsCancel)
{
    WriteDialog("quit.dlg", "[General]\nSize=200,150\nControlCount=1\n[Control1]\nType=BUTTON\nID=1\n"
                            "Rect=10,40,60,10\n");
    VyDialog* pDialog = VyDialog::Load("quit.dlg", 11);
    ASSERT_NE(pDialog, nullptr);
    VyLater quit([this] { m_pPlatform->Quit(); });
    quit.Post();
    EXPECT_EQ(pDialog->RunModal().result, VY_IDCANCEL);
    EXPECT_TRUE(pDialog->IsCreated()); // left for the shutdown to destroy
}

TEST_F(VyDialogTest, TheCaptionDragsTheDialogAndAClickBringsItToTheFront)
{
    WriteDialog("drag.dlg", "[General]\nSize=160,100\nCaption=Drag me\nControlCount=0\n");
    VyDialog* pFirst = VyDialog::Load("drag.dlg", 1);
    VyDialog* pSecond = VyDialog::Load("drag.dlg", 2);
    ASSERT_TRUE(pFirst != nullptr && pSecond != nullptr);
    EXPECT_EQ(m_pMain->GetVisibleChildren().front().get(), pSecond);
    // Both are centred on each other; the caption of the one in front is hit.
    m_pMain->OnMouseButton({200, 160}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    m_pMain->OnMouseMove({150, 130}, VY_MOUSE_LEFT);
    EXPECT_EQ(m_pMain->GetShownCursor(), VY_CURSOR_HAND);
    m_pMain->OnMouseButton({150, 130}, VY_MOUSE_LEFT | VY_MOUSE_RELEASE);
    EXPECT_EQ(pSecond->GetRect(), (VyRect{30, 140, 190, 40}));
    // A press on the first one's uncovered body brings it to the front.
    m_pMain->OnMouseButton({230, 100}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    EXPECT_EQ(m_pMain->GetVisibleChildren().front().get(), pFirst);
    // And a later layout of the main window keeps the moved dialog where it was put.
    m_pMain->Resize(WIDTH, HEIGHT);
    EXPECT_EQ(pSecond->GetRect(), (VyRect{30, 140, 190, 40}));
}

TEST_F(VyDialogTest, AWindowGivenUpBeforeAModalRunOutlivesTheRunsDeletes)
{
    int deleted = 0;
    VyRecordingWnd* pDoomed = Add("doomed", {0, 50, 50, 0});
    pDoomed->m_pDestroyedCount = &deleted;
    WriteDialog("nested.dlg", "[General]\nSize=160,100\nControlCount=0\n");
    VyDialog* pDialog = VyDialog::Load("nested.dlg", 4);
    ASSERT_NE(pDialog, nullptr);
    // A handler gives the window up and then runs a dialog: the run's own dispatching must not delete
    // the window, whose handler is still below it.
    pDoomed->DeleteLater();
    int deletedDuringTheRun = -1;
    VyLater close([&] {
        deletedDuringTheRun = deleted;
        m_pMain->OnKey(VY_KEY_ESCAPE, VY_INPUT_KEY);
    });
    VyLater afterDeletes([&] { close.Post(); });
    afterDeletes.Post(); // dispatched after the deferred-delete message
    pDialog->RunModal();
    EXPECT_EQ(deletedDuringTheRun, 0);
    Dispatch();
    EXPECT_EQ(deleted, 1);
}
