#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "vyio/VyConfigFile.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyNativeContext.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyString.h"
#include "vywindow/VyFrameWnd.h"
#include "vywindow/VyMainWnd.h"

// A window that writes what happens to it into a shared log: "name press 5,5 0x1201".
class VyRecordingWnd : public VyFrameWnd
{
public:
    VyRecordingWnd(VyString name, std::vector<VyString>& log) : m_name(std::move(name)), m_log(log) {}
    ~VyRecordingWnd() override { *m_pDestroyedCount += 1; }

    void OnButtonPressed(VyPoint p, int flags) override
    {
        Note(VyString::Format("press %d,%d 0x%x", p.x, p.y, flags));
        VyFrameWnd::OnButtonPressed(p, flags);
    }
    void OnButtonReleased(VyPoint p, int flags) override { Note(VyString::Format("release %d,%d 0x%x", p.x, p.y, flags)); }
    void OnMouseMoved(VyPoint p, int) override
    {
        if (m_bLogMoves)
            Note(VyString::Format("move %d,%d", p.x, p.y));
    }
    void OnUnhandledKey(int key, int flags) override { Note(VyString::Format("key %d 0x%x", key, flags)); }
    bool FilterKey(int key, int flags) override
    {
        if (key == m_nConsumedKey)
        {
            Note(VyString::Format("filter %d", key));
            return false;
        }
        return VyFrameWnd::FilterKey(key, flags);
    }
    void OnFocusGained() override
    {
        Note("focus");
        VyFrameWnd::OnFocusGained();
    }
    void OnFocusLost() override
    {
        Note("blur");
        VyFrameWnd::OnFocusLost();
    }
    void OnCaptureGained() override { Note("capture"); }
    void OnCaptureLost() override
    {
        Note("uncapture");
        VyFrameWnd::OnCaptureLost();
    }
    void OnHoverEnter(VyWnd* pPrevious) override
    {
        Note("enter");
        VyFrameWnd::OnHoverEnter(pPrevious);
    }
    void OnHoverLeave(VyWnd* pNext) override
    {
        Note("leave");
        VyFrameWnd::OnHoverLeave(pNext);
    }
    void HandleMessage(const VyMessage& msg) override
    {
        Note(VyString::Format("message %d %d", msg.id, msg.param1));
        VyFrameWnd::HandleMessage(msg);
    }
    // A caption strip of captionHeight pixels at the top of the client area (0: none).
    int GetZone(VyPoint p) const override
    {
        if (m_captionHeight > 0 && p.y >= GetClientRect().top - m_captionHeight && GetClientRect().Contains(p))
            return VY_ZONE_CAPTION;
        return VyFrameWnd::GetZone(p);
    }

    void Note(const VyString& text) { m_log.push_back(m_name + " " + text); }

    int m_captionHeight = 0;
    int m_nConsumedKey = 0;
    bool m_bLogMoves = false;
    int* m_pDestroyedCount = &m_nOwnDestroyed;

private:
    int m_nOwnDestroyed = 0;
    VyString m_name;
    std::vector<VyString>& m_log;
};

// Runs an action when its message is dispatched: input "typed" while a modal run waits, or a change
// that arrives from the queue.
class VyLater : public VyMessageTarget
{
public:
    explicit VyLater(std::function<void()> action) : m_action(std::move(action)) {}
    void HandleMessage(const VyMessage&) override { m_action(); }
    // Posts the action to run at the next dispatch.
    void Post() { VyMessageTarget::Post({this, 1001, 0, 0}); }

private:
    std::function<void()> m_action;
};

// A platform without a display, a Native context of WIDTH x HEIGHT as the current one and a main
// window of that size; the clicks' clock is the test's own.
class VyWindowTreeTest : public testing::Test
{
protected:
    static constexpr int WIDTH = 320;
    static constexpr int HEIGHT = 240;

    void SetUp() override
    {
        VyConfigFile config("vyw.cfg");
        config.SetString("Preferences", "FPS", "FALSE");
        config.SetString("Preferences", "Outline", "FALSE");
        config.Save();
        m_pPlatform = MakePlatform();
        m_context.SetColorSlotResolver([](int id) { return VyColorScheme::Global().ColorOf(id); });
        m_context.Initialize(WIDTH, HEIGHT, 32, false);
        m_pMain = std::make_unique<VyMainWnd>(WIDTH, HEIGHT);
        m_pMain->SetClickClock([this] { return m_now; });
        m_pMain->OnMouseEntered();
    }

    void TearDown() override
    {
        m_pMain->Close();
        m_pMain.reset();
        m_context.Shutdown();
        m_pPlatform.reset();
    }

    // The platform the test runs on (one without a display).
    virtual std::unique_ptr<VyPlatform> MakePlatform() { return std::make_unique<VyPlatform>(); }

    // A recording child of parent (the main window by default), visible.
    VyRecordingWnd* Add(const VyString& name, const VyRect& rect, uint32_t style = 0, VyFrameWnd* pParent = nullptr,
                        int id = 0)
    {
        VyFrameWnd& parent = pParent != nullptr ? *pParent : *m_pMain;
        return parent.CreateChild(std::make_unique<VyRecordingWnd>(name, m_log), VY_STYLE_VISIBLE | style, rect, id);
    }

    void Press(VyPoint p, int button = VY_MOUSE_LEFT) { m_pMain->OnMouseButton(p, button | VY_MOUSE_PRESS); }
    void Release(VyPoint p, int button = VY_MOUSE_LEFT) { m_pMain->OnMouseButton(p, button | VY_MOUSE_RELEASE); }
    void Click(VyPoint p, int button = VY_MOUSE_LEFT)
    {
        Press(p, button);
        Release(p, button);
    }
    void Key(int key, int flags = 0) { m_pMain->OnKey(key, VY_INPUT_KEY | flags); }
    void Type(const VyString& text)
    {
        for (char c : text)
            m_pMain->OnChar(static_cast<unsigned char>(c), VY_INPUT_KEY);
    }
    void Dispatch() { VyMessageTarget::DispatchMessages(); }
    void Frame()
    {
        m_context.BeginFrame();
        m_pMain->Draw();
        m_context.EndFrame();
    }
    uint32_t Pixel(int x, int y) const { return m_context.GetFrameBuffer()->GetPixel(x, y) & 0xFFFFFF; }
    // The log since the last call.
    std::vector<VyString> TakeLog()
    {
        std::vector<VyString> log;
        log.swap(m_log);
        return log;
    }

    std::unique_ptr<VyPlatform> m_pPlatform;
    VyNativeContext m_context;
    std::unique_ptr<VyMainWnd> m_pMain;
    std::vector<VyString> m_log;
    unsigned int m_now = 100000;
};
