// tolmar-dialogview: one of the game's dialogs, or a message box, over the game's window, for looking at
// them (Control+P saves screenshot.jpg beside the program, as in the game).
//
//   tolmar-dialogview --dialog FILE [--id N]        a definition file of the Dialogs directory
//   tolmar-dialogview --msgbox TYPE TEXT [CAPTION]  a message box of type 1 (Ok) to 4 (Cancel)
//   tolmar-dialogview --file-dialog open|save DIR   the file dialog in a folder (the chosen path is
//                                                   printed)
//   tolmar-dialogview --progress PERCENT TEXT       a progress window standing at PERCENT
//   tolmar-dialogview ... --quit-after-frames N
//
// The dialog stands beside the game as it shows its modeless boxes; closing it leaves the game.
#include <cstdio>

#include "VyTolmarStartup.h"
#include "vyplatform/VyPlatform.h"
#include "vyplatform/VyWin.h"
#include "vyrender/VyRenderContext.h"
#include "vycontrol/VyFileDialog.h"
#include "vycontrol/VyProgressWnd.h"
#include "vywindow/VyDialog.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMsgBox.h"

namespace
{
// The word after option, or an empty text.
VyString Argument(const std::vector<VyString>& words, const char* option, size_t offset = 1)
{
    for (size_t i = 0; i + offset < words.size(); ++i)
        if (words[i] == option)
            return words[i + offset];
    return {};
}

bool OpenFileDialog(const std::vector<VyString>& words)
{
    const VyFileDialogMode mode = Argument(words, "--file-dialog") == "save" ? VyFileDialogMode::SAVE
                                                                             : VyFileDialogMode::OPEN;
    VyString path;
    if (VyFileDialog::AskIn(mode, Argument(words, "--file-dialog", 2), "tolmar.sav", path))
        std::printf("%s\n", path.c_str());
    return true;
}

bool OpenProgress(const std::vector<VyString>& words)
{
    // The work's side of the window, kept for the program's life: nothing else reports into it.
    static const std::shared_ptr<VyProgressState> pState = std::make_shared<VyProgressState>();
    pState->SetText(Argument(words, "--progress", 2));
    pState->SetValue(Argument(words, "--progress").ToInt());
    return VyProgressWnd::Show("Loading Tolmar", {275, 100}, pState) != nullptr;
}

bool OpenRequested(const std::vector<VyString>& words)
{
    if (!Argument(words, "--file-dialog").empty())
        return OpenFileDialog(words);
    if (!Argument(words, "--progress").empty())
        return OpenProgress(words);
    const VyString dialog = Argument(words, "--dialog");
    if (!dialog.empty())
    {
        const VyString id = Argument(words, "--id");
        VyDialog* pDialog = VyDialog::Load(dialog, id.empty() ? 1 : id.ToInt());
        VyRenderContext* pContext = VyRenderContext::GetCurrent();
        if (pDialog != nullptr && pContext != nullptr && pDialog->GetControl(208) && pDialog->GetControl(209))
        {
            // The About box's lines, as the game fills them.
            pDialog->SetControlText(208, "Renderer: " + pContext->GetRendererName() + "\n");
            pDialog->SetControlText(209, "Pixel Format: " + pContext->GetPixelFormatText() + "\n");
        }
        if (pDialog != nullptr)
            VyMainWnd::Get()->SetFocus(pDialog);
        return pDialog != nullptr;
    }
    const VyString type = Argument(words, "--msgbox");
    if (type.empty())
    {
        std::fprintf(stderr, "usage: tolmar-dialogview --dialog FILE [--id N] | --msgbox TYPE TEXT [CAPTION]\n");
        return false;
    }
    const VyString caption = Argument(words, "--msgbox", 3);
    VyMsgBoxOptions options;
    options.boxId = 1;
    VyMsgBox* pBox = VyMsgBox::Show(Argument(words, "--msgbox", 2), caption.empty() ? VyString("Tolmar") : caption,
                                    type.ToInt(), options);
    if (pBox != nullptr)
        VyMainWnd::Get()->SetFocus(pBox);
    return pBox != nullptr;
}

bool Startup(VyPlatform& platform)
{
    return VyTolmarStartup(platform) && OpenRequested(platform.GetCommandWords());
}
} // namespace

int main(int argc, char** argv)
{
    return VyWin::Main(argc, argv, Startup);
}
