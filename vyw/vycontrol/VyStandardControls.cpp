#include "vycontrol/VyStandardControls.h"

#include "vycontrol/VyButton.h"
#include "vycontrol/VyFileDialogService.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyHyperlink.h"
#include "vycontrol/VyImage.h"
#include "vycontrol/VyLabel.h"
#include "vycontrol/VyListBox.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyScrollBar.h"
#include "vywindow/VyMetrics.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyStringHelper.h"

namespace
{
// Gives a control of the description its attributes, then makes it a child of parent.
template <class T>
T* Make(VyFrameWnd& parent, std::unique_ptr<T> pControl, const VyControlDesc& desc)
{
    pControl->ApplyDescription(desc);
    if (desc.backgroundColor.bSet)
        pControl->SetBackgroundColor(desc.backgroundColor.color);
    pControl->SetText(desc.value);
    return parent.CreateChild(std::move(pControl), desc.style, desc.rect, desc.id);
}

VyWnd* MakeImage(VyFrameWnd& parent, const VyControlDesc& desc)
{
    auto pImage = std::make_unique<VyImage>();
    std::optional<uint32_t> transparent;
    uint32_t rgb = 0;
    if (!desc.data.empty() && VyStringHelper::ParseRgb(VyStringHelper::Split(desc.data.front()), rgb))
        transparent = rgb;
    pImage->SetBitmap(desc.value, transparent);
    VyControlDesc textless = desc;
    textless.value.clear(); // the file name is no text to show
    return Make(parent, std::move(pImage), textless);
}
// A list with the items of the description's Data, one per value, cells split at tabs.
VyWnd* MakeList(VyFrameWnd& parent, const VyControlDesc& desc)
{
    VyControlDesc textless = desc;
    textless.value.clear();
    VyListBox* pList = Make(parent, std::make_unique<VyListBox>(), textless);
    if (pList != nullptr)
        for (const VyString& value : desc.data)
            pList->AddItem(VyListItem{VyStringHelper::Split(value, '\t'), {}});
    return pList;
}
} // namespace

VyWnd* VyStandardControls::CreateControl(VyFrameWnd& parent, const VyControlDesc& desc)
{
    switch (desc.kind)
    {
    case VyControlKind::LABEL:
        return Make(parent, std::make_unique<VyLabel>(), desc);
    case VyControlKind::EDIT:
        return Make(parent, std::make_unique<VyEdit>(), desc);
    case VyControlKind::BUTTON:
        return Make(parent, std::make_unique<VyButton>(), desc);
    case VyControlKind::HYPERLINK:
    {
        auto pLink = std::make_unique<VyHyperlink>();
        pLink->SetLink(desc.data.empty() ? VyString() : desc.data.front());
        return Make(parent, std::move(pLink), desc);
    }
    case VyControlKind::IMAGE:
        return MakeImage(parent, desc);
    case VyControlKind::LIST:
        return MakeList(parent, desc);
    case VyControlKind::TREE:
    case VyControlKind::WND:
        break;
    }
    VyTrace::Write("Invalid control type specified\n");
    return nullptr;
}

VyWnd* VyStandardControls::CreateScrollBar(VyFrameWnd& parent, int id)
{
    const bool bVertical = id == VY_ID_VSCROLL;
    const int thickness = VyGetMetric(bVertical ? VyMetric::VSCROLL_WIDTH : VyMetric::HSCROLL_HEIGHT);
    const uint32_t style = bVertical ? VY_STYLE_VSCROLL | VyAlignStyle(VyAlignment::RIGHT)
                                     : VyAlignStyle(VyAlignment::BOTTOM);
    const VyRect rect{0, thickness, thickness, 0}; // the layout gives it its length
    return parent.CreateChild(std::make_unique<VyScrollBar>(), style, rect, id);
}

VyWnd* VyStandardControls::CreateMenuBar(VyFrameWnd& parent)
{
    const VyRect rect{0, VyMenuBar::PreferredHeight(), parent.GetClientRect().Width(), 0};
    return parent.CreateChild(std::make_unique<VyMenuBar>(), VY_STYLE_VISIBLE | VyAlignStyle(VyAlignment::TOP), rect,
                              VY_ID_MENUBAR);
}

void VyStandardControls::Install()
{
    // The one factory and file dialog of the process, alive until its end.
    static VyStandardControls factory;
    static VyFileDialogService fileDialog;
    VyControlFactory::Install(&factory);
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->SetFileDialogHost(&fileDialog);
}
