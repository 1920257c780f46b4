#include "vyplatform/VyWin.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "vybitmap/VyKeyedImage.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyplatform/VyDisplayScale.h"
#include "vyplatform/VyProcessControl.h"
#include "vyrender/VyDirectDraw.h"
#include "vyrender/VyNativeContext.h"
#include "vyrender/VyOpenGL.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyClock.h"
#include "vythread/VyException.h"
#include "vythread/VyThread.h"
#include "vythread/VyTrace.h"

namespace
{
// The window's icon in the resource archive; pure blue is transparent in it.
constexpr const char* ICON_PATH = "bitmaps\\icon.bmp";
constexpr uint32_t ICON_MASK = 0x0000FF;

// The desktop's colour depth in bits per pixel (32 for 8-bit channels in 4-byte pixels).
int DesktopBits()
{
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 32;
    const int bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    return bits == 24 && SDL_BYTESPERPIXEL(mode.format) == 4 ? 32 : bits;
}

void SetGLAttributes(int bits)
{
    const int channel = bits >= 24 ? 8 : bits >= 15 ? 5 : 3;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, bits >= 15 ? channel : 2); // 8 bits: 3-3-2
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}
} // namespace

VyWin::VyWin()
{
    m_bRestartedForChoice = std::getenv(VY_RESTART_MARKER) != nullptr;
    unsetenv(VY_RESTART_MARKER);
    VyThread::SetEventPump([this](unsigned int maxWaitMs) { PumpEventsAndFrameStep(maxWaitMs); });
}

VyWin::~VyWin()
{
    VyThread::SetEventPump({});
    DeleteRootWindow();
    DestroyDisplay();
    if (m_bVideoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// -- Entry -------------------------------------------------------------------------------------------

int VyWin::Main(int argc, char** argv, VyStartupFunction startup)
{
    VyProcessControl::MakeWorkingDirectoryCurrent();
    std::unique_ptr<VyWin> pPlatform;
    int exitCode = 1;
    auto fatal = [&](const VyString& text) {
        if (pPlatform)
        {
            pPlatform->ReportFatalError(text);
        }
        else
        {
            std::fprintf(stderr, "Error: %s\n", text.c_str());
            ShowErrorBox("Error", text, nullptr);
        }
        exitCode = 1;
    };
    try
    {
        pPlatform = std::make_unique<VyWin>();
        pPlatform->SetCommandLine(argc, argv);
        exitCode = pPlatform->RunApplication(startup);
    }
    catch (const VyException& error)
    {
        fatal(error.GetMessage());
    }
    catch (const std::exception& error)
    {
        fatal(error.what());
    }
    bool bRestart = false;
    bool bMarkRestart = false;
    if (pPlatform)
    {
        try
        {
            pPlatform->DeleteRootWindow();
        }
        catch (const VyException& error)
        {
            // The main window is half closed: it shows nothing any more.
            pPlatform->ShowError("Error", error.GetMessage());
            exitCode = 1;
        }
        bRestart = pPlatform->IsRestartRequested();
        bMarkRestart = pPlatform->m_bRestartForChoice;
        pPlatform.reset();
    }
    if (bRestart && argc > 0)
        VyProcessControl::RestartProgram(argv, bMarkRestart ? VY_RESTART_MARKER : nullptr);
    return exitCode;
}

void VyWin::ReportFatalError(const VyString& text)
{
    VyRootWindow* pRoot = GetRootWindow();
    try
    {
        if (pRoot != nullptr && pRoot->ShowFatalError("Error", text))
            return;
    }
    catch (const std::exception& error)
    {
        VyTrace::Write(VyString("VyWin::ReportFatalError : the main window could not show the error: ") +
                       error.what() + "\n");
    }
    ShowError("Error", text);
}

int VyWin::RunApplication(VyStartupFunction startup)
{
    if (!CreateDisplay())
    {
        ShowError("Error", "The display could not be created: " + m_displayError);
        return 1;
    }
    if (IsQuitRequested())
        return 0; // the automatic choice of the render context starts the program again
    if (startup == nullptr || !startup(*this))
    {
        ShowError("Error", "The application could not start.");
        return 1;
    }
    SDL_RaiseWindow(m_pWindow);
    Run();
    return HasFailed() ? 1 : 0;
}

void VyWin::Run()
{
    while (!IsQuitRequested())
        PumpEventsAndFrameStep(VY_INFINITE);
}

// -- Display -----------------------------------------------------------------------------------------

bool VyWin::StartVideo()
{
    if (m_bVideoStarted)
        return true;
    // Closing the window asks the main window (SDL_WINDOWEVENT_CLOSE); SDL's own quit on the last
    // window's close would bypass it.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return FailDisplay(VyString("SDL could not start its video: ") + SDL_GetError());
    m_bVideoStarted = true;
    return true;
}

bool VyWin::FailDisplay(const VyString& reason)
{
    m_displayError = reason;
    VyTrace::Write("VyWin::CreateDisplay : " + reason + "\n");
    DestroyDisplay();
    return false;
}

int VyWin::ChooseContext()
{
    m_bAutoChoice = false;
    const int context = GetScreen().context;
    if (context != VY_CONTEXT_NONE)
        return context;
    if (m_bRestartedForChoice)
    {
        // vyw.cfg did not keep the choice made before the restart (read-only?): no second restart.
        VyTrace::Write("VyWin : the render context is still not chosen after the restart; DirectDraw is used\n");
        return VY_CONTEXT_DIRECTDRAW;
    }
    m_bAutoChoice = true;
    return VY_CONTEXT_OPENGL;
}

bool VyWin::CreateDisplay()
{
    m_displayError.clear();
    m_bRestartForChoice = false;
    if (!StartVideo())
        return false;
    int context = ChooseContext();
    if (!CreateWindow(context))
    {
        if (!m_bAutoChoice || m_bDeclinedFullScreen)
            return false;
        // No OpenGL at all: the software context needs no restart to be chosen.
        VyTrace::Write("VyWin : OpenGL could not be created; DirectDraw is chosen\n");
        VyConfigFile config("vyw.cfg");
        VyScreenSettings::WriteContext(config, VY_CONTEXT_DIRECTDRAW);
        m_bAutoChoice = false;
        context = VY_CONTEXT_DIRECTDRAW;
        if (!CreateWindow(context))
            return false;
    }
    Screen().context = context;
    try
    {
        CreateRenderContext(context);
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(m_pWindow, &width, &height);
        InitializeRenderContext(width / GetDisplayScale(), height / GetDisplayScale());
        if (m_bAutoChoice)
            ApplyAutomaticChoice(); // reads GL_RENDERER, known once the context is initialised
        ShowDisplay();
    }
    catch (VyException& error)
    {
        DestroyDisplay();
        error.AddContext("VyWin", "CreateDisplay");
        throw;
    }
    return true;
}

bool VyWin::CreateWindow(int context)
{
    m_bDeclinedFullScreen = false;
    if (!GetScreen().bFullScreen)
        Screen().bits = DesktopBits();
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!IsFixedSize())
        flags |= SDL_WINDOW_RESIZABLE;
    if (context == VY_CONTEXT_OPENGL)
    {
        SetGLAttributes(GetScreen().bits);
        flags |= SDL_WINDOW_OPENGL;
    }
    SetDisplayScale(ResolveDisplayScale());
    m_pWindow = SDL_CreateWindow(GetTitle().c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                 GetScreen().resX * GetDisplayScale(), GetScreen().resY * GetDisplayScale(), flags);
    if (m_pWindow == nullptr)
        return FailDisplay(VyString("the window could not be created: ") + SDL_GetError());
    if (GetScreen().bFullScreen && !EnterFullScreen())
        return false;
    if (context != VY_CONTEXT_OPENGL)
        return true;
    m_pGLContext = SDL_GL_CreateContext(m_pWindow);
    if (m_pGLContext == nullptr)
        return FailDisplay(VyString("OpenGL could not be created: ") + SDL_GetError());
    if (SDL_GL_MakeCurrent(m_pWindow, m_pGLContext) != 0)
        return FailDisplay(VyString("OpenGL could not be made current: ") + SDL_GetError());
    return true;
}

bool VyWin::EnterFullScreen()
{
    if (SwitchToFullScreen())
        return true;
    SDL_SetWindowFullscreen(m_pWindow, 0);
    if (m_fullScreenQuestion == VyFullScreenQuestion::ASK && AskFullScreenFallback() == VyFullScreenFallback::CLOSE)
    {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", "Program Will Now Close.", nullptr);
        m_bDeclinedFullScreen = true;
        return FailDisplay("the full-screen mode is not supported and windowed mode was declined");
    }
    Screen().bFullScreen = false;
    Screen().bits = DesktopBits();
    // The windowed rule may choose another factor than the full-screen one did.
    SetDisplayScale(ResolveDisplayScale());
    SDL_SetWindowSize(m_pWindow, GetScreen().resX * GetDisplayScale(), GetScreen().resY * GetDisplayScale());
    return true;
}

int VyWin::ResolveDisplayScale() const
{
    SDL_DisplayMode desktop{};
    VySize desktopSize;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
        desktopSize = {desktop.w, desktop.h};
    const VyDisplayKind kind = GetScreen().bFullScreen ? VyDisplayKind::FULL_SCREEN : VyDisplayKind::WINDOWED;
    return VyDisplayScale::Resolve(GetScreen().scale, {GetScreen().resX, GetScreen().resY}, desktopSize, kind,
                                   VyScreenSettings::VY_MAX_CLIENT_SIDE);
}

bool VyWin::SwitchToFullScreen()
{
    SDL_DisplayMode wanted{};
    wanted.w = GetScreen().resX * GetDisplayScale();
    wanted.h = GetScreen().resY * GetDisplayScale();
    SDL_DisplayMode closest{};
    const bool bFound = SDL_GetClosestDisplayMode(0, &wanted, &closest) != nullptr && closest.w == wanted.w &&
                        closest.h == wanted.h;
    return bFound && SDL_SetWindowDisplayMode(m_pWindow, &closest) == 0 &&
           SDL_SetWindowFullscreen(m_pWindow, SDL_WINDOW_FULLSCREEN) == 0;
}

VyFullScreenFallback VyWin::AskFullScreenFallback()
{
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_WARNING;
    box.window = nullptr;
    box.title = "Tepo GL";
    box.message = "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?";
    box.numbuttons = 2;
    box.buttons = buttons;
    int answer = 1;
    if (SDL_ShowMessageBox(&box, &answer) != 0)
    {
        VyTrace::Write(VyString("VyWin : the full-screen question could not be shown (") + SDL_GetError() +
                       "); windowed mode is used\n");
        return VyFullScreenFallback::WINDOWED;
    }
    return answer == 1 ? VyFullScreenFallback::WINDOWED : VyFullScreenFallback::CLOSE;
}

void VyWin::CreateRenderContext(int context)
{
    switch (context)
    {
    case VY_CONTEXT_OPENGL:
        SetRenderContext(std::make_unique<VyOpenGL>());
        break;
    case VY_CONTEXT_NATIVE:
        SetRenderContext(std::make_unique<VyNativeContext>(m_pWindow));
        break;
    default:
        SetRenderContext(std::make_unique<VyDirectDraw>(m_pWindow));
        break;
    }
}

void VyWin::ApplyAutomaticChoice()
{
    auto* pOpenGL = static_cast<VyOpenGL*>(GetRenderContext());
    const VyString renderer = pOpenGL->GetRendererString();
    VyConfigFile config("vyw.cfg");
    if (ClassifyRenderer(renderer) == VY_RENDERER_SOFTWARE)
    {
        VyTrace::Write("VyWin : OpenGL renders in software (" + renderer +
                       "); Context=DirectDraw is written and the program starts again\n");
        VyScreenSettings::WriteContext(config, VY_CONTEXT_DIRECTDRAW);
        m_bRestartForChoice = true;
        Restart();
        return;
    }
    VyTrace::Write("VyWin : OpenGL renders in hardware (" + renderer + "); Context=OpenGL is written\n");
    VyScreenSettings::WriteContext(config, VY_CONTEXT_OPENGL);
}

void VyWin::ShowDisplay()
{
    VyRenderContext* pContext = GetRenderContext();
    const VyString scale = GetDisplayScale() > 1 ? VyString::Format(" at scale %d", GetDisplayScale()) : VyString();
    VyTrace::Write(VyString::Format("VyWin : display %d x %d%s%s, %s, %s\n", GetClientWidth(), GetClientHeight(),
                                    scale.c_str(), GetScreen().bFullScreen ? " full screen" : "",
                                    pContext->GetRendererName().c_str(), pContext->GetPixelFormatText().c_str()));
    SetWindowIcon();
    SDL_ShowWindow(m_pWindow);
    SDL_StartTextInput();
    SDL_ShowCursor(m_bSystemCursorVisible ? SDL_ENABLE : SDL_DISABLE);
    SetActive(true);
}

void VyWin::SetWindowIcon()
{
    try
    {
        std::unique_ptr<VyRGBFormat> pIcon = VyKeyedImage::Load(ICON_PATH, ICON_MASK);
        pIcon->Flip(); // SDL wants the top row first
        SDL_Surface* pSurface = SDL_CreateRGBSurfaceWithFormatFrom(
            pIcon->Buffer(), pIcon->Width(), pIcon->Height(), 32, pIcon->Pitch(), SDL_PIXELFORMAT_RGBA32);
        if (pSurface == nullptr)
            throw VyException("VyWin", "SetWindowIcon", SDL_GetError());
        SDL_SetWindowIcon(m_pWindow, pSurface);
        SDL_FreeSurface(pSurface);
    }
    catch (VyException& error)
    {
        error.AddContext("VyWin", "SetWindowIcon", "the window has no icon");
        error.Report();
    }
}

void VyWin::DestroyDisplay()
{
    m_input.Reset(); // while the window that holds the mouse still exists
    DeleteRenderContext();
    if (m_pGLContext != nullptr)
    {
        SDL_GL_MakeCurrent(m_pWindow, nullptr);
        SDL_GL_DeleteContext(m_pGLContext);
        m_pGLContext = nullptr;
    }
    if (m_pWindow != nullptr)
    {
        SDL_DestroyWindow(m_pWindow);
        m_pWindow = nullptr;
    }
}

bool VyWin::ChangeDisplayMode(int fullScreen, int bits, int context, int width, int height)
{
    const VyScreenSettings before = GetScreen();
    DestroyDisplay();
    VyPlatform::ChangeDisplayMode(fullScreen, bits, context, width, height);
    const bool bCreated = CreateDisplayWithoutQuestion();
    if (!bCreated)
    {
        VyTrace::Write("VyWin : the display could not be changed (" + m_displayError +
                       "); it is made again as it was\n");
        Screen() = before;
        CreateDisplayWithoutQuestion();
    }
    if (GetRootWindow() != nullptr && HasDisplay())
        GetRootWindow()->Resize(GetClientWidth(), GetClientHeight());
    return bCreated;
}

bool VyWin::CreateDisplayWithoutQuestion()
{
    // The program runs on over the change: a box asking whether to end it would not fit.
    m_fullScreenQuestion = VyFullScreenQuestion::STAY_WINDOWED;
    try
    {
        const bool bCreated = CreateDisplay();
        m_fullScreenQuestion = VyFullScreenQuestion::ASK;
        return bCreated;
    }
    catch (...)
    {
        m_fullScreenQuestion = VyFullScreenQuestion::ASK;
        throw;
    }
}

int VyWin::ClassifyRenderer(const VyString& glRenderer)
{
    const VyString lower = glRenderer.Lower();
    for (const char* software : {"llvmpipe", "softpipe", "swrast"})
        if (lower.find(software) != VyString::npos)
            return VY_RENDERER_SOFTWARE;
    return VY_RENDERER_HARDWARE;
}

// -- Frames and events -------------------------------------------------------------------------------

bool VyWin::RenderFrame()
{
    if (!VyPlatform::RenderFrame())
        return false;
    if (m_pGLContext != nullptr)
        SDL_GL_SwapWindow(m_pWindow);
    if (GetFramesRendered() == 1)
    {
        // On the steady clock every process shares, so that a starter can measure the time to here.
        VyTrace::Write(VyString::Format("VyWin : first frame presented at %llu us\n",
                                        static_cast<unsigned long long>(VyClock::Microseconds())));
    }
    return true;
}

void VyWin::PumpEvents(unsigned int maxWaitMs)
{
    if (!m_bVideoStarted)
    {
        VyPlatform::PumpEvents(maxWaitMs);
        return;
    }
    SDL_Event event;
    if (maxWaitMs > 0 && SDL_WaitEventTimeout(&event, static_cast<int>(maxWaitMs)) != 0)
        HandleEvent(event);
    while (SDL_PollEvent(&event) != 0)
        HandleEvent(event);
}

void VyWin::HandleEvent(const SDL_Event& event)
{
    if (event.type == SDL_QUIT)
        Quit();
    else
        m_input.Handle(event);
}

void VyWin::WakeEventWait()
{
    if (!m_bVideoStarted)
        return;
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
}

void VyWin::SetMouseCapture(VyMouseCapture capture)
{
    if (m_pWindow != nullptr)
        SDL_CaptureMouse(capture == VyMouseCapture::HELD ? SDL_TRUE : SDL_FALSE);
}

// -- Operating-system services -----------------------------------------------------------------------

void VyWin::Beep()
{
    m_beep.Play();
}

VyString VyWin::GetClipboardText()
{
    if (!m_bVideoStarted)
        return {};
    char* pText = SDL_GetClipboardText();
    VyString text = pText != nullptr ? pText : "";
    SDL_free(pText);
    return text;
}

void VyWin::SetClipboardText(const VyString& text)
{
    if (m_bVideoStarted)
        SDL_SetClipboardText(text.c_str());
}

bool VyWin::HasClipboardText()
{
    return m_bVideoStarted && SDL_HasClipboardText() == SDL_TRUE;
}

void VyWin::OpenHyperlink(const VyString& link)
{
    const int error = VyProcessControl::SpawnDetached("xdg-open", link.c_str());
    if (error != 0)
        ShowError("Error", "Unable to open hyperlink:\n\n" + GetErrorText(error));
}

void VyWin::ApplyTitle()
{
    if (m_pWindow != nullptr)
        SDL_SetWindowTitle(m_pWindow, GetTitle().c_str());
}

void VyWin::ApplyFixedSize()
{
    if (m_pWindow != nullptr && !GetScreen().bFullScreen)
        SDL_SetWindowResizable(m_pWindow, IsFixedSize() ? SDL_FALSE : SDL_TRUE);
}

void VyWin::SetSystemCursorVisible(bool bVisible)
{
    m_bSystemCursorVisible = bVisible;
    if (m_bVideoStarted)
        SDL_ShowCursor(bVisible ? SDL_ENABLE : SDL_DISABLE);
}

void VyWin::ShowError(const VyString& caption, const VyString& text)
{
    VyPlatform::ShowError(caption, text);
    ShowErrorBox(caption, text, m_pWindow);
}

void VyWin::ShowErrorBox(const VyString& caption, const VyString& text, SDL_Window* pParent)
{
    // SDL shows the box without a window of ours, and without its video started, where it can reach
    // a display of its own (X11); elsewhere it refuses.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), pParent) != 0)
        VyTrace::Write(VyString("VyWin : the error could not be shown in a box: ") + SDL_GetError() + "\n");
}
