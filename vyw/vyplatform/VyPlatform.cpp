#include "vyplatform/VyPlatform.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyplatform/VyColorScheme.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyClock.h"
#include "vythread/VyException.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyThread.h"
#include "vythread/VyTrace.h"

namespace
{
std::atomic<VyPlatform*> g_pPlatform{nullptr};

// Metrics 3 to 13 and 15 to 23 are fixed; the controls that read them give them their roles.
constexpr int FIXED_METRICS[VY_NUMBER_OF_SYS_METRICS] = {
    16, 16, 530, 12, 12, 1, 1, 2, 2, 5, 2, 1, 1, 2, 500, 20, 75, 25, 3, 3, 500, 50, 2, 2};

// How long a wait for a flag sleeps between two looks off the main thread.
constexpr unsigned int OTHER_THREAD_WAIT_MS = 100;
} // namespace

VyPlatform::VyPlatform()
{
    VY_ASSERT(g_pPlatform.load() == nullptr);
    g_pPlatform.store(this);
    VyResourceSource::SetCurrent(this);
    OpenArchive();
    VyConfigFile config("vyw.cfg");
    m_screen = VyScreenSettings::Read(config);
    VyThread::SetMainThread(std::this_thread::get_id());
    FillSysMetrics();
}

VyPlatform::~VyPlatform()
{
    DeleteRootWindow();
    DeleteRenderContext();
    if (VyResourceSource::GetCurrent() == this)
        VyResourceSource::SetCurrent(nullptr);
    VyPlatform* self = this;
    g_pPlatform.compare_exchange_strong(self, nullptr);
}

VyPlatform* VyPlatform::Get()
{
    return g_pPlatform.load();
}

bool VyPlatform::GetEmbeddedArchive(const unsigned char*& data, int& length) const
{
    return VyArchive::GetLinkedImage(data, length);
}

void VyPlatform::OpenArchive()
{
    m_archive.Close();
    try
    {
        const unsigned char* data = nullptr;
        int length = 0;
        if (GetEmbeddedArchive(data, length))
            m_archive.Attach(std::make_unique<VyMemFile>(data, length));
    }
    catch (VyException& error)
    {
        error.AddContext("VyPlatform", "OpenArchive", "the embedded archive is not used");
        error.Report();
    }
    if (m_archive.HasEntries())
        return;
    try
    {
        m_archive.Open("resource.vya");
    }
    catch (VyException& error)
    {
        error.AddContext("VyPlatform", "OpenArchive", "the archive file is not used");
        error.Report();
    }
}

void VyPlatform::GetResourceFile(const VyString& path, VyIO& out)
{
    if (m_archive.GetFile(path, out))
        return;
    VyResourceSource::FetchFromDisk(path, out);
}

// -- Settings, command line, titles, metrics ---------------------------------------------------------

void VyPlatform::SetCommandLine(int argc, const char* const* argv)
{
    m_commandWords.clear();
    for (int i = 1; i < argc; ++i)
        m_commandWords.emplace_back(argv[i]);
    m_nQuitAfterFrames = 0;
    for (size_t i = 0; i + 1 < m_commandWords.size(); ++i)
        if (m_commandWords[i] == "--quit-after-frames")
            m_nQuitAfterFrames = std::max(0, m_commandWords[i + 1].ToInt());
}

void VyPlatform::SetTitle(const VyString& title)
{
    m_baseTitle = title;
    m_title = m_subTitle.empty() ? m_baseTitle : m_baseTitle + " - " + m_subTitle;
    ApplyTitle();
}

void VyPlatform::SetSubTitle(const VyString& subTitle)
{
    m_subTitle = subTitle;
    SetTitle(m_baseTitle);
}

void VyPlatform::ApplyTitle()
{
}

void VyPlatform::SetFixedSize(bool bFixed)
{
    m_bFixedSize = bFixed;
    ApplyFixedSize();
}

void VyPlatform::ApplyFixedSize()
{
}

int VyPlatform::GetSysMetric(int sysMetric) const
{
    VY_ASSERT_TEXT(sysMetric >= 0 && sysMetric < VY_NUMBER_OF_SYS_METRICS,
                   "sysMetric>=0 && sysMetric<NUMBER_OF_SYS_METRICS");
    if (sysMetric < 0 || sysMetric >= VY_NUMBER_OF_SYS_METRICS)
        return 0;
    return m_sysMetrics[sysMetric];
}

void VyPlatform::FillSysMetrics()
{
    std::memcpy(m_sysMetrics, FIXED_METRICS, sizeof m_sysMetrics);
}

// -- Program control ---------------------------------------------------------------------------------

void VyPlatform::QuitAfterFailure()
{
    m_bFailed.store(true);
    Quit();
}

void VyPlatform::Quit()
{
    m_bQuit.store(true);
    WakeEventWait();
}

void VyPlatform::Restart()
{
    m_bRestart = true;
    Quit();
}

void VyPlatform::Beep()
{
}

bool VyPlatform::IsMainThread() const
{
    return VyThread::IsMainThread();
}

bool VyPlatform::WaitForFlag(const std::atomic<bool>& flag)
{
    if (!IsMainThread())
    {
        while (!flag.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(OTHER_THREAD_WAIT_MS));
        return true;
    }
    DispatchFrameworkMessages();
    while (!flag.load())
    {
        if (IsQuitRequested())
            return false;
        PumpEventsAndFrameStep(VY_INFINITE);
    }
    return true;
}

void VyPlatform::PumpEvents(unsigned int maxWaitMs)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(maxWaitMs));
}

void VyPlatform::WakeEventWait()
{
}

unsigned int VyPlatform::GetIdleWaitMs() const
{
    if (IsQuitRequested() || IsFrameDue())
        return 0;
    return m_frameClock.GetMsUntilTimerTick();
}

void VyPlatform::PumpEventsAndFrameStep(unsigned int maxWaitMs)
{
    PumpEvents(std::min(maxWaitMs, GetIdleWaitMs()));
    if (!IsQuitRequested())
        FrameStep();
}

void VyPlatform::DispatchFrameworkMessages()
{
    if (VyMessageQueue::Current() != nullptr)
        VyMessageTarget::DispatchMessages();
}

bool VyPlatform::RenderFrame()
{
    if (!m_pRenderContext || !m_pRootWindow)
        return false;
    m_pRenderContext->BeginFrame();
    m_pRootWindow->Draw();
    m_pRenderContext->EndFrame();
    m_frameClock.CountFrame();
    m_pRenderContext->ClearStatistics();
    ++m_nFramesRendered;
    if (m_nQuitAfterFrames > 0 && m_nFramesRendered >= m_nQuitAfterFrames)
        Quit();
    return true;
}

VyString VyPlatform::GetClipboardText()
{
    return {};
}

void VyPlatform::SetClipboardText(const VyString&)
{
}

bool VyPlatform::HasClipboardText()
{
    return false;
}

VyString VyPlatform::GetDefaultDirectory() const
{
    return ".\\";
}

void VyPlatform::OpenHyperlink(const VyString&)
{
}

bool VyPlatform::AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath)
{
    if (m_pFileDialogHost == nullptr)
    {
        VyTrace::Write("VyPlatform::AskFileName : no file dialog is installed\n");
        return false;
    }
    return m_pFileDialogHost->AskFileName(mode, defaultName, outPath);
}

bool VyPlatform::ChangeDisplayMode(int fullScreen, int bits, int context, int width, int height)
{
    if (fullScreen >= 0)
        m_screen.bFullScreen = fullScreen != 0;
    if (bits > 0)
        m_screen.bits = bits;
    if (context > 0)
        m_screen.context = context;
    if (width > 0)
        m_screen.resX = width;
    if (height > 0)
        m_screen.resY = height;
    VyConfigFile config("vyw.cfg");
    m_screen.scale = VyScreenSettings::ReadScale(config, m_screen.resX, m_screen.resY);
    return true;
}

void VyPlatform::ChangeColorScheme(const VyString& fileName)
{
    VyConfigFile config("vyw.cfg");
    config.SetString("Preferences", "Color Scheme", fileName);
    config.Save();
    LoadColorScheme();
}

bool VyPlatform::ChangeWindowMode(VyWindowMode mode)
{
    const bool bCreated = ChangeDisplayMode(mode == VyWindowMode::FULL_SCREEN ? 1 : 0, 0, 0, 0, 0);
    VyConfigFile config("vyw.cfg");
    const VyWindowMode inEffect = m_screen.bFullScreen ? VyWindowMode::FULL_SCREEN : VyWindowMode::WINDOWED;
    VyScreenSettings::WriteWindowMode(config, inEffect);
    return bCreated;
}

bool VyPlatform::ChangeScale(int scale)
{
    if (scale < VyScreenSettings::VY_AUTOMATIC_SCALE || scale > VyScreenSettings::VY_MAX_SCALE)
        return false;
    m_screen.scale = scale;
    VyConfigFile config("vyw.cfg");
    VyScreenSettings::WriteScale(config, scale);
    return ChangeDisplayMode(-1, 0, 0, 0, 0);
}

void VyPlatform::StartSockets()
{
    if (m_nSocketStarts++ == 0)
        std::signal(SIGPIPE, SIG_IGN);
}

void VyPlatform::StopSockets()
{
    VY_ASSERT(m_nSocketStarts > 0);
    if (m_nSocketStarts > 0)
        --m_nSocketStarts;
}

VyString VyPlatform::GetErrorText(int errorCode)
{
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which need not be in the buffer.
    return strerror_r(errorCode, buffer, sizeof buffer);
}

void VyPlatform::SetSystemCursorVisible(bool)
{
}

void VyPlatform::ShowError(const VyString& caption, const VyString& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

// -- Main window, render context, frame step ---------------------------------------------------------

void VyPlatform::SetRootWindow(std::unique_ptr<VyRootWindow> pWindow)
{
    DeleteRootWindow();
    m_pRootWindow = std::move(pWindow);
    if (m_pRootWindow && m_pRenderContext)
        m_pRootWindow->Resize(m_clientWidth, m_clientHeight);
    RequestFrame();
}

void VyPlatform::DeleteRootWindow()
{
    if (!m_pRootWindow)
        return;
    m_pRootWindow->Close();
    m_pRootWindow.reset();
}

void VyPlatform::SetRenderContext(std::unique_ptr<VyRenderContext> pContext)
{
    DeleteRenderContext();
    m_pRenderContext = std::move(pContext);
}

void VyPlatform::InitializeRenderContext(int width, int height)
{
    VY_ASSERT(m_pRenderContext);
    if (!m_pRenderContext)
        return;
    m_pRenderContext->SetColorSlotResolver([](int slotId) { return VyColorScheme::Global().ColorOf(slotId); });
    m_pRenderContext->SetDisplayScale(m_nDisplayScale);
    m_pRenderContext->Initialize(width, height, m_screen.bits, m_screen.bFullScreen);
    SetClientSize(width, height);
    LoadColorScheme();
}

void VyPlatform::LoadColorScheme()
{
    const VyRenderContext* pContext = VyRenderContext::GetCurrent();
    const bool bBlending = pContext != nullptr && pContext->SupportsAlphaBlending();
    VyColorScheme::Global().LoadConfigured(bBlending ? VyAlphaBlending::SUPPORTED : VyAlphaBlending::UNSUPPORTED);
    RequestFrame();
}

void VyPlatform::DeleteRenderContext()
{
    if (!m_pRenderContext)
        return;
    // The main window and the colour scheme hold textures of the context: they go first.
    if (m_pRootWindow)
        m_pRootWindow->ReleaseTextures();
    VyColorScheme::Global().ResetToDefaults();
    m_pRenderContext->Shutdown();
    m_pRenderContext.reset();
}

void VyPlatform::SetClientSize(int width, int height)
{
    m_clientWidth = width;
    m_clientHeight = height;
}

void VyPlatform::ResizeClient(int width, int height)
{
    SetClientSize(width, height);
    if (m_pRenderContext)
        m_pRenderContext->Resize(width, height);
    if (m_pRootWindow)
        m_pRootWindow->Resize(width, height);
    RequestFrame();
}

void VyPlatform::SetActive(bool bActive)
{
    if (m_bActive == bActive)
        return;
    m_bActive = bActive;
    if (m_pRootWindow)
        m_pRootWindow->OnActivate(bActive);
    if (bActive)
        RequestFrame();
}

void VyPlatform::RequestFrame()
{
    // Only the first request wakes the loop: later ones find it awake with a frame still to draw. On
    // the main thread the loop is not waiting (it looks at the request before it waits).
    if (!m_bFrameRequested.exchange(true) && !IsMainThread())
        WakeEventWait();
}

bool VyPlatform::IsDrawingContinuously() const
{
    return m_screen.bShowFps || m_nQuitAfterFrames > 0;
}

bool VyPlatform::IsFrameDue() const
{
    return m_bActive && m_pRenderContext && m_pRootWindow && (IsDrawingContinuously() || IsFrameRequested());
}

bool VyPlatform::FrameStep()
{
    m_frameClock.LimitFrameRate();
    if (m_frameClock.IsTimerTickDue() && VyMessageQueue::Current() != nullptr)
    {
        VyMessageTarget::ProcessTimers();
        VyMessageTarget::DispatchMessages();
    }
    if (!IsFrameDue())
        return false;
    // Cleared before drawing: what the drawing itself asks for is the next frame.
    m_bFrameRequested.store(false);
    return RenderFrame();
}
