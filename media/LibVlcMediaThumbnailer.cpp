#include "LibVlcMediaThumbnailer.h"

#include "EngineThreads.h"
#include "FrameGrab.h"
#include "LibVlcMedia.h"
#include "ThumbnailFetch.h"

#include <QDeadlineTimer>
#include <chrono>
#include <condition_variable>
#include <malloc.h>
#include <memory>
#include <mutex>
#include <vector>

// Engine players grabbing at the same time; later fetches wait their turn
// within their own time-out.
static constexpr int kMaxConcurrentGrabs = 2;
// Shorter media are grabbed from the start: seeking 30 % into a clip of a few
// frames can skip all of them.
static constexpr int64_t kMinLengthForSeekMs = 1000;

// The engine slots the grabs take turns on, and the fetches under way, which
// the process stops as it exits. Each grab runs on an engine thread of its own.
class FetchWorkers {
public:
    // Never destroyed: a grab that outlives the wait at exit still reports here.
    static FetchWorkers &instance()
    {
        static auto *workers = new FetchWorkers;
        return *workers;
    }

    // False when no thread could run it.
    bool start(const std::shared_ptr<ThumbnailFetch> &fetch,
               const std::shared_ptr<LibVlcEngine> &engine,
               void (*run)(ThumbnailFetch &, FetchWorkers &))
    {
        {
            std::lock_guard lock(_mutex);
            if (_shuttingDown)
                return false;
            std::erase_if(_fetches, [](const std::weak_ptr<ThumbnailFetch> &weak) {
                const auto fetch = weak.lock();
                return !fetch || fetch->isFinished();
            });
            _fetches.push_back(fetch);
            ++_running;
        }
        const bool started = EngineThreads::instance().start(engine, [this, fetch, run] {
            run(*fetch, *this);
            fetch->markFinished();
            workerEnded();
        });
        if (!started)
            workerEnded();
        return started;
    }

    // Waits for a free slot until the fetch's deadline; false when none came.
    bool acquireSlot(ThumbnailFetch &fetch)
    {
        std::unique_lock lock(_mutex);
        _slotFreed.wait_until(lock, fetch.deadline,
                              [this] { return _freeSlots > 0 || _shuttingDown; });
        if (_freeSlots <= 0 || _shuttingDown)
            return false;
        --_freeSlots;
        return true;
    }

    void releaseSlot()
    {
        {
            std::lock_guard lock(_mutex);
            ++_freeSlots;
        }
        _slotFreed.notify_one();
    }

private:
    FetchWorkers()
    {
        EngineThreads::instance().onExit([this] { stopAll(); });
    }

    // The process is exiting: every grab winds down at once.
    void stopAll()
    {
        std::vector<std::shared_ptr<ThumbnailFetch>> running;
        {
            std::lock_guard lock(_mutex);
            _shuttingDown = true;
            for (const auto &weak : _fetches)
                if (auto fetch = weak.lock())
                    running.push_back(std::move(fetch));
            _fetches.clear();
        }
        _slotFreed.notify_all();
        for (const auto &fetch : running)
            fetch->stop();
    }

    // Decoding a frame takes tens of megabytes that the engine frees as the
    // grab ends, but that the C library keeps for the thread's pool: once no
    // grab runs, it goes back to the system, here rather than on the main thread.
    void workerEnded()
    {
        {
            std::lock_guard lock(_mutex);
            if (--_running > 0)
                return;
        }
        malloc_trim(0);
    }

    std::mutex _mutex;
    std::condition_variable _slotFreed;
    int _freeSlots = kMaxConcurrentGrabs;
    int _running = 0;
    bool _shuttingDown = false;
    std::vector<std::weak_ptr<ThumbnailFetch>> _fetches;
};

// The worker's whole job for one fetch. Every path ends in one answer, given
// before the engine player is stopped and released.
static void runFetch(ThumbnailFetch &fetch, FetchWorkers &workers)
{
    auto *media = dynamic_cast<LibVlcMedia *>(fetch.media.get());
    // Keeps the engine alive until this worker is done with it.
    const std::shared_ptr<LibVlcEngine> engine = media ? media->engine() : nullptr;
    if (!engine || !media->handle() ||
        NativePath::kind(media->path()) != NativePath::Kind::RegularFile) {
        fetch.answer(QImage());
        return;
    }

    const QDeadlineTimer parseDeadline(
        std::chrono::duration_cast<std::chrono::milliseconds>(fetch.deadline - Clock::now())
            .count());
    const VLCTime length = media->lengthWaitUntilDate(parseDeadline);
    const LibVlcMedia::ParseOutcome parsed = media->parseOutcome();
    // Audio only, or not media at all: nothing would ever be decoded.
    if (parsed.completed && !parsed.hasVideo) {
        fetch.answer(QImage());
        return;
    }
    const double aspect =
        parsed.width && parsed.height
            ? double(parsed.width) * parsed.sarNum / (double(parsed.height) * parsed.sarDen)
            : 0.0;

    if (!workers.acquireSlot(fetch)) {
        fetch.answer(QImage());
        return;
    }
    const int64_t lengthMs = length.milliseconds();
    const int64_t startMs = lengthMs >= kMinLengthForSeekMs ? lengthMs * 3 / 10 : 0;

    auto grab =
        std::make_unique<FrameGrab>(fetch, engine->instance(), media->path(), startMs, aspect);
    FrameGrab::Outcome outcome = grab->run();
    if (outcome == FrameGrab::Outcome::EndedWithoutFrame && startMs > 0) {
        // The video may be shorter than the media: try its first frame.
        grab.reset();
        grab = std::make_unique<FrameGrab>(fetch, engine->instance(), media->path(), 0, aspect);
        outcome = grab->run();
    }
    fetch.answer(outcome == FrameGrab::Outcome::Frame ? grab->frame() : QImage());
    workers.releaseSlot();
    grab.reset();
}

LibVlcMediaThumbnailer::LibVlcMediaThumbnailer(VLCMediaPtr media,
                                               VLCMediaThumbnailerDelegate *delegate)
    : _media(std::move(media))
    , _delegate(delegate)
{
}

LibVlcMediaThumbnailer::~LibVlcMediaThumbnailer()
{
    for (const auto &fetch : _fetches)
        fetch->stop();
}

void LibVlcMediaThumbnailer::fetchThumbnail()
{
    std::erase_if(_fetches, [](const auto &fetch) { return fetch->isFinished(); });
    auto fetch = std::make_shared<ThumbnailFetch>(_media, _delegate, this);
    _fetches.push_back(fetch);
    auto *media = dynamic_cast<LibVlcMedia *>(_media.get());
    // No thread to run it on: the answer comes at once.
    if (!FetchWorkers::instance().start(fetch, media ? media->engine() : nullptr, &runFetch))
        fetch->answer(QImage());
}
