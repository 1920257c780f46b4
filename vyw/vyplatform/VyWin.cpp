#include "vyplatform/VyWin.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "vybitmap/VyKeyedImage.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyplatform/VyInput.h"
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
// How long the loop sleeps waiting for an event while nothing is drawn (minimised).
constexpr unsigned int INACTIVE_WAIT_MS = 50;

// The window's icon in the resource archive; pure blue is transparent in it.
constexpr const char* ICON_PATH = "bitmaps\\icon.bmp";
constexpr uint32_t ICON_MASK = 0x0000FF;

// The beep: a short tone that fades out.
constexpr int BEEP_RATE = 22050;
constexpr int BEEP_MS = 120;
constexpr double BEEP_HZ = 880.0;

VyString ProgramPath()
{
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return {};
    return VyString(buffer.data(), static_cast<size_t>(length));
}

// Makes the program's directory the working directory, so that every relative path (settings, archive,
// saved games) is relative to it. Only '/' separates: a backslash is an ordinary character of a name here.
void MakeProgramDirectoryCurrent()
{
    VyString path = ProgramPath();
    const size_t cut = path.find_last_of('/');
    if (cut == VyString::npos)
        return;
    const VyString directory = cut == 0 ? VyString("/") : path.substr(0, cut);
    if (chdir(directory.c_str()) != 0)
        VyTrace::Write("VyWin : cannot enter the program's directory " + directory + "\n");
}

// Reads an int from a pipe, retrying interrupted reads; false at the end of the pipe.
bool ReadErrorNumber(int fd, int& value)
{
    ssize_t got = 0;
    do
        got = read(fd, &value, sizeof value);
    while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof value);
}

// Starts program with one argument as a grandchild of this process that init adopts, so that no
// child is left to reap once the short-lived middle process has been waited for. No shell is
// involved. Returns 0, or the errno of the failure to start the program.
int SpawnDetached(const char* program, const char* argument)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = fork();
    if (child < 0)
    {
        const int error = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        return error;
    }
    if (child == 0)
    {
        // Only async-signal-safe calls from here on: this process is a copy of a threaded one.
        close(pipeFds[0]);
        const pid_t grandchild = fork();
        if (grandchild == 0)
        {
            setsid();
            char* const args[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
            execvp(program, args);
            const int error = errno;
            (void)!write(pipeFds[1], &error, sizeof error);
            _exit(127);
        }
        if (grandchild < 0)
        {
            const int error = errno;
            (void)!write(pipeFds[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR)
    {
    }
    // The write end closes when the program starts (close-on-exec) or after a failure was written.
    int error = 0;
    const bool bFailed = ReadErrorNumber(pipeFds[0], error);
    close(pipeFds[0]);
    return bFailed ? error : 0;
}

int FrameworkKey(SDL_Keycode key)
{
    switch (key)
    {
    case SDLK_LEFT:
        return VY_KEY_LEFT;
    case SDLK_RIGHT:
        return VY_KEY_RIGHT;
    case SDLK_UP:
        return VY_KEY_UP;
    case SDLK_DOWN:
        return VY_KEY_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VY_KEY_RETURN;
    case SDLK_ESCAPE:
        return VY_KEY_ESCAPE;
    case SDLK_HOME:
        return VY_KEY_HOME;
    case SDLK_END:
        return VY_KEY_END;
    case SDLK_PAGEUP:
        return VY_KEY_PAGE_UP;
    case SDLK_PAGEDOWN:
        return VY_KEY_PAGE_DOWN;
    case SDLK_TAB:
        return VY_KEY_TAB;
    case SDLK_BACKSPACE:
        return VY_KEY_BACKSPACE;
    case SDLK_DELETE:
        return VY_KEY_DELETE;
    default:
        return 0;
    }
}

int FrameworkButton(Uint8 button)
{
    switch (button)
    {
    case SDL_BUTTON_LEFT:
        return VY_MOUSE_LEFT;
    case SDL_BUTTON_MIDDLE:
        return VY_MOUSE_MIDDLE;
    case SDL_BUTTON_RIGHT:
        return VY_MOUSE_RIGHT;
    default:
        return 0;
    }
}

// The button field of a move: 3 while the right button is held, else 1 for the left, or-ed with 2 for
// the middle one.
int HeldButtons(Uint32 state)
{
    int field = (state & SDL_BUTTON_RMASK) ? VY_MOUSE_RIGHT : (state & SDL_BUTTON_LMASK) ? VY_MOUSE_LEFT : 0;
    if (state & SDL_BUTTON_MMASK)
        field |= VY_MOUSE_MIDDLE;
    return field;
}

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

std::vector<Sint16> MakeBeepTone()
{
    const int count = BEEP_RATE * BEEP_MS / 1000;
    std::vector<Sint16> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const double fade = 1.0 - static_cast<double>(i) / count;
        const double wave = std::sin(2.0 * M_PI * BEEP_HZ * i / BEEP_RATE);
        samples[static_cast<size_t>(i)] = static_cast<Sint16>(wave * fade * 8000.0);
    }
    return samples;
}

void RestartProgram(char** argv, bool bMarkRestart)
{
    if (bMarkRestart)
        setenv(VyWin::VY_RESTART_MARKER, "1", 1);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "%s: could not start again: %s\n", argv[0], VyPlatform::GetErrorText(errno).c_str());
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
    if (m_nAudioDevice != 0)
        SDL_CloseAudioDevice(m_nAudioDevice);
    if (m_bAudioTried)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (m_bVideoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// -- Entry -------------------------------------------------------------------------------------------

int VyWin::Main(int argc, char** argv, VyStartupFunction startup)
{
    MakeProgramDirectoryCurrent();
    std::unique_ptr<VyWin> pPlatform;
    int exitCode = 1;
    auto fatal = [&](const VyString& text) {
        if (pPlatform)
            pPlatform->ShowError("Error", text);
        else
            std::fprintf(stderr, "Error: %s\n", text.c_str());
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
            fatal(error.GetMessage());
        }
        bRestart = pPlatform->IsRestartRequested();
        bMarkRestart = pPlatform->m_bRestartForChoice;
        pPlatform.reset();
    }
    if (bRestart && argc > 0)
        RestartProgram(argv, bMarkRestart);
    return exitCode;
}

int VyWin::RunApplication(VyStartupFunction startup)
{
    if (!CreateDisplay())
    {
        std::fprintf(stderr, "The display could not be created: %s\n", m_displayError.c_str());
        return 1;
    }
    if (IsQuitRequested())
        return 0; // the automatic choice of the render context starts the program again
    if (startup == nullptr || !startup(*this))
    {
        std::fprintf(stderr, "The application could not start.\n");
        return 1;
    }
    SDL_RaiseWindow(m_pWindow);
    Run();
    return 0;
}

void VyWin::Run()
{
    while (!IsQuitRequested())
    {
        PumpEvents(0);
        if (IsQuitRequested())
            break;
        if (!FrameStep())
            PumpEvents(INACTIVE_WAIT_MS);
    }
}

// -- Display -----------------------------------------------------------------------------------------

bool VyWin::StartVideo()
{
    if (m_bVideoStarted)
        return true;
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
        InitializeRenderContext(width, height);
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
    m_pWindow = SDL_CreateWindow(GetTitle().c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                 GetScreen().resX, GetScreen().resY, flags);
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
    if (AskFullScreenFallback() == VyFullScreenFallback::CLOSE)
    {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", "Program Will Now Close.", nullptr);
        m_bDeclinedFullScreen = true;
        return FailDisplay("the full-screen mode is not supported and windowed mode was declined");
    }
    Screen().bFullScreen = false;
    Screen().bits = DesktopBits();
    return true;
}

bool VyWin::SwitchToFullScreen()
{
    SDL_DisplayMode wanted{};
    wanted.w = GetScreen().resX;
    wanted.h = GetScreen().resY;
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
    VyTrace::Write(VyString::Format("VyWin : display %d x %d%s, %s, %s\n", GetClientWidth(), GetClientHeight(),
                                    GetScreen().bFullScreen ? " full screen" : "", pContext->GetRendererName().c_str(),
                                    pContext->GetPixelFormatText().c_str()));
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
    m_bMouseInside = false;
}

bool VyWin::ChangeDisplayMode(int fullScreen, int bits, int context, int width, int height)
{
    DestroyDisplay();
    VyPlatform::ChangeDisplayMode(fullScreen, bits, context, width, height);
    if (!CreateDisplay())
        return false;
    if (GetRootWindow() != nullptr)
        GetRootWindow()->Resize(GetClientWidth(), GetClientHeight());
    return true;
}

int VyWin::ClassifyRenderer(const VyString& glRenderer)
{
    const VyString lower = glRenderer.Lower();
    for (const char* software : {"llvmpipe", "softpipe", "swrast"})
        if (lower.find(software) != VyString::npos)
            return VY_RENDERER_SOFTWARE;
    return VY_RENDERER_HARDWARE;
}

VyString VyWin::GetCurrentDirectory()
{
    std::vector<char> buffer(4096);
    return getcwd(buffer.data(), buffer.size()) != nullptr ? VyString(buffer.data()) : VyString();
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
    switch (event.type)
    {
    case SDL_QUIT:
        Quit();
        break;
    case SDL_KEYDOWN:
        OnKeyDown(event);
        break;
    case SDL_TEXTINPUT:
        OnTextInput(event);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        OnMouseButton(event);
        break;
    case SDL_MOUSEMOTION:
        OnMouseMotion(event);
        break;
    case SDL_MOUSEWHEEL:
        OnMouseWheel(event);
        break;
    case SDL_WINDOWEVENT:
        OnWindowEvent(event);
        break;
    default:
        break;
    }
}

int VyWin::ModifierFlags(std::uint16_t modifiers)
{
    return ((modifiers & KMOD_CTRL) ? VY_INPUT_CONTROL : 0) | ((modifiers & KMOD_SHIFT) ? VY_INPUT_SHIFT : 0);
}

int VyWin::ModifierFlags()
{
    return ModifierFlags(static_cast<std::uint16_t>(SDL_GetModState()));
}

VyPoint VyWin::ToClient(int x, int y) const
{
    return {x, GetClientHeight() - 1 - y};
}

void VyWin::OnKeyDown(const SDL_Event& event)
{
    VyRootWindow* pRoot = GetRootWindow();
    if (pRoot == nullptr)
        return;
    const SDL_Keysym& keysym = event.key.keysym;
    const int flags = VY_INPUT_KEY | ModifierFlags(keysym.mod);
    const bool bControlLetter = (keysym.mod & KMOD_CTRL) && !(keysym.mod & KMOD_ALT) && keysym.sym >= SDLK_a &&
                                keysym.sym <= SDLK_z;
    if (const int key = FrameworkKey(keysym.sym); key != 0)
        pRoot->OnKey(key, flags);
    else if (bControlLetter)
        pRoot->OnChar(static_cast<int>(keysym.sym), flags); // the letter itself, in lower case
    else
        return;
    DispatchFrameworkMessages();
}

void VyWin::OnTextInput(const SDL_Event& event)
{
    VyRootWindow* pRoot = GetRootWindow();
    if (pRoot == nullptr)
        return;
    const SDL_Keymod modifiers = SDL_GetModState();
    if ((modifiers & KMOD_CTRL) && !(modifiers & KMOD_ALT))
        return; // Control + letter came as a key
    const int flags = VY_INPUT_KEY | ModifierFlags(static_cast<std::uint16_t>(modifiers));
    bool bPassed = false;
    for (const char* p = event.text.text; *p != '\0'; ++p)
    {
        const int code = static_cast<unsigned char>(*p);
        if (code < 32 || code > 127)
            continue; // bytes of characters beyond ASCII
        pRoot->OnChar(code, flags);
        bPassed = true;
    }
    if (bPassed)
        DispatchFrameworkMessages();
}

void VyWin::OnMouseButton(const SDL_Event& event)
{
    VyRootWindow* pRoot = GetRootWindow();
    const int button = FrameworkButton(event.button.button);
    if (pRoot == nullptr || button == 0)
        return;
    const bool bPressed = event.type == SDL_MOUSEBUTTONDOWN;
    if (bPressed && m_pWindow != nullptr && !(SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_INPUT_FOCUS))
        SDL_SetWindowInputFocus(m_pWindow);
    const int flags = button | ModifierFlags() | (bPressed ? VY_MOUSE_PRESS : VY_MOUSE_RELEASE);
    pRoot->OnMouseButton(ToClient(event.button.x, event.button.y), flags);
    DispatchFrameworkMessages();
}

void VyWin::OnMouseMotion(const SDL_Event& event)
{
    VyRootWindow* pRoot = GetRootWindow();
    if (pRoot == nullptr)
        return;
    const int x = event.motion.x;
    const int y = event.motion.y;
    const bool bInside = x >= 0 && y >= 0 && x < GetClientWidth() && y < GetClientHeight();
    if (!bInside)
    {
        // Seen only while a held button keeps the mouse (SDL captures it then).
        MouseLeft();
        DispatchFrameworkMessages();
        return;
    }
    if (!m_bMouseInside)
    {
        m_bMouseInside = true;
        pRoot->OnMouseEntered();
    }
    pRoot->OnMouseMove(ToClient(x, y), HeldButtons(event.motion.state) | ModifierFlags());
    DispatchFrameworkMessages();
}

void VyWin::MouseLeft()
{
    if (!m_bMouseInside)
        return;
    m_bMouseInside = false;
    if (VyRootWindow* pRoot = GetRootWindow())
        pRoot->OnMouseLeft();
}

void VyWin::OnMouseWheel(const SDL_Event& event)
{
    VyRootWindow* pRoot = GetRootWindow();
    int steps = event.wheel.y;
    if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
        steps = -steps;
    if (pRoot == nullptr || steps == 0)
        return;
    pRoot->OnMouseWheel(ToClient(event.wheel.mouseX, event.wheel.mouseY), steps);
    DispatchFrameworkMessages();
}

void VyWin::OnWindowEvent(const SDL_Event& event)
{
    switch (event.window.event)
    {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        ResizeClient(event.window.data1, event.window.data2);
        DispatchFrameworkMessages();
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        SetActive(false);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SHOWN:
        SetActive(true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        // In full screen the program is active only while it has the focus.
        if (GetScreen().bFullScreen)
            SetActive(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        MouseLeft();
        DispatchFrameworkMessages();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Quit();
        break;
    default:
        break;
    }
}

// -- Operating-system services -----------------------------------------------------------------------

void VyWin::Quit()
{
    VyPlatform::Quit();
    if (m_bVideoStarted)
    {
        // Wakes a loop that waits for events (minimised, or a wait on the main thread); thread-safe.
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        SDL_PushEvent(&wake);
    }
}

void VyWin::Beep()
{
    if (!m_bAudioTried)
    {
        m_bAudioTried = true;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        {
            VyTrace::Write(VyString("VyWin::Beep : no sound (") + SDL_GetError() + ")\n");
            return;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = BEEP_RATE;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 1;
        wanted.samples = 512;
        m_nAudioDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (m_nAudioDevice == 0)
            VyTrace::Write(VyString("VyWin::Beep : no sound device (") + SDL_GetError() + ")\n");
    }
    if (m_nAudioDevice == 0 || SDL_GetQueuedAudioSize(m_nAudioDevice) > 0)
        return; // no device, or a tone still sounds
    static const std::vector<Sint16> tone = MakeBeepTone();
    SDL_QueueAudio(m_nAudioDevice, tone.data(), static_cast<Uint32>(tone.size() * sizeof(Sint16)));
    SDL_PauseAudioDevice(m_nAudioDevice, 0);
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
    const int error = SpawnDetached("xdg-open", link.c_str());
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
    if (m_pWindow != nullptr)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), m_pWindow);
}
