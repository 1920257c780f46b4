#include <algorithm>

#include "MenuTestSupport.h"
#include "VyGameWndTestSupport.h"
#include "VyPieceSetList.h"
#include "VyPieceSetMenu.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyio/VyArchive.h"
#include "vyio/VyMemFile.h"

// Options > Piece Set on the test platform: the sets of the linked archive and of the working
// directory's sets folder, the check on the set in use, and what choosing one does.

namespace
{
constexpr const char* QUIT_QUESTION = "Are you sure you want to quit your current game?";

class VyPieceSetMenuTest : public VyGameWndTest
{
protected:
    void WriteSettings() override
    {
        VyGameWndTest::WriteSettings();
        // A set of the player's own: its file and the archive's classic pictures.
        m_dir.Put("sets/Forest/Forest.cfg", ForestText());
        // The archive's classic set again in other letters: the look-up finds the archive's first.
        m_dir.Put("sets/Classic/CLASSIC.cfg", "[General]\n");
        // Neither is a set: a folder without its file, a file beside the folders.
        m_dir.Put("sets/empty/board.bmp", "not a set\n");
        m_dir.Put("sets/notes.cfg", "[General]\n");
    }

    // The linked archive's classic set file, naming the classic folder for its pictures.
    static std::string ForestText()
    {
        const unsigned char* data = nullptr;
        int size = 0;
        VyArchive archive;
        if (VyArchive::GetLinkedImage(data, size))
            archive.Attach(std::make_unique<VyMemFile>(data, size));
        VyMemFile file(VY_IO_READ);
        EXPECT_TRUE(archive.GetFile("sets\\classic\\classic.cfg", file));
        std::string text(file.GetView());
        const std::string board = "Board=board.bmp\n";
        const size_t at = text.find(board);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos)
            text.insert(at + board.size(), "SharedPictures=classic\n");
        return text;
    }

    VyMenuBar& Bar() { return *dynamic_cast<VyMenuBar*>(m_pMain->GetMenuBar()); }
    VyPopupMenu& Options() { return *Bar().GetPopup(1); }
    VyPopupMenu& Sets() { return SubMenuOf(Options(), "Piece Set"); }
    std::vector<VyString> Titles() { return MenuTitles(Sets()); }
    // The titles of the items checked and of those disabled, as the menu would show them now.
    std::vector<VyString> Checked() { return Marked([](const VyMenuItem& item) { return item.IsChecked(); }); }
    std::vector<VyString> Disabled() { return Marked([](const VyMenuItem& item) { return !item.IsEnabled(); }); }
    std::vector<VyString> Marked(const std::function<bool(const VyMenuItem&)>& marked)
    {
        std::vector<VyString> titles;
        for (int i = 0; i < Sets().GetItemCount(); ++i)
        {
            VyMenuItem& item = Sets().GetItem(i);
            m_pMain->UpdateMenuItem(item);
            if (marked(item))
                titles.push_back(item.GetText());
        }
        return titles;
    }
    int CommandOf(const VyString& title) { return Sets().GetItem(MenuItemIndex(Sets(), title)).GetId(); }
    void Choose(const VyString& title) { ASSERT_TRUE(m_pMain->OnCommand(CommandOf(title))); }
    void WaitForSet(const VyString& name)
    {
        WaitFor([this, name] { return !Rules().IsSetLoading() && Rules().GetSetName() == name; });
    }
    std::string SavedSettings() const { return VyTestDir::Slurp(m_dir.File("Tolmar.cfg")); }
    bool Saved(const std::string& line) const { return SavedSettings().find(line + "\n") != std::string::npos; }
};
} // namespace

TEST_F(VyPieceSetMenuTest, TheArchivesAndTheDisksSetsAreListedOnceInNameOrderAfterDisplay)
{
    EXPECT_EQ(MenuItemIndex(Options(), "Piece Set"), MenuItemIndex(Options(), "Display") + 1);
    EXPECT_EQ(Titles(), (std::vector<VyString>{"Classic", "Forest", "Squares"}));
    for (int i = 0; i < Sets().GetItemCount(); ++i)
        EXPECT_EQ(Sets().GetItem(i).GetId(), VyPieceSetMenu::VY_CMD_FIRST_SET + i);
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Classic"}));
    EXPECT_TRUE(Disabled().empty());

    // The two sources apart: the archive's names are its own lower-case ones, the disk's as written.
    EXPECT_EQ(VyPieceSetList::FindInArchive(Platform().GetArchive()), (std::vector<VyString>{"classic", "squares"}));
    std::vector<VyString> disk = VyPieceSetList::FindOnDisk("");
    std::sort(disk.begin(), disk.end());
    EXPECT_EQ(disk, (std::vector<VyString>{"Classic", "Forest"}));
}

TEST_F(VyPieceSetMenuTest, DuringAGameChoosingAnotherSetAsksFirstAndYesLoadsAndStoresIt)
{
    m_pMain->OnCommand(200); // a game against the computer
    Settle();
    ASSERT_TRUE(Rules().IsInPlay());

    m_script.Then(Answer(VY_IDNO));
    m_script.Start();
    Choose("Squares");
    EXPECT_FALSE(Rules().IsSetLoading());
    EXPECT_TRUE(Rules().IsInPlay()) << "No keeps the game";
    EXPECT_EQ(Rules().GetSetName(), "classic");

    m_script.Then(Answer(VY_IDYES));
    m_script.Start();
    Choose("Squares");
    WaitForSet("squares");
    EXPECT_EQ(m_questions, (std::vector<VyString>{QUIT_QUESTION, QUIT_QUESTION}));
    EXPECT_EQ(Rules().GetWinningCombinations().size(), 19u);
    EXPECT_FALSE(Rules().IsInPlay());
    EXPECT_TRUE(Saved("Set=squares")) << SavedSettings();
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Squares"}));
    ASSERT_NE(m_pGame->GetPiece(15), nullptr);

    // The set in use again: no question, no load.
    Choose("Squares");
    EXPECT_FALSE(Rules().IsSetLoading());
    EXPECT_EQ(m_questions.size(), 2u);
}

TEST_F(VyPieceSetMenuTest, WithoutAGameADiskSetLoadsAtOnceWithTheArchivesPictures)
{
    Choose("Forest");
    WaitForSet("Forest");
    EXPECT_TRUE(m_questions.empty());
    EXPECT_TRUE(Saved("Set=Forest")) << SavedSettings();
    EXPECT_EQ(Rules().GetNumberOfPieces(), 16);
    ASSERT_TRUE(Rules().GetSetImages());
    EXPECT_FALSE(Rules().GetSetImages()->pieces[0].normal.IsEmpty());
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Forest"}));

    // Back to the classic set, which Tolmar.cfg names again.
    Choose("Classic");
    WaitForSet("classic");
    EXPECT_TRUE(Saved("Set=classic")) << SavedSettings();
}
