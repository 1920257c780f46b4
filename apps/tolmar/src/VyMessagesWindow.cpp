#include "VyMessagesWindow.h"

#include <algorithm>

#include "vycontrol/VyListBox.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMainWnd.h"

namespace
{
constexpr const char* DIALOG_FILE = "messages.dlg";
constexpr unsigned int ITEM_COLOR = 0x000000;

// Whether parent still holds pWnd, found by its address alone: a closed window leaves its parent at
// once and may be deleted soon after, so the pointer is not followed until it is found.
bool Holds(const VyFrameWnd& parent, const VyWnd* pWnd)
{
    const auto same = [pWnd](const std::unique_ptr<VyWnd>& pChild) { return pChild.get() == pWnd; };
    return std::any_of(parent.GetVisibleChildren().begin(), parent.GetVisibleChildren().end(), same) ||
           std::any_of(parent.GetHiddenChildren().begin(), parent.GetHiddenChildren().end(), same);
}
} // namespace

VyDialog* VyMessagesWindow::GetDialog() const
{
    if (m_pParent == nullptr || m_pDialog == nullptr || !Holds(*m_pParent, m_pDialog))
        return nullptr;
    // Another dialog may have come to the same address since this one was deleted.
    return m_pDialog->IsCreated() && m_pDialog->GetDialogId() == VY_DIALOG_ID ? m_pDialog : nullptr;
}

VyListBox* VyMessagesWindow::GetList() const
{
    VyDialog* pDialog = GetDialog();
    return pDialog != nullptr ? dynamic_cast<VyListBox*>(pDialog->GetControl(VY_LIST_ID)) : nullptr;
}

bool VyMessagesWindow::Show(VyFrameWnd& parent, VyMessageTarget& owner, const std::vector<VyString>& lines)
{
    Close();
    m_pParent = &parent;
    m_pDialog = VyDialog::Load(DIALOG_FILE, VY_DIALOG_ID, &parent, &owner);
    if (m_pDialog == nullptr)
        return false;
    VyColor background = m_pDialog->GetBackgroundColor();
    background.SetAlpha(VY_ALPHA);
    m_pDialog->SetBackgroundColor(background);
    Place();
    if (VyMainWnd* pMain = VyMainWnd::Get())
        pMain->SetFocus(m_pDialog);
    VyListBox* pListBox = GetList();
    VY_ASSERT(pListBox);
    if (pListBox == nullptr)
        return false;
    pListBox->SetBackgroundColor(background);
    Fill(*pListBox, lines);
    m_pDialog->Invalidate();
    return true;
}

void VyMessagesWindow::Place()
{
    const VyRect client = m_pParent->GetClientRect();
    const int width = m_pDialog->GetWidth();
    const int height = m_pDialog->GetHeight();
    const int centredTop = client.bottom + (client.Height() + height) / 2;
    const int top = std::max(centredTop, std::min(centredTop + VY_RAISE, client.top));
    m_pDialog->Move(client.left + (client.Width() - width) / 2, top, width, height);
}

void VyMessagesWindow::Fill(VyListBox& list, const std::vector<VyString>& lines)
{
    list.SetColor(VyControlColor::TEXT, VyColor(ITEM_COLOR));
    list.SetColor(VyControlColor::TEXT_SHADOW, VyColor(ITEM_COLOR));
    list.ClearColor(VyControlColor::SELECTION);
    for (const VyString& line : lines)
        list.AddItem(line);
}

void VyMessagesWindow::Append(const VyString& line)
{
    if (VyListBox* pListBox = GetList())
        pListBox->EnsureVisible(pListBox->AddItem(line));
}

void VyMessagesWindow::Close()
{
    if (VyDialog* pDialog = GetDialog())
        pDialog->Close(VY_IDCANCEL);
    m_pDialog = nullptr;
}

void VyMessagesWindow::Raise()
{
    if (VyDialog* pDialog = GetDialog())
        m_pParent->BringToFront(pDialog);
}
