#pragma once

#include "LibVlcEngine.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Every thread that works in the engine (each player's worker, each thumbnail
// grab) is detached and counted here: joining one stuck in a multi-second stop
// would hold the process, and a std::thread still joinable at exit would abort
// it. As the application object goes (before any static destructor, so that
// libraries the engine's threads use are still whole) the process asks the
// running ones to end and waits a bounded time for the count to reach zero.
// Past it, the engine is kept for the rest of the process and late threads
// leave libVLC alone, so nothing uses the engine after its release.
class EngineThreads {
public:
    static constexpr int kExitWaitMs = 1000;

    // Never destroyed: a thread that outlives the wait still reports here.
    static EngineThreads &instance();

    // Runs `body` on a detached thread counted until `body` returns; false,
    // and nothing run, once the process has started to exit.
    bool start(const std::shared_ptr<LibVlcEngine> &engine, std::function<void()> body);

    // Asks threads to wind down when the process exits, before the wait.
    void onExit(std::function<void()> ask);

    // Past the wait at exit: the process is ending, threads leave libVLC alone.
    bool isAbandoned();

    // Runs a thread's last engine work, unless the process has stopped
    // waiting for it. Called by the thread itself, before `body` returns.
    template <typename Work> void lastEngineWork(Work work)
    {
        std::lock_guard lock(_mutex);
        if (!_abandoned)
            work();
    }

private:
    EngineThreads() = default;
    void ended();
    void waitAtExit();

    std::mutex _mutex;
    std::condition_variable _ended;
    int _running = 0;
    bool _exiting = false;
    bool _abandoned = false;
    std::vector<std::function<void()>> _exitAsks;
    std::weak_ptr<LibVlcEngine> _engine;
    std::shared_ptr<LibVlcEngine> _keptEngine;
};
