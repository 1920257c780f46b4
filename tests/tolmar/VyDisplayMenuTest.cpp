#include "MenuTestSupport.h"
#include "VyGameWndTestSupport.h"

#include "VyDisplayMenu.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyio/VyConfigFile.h"
#include "vyplatform/VyColorScheme.h"
#include "vyutil/VyColorSlots.h"

// Options > Display on the platform without a display: the menu's items, what each choice writes into
// vyw.cfg and the colours of the next frame, drawn by the software context.

namespace
{
// MENU_BACKGROUND of the shipped schemes (resources/colors) and of the player's own one below.
constexpr uint32_t BLANK_MENU = 0xD4D0C8;
constexpr uint32_t BLUE_MENU = 0xBED2F0;
constexpr uint32_t PLUM_MENU = 0xCAB8D0;
constexpr uint32_t SUNSET_MENU = 0x0AC81E;

class VyDisplayMenuTest : public VyGameWndTest
{
protected:
    void WriteSettings() override
    {
        VyGameWndTest::WriteSettings();
        // A scheme of the player's own: its folder and its name in other letters than vyw.cfg's Colors.
        m_dir.Put("colors/Sunset.COLOR", "[Colors]\nMENU_BACKGROUND=10, 200, 30\n");
        m_dir.Put("colors/notes.txt", "not a scheme\n");
    }

    void TearDown() override
    {
        // The parsed vyw.cfg and the colour table outlive the test in this process.
        VyConfigFile config("vyw.cfg");
        config.SetString("Preferences", "Color Scheme", VyColorScheme::VY_DEFAULT_SCHEME);
        config.SetString("Screen", "FullScreen", "FALSE");
        config.SetString("Screen", "Scale", "0");
        config.Save();
        VyColorScheme::Global().ResetToDefaults();
        VyGameWndTest::TearDown();
    }

    VyMenuBar& Bar() { return *dynamic_cast<VyMenuBar*>(m_pMain->GetMenuBar()); }
    VyPopupMenu& Options() { return *Bar().GetPopup(1); }
    VyPopupMenu& Display() { return SubMenuOf(Options(), "Display"); }

    std::vector<VyString> Titles() { return MenuTitles(Display()); }
    // The texts of the items checked as the menu would show them now.
    std::vector<VyString> Checked()
    {
        std::vector<VyString> checked;
        for (int i = 0; i < Display().GetItemCount(); ++i)
        {
            VyMenuItem& item = Display().GetItem(i);
            if (!item.IsSeparator())
                m_pMain->UpdateMenuItem(item);
            if (item.IsChecked())
                checked.push_back(item.GetText());
        }
        return checked;
    }
    int CommandOf(const VyString& text) { return Display().GetItem(MenuItemIndex(Display(), text)).GetId(); }
    void Choose(const VyString& text) { ASSERT_TRUE(m_pMain->OnCommand(CommandOf(text))); }

    // The menu bar's own face in a frame drawn now, right of its titles.
    uint32_t MenuBarFace()
    {
        m_context.BeginFrame();
        m_pMain->Draw();
        m_context.EndFrame();
        const VyRect bar = Bar().GetRootRect();
        return m_context.GetFrameBuffer()->GetPixel(bar.right - 8, (bar.top + bar.bottom) / 2) & 0xFFFFFF;
    }
    std::string SavedSettings() const { return VyTestDir::Slurp(m_dir.File("vyw.cfg")); }
    bool Saved(const std::string& line) const { return SavedSettings().find(line + "\n") != std::string::npos; }
};
} // namespace

TEST_F(VyDisplayMenuTest, OptionsOffersTheSchemesFoundFullScreenAndTheScales)
{
    // The shipped three from the archive, the one on disk whatever its case; no other file.
    EXPECT_EQ(Titles(), (std::vector<VyString>{"Default", "Blank", "Blue", "Plum", "Sunset", "-", "Full Screen", "-",
                                               "Automatic", "1x", "2x", "3x"}));
    EXPECT_EQ(CommandOf("Full Screen"), VY_CMD_FULL_SCREEN);
    EXPECT_EQ(CommandOf("2x"), VY_CMD_SCALE_AUTOMATIC + 2);
    for (const VyString& title : Titles())
        if (title != "-")
        {
            EXPECT_GE(CommandOf(title), 300) << title;
            EXPECT_LE(CommandOf(title), 349) << title;
        }
    // A fresh vyw.cfg names Default.Color, which no file is: the framework's own colours.
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Default", "Automatic"}));
    EXPECT_EQ(MenuBarFace(), VySystemColors::DefaultOf(MENU_BACKGROUND));
}

TEST_F(VyDisplayMenuTest, ASchemeRecoloursTheNextFrameIsWrittenAndIsTheOneChecked)
{
    const std::pair<const char*, uint32_t> shipped[] = {
        {"Blue", BLUE_MENU}, {"Plum", PLUM_MENU}, {"Blank", BLANK_MENU}};
    for (const auto& [title, face] : shipped)
    {
        Choose(title);
        EXPECT_EQ(MenuBarFace(), face) << title;
        EXPECT_TRUE(Saved("Color Scheme=" + VyString(title).Lower() + ".color")) << SavedSettings();
        EXPECT_EQ(Checked(), (std::vector<VyString>{title, "Automatic"}));
    }
    Choose("Default");
    EXPECT_EQ(MenuBarFace(), VySystemColors::DefaultOf(MENU_BACKGROUND));
    EXPECT_TRUE(Saved("Color Scheme=Default.Color"));
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Default", "Automatic"}));
}

TEST_F(VyDisplayMenuTest, ASchemeOnDiskInOtherLettersIsUsedAndCheckedWhateverTheCaseVywCfgNamesIt)
{
    Choose("Sunset");
    EXPECT_EQ(MenuBarFace(), SUNSET_MENU);
    EXPECT_TRUE(Saved("Color Scheme=Sunset.COLOR")) << SavedSettings();
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Sunset", "Automatic"}));

    // A name written by hand in other letters still marks the scheme it finds.
    VyConfigFile config("vyw.cfg");
    config.SetString("Preferences", "Color Scheme", "BLUE.Color");
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Blue", "Automatic"}));
    // One that names no scheme leaves the framework's colours: Default.
    config.SetString("Preferences", "Color Scheme", "gone.color");
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Default", "Automatic"}));
}

TEST_F(VyDisplayMenuTest, FullScreenAndTheScalesAreWrittenAtOnceAndCheckedAsSet)
{
    Choose("Full Screen");
    EXPECT_TRUE(Platform().GetScreen().bFullScreen);
    EXPECT_TRUE(Saved("FullScreen=TRUE")) << SavedSettings();
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Default", "Full Screen", "Automatic"}));
    Choose("Full Screen");
    EXPECT_FALSE(Platform().GetScreen().bFullScreen);
    EXPECT_TRUE(Saved("FullScreen=FALSE"));

    for (int scale = 1; scale <= 3; ++scale)
    {
        const VyString title = VyString::Format("%dx", scale);
        Choose(title);
        EXPECT_EQ(Platform().GetScreen().scale, scale);
        EXPECT_TRUE(Saved(VyString::Format("Scale=%d", scale))) << SavedSettings();
        EXPECT_EQ(Checked(), (std::vector<VyString>{"Default", title}));
    }
    Choose("Automatic");
    EXPECT_TRUE(Saved("Scale=0"));
    EXPECT_EQ(Checked(), (std::vector<VyString>{"Default", "Automatic"}));
}
