#include "vycontrol/VyFileDialog.h"

#include <cstdlib>
#include <ctime>

#include "vycontrol/VyEdit.h"
#include "vycontrol/VyLabel.h"
#include "vycontrol/VyListBox.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMsgBox.h"

namespace
{
constexpr VySize DIALOG_SIZE{500, 400};
constexpr const char* FOLDER_ICON = "closedfolder.bmp";
constexpr const char* FILE_ICON = "file.bmp";

VyControlDesc Control(VyControlKind kind, const VyRect& rect, int id, const VyString& text, uint32_t style)
{
    VyControlDesc desc;
    desc.kind = kind;
    desc.rect = rect;
    desc.id = id;
    desc.value = text;
    desc.style = style;
    return desc;
}

VyString DateText(std::time_t when)
{
    std::tm local{};
    if (when == 0 || localtime_r(&when, &local) == nullptr)
        return {};
    char buffer[32] = {};
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &local);
    return buffer;
}

// "~" and "~/..." stand for the home folder, as in every file dialog of the desktop.
VyString ExpandHome(const VyString& text)
{
    const char* pHome = std::getenv("HOME");
    if (pHome == nullptr || text.empty() || text[0] != '~' || (text.size() > 1 && text[1] != '/'))
        return text;
    return VyString(pHome) + text.substr(1);
}
} // namespace

VyFileDialog::VyFileDialog(VyFileDialogMode mode, const VyString& directory)
    : m_mode(mode), m_directory(VyDirectoryListing::Absolute(directory)), m_pResult(std::make_shared<VyString>())
{
}

bool VyFileDialog::Ask(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath)
{
    VyString directory = VyPlatform::Get() != nullptr ? VyPlatform::Get()->GetDefaultDirectory() : VyString(".");
    for (char& c : directory)
        if (c == '\\')
            c = '/'; // the framework's own ".\" is this system's "./"
    return AskIn(mode, directory, defaultName, outPath);
}

bool VyFileDialog::AskIn(VyFileDialogMode mode, const VyString& directory, const VyString& defaultName,
                         VyString& outPath)
{
    const VyString caption = mode == VyFileDialogMode::OPEN ? "Open" : "Save";
    auto* pDialog = static_cast<VyFileDialog*>(
        Create(std::make_unique<VyFileDialog>(mode, directory), DIALOG_SIZE, caption, 0));
    if (pDialog == nullptr)
        return false;
    pDialog->SetControlText(VY_NAME_ID, Printable(defaultName));
    std::shared_ptr<VyString> pResult = pDialog->m_pResult;
    const VyDialogResult result = pDialog->RunModal(); // the dialog is gone afterwards
    if (result.result != VY_IDOK || pResult->empty())
        return false;
    outPath = *pResult;
    return true;
}

// -- Contents ----------------------------------------------------------------------------------------

bool VyFileDialog::OnCreate()
{
    MakeControls();
    if (!Enter(m_directory))
        Enter("/");
    return VyDialog::OnCreate();
}

void VyFileDialog::MakeControls()
{
    const uint32_t plain = VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT;
    const uint32_t tab = VY_STYLE_VISIBLE | VY_STYLE_TABSTOP;
    AddControl(Control(VyControlKind::LABEL, {10, 368, 80, 348}, 0, "Look in:", plain));
    m_pFolder = dynamic_cast<VyLabel*>(
        AddControl(Control(VyControlKind::LABEL, {80, 368, 486, 348}, VY_FOLDER_ID, {}, plain)));
    m_pList = dynamic_cast<VyListBox*>(
        AddControl(Control(VyControlKind::LIST, {10, 342, 486, 82}, VY_LIST_ID, {}, tab | VY_STYLE_INSIDE_BORDER)));
    AddControl(Control(VyControlKind::LABEL, {10, 70, 90, 48}, 0, "File Name:", plain));
    m_pName = dynamic_cast<VyEdit*>(AddControl(Control(VyControlKind::EDIT, {90, 72, 486, 50}, VY_NAME_ID, {}, tab)));
    const VyString take = m_mode == VyFileDialogMode::OPEN ? "Open" : "Save";
    VyControlDesc ok = Control(VyControlKind::BUTTON, {326, 38, 401, 13}, VY_IDOK, take, tab);
    ok.justification = VyJustification::CENTER;
    AddControl(ok);
    VyControlDesc cancel = Control(VyControlKind::BUTTON, {411, 38, 486, 13}, VY_IDCANCEL, "Cancel", tab);
    cancel.justification = VyJustification::CENTER;
    AddControl(cancel);
    if (m_pList != nullptr)
    {
        m_pList->AddColumn("Name", 230);
        m_pList->AddColumn("Size", 80);
        m_pList->AddColumn("Modified", 124);
    }
    SetDefaultId(VY_IDOK);
}

bool VyFileDialog::Enter(const VyString& directory)
{
    const VyString absolute = VyDirectoryListing::Absolute(directory);
    std::vector<VyDirectoryEntry> entries;
    VyString error;
    if (!VyDirectoryListing::Read(absolute, entries, error))
    {
        VyMsgBox::Run("The folder " + Printable(absolute) + " cannot be read:\n\n" + error, "Error", VY_MB_OK);
        return false;
    }
    m_directory = absolute;
    m_entries = std::move(entries);
    m_chosen.clear();
    Fill();
    return true;
}

void VyFileDialog::Fill()
{
    if (m_pFolder != nullptr)
        m_pFolder->SetText(Printable(m_directory));
    if (m_pList == nullptr)
        return;
    m_pList->ClearItems();
    for (const VyDirectoryEntry& entry : m_entries)
    {
        VyListItem item;
        item.icon = entry.bDirectory ? FOLDER_ICON : FILE_ICON;
        item.cells = {Printable(entry.name), entry.bDirectory ? VyString() : SizeText(entry.size),
                      DateText(entry.modified)};
        m_pList->AddItem(item);
    }
}

VyString VyFileDialog::Printable(const VyString& name)
{
    VyString shown = name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 127)
            c = '?';
    return shown;
}

VyString VyFileDialog::SizeText(std::uint64_t bytes)
{
    if (bytes < 1024)
        return VyString::Format("%llu bytes", static_cast<unsigned long long>(bytes));
    if (bytes < 1024 * 1024)
        return VyString::Format("%llu KB", static_cast<unsigned long long>((bytes + 1023) / 1024));
    return VyString::Format("%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
}

// -- Choosing ----------------------------------------------------------------------------------------

void VyFileDialog::OnChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    const VyDirectoryEntry& entry = m_entries[static_cast<size_t>(index)];
    if (entry.bDirectory || m_pName == nullptr)
        return;
    m_chosen = entry.name;
    m_pName->SetText(Printable(entry.name));
}

void VyFileDialog::OnActivated(int index)
{
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    const VyDirectoryEntry entry = m_entries[static_cast<size_t>(index)]; // Enter replaces the list
    if (entry.bDirectory)
    {
        Enter(VyDirectoryListing::Join(m_directory, entry.name));
        return;
    }
    OnChosen(index);
    Accept(VyAcceptedBy::BUTTON);
}

VyString VyFileDialog::FieldName() const
{
    const VyString text = m_pName != nullptr ? m_pName->GetText() : VyString();
    return !m_chosen.empty() && text == Printable(m_chosen) ? m_chosen : text;
}

void VyFileDialog::Accept(VyAcceptedBy by)
{
    const VyString name = FieldName();
    if (name.empty())
        return;
    const VyString path = VyDirectoryListing::Join(m_directory, ExpandHome(name));
    // Return on a folder, or Open on one, goes there; the Save button on one is refused by Confirm.
    if (VyDirectoryListing::IsDirectory(path) && (by == VyAcceptedBy::RETURN || m_mode == VyFileDialogMode::OPEN))
    {
        if (Enter(path) && m_pName != nullptr)
            m_pName->SetText({});
        return;
    }
    if (Confirm(path))
        Finish(path);
}

bool VyFileDialog::Confirm(const VyString& path)
{
    const bool bExists = VyDirectoryListing::Exists(path);
    if (m_mode == VyFileDialogMode::OPEN)
    {
        if (!bExists)
            VyMsgBox::Run("The file " + Printable(path) + " does not exist.", "Open", VY_MB_OK);
        return bExists;
    }
    if (VyDirectoryListing::IsDirectory(path))
    {
        VyMsgBox::Run("A directory with that name already exists", "Error", VY_MB_OK);
        return false;
    }
    if (bExists)
        return VyMsgBox::Run("A file with that name already exists.  Would you like to overwrite it?", "Overwrite?",
                             VY_MB_YESNO) == VY_IDYES;
    if (!VyDirectoryListing::IsDirectory(VyDirectoryListing::Join(path, "..")))
    {
        VyMsgBox::Run("The folder for " + Printable(path) + " does not exist.", "Save", VY_MB_OK);
        return false;
    }
    return true;
}

void VyFileDialog::Finish(const VyString& path)
{
    *m_pResult = path;
    Close(VY_IDOK);
}

// -- Input -------------------------------------------------------------------------------------------

void VyFileDialog::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_COMMAND && msg.param1 == VY_LIST_ID)
        OnChosen(msg.param2);
    else if (msg.id == VY_MSG_ITEM_ACTIVATED && msg.param1 == VY_LIST_ID)
        OnActivated(msg.param2);
    else if (msg.id == VY_MSG_COMMAND && msg.param1 == VY_IDOK)
        Accept(VyAcceptedBy::BUTTON);
    else
        VyDialog::HandleMessage(msg);
}

bool VyFileDialog::FilterKey(int key, int flags)
{
    const VyMainWnd* pMain = VyMainWnd::Get();
    const bool bInList = pMain != nullptr && m_pList != nullptr && m_pList->IsSelfOrDescendant(pMain->GetFocus());
    if (key != VY_KEY_RETURN)
        return VyDialog::FilterKey(key, flags);
    if (bInList)
        return true; // the list takes its own Return
    Accept(VyAcceptedBy::RETURN);
    return false;
}
