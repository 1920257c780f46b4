#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "vycontrol/VyStandardControls.h"
#include "vyio/VyConfigFile.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyNativeContext.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"
#include "vywindow/VyFrameWnd.h"
#include "vywindow/VyMainWnd.h"

// A platform without a display whose beeps and clipboard the tests see.
class VyTestPlatform : public VyPlatform
{
public:
    void Beep() override { ++m_nBeeps; }
    VyString GetClipboardText() override { return m_clipboard; }
    void SetClipboardText(const VyString& text) override { m_clipboard = text; }
    bool HasClipboardText() override { return !m_clipboard.empty(); }

    int m_nBeeps = 0;
    VyString m_clipboard;
};

// A frame window that keeps the commands and state messages its controls post to it.
class VyCommandSink : public VyFrameWnd
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == VY_MSG_COMMAND)
            m_commands.push_back(msg.param1);
        else if (msg.id == VY_MSG_BUTTON_STATE)
            m_states.push_back(msg.param2);
        else
            VyFrameWnd::HandleMessage(msg);
    }
    std::vector<int> m_commands;
    std::vector<int> m_states;
};

// The test platform, a Native context with the colour scheme, the standard controls, and a main window
// holding one command sink that fills it.
class VyControlTest : public testing::Test
{
protected:
    static constexpr int WIDTH = 320;
    static constexpr int HEIGHT = 240;

    void SetUp() override
    {
        VyConfigFile config("vyw.cfg");
        config.SetString("Preferences", "FPS", "FALSE");
        config.Save();
        m_pPlatform = std::make_unique<VyTestPlatform>();
        m_context.SetColorSlotResolver([](int id) { return VyColorScheme::Global().ColorOf(id); });
        m_context.Initialize(WIDTH, HEIGHT, 32, false);
        VyStandardControls::Install();
        m_pMain = std::make_unique<VyMainWnd>(WIDTH, HEIGHT);
        m_pMain->SetClickClock([this] { return m_now; });
        m_pMain->OnMouseEntered();
        m_pSink = m_pMain->CreateChild(std::make_unique<VyCommandSink>(), VY_STYLE_VISIBLE, {0, HEIGHT, WIDTH, 0});
        m_pSink->SetBackgroundColor(VyColor(0x405060));
    }

    void TearDown() override
    {
        m_pMain->Close();
        m_pMain.reset();
        VyControlFactory::Install(nullptr);
        m_context.Shutdown();
        m_pPlatform.reset();
    }

    // A control made by the factory from a description, in the sink.
    template <class T>
    T* Make(VyControlKind kind, const VyRect& rect, uint32_t style, const VyString& text = {}, int id = 201)
    {
        VyControlDesc desc;
        desc.kind = kind;
        desc.rect = rect;
        desc.style = style;
        desc.value = text;
        desc.id = id;
        return dynamic_cast<T*>(VyControlFactory::Get()->CreateControl(*m_pSink, desc));
    }

    void Press(VyPoint p, int button = VY_MOUSE_LEFT) { m_pMain->OnMouseButton(p, button | VY_MOUSE_PRESS); }
    void Release(VyPoint p, int button = VY_MOUSE_LEFT) { m_pMain->OnMouseButton(p, button | VY_MOUSE_RELEASE); }
    void Click(VyPoint p)
    {
        Press(p);
        Release(p);
    }
    void Key(int key, int flags = 0) { m_pMain->OnKey(key, VY_INPUT_KEY | flags); }
    void Type(const VyString& text)
    {
        for (char c : text)
            m_pMain->OnChar(static_cast<unsigned char>(c), VY_INPUT_KEY);
    }
    void Dispatch() { VyMessageTarget::DispatchMessages(); }
    // One 50 ms timer tick, and the messages it caused.
    void Tick()
    {
        VyMessageQueue::Current()->ProcessTimers();
        Dispatch();
    }
    void Frame()
    {
        m_context.BeginFrame();
        m_pMain->Draw();
        m_context.EndFrame();
    }
    uint32_t Pixel(int x, int y) const { return m_context.GetFrameBuffer()->GetPixel(x, y) & 0xFFFFFF; }
    static uint32_t SlotColor(int slot) { return VyColorScheme::Global().GetSlot(slot).color; }

    std::unique_ptr<VyTestPlatform> m_pPlatform;
    VyNativeContext m_context;
    std::unique_ptr<VyMainWnd> m_pMain;
    VyCommandSink* m_pSink = nullptr;
    unsigned int m_now = 100000;
};
