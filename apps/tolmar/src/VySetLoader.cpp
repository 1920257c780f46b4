#include "VySetLoader.h"

#include "VyGameTypes.h"
#include "VySetFileReader.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
const char* const PROGRESS_CAPTION = "Loading ...";
const VySize PROGRESS_SIZE{275, 100};
const char* const PROGRESS_FIRST_LABEL = "Loading Tolmar";
} // namespace

VySetLoader::VySetLoader(VyMessageTarget* pTarget, VySetLoadProgress* pProgress)
    : m_pTarget(pTarget), m_pProgress(pProgress)
{
}

VySetLoader::~VySetLoader()
{
    StopWorker();
}

VyString VySetLoader::PathOfSet(const VyString& name)
{
    return "sets\\" + name + "\\" + name + ".cfg";
}

VyString VySetLoader::NameOfSet(const VyString& path)
{
    const size_t slash = path.find_last_of("\\/");
    VyString name = slash == VyString::npos ? path : VyString(path.substr(slash + 1));
    const size_t dot = name.find_last_of('.');
    if (dot != VyString::npos)
        name.erase(dot);
    return name;
}

bool VySetLoader::IsValidSetName(const VyString& name)
{
    return !name.empty() && name.find_first_of("\\/:") == VyString::npos && name.find("..") == VyString::npos;
}

void VySetLoader::StopWorker()
{
    m_nCurrent.store(0);
    m_thread.Wait(VY_INFINITE);
}

int VySetLoader::Start(const VyString& path)
{
    Cancel();
    m_nRunning = ++m_nLastLoad;
    m_path = path;
    m_nCurrent.store(m_nRunning);
    if (m_pProgress)
        m_pProgress->Open(PROGRESS_CAPTION, PROGRESS_SIZE, PROGRESS_FIRST_LABEL);
    if (!m_thread.Start(LoaderThread, this))
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_nFinished = m_nRunning;
        m_bFailed = true;
        m_failure = VyException("VyGameWnd", "LoadSet", "Could not start the set loader's thread").GetMessage();
        VyMessageTarget::Post({m_pTarget, MSG_SET_LOAD_FAILED, m_nRunning, 0});
    }
    return m_nRunning;
}

void VySetLoader::Cancel()
{
    const bool wasLoading = IsLoading();
    StopWorker();
    if (wasLoading && m_pProgress)
        m_pProgress->Close();
}

VyString VySetLoader::GetLoadingName() const
{
    return IsLoading() ? NameOfSet(m_path) : VyString();
}

VySetLoader::Outcome VySetLoader::Take(int load, VyPieceSet& set, VyString& failure)
{
    if (load == 0 || load != m_nCurrent.load())
        return VY_LOAD_STALE;
    std::unique_ptr<VyPieceSet> result;
    bool failed = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_nFinished != load)
            return VY_LOAD_STALE;
        failed = m_bFailed;
        failure = m_failure;
        result = std::move(m_pResult);
        m_nFinished = 0;
    }
    // The worker posted as its last act: let its thread end before the next load may start one.
    m_thread.Wait(VY_INFINITE);
    m_nCurrent.store(0);
    if (m_pProgress)
        m_pProgress->Close();
    if (failed || !result)
        return VY_LOAD_FAILED;
    set = std::move(*result);
    return VY_LOAD_DONE;
}

VyPieceSet VySetLoader::Load(const VyString& path, VySetLoadProgress* pProgress)
{
    return VySetFileReader(path, pProgress, nullptr, 0).Read();
}

unsigned int VySetLoader::LoaderThread(void* argument)
{
    VySetLoader* loader = static_cast<VySetLoader*>(argument);
    loader->Run(loader->m_nRunning, loader->m_path);
    return 0;
}

// InternalLoadSet: the worker's whole life.
void VySetLoader::Run(int load, VyString path)
{
    std::unique_ptr<VyPieceSet> result;
    VyString failure;
    try
    {
        result = std::make_unique<VyPieceSet>(VySetFileReader(path, m_pProgress, &m_nCurrent, load).Read());
    }
    catch (const VyException& error)
    {
        failure = error.GetMessage();
    }
    catch (const std::exception& error)
    {
        // Out of memory and the like: the reason is reported to the trace, the user hears of an
        // unknown reason.
        VyTrace::Write(VyString("VySetLoader : ") + error.what() + "\n");
    }
    if (m_nCurrent.load() != load)
        return; // given up: nobody waits for this answer
    const bool failed = !result;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_nFinished = load;
        m_bFailed = failed;
        m_failure = failure;
        m_pResult = std::move(result);
    }
    VyMessageTarget::Post({m_pTarget, failed ? MSG_SET_LOAD_FAILED : MSG_SET_LOADED, load, 0});
}
