#include "FakeMediaBackend.h"

#include <QThread>
#include <QTimer>

void RecordingMediaPlayer::setMedia(VLCMediaPtr media)
{
    _media = std::move(media);
    // Media start at their beginning, as the engine's do.
    _time = VLCTime();
    forgetTracks();
    calls.append(QStringLiteral("setMedia ") + (_media ? _media->path() : QStringLiteral("nil")));
}

void RecordingMediaPlayer::play()
{
    _state = VLCMediaPlayerState::Playing;
    calls.append(QStringLiteral("play"));
}

void RecordingMediaPlayer::pause()
{
    _state = VLCMediaPlayerState::Paused;
    calls.append(QStringLiteral("pause"));
}

void RecordingMediaPlayer::stop()
{
    _state = VLCMediaPlayerState::Stopped;
    forgetTracks();
    calls.append(QStringLiteral("stop"));
}

void RecordingMediaPlayer::forgetTracks()
{
    _tracks = {};
    _currentTracks = {VLCNoTrack, VLCNoTrack};
}

void RecordingMediaPlayer::setCurrentTrack(VLCTrackKind kind, int id)
{
    _currentTracks[size_t(kind)] = id;
    calls.append(QStringLiteral("setCurrentTrack %1 %2").arg(int(kind)).arg(id));
}

void RecordingMediaPlayer::addSubtitleFile(const QString &path)
{
    calls.append(QStringLiteral("addSubtitleFile ") + path);
}

void RecordingMediaPlayer::reportTracks(VLCTrackKind kind, QList<VLCTrack> tracks, int current)
{
    _tracks[size_t(kind)] = std::move(tracks);
    _currentTracks[size_t(kind)] = current;
    if (_delegate)
        _delegate->mediaPlayerTracksChanged();
}

void RecordingMediaPlayer::report(VLCMediaPlayerState state)
{
    _state = state;
    if (_delegate)
        _delegate->mediaPlayerStateChanged();
}

void RecordingMediaPlayer::setTime(VLCTime time)
{
    _time = time;
    calls.append(QStringLiteral("setTime %1").arg(time.intValue()));
}

// Answers on a later turn of the event loop, as the engine answers later; or,
// while the backend holds thumbnails, when the test says so.
class FakeThumbnailer : public VLCMediaThumbnailer {
public:
    FakeThumbnailer(FakeMediaBackend *backend, VLCMediaThumbnailerDelegate *delegate, bool fails)
        : _backend(backend)
        , _delegate(delegate)
        , _fails(fails)
    {
    }
    ~FakeThumbnailer() override { _backend->_heldThumbnails.removeAll(this); }

    void fetchThumbnail() override
    {
        if (_backend->_thumbnailsHeld) {
            _backend->_heldThumbnails.append(this);
            return;
        }
        // Bound to a context object, so that a thumbnailer destroyed first
        // is never answered.
        QTimer::singleShot(0, &_context, [this] { answer(); });
    }

    void answer()
    {
        if (_fails) {
            _delegate->mediaThumbnailerDidTimeOut(this);
        } else {
            QImage image(320, 180, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            _delegate->mediaThumbnailerDidFinishThumbnail(this, image);
        }
    }

private:
    FakeMediaBackend *_backend;
    VLCMediaThumbnailerDelegate *_delegate;
    bool _fails;
    QObject _context;
};

VLCMediaPtr FakeMediaBackend::mediaWithPath(const QString &path)
{
    auto media = std::make_shared<FakeMedia>(path, _lengths.value(path));
    if (const auto tracks = _tracks.constFind(path); tracks != _tracks.cend())
        media->setTracks(*tracks);
    return media;
}

std::unique_ptr<VLCMediaPlayer> FakeMediaBackend::initWithVideoView(VLCVideoView *)
{
    if (_playerCreationDelayMs > 0)
        QThread::msleep(_playerCreationDelayMs);
    auto player = std::make_unique<RecordingMediaPlayer>(&_playersReleased);
    _player = player.get();
    ++_playersMade;
    return player;
}

std::unique_ptr<VLCMediaThumbnailer>
FakeMediaBackend::thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                                  VLCMediaThumbnailerDelegate *delegate)
{
    thumbnailsFetched.append(media->path());
    return std::make_unique<FakeThumbnailer>(this, delegate,
                                             _failingThumbnails.contains(media->path()));
}

int FakeMediaBackend::answerHeldThumbnails()
{
    const QList<FakeThumbnailer *> held = std::exchange(_heldThumbnails, {});
    for (FakeThumbnailer *thumbnailer : held)
        thumbnailer->answer();
    return int(held.size());
}
