#pragma once

#include "LibVlcMediaThumbnailer.h"
#include "VLCMedia.h"

#include <QImage>
#include <chrono>
#include <condition_variable>
#include <mutex>

using Clock = std::chrono::steady_clock;

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
