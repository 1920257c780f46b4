#include "vycontrol/VyMenuBar.h"

#include <algorithm>

#include "vycontrol/VyMenuTitle.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyRenderContext.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
constexpr uint32_t TITLE_STYLE = VY_STYLE_VISIBLE | VY_STYLE_NO_FOCUS | VY_BUTTON_STATE_MESSAGES;
// The bar's height over the font's, and the width a title's button frame takes.
constexpr int BAR_EXTRA_HEIGHT = 10;
constexpr int TITLE_FRAME = 4;
// The rule along the bar's bottom, under the titles.
constexpr int RULE_HEIGHT = 1;
} // namespace

VyMenuBar::VyMenuBar()
{
    SetFontChoice({VY_FONT_MENU, {}});
}

int VyMenuBar::DefaultSlot(VyControlColor role) const
{
    switch (role)
    {
    case VyControlColor::FACE: return MENU_BACKGROUND;
    case VyControlColor::TEXT: return MENU_TEXT;
    default: return VY_COLOR_SLOT_NONE;
    }
}

int VyMenuBar::PreferredHeight()
{
    VyRenderContext* pContext = VyRenderContext::GetCurrent();
    const VyFont* pFont = pContext != nullptr ? pContext->GetFont(VyFontChoice{VY_FONT_MENU, {}}) : nullptr;
    return pFont != nullptr ? pFont->GetHeight() + BAR_EXTRA_HEIGHT : VyGetMetric(VyMetric::CAPTION_HEIGHT);
}

// -- Building ----------------------------------------------------------------------------------------

int VyMenuBar::AppendPopup(const VyString& title, std::unique_ptr<VyPopupMenu> pPopup)
{
    Title entry;
    entry.text = title;
    entry.pPending = std::move(pPopup);
    m_titles.push_back(std::move(entry));
    const int index = GetPopupCount() - 1;
    if (IsCreated())
    {
        MakeTitleButton(index);
        Relayout();
    }
    return index;
}

bool VyMenuBar::OnCreate()
{
    for (int i = 0; i < GetPopupCount(); ++i)
        MakeTitleButton(i);
    Relayout();
    return true;
}

void VyMenuBar::MakeTitleButton(int index)
{
    Title& title = m_titles[static_cast<size_t>(index)];
    auto pButton = std::make_unique<VyMenuTitle>();
    pButton->SetFontChoice(GetFontChoice());
    pButton->SetText(title.text);
    title.pButton = CreateChild(std::move(pButton), TITLE_STYLE, VyRect{}, index);
}

VyPopupMenu* VyMenuBar::EnsurePopup(int index)
{
    Title& title = m_titles[static_cast<size_t>(index)];
    if (title.pPopup == nullptr && title.pPending)
    {
        title.pPopup = CreateChild(std::move(title.pPending), VY_MENUBAR_POPUP_STYLE | VY_STYLE_OVERLAY, VyRect{},
                                   VY_POPUP_ID_BASE + index);
        if (title.pPopup != nullptr)
            title.pPopup->SetCommandTarget(GetParent());
    }
    return title.pPopup;
}

VyPopupMenu* VyMenuBar::GetPopup(int index) const
{
    if (index < 0 || index >= GetPopupCount())
        return nullptr;
    const Title& title = m_titles[static_cast<size_t>(index)];
    return title.pPopup != nullptr ? title.pPopup : title.pPending.get();
}

VyButton* VyMenuBar::GetTitle(int index) const
{
    return index >= 0 && index < GetPopupCount() ? m_titles[static_cast<size_t>(index)].pButton : nullptr;
}

VyMenuItem* VyMenuBar::FindItem(int id) const
{
    for (int i = 0; i < GetPopupCount(); ++i)
        if (VyMenuItem* pItem = GetPopup(i) != nullptr ? GetPopup(i)->FindItem(id) : nullptr)
            return pItem;
    return nullptr;
}

void VyMenuBar::UpdateMenuItem(VyMenuItem& item)
{
    if (auto* pUpdater = dynamic_cast<VyMenuUpdater*>(GetParent()))
        pUpdater->UpdateMenuItem(item);
}

// -- Layout ------------------------------------------------------------------------------------------

void VyMenuBar::Resize(int width, int height)
{
    VyFrameWnd::Resize(width, height);
    Relayout();
}

void VyMenuBar::Relayout()
{
    const VyFont* pFont = GetDrawFont();
    const VyRect client = GetClientRect();
    int x = VY_BAR_MARGIN;
    for (const Title& title : m_titles)
    {
        if (title.pButton == nullptr)
            continue;
        const int width = (pFont != nullptr ? pFont->GetTextWidth(title.text) : 0) + 2 * VY_TITLE_PADDING + TITLE_FRAME;
        title.pButton->Move(x, client.top, width, client.Height() - RULE_HEIGHT);
        x += width;
    }
}

int VyMenuBar::TitleAt(VyPoint rootPoint) const
{
    for (int i = 0; i < GetPopupCount(); ++i)
        if (const VyButton* pButton = GetTitle(i); pButton != nullptr && pButton->GetRootRect().Contains(rootPoint))
            return i;
    return -1;
}

// -- Opening and closing -----------------------------------------------------------------------------

void VyMenuBar::OpenPopup(int index, VyMenuHighlight highlight)
{
    if (GetTitle(index) == nullptr)
        return;
    ClosePopup();
    VyPopupMenu* pPopup = EnsurePopup(index);
    if (pPopup == nullptr)
        return;
    pPopup->Open({GetTitle(index)->GetRootRect(), VyMenuSide::BELOW, highlight, this});
    if (!pPopup->IsOpen())
        return;
    m_open = index;
    GetTitle(index)->SetState(VyButtonState::DOWN);
}

void VyMenuBar::ClosePopup()
{
    if (m_open < 0)
        return;
    const int index = m_open;
    m_open = -1;
    if (VyPopupMenu* pPopup = GetPopup(index))
        pPopup->Close();
    GetTitle(index)->SetState(VyButtonState::UP);
}

void VyMenuBar::OnTitleCommand(int index)
{
    const VyPopupMenu* pPopup = GetPopup(index);
    if (index == m_open && pPopup != nullptr && pPopup->IsOpen())
        ClosePopup();
    else
        OpenPopup(index, VyMenuHighlight::NONE);
}

void VyMenuBar::OnPopupClosed(int popupId)
{
    const int index = popupId - VY_POPUP_ID_BASE;
    if (GetTitle(index) == nullptr)
        return; // the right-button pop-up
    if (index == m_open)
        m_open = -1;
    GetTitle(index)->SetState(VyButtonState::UP);
}

void VyMenuBar::OpenFirstMenu()
{
    if (GetPopupCount() > 0)
        OpenPopup(0, VyMenuHighlight::FIRST);
}

void VyMenuBar::OpenAsPopup(VyPoint rootPoint)
{
    ClosePopup();
    auto pAll = std::make_unique<VyPopupMenu>();
    for (int i = 0; i < GetPopupCount(); ++i)
        if (VyPopupMenu* pPopup = EnsurePopup(i))
            pAll->AppendSubMenu(m_titles[static_cast<size_t>(i)].text, *pPopup);
    VyPopupMenu::OpenContextMenu(std::move(pAll), *this, rootPoint, VY_ALL_MENUS_ID);
}

bool VyMenuBar::SlideTo(VyPoint rootPoint)
{
    const int index = TitleAt(rootPoint);
    if (index < 0 || m_open < 0)
        return false;
    if (index != m_open)
        OpenPopup(index, VyMenuHighlight::NONE);
    return true;
}

bool VyMenuBar::StepTitle(VyMenuStep step)
{
    const int count = GetPopupCount();
    if (m_open < 0 || count == 0)
        return false;
    const int next = (m_open + (step == VyMenuStep::NEXT ? 1 : count - 1)) % count;
    OpenPopup(next, VyMenuHighlight::FIRST);
    return true;
}

// -- Messages and focus ------------------------------------------------------------------------------

void VyMenuBar::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_COMMAND)
        OnTitleCommand(msg.param1);
    else if (msg.id == VY_MSG_MENU_CLOSED)
        OnPopupClosed(msg.param1);
    else if (msg.id != VY_MSG_BUTTON_STATE) // the titles' states are the bar's own doing
        VyFrameWnd::HandleMessage(msg);
}

void VyMenuBar::OnFocusLost()
{
    ClosePopup();
    VyFrameWnd::OnFocusLost();
}

void VyMenuBar::OnChildFocusLost(VyWnd* pChild)
{
    ClosePopup();
    VyFrameWnd::OnChildFocusLost(pChild);
}

// -- Drawing -----------------------------------------------------------------------------------------

VyColor VyMenuBar::GetBackgroundColor() const
{
    return GetColor(VyControlColor::FACE);
}

void VyMenuBar::DrawContent(VyRenderContext& context, const VyRect& clientRect)
{
    // A rule under the titles parts the bar from the window below it.
    context.SetTexturing(false);
    context.SetColor(VyColor::FromSlot(MENU_LIGHT_SHADOW));
    context.FillRect({clientRect.left, clientRect.bottom + RULE_HEIGHT, clientRect.right, clientRect.bottom});
}
