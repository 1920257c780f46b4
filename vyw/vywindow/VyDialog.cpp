#include "vywindow/VyDialog.h"

#include <algorithm>

#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyColorSlots.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyControlFactory.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
// Visible, bordered with a thick frame, centred both ways.
constexpr uint32_t DIALOG_STYLE = 0xC0A08;
constexpr int CAPTION_FONT = 0;
constexpr int CAPTION_TEXT_INSET = 6;

VyFrameWnd* ParentOrMain(VyFrameWnd* pParent)
{
    return pParent != nullptr ? pParent : VyMainWnd::Get();
}

VySize BoundedSize(VySize size)
{
    return {std::clamp(size.cx, 0, VyDialog::VY_MAX_SIDE), std::clamp(size.cy, 0, VyDialog::VY_MAX_SIDE)};
}
} // namespace

VyString VyDialogResult::GetText(int id) const
{
    for (const VyControlDesc& desc : controls)
        if (desc.id == id)
            return desc.value;
    return {};
}

VyDialog::VyDialog() : m_pState(std::make_shared<RunState>())
{
    m_pState->result = VY_IDCANCEL;
    SetBackgroundColor(VyColor::FromSlot(DIALOG_BACKGROUND));
    SetFrameColorBase(DIALOG_DARK_SHADOW);
}

VyDialog::~VyDialog() = default;

// -- Making ------------------------------------------------------------------------------------------

VyDialog* VyDialog::Create(std::unique_ptr<VyDialog> pDialog, VySize size, const VyString& caption, int dialogId,
                           VyFrameWnd* pParent, VyMessageTarget* pOwner)
{
    VyFrameWnd* pHost = ParentOrMain(pParent);
    if (pHost == nullptr || !pHost->IsCreated())
    {
        VyTrace::Write("VyDialog::Create : there is no window to create the dialog in\n");
        return nullptr;
    }
    pDialog->m_nDialogId = dialogId;
    pDialog->m_pOwner = pOwner != nullptr ? pOwner : pHost;
    pDialog->SetText(caption);
    const VySize bounded = BoundedSize(size);
    return pHost->CreateChild(std::move(pDialog), DIALOG_STYLE, VyRect{0, bounded.cy, bounded.cx, 0});
}

VyDialog* VyDialog::Load(const VyString& fileName, int dialogId, VyFrameWnd* pParent, VyMessageTarget* pOwner)
{
    const VyString directory = VyConfigFile("vyw.cfg").GetString("Directories", "Dialogs", "Dialogs");
    const VyString path = VyResourceSource::JoinPath(directory, fileName);
    try
    {
        VyMemFile stream(VY_IO_READ);
        VyResourceSource::Fetch(path, stream);
        VyConfigFile file(path, stream);
        const VySize size = VyStringHelper::ParseSize(file.GetString("General", "Size", "0,0"));
        auto pDialog = std::make_unique<VyDialog>();
        pDialog->ReadControls(file);
        VyDialog* pCreated = Create(std::move(pDialog), size, file.GetString("General", "Caption", ""), dialogId,
                                    pParent, pOwner);
        if (pCreated != nullptr)
            pCreated->CreateControls();
        return pCreated;
    }
    catch (VyException& error)
    {
        error.AddContext("VyDialog", "Load", "the dialog is not shown", path);
        error.Report();
        return nullptr;
    }
}

void VyDialog::ReadControls(VyConfigFile& file)
{
    m_nDefaultId = VyStringHelper::ParseId(file.GetString("General", "DefaultID", "IDOK"));
    int count = file.GetString("General", "ControlCount", "0").ToInt();
    if (count > VY_MAX_CONTROLS)
    {
        VyTrace::Write(VyString::Format("VyDialog::Load : %d controls are more than %d; the rest are not read\n",
                                        count, VY_MAX_CONTROLS));
        count = VY_MAX_CONTROLS;
    }
    for (int i = 1; i <= count; ++i)
        m_pState->controls.push_back(VyControlDesc::Read(file, VyString::Format("Control%d", i)));
}

void VyDialog::CreateControls()
{
    VyControlFactory* pFactory = VyControlFactory::Get();
    if (pFactory == nullptr && !m_pState->controls.empty())
        VyTrace::Write("VyDialog : no control factory is installed; the dialog shows no controls\n");
    for (const VyControlDesc& desc : m_pState->controls)
        m_pState->links.push_back(pFactory != nullptr ? pFactory->CreateControl(*this, desc) : nullptr);
    LayoutChildren();
}

VyWnd* VyDialog::AddControl(const VyControlDesc& desc)
{
    VyControlFactory* pFactory = VyControlFactory::Get();
    VyWnd* pControl = pFactory != nullptr ? pFactory->CreateControl(*this, desc) : nullptr;
    m_pState->controls.push_back(desc);
    m_pState->links.push_back(pControl);
    return pControl;
}

const std::vector<VyControlDesc>& VyDialog::GetDescriptions() const
{
    return m_pState->controls;
}

// -- Running and closing -----------------------------------------------------------------------------

VyDialogResult VyDialog::RunModal()
{
    std::shared_ptr<RunState> pState = m_pState; // `this` may be gone when the wait ends
    VyMainWnd* pMain = VyMainWnd::Get();
    VyPlatform* pPlatform = VyPlatform::Get();
    if (pMain == nullptr || pPlatform == nullptr || !IsCreated())
        return {VY_IDCANCEL, pState->controls};
    pMain->PushModal(this);
    pMain->SetFocus(this);
    pMain->EnterModalRun();
    const bool bClosed = pPlatform->WaitForFlag(pState->bDone);
    pMain->LeaveModalRun();
    if (!bClosed)
        return {VY_IDCANCEL, pState->controls}; // the program is ending
    return {pState->result, pState->controls};
}

void VyDialog::Close(int result)
{
    if (!IsCreated())
        return;
    m_pState->result = result;
    DeleteLater();
}

int VyDialog::GetResult() const
{
    return m_pState->result;
}

void VyDialog::SetResult(int result)
{
    m_pState->result = result;
}

void VyDialog::OnDestroy()
{
    RunState& state = *m_pState;
    for (size_t i = 0; i < state.controls.size() && i < state.links.size(); ++i)
        if (state.links[i] != nullptr)
            state.controls[i].value = state.links[i]->GetText();
    state.links.clear();
    const auto* pOwnerWnd = dynamic_cast<const VyWnd*>(m_pOwner);
    if (m_pOwner != nullptr && (pOwnerWnd == nullptr || pOwnerWnd->IsCreated()))
        PostTo(m_pOwner, VY_MSG_DIALOG_CLOSED, m_nDialogId, state.result);
    state.bDone.store(true);
    VyFrameWnd::OnDestroy();
}

void VyDialog::SetControlText(int id, const VyString& text)
{
    if (VyWnd* pControl = GetControl(id))
        pControl->SetText(text);
}

VyString VyDialog::GetControlText(int id) const
{
    const VyWnd* pControl = GetControl(id);
    return pControl != nullptr ? pControl->GetText() : VyString();
}

// -- Input -------------------------------------------------------------------------------------------

void VyDialog::HandleMessage(const VyMessage& msg)
{
    if (msg.id != VY_MSG_COMMAND)
    {
        VyFrameWnd::HandleMessage(msg);
        return;
    }
    const int control = msg.param1;
    const auto* pOwnerWnd = dynamic_cast<const VyWnd*>(m_pOwner);
    if (m_pOwner != nullptr && (pOwnerWnd == nullptr || pOwnerWnd->IsCreated()))
        PostTo(m_pOwner, VY_MSG_DIALOG_COMMAND, m_nDialogId, control);
    bool bCloses = control == VY_IDOK || control == VY_IDCANCEL;
    for (const VyControlDesc& desc : m_pState->controls)
        bCloses = bCloses || (desc.id == control && desc.bCloseOnSelect);
    if (bCloses)
        Close(control);
}

bool VyDialog::FilterKey(int key, int flags)
{
    if (key == VY_KEY_RETURN && GetControl(m_nDefaultId) != nullptr)
    {
        Close(m_nDefaultId);
        return false;
    }
    if (key == VY_KEY_ESCAPE)
    {
        Close(m_pState->result);
        return false;
    }
    return VyFrameWnd::FilterKey(key, flags);
}

void VyDialog::OnFocusGained()
{
    if (VyFrameWnd* pParent = GetParent())
        pParent->BringToFront(this);
    VyFrameWnd::OnFocusGained();
    VyMainWnd* pMain = VyMainWnd::Get();
    VyWnd* pDefault = GetControl(m_nDefaultId);
    if (pMain != nullptr && pDefault != nullptr && pMain->GetFocus() == this)
        pMain->SetFocus(pDefault);
}

void VyDialog::OnChildFocusGained(VyWnd* pChild)
{
    // A click on one of its controls brings the dialog to the front too.
    if (VyFrameWnd* pParent = GetParent())
        pParent->BringToFront(this);
    Invalidate();
    VyFrameWnd::OnChildFocusGained(pChild);
}

void VyDialog::OnChildFocusLost(VyWnd* pChild)
{
    Invalidate(); // the caption may turn inactive
    VyFrameWnd::OnChildFocusLost(pChild);
}

void VyDialog::OnMouseMoved(VyPoint point, int flags)
{
    if (GetZone(point) == VY_ZONE_CAPTION)
        if (VyMainWnd* pMain = VyMainWnd::Get())
            pMain->SetShownCursor(VY_CURSOR_HAND);
    VyFrameWnd::OnMouseMoved(point, flags);
}

bool VyDialog::HasFocusInside() const
{
    const VyMainWnd* pMain = VyMainWnd::Get();
    return pMain != nullptr && IsSelfOrDescendant(pMain->GetFocus());
}

// -- Caption strip -----------------------------------------------------------------------------------

VyFrameWidths VyDialog::GetFrameWidths() const
{
    VyFrameWidths widths = VyFrameWnd::GetFrameWidths();
    widths.top += VyGetMetric(VyMetric::CAPTION_HEIGHT);
    return widths;
}

int VyDialog::GetZone(VyPoint clientPoint) const
{
    const VyRect client = GetClientRect();
    const int caption = VyGetMetric(VyMetric::CAPTION_HEIGHT);
    if (clientPoint.y >= client.top && clientPoint.y < client.top + caption && clientPoint.x >= client.left &&
        clientPoint.x < client.right)
        return VY_ZONE_CAPTION;
    return VyFrameWnd::GetZone(clientPoint);
}

VyRect VyDialog::CaptionRect(const VyRect& rect) const
{
    const VySize frame = GetFrameSize();
    const int caption = VyGetMetric(VyMetric::CAPTION_HEIGHT);
    return {rect.left + frame.cx, rect.top - frame.cy, rect.right - frame.cx, rect.top - frame.cy - caption};
}

void VyDialog::DrawFrame(VyRenderContext& context, const VyRect& rect)
{
    VyFrameWnd::DrawFrame(context, rect);
    const bool bActive = HasFocusInside();
    VyRect caption = CaptionRect(rect);
    context.SetTexturing(false);
    context.SetBlending(true);
    context.SetColor(VyColor::FromSlot(bActive ? DIALOG_ACTIVE_CAPTION_BACKGROUND : DIALOG_INACTIVE_CAPTION_BACKGROUND));
    context.FillRect(caption);
    VyRect textBox{caption.left + CAPTION_TEXT_INSET, caption.top, caption.right - CAPTION_TEXT_INSET, caption.bottom};
    context.SelectFont(CAPTION_FONT);
    VyRect shadowBox{textBox.left + 1, textBox.top - 1, textBox.right + 1, textBox.bottom - 1};
    context.SetColor(VyColor::FromSlot(bActive ? DIALOG_ACTIVE_CAPTION_TEXT_SHADOW : DIALOG_INACTIVE_CAPTION_TEXT_SHADOW));
    context.DrawTextBox(GetText(), shadowBox, VY_TEXT_LEFT | VY_TEXT_VCENTER | VY_TEXT_ELLIPSIS);
    context.SetColor(VyColor::FromSlot(bActive ? DIALOG_ACTIVE_CAPTION_TEXT : DIALOG_INACTIVE_CAPTION_TEXT));
    context.DrawTextBox(GetText(), textBox, VY_TEXT_LEFT | VY_TEXT_VCENTER | VY_TEXT_ELLIPSIS);
}
