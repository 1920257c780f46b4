#include "VyDisplayMenu.h"

#include <algorithm>

#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyio/VyCaseBlindPath.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyMsgBox.h"

namespace
{
constexpr int MAX_SCHEMES = VY_CMD_LAST_SCHEME - VY_CMD_FIRST_SCHEME + 1;

bool IsSchemeCommand(int command)
{
    return command >= VY_CMD_FIRST_SCHEME && command <= VY_CMD_LAST_SCHEME;
}

bool IsScaleCommand(int command)
{
    return command >= VY_CMD_SCALE_AUTOMATIC && command <= VY_CMD_SCALE_LAST;
}

int ScaleOf(int command)
{
    return command - VY_CMD_SCALE_AUTOMATIC;
}
} // namespace

std::unique_ptr<VyPopupMenu> VyDisplayMenu::Make()
{
    VyPlatform* pPlatform = VyPlatform::Get();
    m_schemes.clear();
    if (pPlatform != nullptr)
        m_schemes = VyColorSchemeList::Find(pPlatform->GetArchive());
    if (m_schemes.size() > static_cast<size_t>(MAX_SCHEMES))
    {
        VyTrace::Write(VyString::Format("VyDisplayMenu : %zu colour schemes found; the first %d are listed\n",
                                        m_schemes.size(), MAX_SCHEMES));
        m_schemes.resize(MAX_SCHEMES);
    }
    auto pMenu = std::make_unique<VyPopupMenu>();
    if (!IsDefaultListed())
        pMenu->AppendItem(VY_CMD_DEFAULT_SCHEME, "Default");
    for (size_t i = 0; i < m_schemes.size(); ++i)
        pMenu->AppendItem(VY_CMD_FIRST_SCHEME + static_cast<int>(i), m_schemes[i].title);
    pMenu->AppendSeparator();
    pMenu->AppendItem(VY_CMD_FULL_SCREEN, "Full Screen");
    pMenu->AppendSeparator();
    pMenu->AppendItem(VY_CMD_SCALE_AUTOMATIC, "Automatic");
    for (int scale = 1; scale <= VY_CMD_SCALE_LAST - VY_CMD_SCALE_AUTOMATIC; ++scale)
        pMenu->AppendItem(VY_CMD_SCALE_AUTOMATIC + scale, VyString::Format("%dx", scale));
    return pMenu;
}

bool VyDisplayMenu::IsDefaultListed() const
{
    return std::any_of(m_schemes.begin(), m_schemes.end(), [](const VyColorSchemeEntry& scheme) {
        return VyCaseBlindPath::SameBlind(scheme.fileName, VyColorScheme::VY_DEFAULT_SCHEME);
    });
}

bool VyDisplayMenu::IsSchemeInUse(const VyString& fileName) const
{
    return VyCaseBlindPath::SameBlind(fileName, VyColorScheme::GetConfiguredName());
}

bool VyDisplayMenu::IsAnySchemeInUse() const
{
    return std::any_of(m_schemes.begin(), m_schemes.end(),
                       [this](const VyColorSchemeEntry& scheme) { return IsSchemeInUse(scheme.fileName); });
}

bool VyDisplayMenu::UpdateItem(VyMenuItem& item) const
{
    const int command = item.GetId();
    const VyPlatform* pPlatform = VyPlatform::Get();
    const size_t index = static_cast<size_t>(command - VY_CMD_FIRST_SCHEME);
    if (IsSchemeCommand(command))
        item.CheckIf(index < m_schemes.size() && IsSchemeInUse(m_schemes[index].fileName));
    else if (command == VY_CMD_DEFAULT_SCHEME)
        item.CheckIf(!IsAnySchemeInUse());
    else if (command == VY_CMD_FULL_SCREEN)
        item.CheckIf(pPlatform != nullptr && pPlatform->GetScreen().bFullScreen);
    else if (IsScaleCommand(command))
        item.CheckIf(pPlatform != nullptr && pPlatform->GetScreen().scale == ScaleOf(command));
    else
        return false;
    return true;
}

bool VyDisplayMenu::Choose(int command)
{
    if (!IsSchemeCommand(command) && !IsScaleCommand(command) && command != VY_CMD_DEFAULT_SCHEME &&
        command != VY_CMD_FULL_SCREEN)
        return false;
    VyPlatform* pPlatform = VyPlatform::Get();
    if (pPlatform == nullptr)
        return true;
    if (command == VY_CMD_FULL_SCREEN)
        ToggleFullScreen();
    else if (IsScaleCommand(command))
        pPlatform->ChangeScale(ScaleOf(command));
    else
        ChooseScheme(command);
    return true;
}

void VyDisplayMenu::ChooseScheme(int command)
{
    const size_t index = static_cast<size_t>(command - VY_CMD_FIRST_SCHEME);
    if (command == VY_CMD_DEFAULT_SCHEME)
        VyPlatform::Get()->ChangeColorScheme(VyColorScheme::VY_DEFAULT_SCHEME);
    else if (index < m_schemes.size())
        VyPlatform::Get()->ChangeColorScheme(m_schemes[index].fileName);
}

void VyDisplayMenu::ToggleFullScreen()
{
    VyPlatform& platform = *VyPlatform::Get();
    const bool bToFullScreen = !platform.GetScreen().bFullScreen;
    platform.ChangeWindowMode(bToFullScreen ? VyWindowMode::FULL_SCREEN : VyWindowMode::WINDOWED);
    if (bToFullScreen && !platform.GetScreen().bFullScreen)
        VyMsgBox::Run(VyString::Format("The screen has no full-screen mode of %d x %d; the game stays in its window.",
                                       platform.GetScreen().resX, platform.GetScreen().resY),
                      "Display", VY_MB_OK);
}
