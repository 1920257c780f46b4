#include <gtest/gtest.h>

#include <map>

#include "vyio/VyTestDir.h"
#include "vythread/VyTraceCapture.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyStringHelper.h"
#include "vyutil/VyTextureSource.h"

static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);

namespace
{
using Parts = std::vector<VyString>;

// Hands out numbered textures and records which were released.
class VyFakeRenderTextures : public VyTextureSource, public VyTextureOwner
{
public:
    VyTexture GetTexture(const VyString& name) override
    {
        if (name.empty())
            return VyTexture();
        m_names.push_back(name);
        return VyTexture(static_cast<int>(m_names.size()), 64, 32, this);
    }
    void ReleaseTexture(int id) override { m_released.push_back(id); }

    std::vector<VyString> m_names;
    std::vector<int> m_released;
};
} // namespace

TEST(VyStringHelper, SplittingRule)
{
    EXPECT_EQ(VyStringHelper::Split("a,,b"), (Parts{"a", "", "b"}));
    EXPECT_EQ(VyStringHelper::Split("a,b,"), (Parts{"a", "b"}));
    EXPECT_EQ(VyStringHelper::Split(""), Parts{});
    EXPECT_EQ(VyStringHelper::Split(","), (Parts{""}));
    EXPECT_EQ(VyStringHelper::Split("250, 205"), (Parts{"250", " 205"})) << "parts are not trimmed";
    EXPECT_EQ(VyStringHelper::Split("x;y", ';'), (Parts{"x", "y"}));
}

TEST(VyStringHelper, TruthValuesNumbersAndIds)
{
    for (const char* text : {"", "0", "F", "FALSE"})
        EXPECT_FALSE(VyStringHelper::ParseBool(text)) << text;
    for (const char* text : {"No", "f", "false", "1", "TRUE", " 0"})
        EXPECT_TRUE(VyStringHelper::ParseBool(text)) << text;

    EXPECT_EQ(VyStringHelper::ParseId("IDOK"), 1);
    EXPECT_EQ(VyStringHelper::ParseId("IDCANCEL"), 2);
    EXPECT_EQ(VyStringHelper::ParseId("IDYES"), 6);
    EXPECT_EQ(VyStringHelper::ParseId("IDNO"), 7);
    EXPECT_EQ(VyStringHelper::ParseId("idok"), 200);
    EXPECT_EQ(VyStringHelper::ParseId("3"), 203);
    EXPECT_EQ(VyStringHelper::ParseId("abc"), 200);

    EXPECT_EQ(VyStringHelper::ToText(4000000000u), "4000000000");
    EXPECT_EQ(VyStringHelper::ToText(-12), "-12");
    EXPECT_EQ(VyStringHelper::ToText(true), "TRUE");
    EXPECT_EQ(VyStringHelper::ToText(false), "FALSE");
}

TEST(VyStringHelper, PointsSizesAndRectangles)
{
    VyTraceCapture log;
    EXPECT_EQ(VyStringHelper::ParseSize("250, 205"), (VySize{250, 205}));
    EXPECT_EQ(VyStringHelper::ParsePoint("-3,x"), (VyPoint{-3, 0}));
    EXPECT_EQ(VyStringHelper::ParseRect("10,170,235,140"), (VyRect{10, 170, 235, 140}));
    EXPECT_TRUE(log.Text().empty());

    EXPECT_EQ(VyStringHelper::ParseRect("1,2,3"), (VyRect{}));
    EXPECT_NE(log.Text().find("Assertion Failed:values.size()==4\n"), VyString::npos);
    EXPECT_EQ(VyStringHelper::ParsePoint("1,2,3"), (VyPoint{}));
    EXPECT_EQ(VyStringHelper::ParseSize(""), (VySize{}));
    EXPECT_NE(log.Text().find("Assertion Failed:values.size()==2\n"), VyString::npos);
}

TEST(VyStringHelper, Colours)
{
    const VyColor white = VyStringHelper::ParseColor("255,255,255");
    EXPECT_EQ(white.GetValue(), 0xFFFFFFu);
    EXPECT_EQ(white.GetAlpha(), 255);
    EXPECT_FALSE(white.IsSlot());
    EXPECT_FALSE(white.GetTexture().IsValid());

    const VyColor slot = VyStringHelper::ParseColor("WINDOW_BACKGROUND");
    EXPECT_TRUE(slot.IsSlot());
    EXPECT_EQ(slot.GetSlot(), 1);
    EXPECT_EQ(slot.GetFlags(), VY_COLOR_FLAG_SLOT);
    EXPECT_FALSE(VyStringHelper::ParseColor("window_background").IsSlot()) << "names are exact";

    EXPECT_EQ(VyStringHelper::ParseColor("140, 166, 242").GetValue(), 0x8CA6F2u);
    EXPECT_EQ(VyStringHelper::ParseColor("300,0,0").GetValue(), 0x2C0000u) << "low 8 bits only";
    EXPECT_EQ(VyStringHelper::ParseColor("1,2").GetValue(), 0u);

    // Without a texture source the bitmap part gives no texture.
    const VyColor noSource = VyStringHelper::ParseColor("0,0,0,128, marble.bmp");
    EXPECT_EQ(noSource.GetAlpha(), 128);
    EXPECT_FALSE(noSource.GetTexture().IsValid());

    VyFakeRenderTextures textures;
    VyTextureSource::SetCurrent(&textures);
    {
        const VyColor marble = VyStringHelper::ParseColor("0,0,0,128, marble.bmp ");
        EXPECT_EQ(marble.GetValue(), 0u);
        EXPECT_EQ(marble.GetAlpha(), 128);
        EXPECT_EQ(textures.m_names, (Parts{"marble.bmp"}));
        EXPECT_EQ(marble.GetTexture().GetId(), 1);
        EXPECT_EQ(marble.GetTexture().GetWidth(), 64);
        EXPECT_EQ(marble.GetTexture().GetHeight(), 32);

        const VyColor faded = VyStringHelper::ParseColor("BUTTON_FACE,100,wood.bmp");
        EXPECT_EQ(faded.GetSlot(), 14);
        EXPECT_EQ(faded.GetAlpha(), 100);
        EXPECT_EQ(faded.GetTexture().GetId(), 2);

        // Copies share the texture; it is released once, with the last copy.
        VyColor copy = marble;
        EXPECT_EQ(copy.GetTexture().GetUseCount(), 2);
        EXPECT_TRUE(textures.m_released.empty());
    }
    VyTextureSource::SetCurrent(nullptr);
    EXPECT_EQ(textures.m_released, (std::vector<int>{2, 1}));
}

TEST(VyColorSlots, NamesAndIds)
{
    EXPECT_STREQ(VyColorSlots::GetName(1), "WINDOW_BACKGROUND");
    EXPECT_STREQ(VyColorSlots::GetName(118), "LAST_ENTRY");
    EXPECT_STREQ(VyColorSlots::GetName(0), "");
    EXPECT_STREQ(VyColorSlots::GetName(119), "");
    std::map<std::string, int> seen;
    for (int id = 1; id <= VY_COLOR_SLOT_COUNT; ++id)
    {
        const char* name = VyColorSlots::GetName(id);
        EXPECT_EQ(VyColorSlots::GetId(name), id) << name;
        EXPECT_TRUE(seen.emplace(name, id).second) << "duplicate " << name;
    }
    EXPECT_EQ(VyColorSlots::GetId("CARET"), CARET);
    EXPECT_EQ(CARET, 101);
    EXPECT_EQ(LISTBOX_TEXT_MOUSE_OVER_SHADOW, 117);
    EXPECT_EQ(VyColorSlots::GetId("NOT_A_SLOT"), VY_COLOR_SLOT_NONE);
}

TEST(VyStringHelper, StringTableAddsMissingKeys)
{
    VyTestDir dir;
    VyScopedWorkingDir inside(dir.Path());
    dir.Put("strings/strings.txt", "[Strings]\nRules=Play well.\n");
    EXPECT_EQ(VyStringHelper::GetString("Rules", "?"), "Play well.");
    EXPECT_EQ(VyStringHelper::GetString("Missing", "fallback"), "fallback");
    EXPECT_EQ(VyTestDir::Slurp(dir.File("strings/strings.txt")), "[Strings]\nMissing=fallback\nRules=Play well.\n\n");
}
