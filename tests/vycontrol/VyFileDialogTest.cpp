#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "VyOrdinaryUser.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyFileDialog.h"
#include "vycontrol/VyHeader.h"
#include "vycontrol/VyListBox.h"
#include "vyio/VyTestDir.h"
#include "vywindow/VyMsgBox.h"

namespace
{
// A folder of saved games: two folders, four files (one with a space, one with a byte beyond ASCII) and
// a hidden file.
class VyFileDialogTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_dir.Put("beta.sav", "12345");
        m_dir.Put("Alpha.sav", "x");
        m_dir.Put("with space.sav", "");
        m_dir.Put("caf\xE9.sav", "abc");
        m_dir.Put(".hidden", "");
        m_dir.Put("Saves/inner.sav", "");
        std::filesystem::create_directories(m_dir.Path() / "attic");
        m_root = m_dir.Path().string();
    }

    VyFileDialog& Dialog() const { return *dynamic_cast<VyFileDialog*>(m_pMain->GetModal()); }
    VyListBox& List() const { return *dynamic_cast<VyListBox*>(Dialog().GetControl(VyFileDialog::VY_LIST_ID)); }
    VyEdit& Field() const { return *dynamic_cast<VyEdit*>(Dialog().GetControl(VyFileDialog::VY_NAME_ID)); }
    int IndexOf(const VyString& name) const
    {
        const auto& entries = Dialog().GetEntries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].name == name)
                return static_cast<int>(i);
        return -1;
    }
    // The middle of an entry's row (scrolled into view first).
    VyPoint RowOf(const VyString& name) const
    {
        const int index = IndexOf(name);
        List().EnsureVisible(index);
        const VyRect header = List().GetHeader().GetRootRect();
        const int row = index - List().GetTopItem();
        return {header.left + 30, header.bottom - 1 - row * List().GetItemHeight() - List().GetItemHeight() / 2};
    }
    void DoubleClick(VyPoint p)
    {
        Click(p);
        m_now += 50;
        Click(p);
        m_now += 1000;
    }
    VyPoint ButtonOf(int id) const
    {
        const VyRect rect = Dialog().GetControl(id)->GetRootRect();
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // Answers the message box on top with a button and remembers its text.
    std::function<void()> Answer(int button, VyString* pText = nullptr)
    {
        return [this, button, pText] {
            auto* pBox = dynamic_cast<VyMsgBox*>(m_pMain->GetModal());
            ASSERT_NE(pBox, nullptr);
            if (pText != nullptr)
                *pText = pBox->GetControlText(VyMsgBox::VY_TEXT_ID);
            Click(ButtonOfBox(*pBox, button));
        };
    }
    static VyPoint ButtonOfBox(const VyDialog& box, int id)
    {
        const VyRect rect = box.GetControl(id)->GetRootRect();
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    VyTestDir m_dir;
    VyString m_root;
    VyScript m_script;
};
} // namespace

TEST_F(VyFileDialogTest, ListsFoldersFirstThenFilesByNameWithTheirSizesAndDatesAndCancelGivesNothing)
{
    std::vector<VyString> names;
    std::vector<VyString> cells;
    std::vector<VyString> columns;
    m_script.Then([&] {
        for (const VyDirectoryEntry& entry : Dialog().GetEntries())
            names.push_back(entry.name);
        cells = List().GetItem(IndexOf("beta.sav")).cells;
        for (int i = 0; i < List().GetHeader().GetPaneCount(); ++i)
            columns.push_back(List().GetHeader().GetPaneTitle(i));
        EXPECT_EQ(Field().GetText(), "tolmar.sav");
        EXPECT_EQ(List().GetItem(IndexOf("attic")).icon, "closedfolder.bmp");
        EXPECT_EQ(List().GetItem(IndexOf("Alpha.sav")).icon, "file.bmp");
        Frame();
        Click(ButtonOf(VY_IDCANCEL));
    });
    m_script.Start();
    VyString path = "unchanged";
    EXPECT_FALSE(VyFileDialog::AskIn(VyFileDialogMode::OPEN, m_root, "tolmar.sav", path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(names, (std::vector<VyString>{"..", "attic", "Saves", "Alpha.sav", "beta.sav", "caf\xE9.sav",
                                            "with space.sav"}));
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], "beta.sav");
    EXPECT_EQ(cells[1], "5 bytes");
    EXPECT_EQ(cells[2].size(), 16u); // "2026-12-09 08:15"
    EXPECT_EQ(columns, (std::vector<VyString>{"Name", "Size", "Modified"}));
}

TEST_F(VyFileDialogTest, DoubleClicksAndTypedPathsMoveBetweenFolders)
{
    std::vector<VyString> visited;
    m_script.Then([&] { DoubleClick(RowOf("Saves")); })
        .Then([&] {
            visited.push_back(Dialog().GetDirectory());
            DoubleClick(RowOf(".."));
        })
        .Then([&] {
            visited.push_back(Dialog().GetDirectory());
            m_pMain->SetFocus(&Field());
            Field().SetText("attic");
            Key(VY_KEY_RETURN);
        })
        .Then([&] {
            visited.push_back(Dialog().GetDirectory());
            Field().SetText(m_root + "/Saves");
            Key(VY_KEY_RETURN);
        })
        .Then([&] {
            visited.push_back(Dialog().GetDirectory());
            Key(VY_KEY_ESCAPE);
        });
    m_script.Start();
    VyString path;
    EXPECT_FALSE(VyFileDialog::AskIn(VyFileDialogMode::OPEN, m_root, "", path));
    EXPECT_EQ(visited, (std::vector<VyString>{m_root + "/Saves", m_root, m_root + "/attic", m_root + "/Saves"}));
}

TEST_F(VyFileDialogTest, SavingOverAFileAsksFirstAndOntoAFolderIsRefused)
{
    VyString question;
    VyString refusal;
    m_script.Then([&] {
        Field().SetText("beta.sav");
        Click(ButtonOf(VY_IDOK));
    })
        .Then(Answer(VY_IDNO, &question))
        .Then([&] {
            EXPECT_EQ(Dialog().GetDirectory(), m_root); // still open
            Field().SetText("attic");
            Click(ButtonOf(VY_IDOK));
        })
        .Then(Answer(VY_IDOK, &refusal))
        .Then([&] {
            Field().SetText("beta.sav");
            Click(ButtonOf(VY_IDOK));
        })
        .Then(Answer(VY_IDYES));
    m_script.Start();
    VyString path;
    EXPECT_TRUE(VyFileDialog::AskIn(VyFileDialogMode::SAVE, m_root, "tolmar.sav", path));
    EXPECT_EQ(path, m_root + "/beta.sav");
    EXPECT_EQ(question, "A file with that name already exists.  Would you like to overwrite it?");
    EXPECT_EQ(refusal, "A directory with that name already exists");
    EXPECT_TRUE(m_script.IsDone());
}

TEST_F(VyFileDialogTest, NamesChosenFromTheListComeBackByteForByte)
{
    m_script.Then([&] { Click(RowOf("caf\xE9.sav")); })
        .Then([&] {
            EXPECT_EQ(Field().GetText(), "caf?.sav");
            m_pMain->SetFocus(&Field());
            Key(VY_KEY_RETURN);
        });
    m_script.Start();
    VyString path;
    EXPECT_TRUE(VyFileDialog::AskIn(VyFileDialogMode::OPEN, m_root, "", path));
    EXPECT_EQ(path, m_root + "/caf\xE9.sav");

    VyScript second;
    second.Then([&] { DoubleClick(RowOf("with space.sav")); });
    second.Start();
    EXPECT_TRUE(VyFileDialog::AskIn(VyFileDialogMode::OPEN, m_root, "", path));
    EXPECT_EQ(path, m_root + "/with space.sav");
}

TEST_F(VyFileDialogTest, OpeningANameThatDoesNotExistSaysSoAndStaysOpen)
{
    VyString said;
    m_script.Then([&] {
        Field().SetText("nothere.sav");
        Click(ButtonOf(VY_IDOK));
    })
        .Then(Answer(VY_IDOK, &said))
        .Then([&] {
            // Pasted over the selection of the whole field: a name that exists.
            Platform().m_clipboard = "Alpha.sav";
            Field().SelectAll();
            Field().Paste();
            Click(ButtonOf(VY_IDOK));
        });
    m_script.Start();
    VyString path;
    EXPECT_TRUE(VyFileDialog::AskIn(VyFileDialogMode::OPEN, m_root, "", path));
    EXPECT_EQ(said, "The file " + m_root + "/nothere.sav does not exist.");
    EXPECT_EQ(path, m_root + "/Alpha.sav");
}

TEST_F(VyFileDialogTest, AFolderThatCannotBeReadIsSaidSoAndTheDialogStaysWhereItWas)
{
    const std::filesystem::path folder = VyOrdinaryUser::MakeFolder();
    ASSERT_FALSE(folder.empty());
    const int status = VyOrdinaryUser::Run([&] {
        const std::filesystem::path closed = folder / "closed";
        if (mkdir(closed.c_str(), 0700) != 0 || chmod(closed.c_str(), 0) != 0)
            return 2;
        VyString said;
        bool bEntered = true;
        VyString stayed;
        VyScript script;
        script.Then([&] {
            bEntered = Dialog().Enter(closed.string());
            stayed = Dialog().GetDirectory();
            Key(VY_KEY_ESCAPE);
        })
            .Then(Answer(VY_IDOK, &said));
        script.Start();
        VyString path;
        const bool bTaken = VyFileDialog::AskIn(VyFileDialogMode::OPEN, folder.string(), "", path);
        chmod(closed.c_str(), 0700);
        const bool bSaid = said.find("cannot be read") != VyString::npos && said.find("Permission denied") != VyString::npos;
        return !bEntered && stayed == folder.string() && bSaid && !bTaken ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    std::filesystem::remove_all(folder);
}

TEST_F(VyFileDialogTest, AFileNameCanBeCutAndAPathPastedWithTheControlKeys)
{
    const auto control = [this](char letter) { m_pMain->OnChar(letter, VY_INPUT_KEY | VY_INPUT_CONTROL); };
    VyString emptied = "unchanged";
    m_script.Then([&] {
        m_pMain->SetFocus(&Field());
        control('a');
        control('x');
        emptied = Field().GetText();
        EXPECT_EQ(Platform().m_clipboard, "tolmar.sav");
        Platform().m_clipboard = m_root + "/Saves/inner.sav";
        control('v');
        Key(VY_KEY_RETURN);
    });
    m_script.Start();
    VyString path;
    EXPECT_TRUE(VyFileDialog::AskIn(VyFileDialogMode::OPEN, m_root, "tolmar.sav", path));
    EXPECT_EQ(emptied, "");
    EXPECT_EQ(path, m_root + "/Saves/inner.sav");
}
