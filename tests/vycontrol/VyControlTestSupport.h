#pragma once

#include <gtest/gtest.h>

#include <functional>
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
#include "vywindow/VyWindowTestSupport.h"

// A platform without a display whose beeps, clipboard and opened links the tests see.
class VyTestPlatform : public VyPlatform
{
public:
    void Beep() override { ++m_nBeeps; }
    VyString GetClipboardText() override { return m_clipboard; }
    void SetClipboardText(const VyString& text) override { m_clipboard = text; }
    bool HasClipboardText() override { return !m_clipboard.empty(); }
    void OpenHyperlink(const VyString& link) override { m_links.push_back(link); }

    int m_nBeeps = 0;
    VyString m_clipboard;
    std::vector<VyString> m_links;
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

// Steps of input that run one after the other while modal runs wait. Each step is posted before the one
// ahead of it runs, so that a step that opens a nested modal box finds its answer in the next; and each
// waits one round of the queue, so that what the step ahead of it posted is dispatched first.
class VyScript : public VyMessageTarget
{
public:
    VyScript& Then(std::function<void()> step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    void Start() { VyMessageTarget::Post({this, 1001, 0, 0}); }
    bool IsDone() const { return m_next >= m_steps.size(); }
    void HandleMessage(const VyMessage&) override
    {
        if (IsDone())
            return;
        m_bWaited = !m_bWaited;
        if (m_bWaited)
        {
            Start();
            return;
        }
        const size_t current = m_next++;
        if (!IsDone())
            Start();
        m_steps[current]();
    }

private:
    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    bool m_bWaited = false;
};

// The window-tree fixture on the test platform, with the standard controls and one command sink that
// fills the main window.
class VyControlTest : public VyWindowTreeTest
{
protected:
    void SetUp() override
    {
        VyWindowTreeTest::SetUp();
        VyStandardControls::Install();
        m_pSink = m_pMain->CreateChild(std::make_unique<VyCommandSink>(), VY_STYLE_VISIBLE, {0, HEIGHT, WIDTH, 0});
        m_pSink->SetBackgroundColor(VyColor(0x405060));
    }

    void TearDown() override
    {
        VyWindowTreeTest::TearDown();
        VyControlFactory::Install(nullptr);
    }

    std::unique_ptr<VyPlatform> MakePlatform() override { return std::make_unique<VyTestPlatform>(); }
    VyTestPlatform& Platform() { return static_cast<VyTestPlatform&>(*m_pPlatform); }

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

    // One 50 ms timer tick, and the messages it caused.
    void Tick()
    {
        VyMessageQueue::Current()->ProcessTimers();
        Dispatch();
    }
    static uint32_t SlotColor(int slot) { return VyColorScheme::Global().GetSlot(slot).color; }
    // How many pixels of rect (root coordinates) the last frame drew in a slot's colour.
    int CountSlotPixels(const VyRect& rect, int slot) const
    {
        int count = 0;
        for (int y = rect.bottom; y < rect.top; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += Pixel(x, y) == SlotColor(slot);
        return count;
    }

    VyCommandSink* m_pSink = nullptr;
};
