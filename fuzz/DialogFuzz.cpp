// A dialog definition loaded by VyDialog::Load with the framework's own controls into a main window of
// a platform without a display, drawn by the software render context, typed into and closed. Fonts,
// colours and pictures the file names come from the archive linked in. Checked: a dialog keeps the
// control and side limits, and every dialog that opens closes exactly once (one whose own controls did not close it is
// cancelled); what it leaves behind the leak check finds.
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "VyFuzzCheck.h"
#include "VyFuzzResourceSource.h"
#include "vycontrol/VyStandardControls.h"
#include "vyio/VyConfigFile.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyNativeContext.h"
#include "vythread/VyMessage.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMainWnd.h"

namespace
{
constexpr char VY_FUZZ_FILE[] = "fuzz.dlg";
constexpr char VY_FUZZ_PATH[] = "Dialogs\\fuzz.dlg";
constexpr int VY_FUZZ_DIALOG_ID = 7;
constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// Counts the dialogs that told their owner they closed.
class ClosedCounter : public VyMessageTarget
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == VY_MSG_DIALOG_CLOSED && msg.param1 == VY_FUZZ_DIALOG_ID)
            ++m_closed;
    }
    int GetClosed() const { return m_closed; }

private:
    int m_closed = 0;
};

// The window system the dialogs open in, made once: settings are written into a scratch folder.
struct Desktop
{
    std::unique_ptr<VyPlatform> pPlatform;
    VyNativeContext context;
    std::unique_ptr<VyMainWnd> pMain;

    Desktop()
    {
        char folder[] = "/tmp/tolmar-fuzz-dialog-XXXXXX";
        if (mkdtemp(folder) == nullptr || chdir(folder) != 0)
            std::abort();
        pPlatform = std::make_unique<VyPlatform>();
        VyStandardControls::Install();
        context.SetColorSlotResolver([](int id) { return VyColorScheme::Global().ColorOf(id); });
        context.Initialize(WIDTH, HEIGHT, 32, false);
        pMain = std::make_unique<VyMainWnd>(WIDTH, HEIGHT);
        pMain->OnMouseEntered();
    }

    void Frame()
    {
        context.BeginFrame();
        pMain->Draw();
        context.EndFrame();
    }
};

Desktop& TheDesktop()
{
    static Desktop* pDesktop = new Desktop; // lives as long as the process
    return *pDesktop;
}

void Use(Desktop& desktop)
{
    desktop.Frame();
    for (int key : {VY_KEY_TAB, VY_KEY_TAB, VY_KEY_DOWN, VY_KEY_BACKSPACE})
        desktop.pMain->OnKey(key, VY_INPUT_KEY);
    for (char c : VyString("Tolma <chose>"))
        desktop.pMain->OnChar(static_cast<unsigned char>(c), VY_INPUT_KEY);
    desktop.pMain->OnMouseButton({WIDTH / 2, HEIGHT / 2}, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
    desktop.pMain->OnMouseButton({WIDTH / 2, HEIGHT / 2}, VY_MOUSE_LEFT | VY_MOUSE_RELEASE);
    VyMessageTarget::DispatchMessages();
    desktop.Frame();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Desktop& desktop = TheDesktop();
    VyFuzzResourceSource source(VY_FUZZ_PATH, data, size, VyFuzzResourceSource::Others::PREVIOUS_SOURCE);
    ClosedCounter owner;
    VyDialog* pDialog = VyDialog::Load(VY_FUZZ_FILE, VY_FUZZ_DIALOG_ID, nullptr, &owner);
    VyConfigFile::Forget(VY_FUZZ_PATH);
    if (pDialog == nullptr)
        return 0;
    VyFuzzCheck(pDialog->GetDescriptions().size() <= static_cast<size_t>(VyDialog::VY_MAX_CONTROLS),
                "more controls than the limit");
    const VyRect rect = pDialog->GetRect();
    VyFuzzCheck(rect.Width() <= VyDialog::VY_MAX_SIDE && rect.Height() <= VyDialog::VY_MAX_SIDE,
                "a dialog above the side limit");
    Use(desktop);
    if (owner.GetClosed() == 0)
        pDialog->Close(VY_IDCANCEL);
    VyMessageTarget::DispatchMessages();
    VyFuzzCheck(owner.GetClosed() == 1, "a dialog did not close exactly once");
    return 0;
}
