#include "LibVlcMediaPlayer.h"

#include "LibVlcMedia.h"
#include "LibVlcPlayerWorker.h"

#include <QCoreApplication>
#include <QThread>
#include <vlc/vlc.h>

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
