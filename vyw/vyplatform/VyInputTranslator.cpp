#include "vyplatform/VyInputTranslator.h"

#include <SDL.h>

#include "vyplatform/VyDisplayScale.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyWin.h"

namespace
{
struct KeyCode
{
    SDL_Keycode sdl;
    int framework;
};

constexpr KeyCode FRAMEWORK_KEYS[] = {
    {SDLK_LEFT, VY_KEY_LEFT},         {SDLK_RIGHT, VY_KEY_RIGHT},         {SDLK_UP, VY_KEY_UP},
    {SDLK_DOWN, VY_KEY_DOWN},         {SDLK_RETURN, VY_KEY_RETURN},       {SDLK_KP_ENTER, VY_KEY_RETURN},
    {SDLK_ESCAPE, VY_KEY_ESCAPE},     {SDLK_HOME, VY_KEY_HOME},           {SDLK_END, VY_KEY_END},
    {SDLK_PAGEUP, VY_KEY_PAGE_UP},    {SDLK_PAGEDOWN, VY_KEY_PAGE_DOWN},  {SDLK_TAB, VY_KEY_TAB},
    {SDLK_BACKSPACE, VY_KEY_BACKSPACE}, {SDLK_DELETE, VY_KEY_DELETE},     {SDLK_F10, VY_KEY_F10},
};

int FrameworkKey(SDL_Keycode key)
{
    for (const KeyCode& code : FRAMEWORK_KEYS)
        if (code.sdl == key)
            return code.framework;
    return 0;
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

int ModifierFlags(Uint16 modifiers)
{
    return ((modifiers & KMOD_CTRL) ? VY_INPUT_CONTROL : 0) | ((modifiers & KMOD_SHIFT) ? VY_INPUT_SHIFT : 0);
}

int ModifierFlags()
{
    return ModifierFlags(static_cast<Uint16>(SDL_GetModState()));
}

// A window point (SDL's pixels, y down) in logical pixels, y still down.
VyPoint ToLogical(const VyPlatform& platform, int x, int y)
{
    const int factor = platform.GetDisplayScale();
    return {VyDisplayScale::ToLogical(x, factor), VyDisplayScale::ToLogical(y, factor)};
}

// Client pixels with y turned upward; points outside the client area stay outside.
VyPoint ToClient(const VyPlatform& platform, int x, int y)
{
    const VyPoint logical = ToLogical(platform, x, y);
    return {logical.x, platform.GetClientHeight() - 1 - logical.y};
}
} // namespace

void VyInputTranslator::Handle(const SDL_Event& event)
{
    switch (event.type)
    {
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

void VyInputTranslator::Reset()
{
    m_bMouseInside = false;
    if (m_heldButtons != 0)
        m_win.SetMouseCapture(VyMouseCapture::RELEASED);
    m_heldButtons = 0;
}

void VyInputTranslator::Delivered()
{
    m_win.RequestFrame();
    VyPlatform::DispatchFrameworkMessages();
}

void VyInputTranslator::OnKeyDown(const SDL_Event& event)
{
    VyRootWindow* pRoot = m_win.GetRootWindow();
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
    Delivered();
}

void VyInputTranslator::OnTextInput(const SDL_Event& event)
{
    VyRootWindow* pRoot = m_win.GetRootWindow();
    if (pRoot == nullptr)
        return;
    const SDL_Keymod modifiers = SDL_GetModState();
    if ((modifiers & KMOD_CTRL) && !(modifiers & KMOD_ALT))
        return; // Control + letter came as a key
    const int flags = VY_INPUT_KEY | ModifierFlags(static_cast<Uint16>(modifiers));
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
        Delivered();
}

void VyInputTranslator::OnMouseButton(const SDL_Event& event)
{
    VyRootWindow* pRoot = m_win.GetRootWindow();
    const int button = FrameworkButton(event.button.button);
    if (pRoot == nullptr || button == 0)
        return;
    const bool bPressed = event.type == SDL_MOUSEBUTTONDOWN;
    SDL_Window* pWindow = m_win.GetWindow();
    if (bPressed && pWindow != nullptr && !(SDL_GetWindowFlags(pWindow) & SDL_WINDOW_INPUT_FOCUS))
        SDL_SetWindowInputFocus(pWindow);
    if (bPressed)
        HoldButton(button);
    else
        ReleaseButton(button);
    const int flags = button | ModifierFlags() | (bPressed ? VY_MOUSE_PRESS : VY_MOUSE_RELEASE);
    pRoot->OnMouseButton(ToClient(m_win, event.button.x, event.button.y), flags);
    Delivered();
}

void VyInputTranslator::HoldButton(int button)
{
    if (m_heldButtons == 0)
        m_win.SetMouseCapture(VyMouseCapture::HELD);
    m_heldButtons |= 1u << button;
}

void VyInputTranslator::ReleaseButton(int button)
{
    const unsigned int bit = 1u << button;
    if (!(m_heldButtons & bit))
        return; // pressed before the window had the mouse
    m_heldButtons &= ~bit;
    if (m_heldButtons == 0)
        m_win.SetMouseCapture(VyMouseCapture::RELEASED);
}

void VyInputTranslator::OnMouseMotion(const SDL_Event& event)
{
    VyRootWindow* pRoot = m_win.GetRootWindow();
    if (pRoot == nullptr)
        return;
    const VyPoint logical = ToLogical(m_win, event.motion.x, event.motion.y);
    if (logical.x < 0 || logical.y < 0 || logical.x >= m_win.GetClientWidth() || logical.y >= m_win.GetClientHeight())
    {
        // Seen only while a held button keeps the mouse captured.
        MouseLeft();
        return;
    }
    if (!m_bMouseInside)
    {
        m_bMouseInside = true;
        pRoot->OnMouseEntered();
    }
    pRoot->OnMouseMove(ToClient(m_win, event.motion.x, event.motion.y), HeldButtons(event.motion.state) | ModifierFlags());
    Delivered();
}

void VyInputTranslator::MouseLeft()
{
    if (!m_bMouseInside)
        return;
    m_bMouseInside = false;
    if (VyRootWindow* pRoot = m_win.GetRootWindow())
    {
        pRoot->OnMouseLeft();
        Delivered();
    }
}

void VyInputTranslator::OnMouseWheel(const SDL_Event& event)
{
    VyRootWindow* pRoot = m_win.GetRootWindow();
    int steps = event.wheel.y;
    if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
        steps = -steps;
    if (pRoot == nullptr || steps == 0)
        return;
    pRoot->OnMouseWheel(ToClient(m_win, event.wheel.mouseX, event.wheel.mouseY), steps);
    Delivered();
}

void VyInputTranslator::OnWindowEvent(const SDL_Event& event)
{
    switch (event.window.event)
    {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        m_win.ResizeClient(event.window.data1 / m_win.GetDisplayScale(), event.window.data2 / m_win.GetDisplayScale());
        VyPlatform::DispatchFrameworkMessages();
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        m_win.SetActive(false);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SHOWN:
        m_win.SetActive(true);
        m_win.RequestFrame(); // shown again while still counted active
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        m_win.RequestFrame();
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        OnFocusChange(event);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        MouseLeft();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        OnClose();
        break;
    default:
        break;
    }
}

void VyInputTranslator::OnFocusChange(const SDL_Event& event)
{
    // In full screen the program is active only while it has the focus.
    if (m_win.GetScreen().bFullScreen)
        m_win.SetActive(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
}

void VyInputTranslator::OnClose()
{
    VyRootWindow* pRoot = m_win.GetRootWindow();
    if (pRoot == nullptr)
    {
        m_win.Quit();
        return;
    }
    pRoot->OnCloseRequest();
    VyPlatform::DispatchFrameworkMessages();
}
