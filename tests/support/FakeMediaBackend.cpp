#include "FakeMediaBackend.h"

#include <QThread>
#include <QTimer>

void RecordingMediaPlayer::setMedia(VLCMediaPtr media)
{
    _media = std::move(media);
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
    calls.append(QStringLiteral("stop"));
}

void RecordingMediaPlayer::setTime(VLCTime time)
{
    _time = time;
    calls.append(QStringLiteral("setTime %1").arg(time.intValue()));
}

namespace {

// Answers on a later turn of the event loop, as the engine answers later.
class FakeThumbnailer : public VLCMediaThumbnailer {
public:
    FakeThumbnailer(VLCMediaThumbnailerDelegate *delegate, bool fails)
        : _delegate(delegate)
        , _fails(fails)
    {
    }
    void fetchThumbnail() override
    {
        QTimer::singleShot(0, [delegate = _delegate, fails = _fails, self = this] {
            if (fails) {
                delegate->mediaThumbnailerDidTimeOut(self);
            } else {
                QImage image(320, 180, QImage::Format_RGB32);
                image.fill(Qt::darkCyan);
                delegate->mediaThumbnailerDidFinishThumbnail(self, image);
            }
        });
    }

private:
    VLCMediaThumbnailerDelegate *_delegate;
    bool _fails;
};

} // namespace

VLCMediaPtr FakeMediaBackend::mediaWithPath(const QString &path)
{
    return std::make_shared<FakeMedia>(path, _lengths.value(path));
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
    return std::make_unique<FakeThumbnailer>(delegate, _failingThumbnails.contains(media->path()));
}
