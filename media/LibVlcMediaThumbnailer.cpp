#include "LibVlcMediaThumbnailer.h"

#include "LibVlcMedia.h"
#include "NativePath.h"

#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <list>
#include <malloc.h>
#include <mutex>
#include <thread>
#include <vlc/vlc.h>

using Clock = std::chrono::steady_clock;

// Engine players grabbing at the same time; later fetches wait their turn
// within their own time-out.
static constexpr int kMaxConcurrentGrabs = 2;
// After the end, the last frame may still be on its way to the callbacks.
static constexpr auto kEndGrace = std::chrono::milliseconds(500);
// Shorter media are grabbed from the start: seeking 30 % into a clip of a few
// frames can skip all of them.
static constexpr int64_t MinLengthForSeekMs = 1000;

// One fetch: the answer bookkeeping and what the worker's engine callbacks
// report. Shared by the worker (which owns it) and the thumbnailer (which may
// only cancel it).
class ThumbnailFetch {
public:
    ThumbnailFetch(VLCMediaPtr media, VLCMediaThumbnailerDelegate *delegate,
                   VLCMediaThumbnailer *thumbnailer)
        : media(std::move(media))
        , _delegate(delegate)
        , _thumbnailer(thumbnailer)
    {
    }

    // The one answer; a null image is the time-out. The lock is held during
    // the call so that the thumbnailer's destructor, on another thread, waits
    // for it to return. It is recursive so that the delegate may destroy the
    // thumbnailer from inside the call.
    void answer(const QImage &image)
    {
        std::lock_guard answerLock(_answerMutex);
        if (_answered || isStopping())
            return;
        _answered = true;
        if (image.isNull())
            _delegate->mediaThumbnailerDidTimeOut(_thumbnailer);
        else
            _delegate->mediaThumbnailerDidFinishThumbnail(_thumbnailer, image);
    }

    // The thumbnailer is going away, or the process is: no answer any more,
    // and the worker winds down at once.
    void stop()
    {
        {
            std::lock_guard answerLock(_answerMutex);
            std::lock_guard lock(mutex);
            stopping = true;
            changed.notify_all();
        }
        // The worker may still wait for the media's parse.
        if (media)
            media->parseStop();
    }

    bool isStopping()
    {
        std::lock_guard lock(mutex);
        return stopping;
    }

    void markFinished()
    {
        std::lock_guard lock(mutex);
        finished = true;
    }

    bool isFinished()
    {
        std::lock_guard lock(mutex);
        return finished;
    }

    const VLCMediaPtr media;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(LibVlcMediaThumbnailer::kTimeoutMs);

    // Guards the fields below and whatever a grab keeps in this fetch's name.
    std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;
    bool finished = false;

private:
    std::recursive_mutex _answerMutex;
    bool _answered = false;
    VLCMediaThumbnailerDelegate *const _delegate;
    VLCMediaThumbnailer *const _thumbnailer;
};

// Every worker thread, so that none is left using libVLC when the process
// exits, and the engine slots they take turns on.
class FetchWorkers {
public:
    static FetchWorkers &instance()
    {
        static FetchWorkers workers;
        return workers;
    }

    ~FetchWorkers()
    {
        std::list<Worker> workers;
        {
            std::lock_guard lock(_mutex);
            _shuttingDown = true;
            workers.swap(_workers);
        }
        _slotFreed.notify_all();
        for (Worker &worker : workers)
            worker.fetch->stop();
        for (Worker &worker : workers)
            worker.thread.join();
    }

    void start(const std::shared_ptr<ThumbnailFetch> &fetch,
               void (*run)(ThumbnailFetch &, FetchWorkers &))
    {
        // The workers that have ended since the last start are joined on the
        // way out, once the lock is released: one may still be about to take
        // it to count itself out (workerEnded).
        std::list<Worker> done;
        const auto joinEnded = qScopeGuard([&done] {
            for (Worker &worker : done)
                worker.thread.join();
        });
        std::lock_guard lock(_mutex);
        for (auto it = _workers.begin(); it != _workers.end();) {
            auto next = std::next(it);
            if (it->fetch->isFinished())
                done.splice(done.end(), _workers, it);
            it = next;
        }
        if (_shuttingDown)
            return;
        ++_running;
        _workers.push_back({fetch, std::thread([this, fetch, run] {
                                run(*fetch, *this);
                                fetch->markFinished();
                                workerEnded();
                            })});
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
    FetchWorkers() = default;

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

    struct Worker {
        std::shared_ptr<ThumbnailFetch> fetch;
        std::thread thread;
    };

    std::mutex _mutex;
    std::condition_variable _slotFreed;
    int _freeSlots = kMaxConcurrentGrabs;
    int _running = 0;
    bool _shuttingDown = false;
    std::list<Worker> _workers;
};

// The largest size of the given aspect (width / height) inside the box.
static QSize fitInBox(double aspect)
{
    const int maxWidth = LibVlcMediaThumbnailer::kMaxWidth;
    const int maxHeight = LibVlcMediaThumbnailer::kMaxHeight;
    if (!(aspect > 0))
        return QSize(maxWidth, maxHeight);
    int width = maxWidth;
    int height = int(std::lround(maxWidth / aspect));
    if (height > maxHeight) {
        height = maxHeight;
        width = int(std::lround(maxHeight * aspect));
    }
    return QSize(std::clamp(width, 1, maxWidth), std::clamp(height, 1, maxHeight));
}

// One windowless engine player decoding into our own small buffers. Created,
// run and destroyed on the worker thread; the callbacks below come from
// libVLC's threads and only record, under the fetch's lock.
class FrameGrab {
public:
    enum class Outcome { Frame, EndedWithoutFrame, Failed, TimedOut, Stopped };

    FrameGrab(ThumbnailFetch &fetch, libvlc_instance_t *instance, const QString &path,
              int64_t startMs, double aspect)
        : _fetch(fetch)
        , _aspect(aspect)
    {
        _media = libvlc_media_new_path(instance, NativePath::toNative(path).constData());
        if (!_media)
            return;
        libvlc_media_add_option(_media, ":no-audio");
        libvlc_media_add_option(_media, ":no-spu");
        if (startMs > 0) {
            const QByteArray start = ":start-time=" + QByteArray::number(startMs / 1000.0, 'f', 3);
            libvlc_media_add_option(_media, start.constData());
        }
        _player = libvlc_media_player_new_from_media(_media);
        if (!_player)
            return;
        libvlc_video_set_callbacks(_player, &FrameGrab::lock, &FrameGrab::unlock, nullptr, this);
        libvlc_video_set_format_callbacks(_player, &FrameGrab::setup, nullptr);
        libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
        for (libvlc_event_type_t type : WatchedEvents)
            libvlc_event_attach(events, type, &FrameGrab::handleEvent, this);
    }

    // Stopping blocks for tens of milliseconds: callers answer first.
    ~FrameGrab()
    {
        if (_player) {
            libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
            for (libvlc_event_type_t type : WatchedEvents)
                libvlc_event_detach(events, type, &FrameGrab::handleEvent, this);
            libvlc_media_player_stop(_player);
        }
        if (_media)
            libvlc_media_release(_media);
        if (_player)
            libvlc_media_player_release(_player);
    }

    Outcome run()
    {
        if (!_player || libvlc_media_player_play(_player) != 0)
            return Outcome::Failed;
        std::unique_lock lock(_fetch.mutex);
        Clock::time_point endedAt;
        for (;;) {
            if (_fetch.stopping)
                return Outcome::Stopped;
            if (!_frame.isNull())
                return Outcome::Frame;
            if (_failed)
                return Outcome::Failed;
            const Clock::time_point now = Clock::now();
            if (_ended && endedAt == Clock::time_point())
                endedAt = now;
            if (_ended && (_stoppedAfterEnd || now >= endedAt + kEndGrace))
                return Outcome::EndedWithoutFrame;
            if (now >= _fetch.deadline)
                return Outcome::TimedOut;
            _fetch.changed.wait_until(lock, _ended ? std::min(_fetch.deadline, endedAt + kEndGrace)
                                                   : _fetch.deadline);
        }
    }

    QImage frame()
    {
        std::lock_guard lock(_fetch.mutex);
        return _frame;
    }

private:
    static constexpr libvlc_event_type_t WatchedEvents[] = {libvlc_MediaPlayerEndReached,
                                                            libvlc_MediaPlayerEncounteredError,
                                                            libvlc_MediaPlayerStopped};

    struct Buffer {
        int width = 0, height = 0, pitch = 0;
        std::unique_ptr<uchar, decltype(&std::free)> pixels{nullptr, &std::free};
    };

    static unsigned alignUp(unsigned value, unsigned alignment)
    {
        return (value + alignment - 1) / alignment * alignment;
    }

    // The decoder's declared size is only used for its aspect: the buffer is
    // always the small one, so a huge declared frame costs no memory here.
    static unsigned setup(void **opaque, char *chroma, unsigned *width, unsigned *height,
                          unsigned *pitches, unsigned *lines)
    {
        auto *self = static_cast<FrameGrab *>(*opaque);
        const double declaredAspect = *height ? double(*width) / double(*height) : 0.0;
        const QSize size = fitInBox(self->_aspect > 0 ? self->_aspect : declaredAspect);
        auto buffer = std::make_unique<Buffer>();
        buffer->width = size.width();
        buffer->height = size.height();
        buffer->pitch = int(alignUp(unsigned(size.width()) * 4, 32));
        const unsigned lineCount = alignUp(unsigned(size.height()), 32);
        buffer->pixels.reset(
            static_cast<uchar *>(std::aligned_alloc(32, size_t(buffer->pitch) * lineCount)));
        if (!buffer->pixels)
            return 0;
        std::memcpy(chroma, "RV32", 4);
        *width = unsigned(size.width());
        *height = unsigned(size.height());
        pitches[0] = unsigned(buffer->pitch);
        lines[0] = lineCount;
        std::lock_guard lock(self->_fetch.mutex);
        // The output may be set up again (decoder fallbacks); pictures in
        // flight keep pointing at the buffers they were given.
        self->_buffers.push_back(std::move(buffer));
        return 1;
    }

    static void *lock(void *opaque, void **planes)
    {
        auto *self = static_cast<FrameGrab *>(opaque);
        std::lock_guard lock(self->_fetch.mutex);
        Buffer *buffer = self->_buffers.back().get();
        planes[0] = buffer->pixels.get();
        return buffer;
    }

    // Called once the picture is decoded into the buffer, before it is due on
    // screen: a clip may end before its only frame would be displayed.
    static void unlock(void *opaque, void *picture, void *const *)
    {
        auto *self = static_cast<FrameGrab *>(opaque);
        const auto *buffer = static_cast<const Buffer *>(picture);
        std::lock_guard lock(self->_fetch.mutex);
        if (!self->_frame.isNull())
            return;
        QImage frame(buffer->width, buffer->height, QImage::Format_RGB32);
        for (int y = 0; y < buffer->height; ++y) {
            auto *out = reinterpret_cast<quint32 *>(frame.scanLine(y));
            const auto *in =
                reinterpret_cast<const quint32 *>(buffer->pixels.get() + size_t(y) * buffer->pitch);
            // RV32's fourth byte is undefined; RGB32 wants it opaque.
            for (int x = 0; x < buffer->width; ++x)
                out[x] = in[x] | 0xff000000u;
        }
        self->_frame = frame;
        self->_fetch.changed.notify_all();
    }

    static void handleEvent(const libvlc_event_t *event, void *opaque)
    {
        auto *self = static_cast<FrameGrab *>(opaque);
        std::lock_guard lock(self->_fetch.mutex);
        switch (event->type) {
        case libvlc_MediaPlayerEndReached:
            self->_ended = true;
            break;
        case libvlc_MediaPlayerEncounteredError:
            self->_failed = true;
            break;
        case libvlc_MediaPlayerStopped:
            // The engine tears the output down before this, flushing a frame
            // that was still being prepared.
            self->_stoppedAfterEnd = self->_ended;
            break;
        default:
            return;
        }
        self->_fetch.changed.notify_all();
    }

    ThumbnailFetch &_fetch;
    const double _aspect;
    libvlc_media_t *_media = nullptr;
    libvlc_media_player_t *_player = nullptr;
    // Guarded by _fetch.mutex.
    std::vector<std::unique_ptr<Buffer>> _buffers;
    QImage _frame;
    bool _ended = false;
    bool _stoppedAfterEnd = false;
    bool _failed = false;
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
    const int64_t startMs = lengthMs >= MinLengthForSeekMs ? lengthMs * 3 / 10 : 0;

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
    try {
        FetchWorkers::instance().start(fetch, &runFetch);
    } catch (const std::system_error &) {
        // No thread to run it on: the answer comes at once.
        fetch->answer(QImage());
    }
}
