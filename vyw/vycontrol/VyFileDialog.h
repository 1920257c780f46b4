#pragma once

#include <vector>

#include "vyio/VyDirectoryListing.h"
#include "vyplatform/VyFileDialogHost.h"
#include "vywindow/VyDialog.h"

class VyEdit;
class VyLabel;
class VyListBox;

// The open and save dialog: the folder it looks in, its entries (folders first with the closed-folder
// icon, then files with the file icon, each by name without regard to case; hidden names left out; ".."
// to go up) in the columns "Name", "Size" and "Modified", a "File Name:" field, and "Open" or "Save"
// with "Cancel".
//
//   a click on an entry       puts its name in the field
//   a double click, Return    on "..", a folder, or a field naming one (or a path): goes there;
//                             on a file, or Open / Save: takes the name
//   taking a name (Open)      a name that does not exist is said so, and the dialog stays
//   taking a name (Save)      a directory: "A directory with that name already exists"; an existing
//                             file: "A file with that name already exists.  Would you like to
//                             overwrite it?", going on only on Yes
// A folder that cannot be read is said so; the dialog stays in the folder it was in. The field takes
// characters 32 to 127 only, so a name of other bytes shows them as '?' there, and a name chosen from
// the list comes back byte for byte.
class VyFileDialog : public VyDialog
{
public:
    VyFileDialog(VyFileDialogMode mode, const VyString& directory);

    // Runs the dialog modally, starting in the platform's default directory with defaultName in the
    // field; true, with the chosen path, only when a name was taken.
    static bool Ask(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath);
    // The same, starting in directory.
    static bool AskIn(VyFileDialogMode mode, const VyString& directory, const VyString& defaultName,
                      VyString& outPath);

    const VyString& GetDirectory() const { return m_directory; }
    const std::vector<VyDirectoryEntry>& GetEntries() const { return m_entries; }
    // Shows another folder; false (and a box saying why) when it cannot be read.
    bool Enter(const VyString& directory);
    // What Return in the field and the Open / Save button do with the field's text.
    enum class VyAcceptedBy
    {
        RETURN,
        BUTTON,
    };
    void Accept(VyAcceptedBy by);

    bool OnCreate() override;
    void HandleMessage(const VyMessage& msg) override;
    bool FilterKey(int key, int flags) override;

    static constexpr int VY_LIST_ID = 210;
    static constexpr int VY_NAME_ID = 211;
    static constexpr int VY_FOLDER_ID = 212;
    // The field's form of a name: bytes outside 32..127 become '?'.
    static VyString Printable(const VyString& name);
    // "512 bytes", "12 KB", "3.4 MB".
    static VyString SizeText(std::uint64_t bytes);

private:
    void MakeControls();
    void Fill();
    void OnChosen(int index);
    void OnActivated(int index);
    // The name the field stands for: the entry chosen from the list when the field still shows it.
    VyString FieldName() const;
    bool Confirm(const VyString& path);
    void Finish(const VyString& path);

    VyFileDialogMode m_mode;
    VyString m_directory;
    std::vector<VyDirectoryEntry> m_entries;
    VyString m_chosen;   // the exact name of the entry last chosen from the list
    VyString m_path;     // the path taken
    VyListBox* m_pList = nullptr;
    VyEdit* m_pName = nullptr;
    VyLabel* m_pFolder = nullptr;
    std::shared_ptr<VyString> m_pResult; // where the taken path is left for Ask
};
