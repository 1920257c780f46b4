#include "VyChatLine.h"

#include <utility>

#include "vycontrol/VyEdit.h"
#include "vyplatform/VyPlatform.h"
#include "vywindow/VyMainWnd.h"

VyEdit* VyChatLine::Open(VyFrameWnd& parent)
{
    const VyRect client = parent.GetClientRect();
    const VyRect rect{client.left + VY_SIDE_INSET, client.bottom + VY_STRIP_HEIGHT, client.right - VY_SIDE_INSET,
                      client.bottom};
    return parent.CreateChild(std::make_unique<VyEdit>(), VY_EDIT_STYLE, rect);
}

std::optional<VyString> VyChatLine::Run(VyFrameWnd& parent)
{
    VyMainWnd* pMain = VyMainWnd::Get();
    VyPlatform* pPlatform = VyPlatform::Get();
    if (m_pEdit != nullptr || pMain == nullptr || pPlatform == nullptr)
        return std::nullopt;
    m_pEdit = Open(parent);
    if (m_pEdit == nullptr)
        return std::nullopt;
    m_result = VyChatLineResult::OPEN;
    pMain->PushModal(m_pEdit);
    pMain->SetFocus(m_pEdit);
    m_bClosed.store(false);
    pMain->EnterModalRun();
    if (!pPlatform->WaitForFlag(m_bClosed))
        Finish(VyChatLineResult::CANCELLED); // the program is ending
    pMain->LeaveModalRun();
    VyEdit* pEdit = std::exchange(m_pEdit, nullptr);
    pMain->PopModal(pEdit);
    const VyString text = pEdit->GetText();
    pEdit->DeleteLater();
    if (m_result != VyChatLineResult::ACCEPTED)
        return std::nullopt;
    return text;
}

void VyChatLine::Finish(VyChatLineResult result)
{
    if (!IsWaiting())
        return;
    m_result = result;
    m_bClosed.store(true);
}
