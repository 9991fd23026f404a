#pragma once

// LibVlcMediaPlayer's worker: the engine player and the thread that changes it.
// Only LibVlcMediaPlayer.cpp includes this.
#include "DelegateRelay.h"
#include "EngineThreads.h"
#include "LibVlcMediaPlayer.h"
#include "LibVlcTracks.h"
#include "VLCVideoView.h"

#include <QByteArray>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <numeric>
#include <vlc/vlc.h>

// The longest a pause may hold back the commands behind it.
inline constexpr int kPauseSettleMs = 500;

inline constexpr libvlc_event_type_t kWatchedEvents[] = {
    libvlc_MediaPlayerTimeChanged,      libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
    libvlc_MediaPlayerPaused,           libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached,
    libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerESAdded, libvlc_MediaPlayerESDeleted,
    libvlc_MediaPlayerESSelected,
};

// The crop that makes the picture fill the view with its aspect kept, or
// empty for the whole picture. Reads the view: its own thread only.
inline QByteArray cropGeometryFor(const VLCVideoView *view)
{
    const QSize size = view ? view->size() : QSize();
    if (!view || !view->fillScreen() || size.isEmpty())
        return {};
    const int divisor = std::gcd(size.width(), size.height());
    return QByteArray::number(size.width() / divisor) + ':' +
           QByteArray::number(size.height() / divisor);
}

inline VLCMediaPlayerState stateOf(libvlc_state_t state)
{
    switch (state) {
    case libvlc_Opening:
        return VLCMediaPlayerState::Opening;
    case libvlc_Buffering:
        return VLCMediaPlayerState::Buffering;
    case libvlc_Playing:
        return VLCMediaPlayerState::Playing;
    case libvlc_Paused:
        return VLCMediaPlayerState::Paused;
    case libvlc_Ended:
        return VLCMediaPlayerState::Ended;
    case libvlc_Error:
        return VLCMediaPlayerState::Error;
    case libvlc_NothingSpecial:
    case libvlc_Stopped:
        break;
    }
    return VLCMediaPlayerState::Stopped;
}

// The engine player and the one thread that changes it. Commands run in the
// order they were posted; the thread keeps the worker (and the engine) alive
// until it has torn the player down.
class LibVlcMediaPlayer::Worker : public std::enable_shared_from_this<Worker> {
public:
    using Command = std::function<void(libvlc_media_player_t *)>;

    Worker(std::shared_ptr<LibVlcEngine> engine, libvlc_media_player_t *player,
           std::shared_ptr<LibVlcTracks> tracks)
        : _engine(std::move(engine))
        , _player(player)
        , _tracks(std::move(tracks))
    {
        libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
        for (libvlc_event_type_t type : kWatchedEvents)
            libvlc_event_attach(events, type, &Worker::handleEvent, this);
    }

    void start()
    {
        EngineThreads::instance().start(_engine, [self = shared_from_this()] { self->run(); });
    }

    // Any thread. Answers the command's number, counted from 1.
    uint64_t post(Command command)
    {
        std::lock_guard lock(_mutex);
        if (_finishing)
            return _posted;
        _commands.push_back(std::move(command));
        _wake.notify_one();
        return ++_posted;
    }

    // How many posted commands have been carried out.
    uint64_t doneCount() const { return _done.load(); }

    // Drops the commands not yet run and tears the player down on the worker.
    void finish()
    {
        std::lock_guard lock(_mutex);
        _finishing = true;
        _wake.notify_one();
    }

    // Worker thread. set_pause(1) rather than a toggle: pausing twice must
    // still hold. A seek that reaches libVLC before the pause has taken can
    // make it drop the pause, so the next command waits (briefly) for it.
    void pause()
    {
        const libvlc_state_t before = libvlc_media_player_get_state(_player);
        const bool settles = (before == libvlc_Playing || before == libvlc_Buffering) &&
                             libvlc_media_player_can_pause(_player);
        {
            std::lock_guard lock(_mutex);
            _stateSettled = false;
        }
        libvlc_media_player_set_pause(_player, 1);
        if (!settles)
            return;
        std::unique_lock lock(_mutex);
        _wake.wait_for(lock, std::chrono::milliseconds(kPauseSettleMs),
                       [this] { return _stateSettled || _finishing; });
    }

    void setVolume(int volume)
    {
        _volume = volume;
        postVolume();
    }

    // Worker thread.
    void readTracks(libvlc_media_player_t *player)
    {
        if (_tracks->read(player))
            notify(Notification::TracksChanged);
    }

    void setRelay(DelegateRelay *relay)
    {
        std::lock_guard lock(_relayMutex);
        if (_relay)
            _relay->retire();
        _relay = relay;
    }

    // For libVLC's getters on the main thread. get_time waits for a stop or a
    // new media under way, so it is only asked while none is.
    libvlc_media_player_t *handle() const { return _player; }

private:
    static void handleEvent(const libvlc_event_t *event, void *opaque)
    {
        // libVLC's event thread (or the worker, inside a command): post and return.
        auto *self = static_cast<Worker *>(opaque);
        switch (event->type) {
        case libvlc_MediaPlayerTimeChanged:
            self->notify(Notification::TimeChanged);
            return;
        case libvlc_MediaPlayerESAdded:
        case libvlc_MediaPlayerESDeleted:
        case libvlc_MediaPlayerESSelected:
            self->postTracksRead();
            return;
        case libvlc_MediaPlayerPlaying:
            // The audio output may be new now and would ignore an earlier volume.
            self->postVolume();
            break;
        case libvlc_MediaPlayerPaused:
        case libvlc_MediaPlayerStopped:
        case libvlc_MediaPlayerEndReached:
        case libvlc_MediaPlayerEncounteredError:
            self->markStateSettled();
            break;
        default:
            break;
        }
        self->notify(Notification::StateChanged);
    }

    void notify(Notification notification)
    {
        std::lock_guard lock(_relayMutex);
        if (!_relay)
            return;
        QMetaObject::invokeMethod(
            _relay, [relay = _relay, notification] { relay->deliver(notification); },
            Qt::QueuedConnection);
    }

    void markStateSettled()
    {
        std::lock_guard lock(_mutex);
        _stateSettled = true;
        _wake.notify_all();
    }

    // A new media brings its streams one event each: one read covers them all.
    void postTracksRead()
    {
        if (_tracksReadPosted.exchange(true))
            return;
        post([this](libvlc_media_player_t *player) {
            _tracksReadPosted = false;
            readTracks(player);
        });
    }

    void postVolume()
    {
        post([this](libvlc_media_player_t *player) {
            libvlc_audio_set_volume(player, _volume.load());
        });
    }

    void run()
    {
        for (;;) {
            Command command;
            {
                std::unique_lock lock(_mutex);
                _wake.wait(lock, [this] { return _finishing || !_commands.empty(); });
                if (_finishing)
                    break;
                command = std::move(_commands.front());
                _commands.pop_front();
            }
            command(_player);
            // A media the command held is let go of here, not on the thread
            // that posted it.
            command = nullptr;
            ++_done;
        }
        std::deque<Command> dropped;
        {
            std::lock_guard lock(_mutex);
            dropped.swap(_commands);
        }
        dropped.clear();
        tearDown();
    }

    void tearDown()
    {
        EngineThreads &threads = EngineThreads::instance();
        if (!threads.isAbandoned()) {
            // Detaching waits for a callback in progress; none comes after,
            // and none is left to run into the stop below.
            libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
            for (libvlc_event_type_t type : kWatchedEvents)
                libvlc_event_detach(events, type, &Worker::handleEvent, this);
            // The long part, while a file is still being opened.
            libvlc_media_player_stop(_player);
        }
        threads.lastEngineWork([this] {
            libvlc_media_player_set_media(_player, nullptr);
            libvlc_media_player_release(_player);
            // libVLC keeps each thread's last error message until the thread
            // ends, but frees none once its last instance is gone; this thread
            // may end after that, so it lets go of its message while it still
            // holds the engine.
            libvlc_clearerr();
            _engine.reset();
        });
    }

    std::shared_ptr<LibVlcEngine> _engine;
    libvlc_media_player_t *const _player;
    std::atomic<int> _volume{100};
    const std::shared_ptr<LibVlcTracks> _tracks;
    std::atomic<bool> _tracksReadPosted{false};

    std::mutex _mutex;
    std::condition_variable _wake;
    std::deque<Command> _commands;
    uint64_t _posted = 0;
    bool _finishing = false;
    // libVLC has reported a pause or an end since the last pause was asked for.
    bool _stateSettled = false;
    std::atomic<uint64_t> _done{0};

    // Read by libVLC's event thread, replaced by setDelegate.
    std::mutex _relayMutex;
    DelegateRelay *_relay = nullptr;
};
