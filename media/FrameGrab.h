#pragma once

#include "NativePath.h"
#include "ThumbnailFetch.h"

#include <QImage>
#include <QSize>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <vlc/vlc.h>

// After the end, the last frame may still be on its way to the callbacks.
static constexpr auto kEndGrace = std::chrono::milliseconds(500);

// The largest size of the given aspect (width / height) inside the box.
inline QSize fitInBox(double aspect)
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
        for (libvlc_event_type_t type : kWatchedEvents)
            libvlc_event_attach(events, type, &FrameGrab::handleEvent, this);
    }

    // Stopping blocks for tens of milliseconds: callers answer first.
    ~FrameGrab()
    {
        if (_player) {
            libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
            for (libvlc_event_type_t type : kWatchedEvents)
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
    static constexpr libvlc_event_type_t kWatchedEvents[] = {libvlc_MediaPlayerEndReached,
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
