#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "vyio/VyConfigFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTraceCapture.h"
#include "vyutil/VyTextureSource.h"

// The program's tests run in a temporary working directory (see VyPlatformTest.cpp).

namespace
{

// Hands out a texture for "marble.bmp" and none for other names; remembers what was asked.
class MarbleSource : public VyTextureSource
{
public:
    MarbleSource() { SetCurrent(this); }
    ~MarbleSource() override { SetCurrent(nullptr); }

    VyTexture GetTexture(const VyString& name) override
    {
        m_names.push_back(name);
        return name == "marble.bmp" ? m_marble : VyTexture();
    }

    VyTexture m_marble{7, 64, 32, nullptr};
    std::vector<VyString> m_names;
};

// Sets the scheme named in vyw.cfg for one scope.
class SchemeSetting
{
public:
    SchemeSetting(const VyString& scheme, const VyString& directory = "Colors")
    {
        m_config.SetString("Preferences", "Color Scheme", scheme);
        m_config.SetString("Directories", "Colors", directory);
    }
    ~SchemeSetting()
    {
        m_config.SetString("Preferences", "Color Scheme", "Default.Color");
        m_config.SetString("Directories", "Colors", "Colors");
    }

private:
    VyConfigFile m_config{"vyw.cfg"};
};

const int TEXT_SHADOWS[] = {BUTTON_TEXT_SHADOW, BUTTON_TEXT_FOCUS_SHADOW, BUTTON_TEXT_MOUSE_OVER_SHADOW,
                            EDIT_TEXT_SHADOW, EDIT_TEXT_SELECTION_SHADOW, EDIT_TEXT_READONLY_SHADOW,
                            MENU_TEXT_SHADOW, MENU_TEXT_SELECTION_SHADOW, LABEL_TEXT_SHADOW,
                            SCROLLBAR_BUTTON_ARROW_SHADOW, SCROLLBAR_BUTTON_ARROW_MOUSE_OVER_SHADOW,
                            DIALOG_ACTIVE_CAPTION_TEXT_SHADOW, DIALOG_INACTIVE_CAPTION_TEXT_SHADOW,
                            LISTBOX_TEXT_SHADOW, LISTBOX_TEXT_SELECTION_SHADOW, LISTBOX_TEXT_MOUSE_OVER_SHADOW};

void ExpectDefaults(const VyColorScheme& scheme)
{
    for (int id = 1; id < LAST_ENTRY; ++id)
    {
        const VyColorSchemeSlot& slot = scheme.GetSlot(id);
        EXPECT_EQ(slot.color, VySystemColors::DefaultOf(id)) << slot.name;
        EXPECT_EQ(slot.alpha, 255) << slot.name;
        EXPECT_FALSE(slot.texture.IsValid()) << slot.name;
    }
    for (int id : TEXT_SHADOWS)
        EXPECT_TRUE(scheme.GetSlot(id).IsUnset()) << scheme.GetSlot(id).name;
}

TEST(VyColorScheme, WithoutAnySchemeEverySlotHasItsDesktopDefault)
{
    VyColorScheme scheme;
    scheme.ApplyValue(BUTTON_FACE, "1, 2, 3", VyAlphaBlending::SUPPORTED);
    scheme.LoadConfigured(VyAlphaBlending::SUPPORTED);   // "Colors\Default.Color" exists nowhere
    ExpectDefaults(scheme);
    EXPECT_EQ(VyConfigFile("vyw.cfg").GetString("Preferences", "Color Scheme", "?"), "Default.Color");
    EXPECT_EQ(VyConfigFile("vyw.cfg").GetString("Directories", "Colors", "?"), "Colors");

    EXPECT_EQ(scheme.GetSlot(WINDOW_BACKGROUND).color, 0xFCF8F0u);
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE).color, 0xE6D8BCu);
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE_DOWN).color, 0xBDA98Cu);          // face and shadow, rounded down
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE_MOUSE_OVER).color, 0xF2EAD8u);    // face and highlight
    EXPECT_EQ(scheme.GetSlot(SCROLLBAR_BACKGROUND_MOUSE_OVER).color, 0xF8F3E6u);
    EXPECT_EQ(scheme.GetSlot(DIALOG_INACTIVE_CAPTION_TEXT).color, 0xE6D8BCu);
    EXPECT_EQ(scheme.GetSlot(CARET).color, 0x000000u);
    EXPECT_EQ(scheme.GetSlot(HOTTRACK).color, 0x8C5A28u);
    EXPECT_EQ(scheme.GetSlot(LISTBOX_TEXT_MOUSE_OVER).color, 0x8C5A28u);
    EXPECT_TRUE(scheme.GetSlot(LISTBOX_BACKGROUND_MOUSE_OVER).IsUnset());
    EXPECT_TRUE(scheme.GetSlot(LAST_ENTRY).IsUnset());

    // Look-ups by name; unknown ids and names.
    ASSERT_NE(scheme.FindSlot("EDIT_TEXT"), nullptr);
    EXPECT_EQ(scheme.FindSlot("EDIT_TEXT")->id, EDIT_TEXT);
    EXPECT_STREQ(scheme.GetSlot(EDIT_TEXT).name, "EDIT_TEXT");
    EXPECT_EQ(scheme.FindSlot("edit_text"), nullptr);
    VyTraceCapture reported;
    EXPECT_TRUE(scheme.GetSlot(119).IsUnset());
    EXPECT_TRUE(scheme.GetSlot(0).IsUnset());
    scheme.ApplyValue(0, "1,2,3", VyAlphaBlending::SUPPORTED);
    EXPECT_NE(reported.Text().find("Assertion Failed:"), VyString::npos);
    EXPECT_TRUE(scheme.GetSlot(0).IsUnset());
}

TEST(VyColorScheme, ValuesOfThreeFourAndFiveParts)
{
    MarbleSource textures;
    VyColorScheme scheme;
    scheme.ApplyValue(LABEL_BACKGROUND, "140, 166, 242, 196", VyAlphaBlending::SUPPORTED);
    EXPECT_EQ(scheme.GetSlot(LABEL_BACKGROUND).color, 0x8CA6F2u);
    EXPECT_EQ(scheme.GetSlot(LABEL_BACKGROUND).alpha, 196);
    scheme.ApplyValue(LABEL_BACKGROUND, "140, 166, 242, 196", VyAlphaBlending::UNSUPPORTED);
    EXPECT_EQ(scheme.GetSlot(LABEL_BACKGROUND).color, 0x8CA6F2u);
    EXPECT_EQ(scheme.GetSlot(LABEL_BACKGROUND).alpha, 255);

    scheme.ApplyValue(EDIT_TEXT_SHADOW, "", VyAlphaBlending::SUPPORTED);
    EXPECT_TRUE(scheme.GetSlot(EDIT_TEXT_SHADOW).IsUnset());
    scheme.ApplyValue(EDIT_TEXT_SHADOW, "10,20", VyAlphaBlending::SUPPORTED);
    EXPECT_TRUE(scheme.GetSlot(EDIT_TEXT_SHADOW).IsUnset());
    scheme.ApplyValue(EDIT_TEXT_SHADOW, "0,0,0", VyAlphaBlending::SUPPORTED);  // a shadow set: black
    EXPECT_EQ(scheme.GetSlot(EDIT_TEXT_SHADOW).color, 0u);

    scheme.ApplyValue(BUTTON_TEXT, "300, -1, 256", VyAlphaBlending::SUPPORTED);
    EXPECT_EQ(scheme.GetSlot(BUTTON_TEXT).color, 0x2CFF00u);

    // A short value keeps the colour but not the alpha or the texture.
    scheme.ApplyValue(WINDOW_BACKGROUND, "216,208,200,128, marble.bmp ", VyAlphaBlending::SUPPORTED);
    const VyColorSchemeSlot& window = scheme.GetSlot(WINDOW_BACKGROUND);
    EXPECT_EQ(window.color, 0xD8D0C8u);
    EXPECT_EQ(window.alpha, 128);
    EXPECT_EQ(window.texture, textures.m_marble);
    EXPECT_EQ(window.texture.GetWidth(), 64);
    EXPECT_EQ(textures.m_names.back(), "marble.bmp");
    scheme.ApplyValue(WINDOW_BACKGROUND, "1,2", VyAlphaBlending::SUPPORTED);
    EXPECT_EQ(window.color, 0xD8D0C8u);
    EXPECT_EQ(window.alpha, 255);
    EXPECT_FALSE(window.texture.IsValid());
}

TEST(VyColorScheme, SchemeFileFromDiskThroughTheConfiguration)
{
    std::filesystem::create_directories("Schemes");
    std::ofstream("Schemes/test.color") << "[Colors]\n"
                                           "WINDOW_BACKGROUND=216,208,200,255,marble.bmp\n"
                                           "EDIT_TEXT_SHADOW=\n"
                                           "LABEL_BACKGROUND=140, 166, 242, 196\n"
                                           "BUTTON_FACE=300, 1, 2\n"
                                           "LAST_ENTRY=9,9,9\n";
    MarbleSource textures;
    VyColorScheme scheme;
    {
        SchemeSetting setting("test.color", "Schemes");
        scheme.LoadConfigured(VyAlphaBlending::UNSUPPORTED);
    }
    EXPECT_EQ(scheme.GetSlot(WINDOW_BACKGROUND).texture, textures.m_marble);
    EXPECT_TRUE(scheme.GetSlot(EDIT_TEXT_SHADOW).IsUnset());
    EXPECT_EQ(scheme.GetSlot(LABEL_BACKGROUND).alpha, 255);
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE).color, 0x2C0102u);
    EXPECT_EQ(scheme.GetSlot(LAST_ENTRY).color, 0x090909u);
    EXPECT_EQ(scheme.GetSlot(BUTTON_TEXT).color, VySystemColors::DefaultOf(BUTTON_TEXT)); // not in the file

    // Reset leaves LAST_ENTRY alone; an empty scheme name stops after the reset.
    {
        SchemeSetting setting("");
        scheme.LoadConfigured(VyAlphaBlending::SUPPORTED);
    }
    EXPECT_EQ(scheme.GetSlot(LAST_ENTRY).color, 0x090909u);
    EXPECT_FALSE(scheme.GetSlot(WINDOW_BACKGROUND).texture.IsValid());
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE).color, 0xE6D8BCu);
}

TEST(VyColorScheme, ShippedSchemesLoadFromTheArchive)
{
    VyPlatform platform;   // the archive linked into this program
    MarbleSource textures;
    VyColorScheme& scheme = VyColorScheme::Global();
    {
        SchemeSetting setting("blank.color");
        scheme.LoadConfigured(VyAlphaBlending::SUPPORTED);
    }
    // The classic grey desktop, every slot written out: nothing is left to the defaults.
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE).color, 0xD4D0C8u);
    EXPECT_EQ(scheme.GetSlot(WINDOW_DARK_SHADOW).color, 0x404040u);
    EXPECT_EQ(scheme.GetSlot(DIALOG_ACTIVE_CAPTION_BACKGROUND).color, 0x0A246Au);
    for (int id : TEXT_SHADOWS)
        EXPECT_TRUE(scheme.GetSlot(id).IsUnset()) << scheme.GetSlot(id).name;
    {
        SchemeSetting setting("blue.color");
        scheme.LoadConfigured(VyAlphaBlending::SUPPORTED);
    }
    EXPECT_EQ(scheme.GetSlot(BUTTON_FACE).color, 0xACC4EAu);
    EXPECT_EQ(scheme.GetSlot(DIALOG_BACKGROUND).alpha, 232);
    EXPECT_TRUE(scheme.GetSlot(EDIT_TEXT_SHADOW).IsUnset());
    EXPECT_FALSE(scheme.GetSlot(DIALOG_ACTIVE_CAPTION_TEXT_SHADOW).IsUnset());
    {
        SchemeSetting setting("PLUM.color");   // the archive ignores case
        scheme.LoadConfigured(VyAlphaBlending::SUPPORTED);
    }
    EXPECT_EQ(scheme.GetSlot(WINDOW_BACKGROUND).color, 0xECE2EEu);
    EXPECT_EQ(scheme.GetSlot(WINDOW_BACKGROUND).texture, textures.m_marble);
    EXPECT_EQ(scheme.GetSlot(DIALOG_BACKGROUND).alpha, 236);
    scheme.ResetToDefaults();
}

} // namespace
