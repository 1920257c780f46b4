#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "vythread/VySize.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyControlDesc.h"
#include "vywindow/VyFrameWnd.h"

// What a closed dialog leaves behind: the identifier it closed with and its control descriptions, each
// with the text its control held at the end.
struct VyDialogResult
{
    int result = 0;
    std::vector<VyControlDesc> controls;

    // The last text of control id; empty when the dialog has no such control.
    VyString GetText(int id) const;
};

// A window with a caption strip, built from a definition file or in code, that runs modally or stands
// beside the game. A definition file (in the configuration-file format, found below
// [Directories] Dialogs of vyw.cfg, default "Dialogs") holds
//
//   [General]    Size=width,height   Caption=text   ControlCount=n   DefaultID=IDOK
//   [Control1] ... [Controln]        one control each (VyControlDesc)
//
// The dialog's rectangle is Size, centred in its parent; the caption strip (metric 15 high) and the
// frame take their share of it, and control rectangles are in what remains, y upwards. Hostile values
// are bounded: a negative or huge size is limited, more than VY_MAX_CONTROLS controls are not read,
// and a missing section gives a control of the defaults.
//
// While it runs:
//   gaining the focus   it comes to the front and the control DefaultID gets the focus
//   Return              closes with DefaultID when such a control exists (else not consumed)
//   Escape              closes with the current result (VY_IDCANCEL until something else is chosen)
//   a control command   is forwarded to the owner as VY_MSG_DIALOG_COMMAND (dialog id, control);
//                       identifiers 1 and 2, and controls with CloseOnSelect, close it with theirs
//   closing             the controls' texts are copied into the descriptions, VY_MSG_DIALOG_CLOSED
//                       (dialog id, result) goes to the owner, and the dialog is destroyed and
//                       deleted (deferred)
class VyDialog : public VyFrameWnd
{
public:
    VyDialog();
    ~VyDialog() override;

    // Reads the definition file and creates the dialog with its controls as a child of pParent (the
    // main window when null); its notifications go to pOwner (the parent when null). Null when the
    // file cannot be read or there is no parent to create it in (the reason goes to the trace).
    static VyDialog* Load(const VyString& fileName, int dialogId, VyFrameWnd* pParent = nullptr,
                          VyMessageTarget* pOwner = nullptr);
    // Creates a dialog made in code (message boxes) of the given outer size, caption and identifier
    // in pParent (the main window when null); null without a parent.
    static VyDialog* Create(std::unique_ptr<VyDialog> pDialog, VySize size, const VyString& caption, int dialogId,
                            VyFrameWnd* pParent = nullptr, VyMessageTarget* pOwner = nullptr);

    // Pushes the dialog on the modal stack, gives it the focus and keeps the program going until it
    // closes; the dialog is gone afterwards (its pointer must not be used). A quit of the program while
    // it runs ends the wait at once with VY_IDCANCEL; the dialog is then destroyed with the program.
    VyDialogResult RunModal();
    // Closes the dialog with result (see the class comment); the pointer must not be used afterwards.
    void Close(int result);

    int GetDialogId() const { return m_nDialogId; }
    int GetDefaultId() const { return m_nDefaultId; }
    void SetDefaultId(int id) { m_nDefaultId = id; }
    int GetResult() const;
    void SetResult(int result);
    // The control with that identifier (searching the whole dialog), or null.
    VyWnd* GetControl(int id) const { return FindDescendant(id); }
    void SetControlText(int id, const VyString& text);
    VyString GetControlText(int id) const;
    // The descriptions read from the file, in section order.
    const std::vector<VyControlDesc>& GetDescriptions() const;
    // Adds a control made from desc (the dialog keeps the description, as it does for file controls).
    VyWnd* AddControl(const VyControlDesc& desc);

    void HandleMessage(const VyMessage& msg) override;
    bool FilterKey(int key, int flags) override;
    void OnFocusGained() override;
    void OnChildFocusGained(VyWnd* pChild) override;
    void OnChildFocusLost(VyWnd* pChild) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    VyFrameWidths GetFrameWidths() const override;
    int GetZone(VyPoint clientPoint) const override;
    void DrawFrame(VyRenderContext& context, const VyRect& rect) override;

    // The most controls a definition file may describe.
    static constexpr int VY_MAX_CONTROLS = 256;
    // The largest side a dialog may have.
    static constexpr int VY_MAX_SIDE = 4096;

protected:
    void OnDestroy() override;

private:
    struct RunState
    {
        std::atomic<bool> bDone{false};
        int result = 0;
        std::vector<VyControlDesc> controls;
        std::vector<VyWnd*> links; // the control made from each description, null when none was
    };

    void ReadControls(VyConfigFile& file);
    void CreateControls();
    bool HasFocusInside() const;
    VyRect CaptionRect(const VyRect& rect) const;

    int m_nDialogId = 0;
    int m_nDefaultId = 1;
    VyMessageTarget* m_pOwner = nullptr;
    std::shared_ptr<RunState> m_pState; // outlives the dialog for the caller of RunModal
};
