#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "VyPieceSet.h"
#include "VySetLoadProgress.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyThread.h"

// Loads a piece set: its configuration file and its bitmaps, through the resource look-up.
//
// The game loads on a worker thread of the loader's own (Start): the worker fills a fresh VyPieceSet
// that nothing else sees, reports its progress, and posts MSG_SET_LOADED or MSG_SET_LOAD_FAILED to the
// target with the load's number in param1; the window thread then takes the set or the failure text
// (Take). A load that is cancelled or superseded is dropped: its message, if already posted, is
// answered as stale.
//
// Failures are VyExceptions: "*VyGameWnd::InternalLoadSet : Failed to read [General].Board" and the
// like for the set file, "*VyPiece::Load : Failed to read [Piece3].Color(Blue)" for a piece section,
// "*VyGameWnd::Load : Failed to read [Square2].Top" for a square section; resource and image errors
// pass through as they are. Counts are bounded (at most VY_MAX_SET_ITEMS pieces and squares) and so
// are picture sizes, so that a hostile set file fails instead of exhausting the machine.
class VySetLoader
{
public:
    static constexpr int VY_MAX_SET_ITEMS = 64;
    static constexpr int VY_MAX_BOARD_SIDE = 4096;
    static constexpr int VY_MAX_PIECE_SIDE = 1024;

    // What Take found for a load number.
    enum Outcome
    {
        VY_LOAD_STALE,  // not the load in progress: ignore the message
        VY_LOAD_DONE,   // the set was loaded
        VY_LOAD_FAILED, // the load failed; the failure text is empty when the reason is unknown
    };

    // Answers go to pTarget; pProgress (may be null) shows the progress. Both outlive the loader.
    VySetLoader(VyMessageTarget* pTarget, VySetLoadProgress* pProgress);
    // Cancels a running load and waits for its thread.
    ~VySetLoader();
    VySetLoader(const VySetLoader&) = delete;
    VySetLoader& operator=(const VySetLoader&) = delete;

    // "sets\<name>\<name>.cfg".
    static VyString PathOfSet(const VyString& name);
    // The set's name in a path: the file name without directory and extension.
    static VyString NameOfSet(const VyString& path);
    // A name the set look-up can take: not empty, no path separators, drive colons or "..".
    static bool IsValidSetName(const VyString& name);

    // Window thread. Cancels a running load, opens the progress display (caption "Loading ...",
    // 275 x 100, label "Loading Tolmar") and loads the set file at path on the worker thread.
    // Returns the load's number.
    int Start(const VyString& path);
    // Window thread. Stops the running load, if any (waiting for its thread), and closes the display.
    void Cancel();
    // Window thread. A load was started and its answer is not taken yet.
    bool IsLoading() const { return m_nCurrent.load() != 0; }
    // The name of the set being loaded; empty when none is.
    VyString GetLoadingName() const;

    // Window thread, on MSG_SET_LOADED or MSG_SET_LOAD_FAILED with the message's param1: hands over
    // the loaded set or the failure text and closes the progress display.
    Outcome Take(int load, VyPieceSet& set, VyString& failure);

    // Loads the set file at path on the calling thread, reporting to pProgress (may be null) as the
    // worker does. Throws the load's VyException.
    static VyPieceSet Load(const VyString& path, VySetLoadProgress* pProgress = nullptr);

private:
    static unsigned int LoaderThread(void* argument);
    void Run(int load, VyString path);
    void StopWorker();

    VyMessageTarget* m_pTarget;
    VySetLoadProgress* m_pProgress;
    VyThread m_thread;
    int m_nLastLoad = 0;
    std::atomic<int> m_nCurrent{0}; // the load the window waits for; 0 none. The worker stops when it changes.
    // The worker's load and path: written only while no worker runs, read by the worker as it starts.
    int m_nRunning = 0;
    VyString m_path;

    mutable std::mutex m_lock; // guards the finished load below
    int m_nFinished = 0;
    bool m_bFailed = false;
    VyString m_failure;
    std::unique_ptr<VyPieceSet> m_pResult;
};
