#include "LibVlcMediaPlayer.h"

#include "LibVlcMedia.h"
#include "VLCVideoView.h"

#include <QCoreApplication>
#include <QThread>
#include <numeric>
#include <vlc/vlc.h>

static constexpr libvlc_event_type_t WatchedEvents[] = {
    libvlc_MediaPlayerTimeChanged,      libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,
    libvlc_MediaPlayerPaused,           libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached,
    libvlc_MediaPlayerEncounteredError,
};

// Delivers notifications on the context's thread, and only while the context
// lives and the player still wants them: calls already queued when the player
// goes away or changes delegate are dropped.
class LibVlcMediaPlayer::DelegateRelay : public QObject {
public:
    DelegateRelay(VLCMediaPlayerDelegate *delegate, QObject *context)
        : _delegate(delegate)
        , _context(context)
    {
        moveToThread(context->thread());
    }

    void deliver(Notification notification)
    {
        if (!_active.load() || !_context)
            return;
        if (notification == Notification::TimeChanged)
            _delegate->mediaPlayerTimeChanged();
        else
            _delegate->mediaPlayerStateChanged();
    }

    // From any thread. The relay may be inside deliver() (a delegate that
    // drops the player from its notification), so it is never deleted at once.
    void retire()
    {
        _active = false;
        deleteLater();
    }

private:
    VLCMediaPlayerDelegate *const _delegate;
    const QPointer<QObject> _context;
    std::atomic<bool> _active{true};
};

// Work that must run on the view's thread. Queued calls may still arrive after
// the player is gone, so each one checks, under the lock, that it has a player.
class LibVlcMediaPlayer::MainThreadHelper : public QObject {
public:
    explicit MainThreadHelper(LibVlcMediaPlayer *player)
        : _player(player)
    {
    }

    template <typename Work> void post(Work work)
    {
        QMetaObject::invokeMethod(
            this,
            [this, work] {
                QMutexLocker locker(&_mutex);
                if (_player)
                    work(_player);
            },
            Qt::QueuedConnection);
    }

    template <typename Work> void runHere(Work work)
    {
        QMutexLocker locker(&_mutex);
        if (_player)
            work(_player);
    }

    void detach()
    {
        QMutexLocker locker(&_mutex);
        _player = nullptr;
    }

private:
    QMutex _mutex;
    LibVlcMediaPlayer *_player;
};

LibVlcMediaPlayer::LibVlcMediaPlayer(std::shared_ptr<LibVlcEngine> engine, VLCVideoView *view)
    : _engine(std::move(engine))
    , _view(view)
{
    if (_engine)
        _player = libvlc_media_player_new(_engine->instance());
    if (!_player)
        return;
    if (view && view->x11Window() != 0)
        libvlc_media_player_set_xwindow(_player, uint32_t(view->x11Window()));
    // Qt handles the mouse and keys over the picture (overlay, shortcuts).
    libvlc_video_set_mouse_input(_player, false);
    libvlc_video_set_key_input(_player, false);

    QObject *home = view ? static_cast<QObject *>(view) : QCoreApplication::instance();
    if (home) {
        _helper = new MainThreadHelper(this);
        _helper->moveToThread(home->thread());
        if (view) {
            QObject::connect(view, &VLCVideoView::fillChanged, _helper, [helper = _helper] {
                helper->runHere([](auto *p) { p->applyFill(); });
            });
            if (_helper->thread() == QThread::currentThread())
                applyFill();
            else
                _helper->post([](LibVlcMediaPlayer *p) { p->applyFill(); });
        }
    }

    libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
    for (libvlc_event_type_t type : WatchedEvents)
        libvlc_event_attach(events, type, &LibVlcMediaPlayer::handleEvent, this);
}

LibVlcMediaPlayer::~LibVlcMediaPlayer()
{
    if (_player) {
        // Detaching waits for a callback in progress; none comes after.
        libvlc_event_manager_t *events = libvlc_media_player_event_manager(_player);
        for (libvlc_event_type_t type : WatchedEvents)
            libvlc_event_detach(events, type, &LibVlcMediaPlayer::handleEvent, this);
    }
    {
        QMutexLocker locker(&_relayMutex);
        if (_relay)
            _relay->retire();
        _relay = nullptr;
    }
    if (_helper) {
        _helper->detach();
        if (_helper->thread() == QThread::currentThread())
            delete _helper;
        else
            _helper->deleteLater();
    }
    if (!_player)
        return;
    libvlc_media_player_stop(_player);
    libvlc_media_player_set_media(_player, nullptr);
    _media.reset();
    libvlc_media_player_release(_player);
}

void LibVlcMediaPlayer::handleEvent(const libvlc_event_t *event, void *opaque)
{
    // libVLC's event thread: post and return.
    auto *self = static_cast<LibVlcMediaPlayer *>(opaque);
    switch (event->type) {
    case libvlc_MediaPlayerTimeChanged:
        self->notify(Notification::TimeChanged);
        return;
    case libvlc_MediaPlayerPlaying:
        // The audio output may be new now and would ignore an earlier volume.
        if (self->_helper)
            self->_helper->post([](LibVlcMediaPlayer *p) { p->applyVolume(); });
        break;
    default:
        break;
    }
    self->notify(Notification::StateChanged);
}

void LibVlcMediaPlayer::notify(Notification notification)
{
    QMutexLocker locker(&_relayMutex);
    if (!_relay)
        return;
    QMetaObject::invokeMethod(
        _relay, [relay = _relay, notification] { relay->deliver(notification); },
        Qt::QueuedConnection);
}

void LibVlcMediaPlayer::setDelegate(VLCMediaPlayerDelegate *delegate, QObject *context)
{
    DelegateRelay *relay = delegate && context ? new DelegateRelay(delegate, context) : nullptr;
    QMutexLocker locker(&_relayMutex);
    if (_relay)
        _relay->retire();
    _relay = relay;
}

void LibVlcMediaPlayer::setMedia(VLCMediaPtr media)
{
    _media = std::move(media);
    if (!_player)
        return;
    auto *engineMedia = dynamic_cast<LibVlcMedia *>(_media.get());
    libvlc_media_player_set_media(_player, engineMedia ? engineMedia->handle() : nullptr);
}

void LibVlcMediaPlayer::play()
{
    if (_player)
        libvlc_media_player_play(_player);
}

void LibVlcMediaPlayer::pause()
{
    // set_pause(1) rather than a toggle: pausing twice must still hold.
    if (_player)
        libvlc_media_player_set_pause(_player, 1);
}

void LibVlcMediaPlayer::stop()
{
    if (_player)
        libvlc_media_player_stop(_player);
}

void LibVlcMediaPlayer::setTime(VLCTime time)
{
    if (_player && time.isKnown())
        libvlc_media_player_set_time(_player,
                                     std::max<libvlc_time_t>(0, time.numberValue().toLongLong()));
}

VLCTime LibVlcMediaPlayer::time() const
{
    if (!_player || !_media)
        return VLCTime();
    const libvlc_time_t timeMs = libvlc_media_player_get_time(_player);
    return timeMs >= 0 ? VLCTime(timeMs) : VLCTime();
}

VLCMediaPlayerState LibVlcMediaPlayer::state() const
{
    if (!_player)
        return VLCMediaPlayerState::Stopped;
    switch (libvlc_media_player_get_state(_player)) {
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

bool LibVlcMediaPlayer::isPlaying() const
{
    return _player && libvlc_media_player_is_playing(_player);
}

void LibVlcMediaPlayer::Audio::setVolume(int volume)
{
    _volume = std::clamp(volume, 0, 200);
    _player->applyVolume();
}

void LibVlcMediaPlayer::applyVolume()
{
    if (_player)
        libvlc_audio_set_volume(_player, _audio._volume.load());
}

void LibVlcMediaPlayer::applyFill()
{
    // Main thread only: reads the view.
    if (!_player)
        return;
    const QSize size = _view ? _view->size() : QSize();
    if (!_view || !_view->fillScreen() || size.isEmpty()) {
        libvlc_video_set_crop_geometry(_player, nullptr);
        return;
    }
    // Cropping the picture to the view's aspect lets the output fill the view.
    const int divisor = std::gcd(size.width(), size.height());
    const QByteArray ratio = QByteArray::number(size.width() / divisor) + ':' +
                             QByteArray::number(size.height() / divisor);
    libvlc_video_set_crop_geometry(_player, ratio.constData());
}
