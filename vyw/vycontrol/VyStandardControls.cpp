#include "vycontrol/VyStandardControls.h"

#include "vycontrol/VyButton.h"
#include "vycontrol/VyEdit.h"
#include "vycontrol/VyHyperlink.h"
#include "vycontrol/VyImage.h"
#include "vycontrol/VyLabel.h"
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
        VyTrace::Write("VyStandardControls : the list control is not built yet; the control is left out\n");
        return nullptr;
    case VyControlKind::TREE:
    case VyControlKind::WND:
        break;
    }
    VyTrace::Write("Invalid control type specified\n");
    return nullptr;
}

void VyStandardControls::Install()
{
    static VyStandardControls factory; // the one factory of the process, alive until its end
    VyControlFactory::Install(&factory);
}
