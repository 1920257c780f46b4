#include <gtest/gtest.h>

#include "vycontrol/VyButton.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyHyperlink.h"
#include "vycontrol/VyImage.h"
#include "vycontrol/VyLabel.h"
#include "vyrender/VyFont.h"
#include "vythread/VyTraceCapture.h"
#include "vyutil/VyStringHelper.h"
#include "vyutil/VyColorSlots.h"

namespace
{
int FontHeight()
{
    return VyRenderContext::GetCurrent()->GetFonts()[VY_FONT_CONTROL]->GetHeight();
}
} // namespace

TEST_F(VyControlTest, ALabelWrapsToItsWidthAndSizesItselfWhenAsked)
{
    VyLabel* pFixed = Make<VyLabel>(VyControlKind::LABEL, {10, 200, 90, 150}, VY_STYLE_VISIBLE,
                                    "one two three four five six");
    ASSERT_NE(pFixed, nullptr);
    EXPECT_GT(pFixed->GetLines().size(), 1u);
    EXPECT_EQ(pFixed->GetRect(), (VyRect{10, 200, 90, 150})); // the size stays

    VyLabel* pTall = Make<VyLabel>(VyControlKind::LABEL, {100, 200, 160, 190}, VY_STYLE_VISIBLE | VY_LABEL_AUTO_HEIGHT,
                                   "one two three four five six", 202);
    const int lines = static_cast<int>(pTall->GetLines().size());
    EXPECT_GT(lines, 1);
    EXPECT_EQ(pTall->GetRect().top, 200); // the top stays
    EXPECT_EQ(pTall->GetHeight(), lines * (FontHeight() + 2) + 4);

    VyLabel* pWide = Make<VyLabel>(VyControlKind::LABEL, {170, 200, 180, 180}, VY_STYLE_VISIBLE | VY_LABEL_AUTO_WIDTH,
                                   "a wide label", 203);
    const VyFont& font = *VyRenderContext::GetCurrent()->GetFonts()[VY_FONT_CONTROL];
    EXPECT_EQ(pWide->GetWidth(), font.GetTextWidth("a wide label") + 4);
    EXPECT_EQ(pWide->GetLines().size(), 1u);
    pWide->SetText("longer still, and wider");
    EXPECT_EQ(pWide->GetWidth(), font.GetTextWidth("longer still, and wider") + 4);
}

TEST_F(VyControlTest, TheFactoryAppliesADescriptionAndRefusesWhatItDoesNotMake)
{
    VyControlDesc desc;
    desc.kind = VyControlKind::BUTTON;
    desc.rect = {10, 60, 90, 35};
    desc.value = "Cancel";
    desc.id = VY_IDCANCEL;
    desc.style = VY_STYLE_VISIBLE | VY_STYLE_TABSTOP;
    desc.textColor = {VyColor(0x123456), true};
    desc.backgroundColor = {VyColor::FromSlot(DIALOG_BACKGROUND), true};
    desc.bFontSet = true;
    desc.font.standard = VY_FONT_MENU;
    desc.justification = VyJustification::RIGHT;
    auto* pButton = dynamic_cast<VyButton*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(pButton->GetId(), VY_IDCANCEL);
    EXPECT_EQ(pButton->GetText(), "Cancel");
    EXPECT_EQ(pButton->GetStyle(), VY_STYLE_VISIBLE | VY_STYLE_TABSTOP | VY_STYLE_CREATED);
    EXPECT_EQ(pButton->GetColor(VyControlColor::TEXT).GetValue(), 0x123456u);
    EXPECT_EQ(pButton->GetColor(VyControlColor::FACE).GetSlot(), BUTTON_FACE); // not set: the slot
    EXPECT_EQ(pButton->GetBackgroundColor().GetSlot(), DIALOG_BACKGROUND);
    EXPECT_EQ(pButton->GetFontChoice().standard, VY_FONT_MENU);
    EXPECT_EQ(pButton->GetJustificationFlags(), 0x8);
    EXPECT_EQ(m_pSink->GetChild(VY_IDCANCEL), pButton);

    VyTraceCapture trace;
    for (VyControlKind kind : {VyControlKind::TREE, VyControlKind::WND})
    {
        desc.kind = kind;
        EXPECT_EQ(VyControlFactory::Get()->CreateControl(*m_pSink, desc), nullptr);
    }
    EXPECT_EQ(trace.Count("Invalid control type specified"), 2);
}

TEST_F(VyControlTest, ALinkOpensItsAddressWhenClickedAndAnImageShowsItsPicture)
{
    VyControlDesc desc;
    desc.kind = VyControlKind::HYPERLINK;
    desc.rect = {10, 60, 200, 40};
    desc.value = "Our page";
    desc.data = {"https://example.org/tolmar"};
    desc.style = VY_STYLE_VISIBLE;
    auto* pLink = dynamic_cast<VyHyperlink*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    ASSERT_NE(pLink, nullptr);
    m_pMain->OnMouseMove({20, 50}, 0);
    EXPECT_EQ(m_pMain->GetShownCursor(), VY_CURSOR_HAND);
    m_pMain->OnMouseButton({20, 50}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    m_pMain->OnMouseButton({20, 50}, VY_MOUSE_LEFT | VY_MOUSE_RELEASE);
    EXPECT_EQ(Platform().m_links, (std::vector<VyString>{"https://example.org/tolmar"}));

    // The title picture of the About box, white left out, at its own size.
    desc.kind = VyControlKind::IMAGE;
    desc.rect = {10, 220, 290, 100};
    desc.value = "title.bmp";
    desc.data = {"255,255,255"};
    desc.style = VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT;
    auto* pImage = dynamic_cast<VyImage*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->GetText(), "");
    m_pSink->SetBackgroundColor(VyColor(0xFF00FF));
    Frame();
    EXPECT_EQ(pImage->GetPictureSize(), (VySize{280, 120}));
    EXPECT_EQ(Pixel(11, 219), 0xFF00FFu); // a white corner of the picture: left out
    int drawn = 0;
    for (int y = 100; y < 220; ++y)
        for (int x = 10; x < 290; ++x)
            drawn += Pixel(x, y) != 0xFF00FFu;
    EXPECT_GT(drawn, 2000);
}

TEST_F(VyControlTest, ALabelDrawsItsShadowOnePixelRightAndDownAndUsesItsDisabledColoursWhenDisabled)
{
    constexpr uint32_t TEXT = 0x0000FF;
    constexpr uint32_t SHADOW = 0xFF0000;
    VyControlDesc desc;
    desc.kind = VyControlKind::LABEL;
    desc.rect = {10, 200, 150, 170};
    desc.value = "Tolmar 2";
    desc.style = VY_STYLE_VISIBLE;
    desc.textColor = {VyColor(TEXT), true};
    desc.shadowColor = {VyColor(SHADOW), true};
    auto* pLabel = dynamic_cast<VyLabel*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    VyLabel* pOff = Make<VyLabel>(VyControlKind::LABEL, {160, 200, 300, 170}, VY_STYLE_VISIBLE | VY_STYLE_DISABLED,
                                  "Tolmar 2", 202);
    ASSERT_TRUE(pLabel && pOff);
    Frame();
    const VyRect area = pLabel->GetRootRect();
    int text = 0;
    int shadowed = 0;
    int shadow = 0;
    for (int y = area.bottom + 1; y < area.top; ++y)
        for (int x = area.left; x < area.right - 1; ++x)
        {
            shadow += Pixel(x, y) == SHADOW;
            if (Pixel(x, y) != TEXT)
                continue;
            ++text;
            const uint32_t below = Pixel(x + 1, y - 1);
            shadowed += below == SHADOW || below == TEXT;
        }
    EXPECT_GT(text, 20);
    EXPECT_EQ(shadowed, text); // every text pixel has its shadow (or more text) one right and one down
    EXPECT_GT(shadow, 5);
    // Nothing in the margin at the top.
    int margin = 0;
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.top - VyLabel::VY_TEXT_MARGIN; y < area.top; ++y)
            margin += Pixel(x, y) == TEXT;
    EXPECT_EQ(margin, 0);

    const VyRect offArea = pOff->GetRootRect();
    EXPECT_EQ(CountSlotPixels(offArea, LABEL_TEXT), 0);
    EXPECT_EQ(CountSlotPixels(offArea, LABEL_TEXT_DISABLED), text);
    EXPECT_GT(CountSlotPixels(offArea, LABEL_TEXT_DISABLED_SHADOW), 5);
}

TEST_F(VyControlTest, AMarkedUpLabelsShadowIsAllInTheShadowColour)
{
    constexpr uint32_t SHADOW = 0xFF0000;
    constexpr uint32_t TAGGED = 0xFFFF00; // <yellow>
    VyLabel* pLabel = Make<VyLabel>(VyControlKind::LABEL, {10, 200, 200, 170}, VY_STYLE_VISIBLE, "<>To<yellow>lmar");
    ASSERT_NE(pLabel, nullptr);
    pLabel->SetColor(VyControlColor::TEXT, VyColor(0x0000FF));
    pLabel->SetColor(VyControlColor::TEXT_SHADOW, VyColor(SHADOW));
    Frame();
    // Right of "To" only the tagged letters are drawn: their glyphs yellow, their shadow red.
    const VyRect area = pLabel->GetRootRect();
    const int tagged = area.left + VyLabel::VY_TEXT_MARGIN + 1 +
                       VyRenderContext::GetCurrent()->GetFonts()[VY_FONT_CONTROL]->GetTextWidth("To");
    int yellow = 0;
    int shadow = 0;
    for (int y = area.bottom; y < area.top; ++y)
        for (int x = tagged; x < area.right; ++x)
        {
            yellow += Pixel(x, y) == TAGGED;
            shadow += Pixel(x, y) == SHADOW;
        }
    EXPECT_GT(yellow, 20);
    EXPECT_GT(shadow, 5);
}

TEST_F(VyControlTest, ALinkIsUnderlinedWhileHoveredAndOpensOnlyForAClickThatBeginsAndEndsOnIt)
{
    VyControlDesc desc;
    desc.kind = VyControlKind::HYPERLINK;
    desc.rect = {10, 60, 200, 40};
    desc.value = "Our page";
    desc.data = {"https://example.org/tolmar", "ignored"};
    desc.style = VY_STYLE_VISIBLE;
    auto* pLink = dynamic_cast<VyHyperlink*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    ASSERT_NE(pLink, nullptr);
    const auto& fonts = VyRenderContext::GetCurrent()->GetFonts();
    EXPECT_EQ(pLink->GetDrawFont(), fonts[VY_FONT_CONTROL].get());
    m_pMain->OnMouseMove({20, 50}, 0);
    EXPECT_EQ(pLink->GetDrawFont(), fonts[VY_FONT_UNDERLINE].get());

    // Pressed on it and let go elsewhere: nothing opens.
    Press({20, 50});
    EXPECT_EQ(m_pMain->GetCapture(), pLink);
    m_pMain->OnMouseMove({250, 150}, VY_MOUSE_LEFT);
    Release({250, 150});
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);
    m_pMain->OnMouseMove({250, 150}, 0);
    EXPECT_EQ(pLink->GetDrawFont(), fonts[VY_FONT_CONTROL].get());
    // Pressed elsewhere and let go on it: nothing either.
    Press({250, 150});
    m_pMain->OnMouseMove({20, 50}, VY_MOUSE_LEFT);
    Release({20, 50});
    EXPECT_TRUE(Platform().m_links.empty());
    // The right button opens nothing; a left click opens the first Data value.
    Click({20, 50}, VY_MOUSE_RIGHT);
    EXPECT_TRUE(Platform().m_links.empty());
    Click({20, 50});
    EXPECT_EQ(Platform().m_links, (std::vector<VyString>{"https://example.org/tolmar"}));
}

TEST_F(VyControlTest, AnImageThatSizesItselfTakesItsPicturesShapeAtItsWidth)
{
    VyControlDesc desc;
    desc.kind = VyControlKind::IMAGE;
    desc.rect = {10, 220, 150, 210};
    desc.value = "title.bmp";
    desc.style = VY_STYLE_VISIBLE | VY_IMAGE_AUTO_HEIGHT;
    auto* pImage = dynamic_cast<VyImage*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->GetPictureSize(), (VySize{280, 120}));
    EXPECT_EQ(pImage->GetRect(), (VyRect{10, 220, 150, 160})); // 140 wide: 60 high, the top kept

    // A picture that is not there is reported and leaves the size alone.
    desc.value = "missing.bmp";
    desc.id = 202;
    VyTraceCapture trace;
    auto* pMissing = dynamic_cast<VyImage*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    ASSERT_NE(pMissing, nullptr);
    EXPECT_EQ(pMissing->GetRect(), desc.rect);
    EXPECT_GT(trace.Count("missing.bmp"), 0);
    Frame(); // and draws nothing, without trying again
}
