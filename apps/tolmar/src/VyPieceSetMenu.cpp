#include "VyPieceSetMenu.h"

#include "VyGameWnd.h"
#include "VyPieceSetList.h"
#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyio/VyArchive.h"
#include "vyio/VyArchiveSource.h"
#include "vyio/VyCaseBlindPath.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"

namespace
{
constexpr int MAX_SETS = VyPieceSetMenu::VY_CMD_LAST_SET - VyPieceSetMenu::VY_CMD_FIRST_SET + 1;
} // namespace

std::unique_ptr<VyPopupMenu> VyPieceSetMenu::Make()
{
    m_sets = FindSets();
    if (m_sets.size() > static_cast<size_t>(MAX_SETS))
    {
        VyTrace::Write(
            VyString::Format("VyPieceSetMenu : %zu piece sets found; the first %d are listed\n", m_sets.size(), MAX_SETS));
        m_sets.resize(MAX_SETS);
    }
    auto pMenu = std::make_unique<VyPopupMenu>();
    for (size_t i = 0; i < m_sets.size(); ++i)
        pMenu->AppendItem(VY_CMD_FIRST_SET + static_cast<int>(i), VyPieceSetList::TitleOf(m_sets[i]));
    return pMenu;
}

// The sets of the resource look-up in use: the platform's (its archive, then the disk), an archive
// source's (its archive alone), or the disk's.
std::vector<VyString> VyPieceSetMenu::FindSets()
{
    if (VyPlatform* pPlatform = VyPlatform::Get())
        return VyPieceSetList::Find(pPlatform->GetArchive());
    if (auto* pSource = dynamic_cast<VyArchiveSource*>(VyResourceSource::GetCurrent()))
        return VyPieceSetList::FindInArchive(pSource->GetArchive());
    return VyPieceSetList::Find(VyArchive());
}

bool VyPieceSetMenu::IsSetCommand(int command)
{
    return command >= VY_CMD_FIRST_SET && command <= VY_CMD_LAST_SET;
}

const VyString* VyPieceSetMenu::SetOf(int command) const
{
    const size_t index = static_cast<size_t>(command - VY_CMD_FIRST_SET);
    return IsSetCommand(command) && index < m_sets.size() ? &m_sets[index] : nullptr;
}

bool VyPieceSetMenu::UpdateItem(VyMenuItem& item, const VyGameWnd* pGame) const
{
    if (!IsSetCommand(item.GetId()))
        return false;
    const VyString* pSet = SetOf(item.GetId());
    item.EnableIf(pSet != nullptr && pGame != nullptr && !pGame->IsNetworkConnected());
    item.CheckIf(pSet != nullptr && pGame != nullptr &&
                 VyCaseBlindPath::SameBlind(*pSet, pGame->GetRules().GetSetName()));
    return true;
}

bool VyPieceSetMenu::Choose(int command, VyGameWnd* pGame) const
{
    if (!IsSetCommand(command))
        return false;
    const VyString* pSet = SetOf(command);
    if (pSet != nullptr && pGame != nullptr && !pGame->IsNetworkConnected())
        pGame->ChangeSet(*pSet);
    return true;
}
