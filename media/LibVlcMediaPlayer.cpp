#include "LibVlcMediaPlayer.h"

#include "DelegateRelay.h"
#include "EngineThreads.h"
#include "LibVlcMedia.h"
#include "LibVlcTracks.h"
#include "VLCVideoView.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <numeric>
#include <thread>
#include <vlc/vlc.h>

// The longest a pause may hold back the commands behind it.
static constexpr int kPauseSettleMs = 500;

static constexpr libvlc_event_type_t WatchedEvents[] = {
    libvlc_MediaPlayerTimeChanged,      libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
    libvlc_MediaPlayerPaused,           libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached,
    libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerESAdded, libvlc_MediaPlayerESDeleted,
    libvlc_MediaPlayerESSelected,
};

namespace {

// The crop that makes the picture fill the view with its aspect kept, or
// empty for the whole picture. Reads the view: its own thread only.
QByteArray cropGeometryFor(const VLCVideoView *view)
{
    const QSize size = view ? view->size() : QSize();
    if (!view || !view->fillScreen() || size.isEmpty())
        return {};
    const int divisor = std::gcd(size.width(), size.height());
    return QByteArray::number(size.width() / divisor) + ':' +
           QByteArray::number(size.height() / divisor);
}

VLCMediaPlayerState stateOf(libvlc_state_t state)
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

} // namespace

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
        for (libvlc_event_type_t type : WatchedEvents)
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
            for (libvlc_event_type_t type : WatchedEvents)
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

LibVlcMediaPlayer::LibVlcMediaPlayer(std::shared_ptr<LibVlcEngine> engine, VLCVideoView *view)
    : _tracks(std::make_shared<LibVlcTracks>())
{
    libvlc_media_player_t *player = engine ? libvlc_media_player_new(engine->instance()) : nullptr;
    if (!player)
        return;
    if (view && view->x11Window() != 0)
        libvlc_media_player_set_xwindow(player, uint32_t(view->x11Window()));
    // Qt handles the mouse and keys over the picture (overlay, shortcuts).
    libvlc_video_set_mouse_input(player, false);
    libvlc_video_set_key_input(player, false);
    _worker = std::make_shared<Worker>(std::move(engine), player, _tracks);
    _worker->start();

    if (!view)
        return;
    // The player may be made on another thread; the view is read on its own.
    _viewContext = new QObject;
    _viewContext->moveToThread(view->thread());
    const auto followFill = [view = QPointer<VLCVideoView>(view), worker = _worker] {
        worker->post([crop = cropGeometryFor(view)](libvlc_media_player_t *player) {
            libvlc_video_set_crop_geometry(player, crop.isEmpty() ? nullptr : crop.constData());
        });
    };
    QObject::connect(view, &VLCVideoView::fillChanged, _viewContext, followFill);
    if (_viewContext->thread() == QThread::currentThread())
        followFill();
    else
        QMetaObject::invokeMethod(_viewContext, followFill, Qt::QueuedConnection);
}

LibVlcMediaPlayer::~LibVlcMediaPlayer()
{
    if (_viewContext) {
        if (_viewContext->thread() == QThread::currentThread())
            delete _viewContext;
        else
            _viewContext->deleteLater();
    }
    if (!_worker)
        return;
    _worker->setRelay(nullptr);
    _worker->finish();
}

void LibVlcMediaPlayer::setDelegate(VLCMediaPlayerDelegate *delegate, QObject *context)
{
    if (_worker)
        _worker->setRelay(delegate && context ? new DelegateRelay(delegate, context) : nullptr);
}

template <typename Command>
void LibVlcMediaPlayer::postExpecting(VLCMediaPlayerState state, std::optional<int64_t> timeMs,
                                      Command command)
{
    if (!_worker)
        return;
    _expected.untilCommand = _worker->post(std::move(command));
    _expected.state = state;
    _expected.timeMs = timeMs;
}

bool LibVlcMediaPlayer::isExpectationPending() const
{
    return _worker && _worker->doneCount() < _expected.untilCommand;
}

void LibVlcMediaPlayer::postTrackCommand(std::function<void(libvlc_media_player_t *)> command)
{
    if (!_worker)
        return;
    _worker->post(
        [worker = _worker.get(), command = std::move(command)](libvlc_media_player_t *player) {
            command(player);
            worker->readTracks(player);
        });
}

bool LibVlcMediaPlayer::areTracksKnown() const
{
    return _worker && _worker->doneCount() >= _tracksUnknownUntil;
}

void LibVlcMediaPlayer::setMedia(VLCMediaPtr media)
{
    _media = std::move(media);
    auto *engineMedia = dynamic_cast<LibVlcMedia *>(_media.get());
    libvlc_media_t *handle = engineMedia ? engineMedia->handle() : nullptr;
    // A new media stops a playing one.
    postExpecting(VLCMediaPlayerState::Stopped, std::nullopt,
                  [media = _media, handle, worker = _worker.get()](libvlc_media_player_t *player) {
                      libvlc_media_player_set_media(player, handle);
                      worker->readTracks(player);
                  });
    _tracksUnknownUntil = _expected.untilCommand;
}

void LibVlcMediaPlayer::play()
{
    const VLCMediaPlayerState current = state();
    VLCMediaPlayerState next = current;
    std::optional<int64_t> timeMs;
    if (const VLCTime now = time(); now.isKnown())
        timeMs = now.milliseconds();
    if (_media && current == VLCMediaPlayerState::Stopped) {
        next = VLCMediaPlayerState::Opening;
        timeMs.reset();
    } else if (current == VLCMediaPlayerState::Paused) {
        next = VLCMediaPlayerState::Playing;
    }
    postExpecting(next, timeMs,
                  [](libvlc_media_player_t *player) { libvlc_media_player_play(player); });
}

void LibVlcMediaPlayer::pause()
{
    const VLCMediaPlayerState current = state();
    const bool pauses =
        current == VLCMediaPlayerState::Playing || current == VLCMediaPlayerState::Buffering;
    std::optional<int64_t> timeMs;
    if (const VLCTime now = time(); now.isKnown())
        timeMs = now.milliseconds();
    postExpecting(pauses ? VLCMediaPlayerState::Paused : current, timeMs,
                  [worker = _worker.get()](libvlc_media_player_t *) { worker->pause(); });
}

void LibVlcMediaPlayer::stop()
{
    postExpecting(VLCMediaPlayerState::Stopped, std::nullopt,
                  [worker = _worker.get()](libvlc_media_player_t *player) {
                      libvlc_media_player_stop(player);
                      worker->readTracks(player);
                  });
    _tracksUnknownUntil = _expected.untilCommand;
}

void LibVlcMediaPlayer::setTime(VLCTime time)
{
    if (!time.isKnown())
        return;
    const int64_t timeMs = std::max<int64_t>(0, time.milliseconds());
    const VLCMediaPlayerState current = state();
    // Nothing to seek in a stopped player: its time stays unknown.
    std::optional<int64_t> expectedMs;
    if (current != VLCMediaPlayerState::Stopped)
        expectedMs = timeMs;
    postExpecting(current, expectedMs, [timeMs](libvlc_media_player_t *player) {
        libvlc_media_player_set_time(player, libvlc_time_t(timeMs));
    });
}

VLCTime LibVlcMediaPlayer::time() const
{
    if (!_worker || !_media)
        return VLCTime();
    // The engine's time waits for a stop under way: answer what was asked for.
    if (isExpectationPending())
        return _expected.timeMs ? VLCTime(*_expected.timeMs) : VLCTime();
    const libvlc_time_t timeMs = libvlc_media_player_get_time(_worker->handle());
    return timeMs >= 0 ? VLCTime(timeMs) : VLCTime();
}

double LibVlcMediaPlayer::position() const
{
    // Like the time, the engine's answer waits for a stop under way.
    if (!_worker || !_media || isExpectationPending())
        return -1.0;
    return libvlc_media_player_get_position(_worker->handle());
}

VLCMediaPlayerState LibVlcMediaPlayer::state() const
{
    if (!_worker)
        return VLCMediaPlayerState::Stopped;
    if (isExpectationPending())
        return _expected.state;
    return stateOf(libvlc_media_player_get_state(_worker->handle()));
}

bool LibVlcMediaPlayer::isPlaying() const
{
    return state() == VLCMediaPlayerState::Playing;
}

void LibVlcMediaPlayer::Audio::setVolume(int volume)
{
    _volume = std::clamp(volume, 0, 200);
    if (_player->_worker)
        _player->_worker->setVolume(_volume);
}
