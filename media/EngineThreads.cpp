#include "EngineThreads.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

EngineThreads &EngineThreads::instance()
{
    static auto *threads = [] {
        qAddPostRoutine([] { instance().waitAtExit(); });
        return new EngineThreads;
    }();
    return *threads;
}

bool EngineThreads::start(const std::shared_ptr<LibVlcEngine> &engine, std::function<void()> body)
{
    {
        std::lock_guard lock(_mutex);
        if (_exiting)
            return false;
        ++_running;
        if (engine)
            _engine = engine;
    }
    try {
        std::thread([this, body = std::move(body)] {
            body();
            ended();
        }).detach();
    } catch (const std::system_error &) {
        ended();
        return false;
    }
    return true;
}

void EngineThreads::onExit(std::function<void()> ask)
{
    std::lock_guard lock(_mutex);
    _exitAsks.push_back(std::move(ask));
}

bool EngineThreads::isAbandoned()
{
    std::lock_guard lock(_mutex);
    return _abandoned;
}

void EngineThreads::ended()
{
    std::lock_guard lock(_mutex);
    --_running;
    _ended.notify_all();
}

void EngineThreads::waitAtExit()
{
    std::vector<std::function<void()>> asks;
    {
        std::lock_guard lock(_mutex);
        _exiting = true;
        asks.swap(_exitAsks);
    }
    // Outside the lock: an ask may wait for a thread that is reporting here.
    for (const auto &ask : asks)
        ask();
    std::unique_lock lock(_mutex);
    if (_ended.wait_for(lock, std::chrono::milliseconds(kExitWaitMs),
                        [this] { return _running == 0; }))
        return;
    _abandoned = true;
    _keptEngine = _engine.lock();
}
