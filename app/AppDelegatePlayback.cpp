// AppDelegate: the playback commands.
#include "AppDelegate.h"

#include "TracksMenu.h"
#include "chrome/NoTitleWindow.h"
#include "controls/ImageButton.h"
#include "media/NativePath.h"

namespace {

// The seek step of the rewind buttons, in seconds.
constexpr int kSeekStepSeconds = 5;

} // namespace

void AppDelegate::setPlayPauseImages(bool playing)
{
    auto *imageButton = qobject_cast<ImageButton *>(_overlay.playPauseButton);
    if (!imageButton)
        return;
    imageButton->setImage(playing ? QStringLiteral("pause") : QStringLiteral("play"));
    imageButton->setAlternateImage(playing ? QStringLiteral("pause-pressed")
                                           : QStringLiteral("play-pressed"));
    imageButton->setAccessibleName(playing ? tr("Pause") : tr("Play"));
}

bool AppDelegate::canCommandCurrentMedia() const
{
    // The engine keeps a loaded file open: it plays on, and obeys, when the
    // file is deleted meanwhile. Only a file that must be opened anew has to exist.
    return (_curMedia && _mediaPlayer->media() == _curMedia) ||
           (_curMediaPath && NativePath::exists(_curMediaPath->path));
}

void AppDelegate::playPauseButtonClick(QObject *)
{
    if (!canClickControlButtons() || !_mediaPlayer || !canCommandCurrentMedia())
        return;
    if (_isPlaying) {
        _mediaPlayer->pause();
        if (_timer)
            _timer->pause();
    } else {
        _mediaPlayer->play();
        _mediaPlayer->audio()->setVolume(static_cast<int>(_curVolume));
        resumeRememberedPosition();
        if (_timer)
            _timer->start();
    }
    setPlayPauseImages(!_isPlaying);
    _isPlaying = !_isPlaying;
    emit playbackChanged();
}

void AppDelegate::muteButtonClick(QObject *)
{
    setVolumeToSliderLimit(false);
}

void AppDelegate::maxVolumeButtonClick(QObject *)
{
    setVolumeToSliderLimit(true);
}

void AppDelegate::setVolumeToSliderLimit(bool maximum)
{
    if (!_overlay.volumeSlider)
        return;
    const int volume =
        maximum ? _overlay.volumeSlider->maximum() : _overlay.volumeSlider->minimum();
    _overlay.volumeSlider->setValue(volume);
    volumeSliderValueChanged(nullptr);
}

void AppDelegate::volumeSliderValueChanged(QObject *)
{
    if (!_overlay.volumeSlider)
        return;
    _curVolume = _overlay.volumeSlider->value();
    if (mediaIndex() >= 0 && _mediaPlayer)
        _mediaPlayer->audio()->setVolume(static_cast<int>(_curVolume));
    emit playbackChanged();
}

void AppDelegate::rewindForwardButtonClick(QObject *)
{
    seekBy(kSeekStepSeconds);
}

void AppDelegate::rewindBackwardButtonClick(QObject *)
{
    seekBy(-kSeekStepSeconds);
}

void AppDelegate::seekBy(int seconds)
{
    if (!canClickControlButtons() || !_mediaPlayer || !canCommandCurrentMedia() ||
        !_overlay.mediaProgressSlider)
        return;
    // The slider's range is the media's length in seconds.
    const int positionSeconds = std::clamp(_overlay.mediaProgressSlider->value() + seconds,
                                           _overlay.mediaProgressSlider->minimum(),
                                           _overlay.mediaProgressSlider->maximum());
    _overlay.mediaProgressSlider->setValue(positionSeconds);
    moveToTime(positionSeconds * int64_t(1000));
}

void AppDelegate::mediaProgressSliderValueChanged(QObject *)
{
    if (!canClickControlButtons() || !_mediaPlayer || !_overlay.mediaProgressSlider)
        return;
    moveToTime(_overlay.mediaProgressSlider->value() * int64_t(1000));
}

void AppDelegate::setMediaTime(int64_t ms)
{
    if (!canClickControlButtons() || !_mediaPlayer || !canCommandCurrentMedia() ||
        !_overlay.mediaProgressSlider || _curMediaLength.intValue() <= 0)
        return;
    if (ms >= _curMediaLength.intValue()) {
        currentMediaDidEnd();
        return;
    }
    ms = std::max<int64_t>(ms, 0);
    _overlay.mediaProgressSlider->setValue(static_cast<int>(ms / 1000));
    moveToTime(ms);
}

void AppDelegate::moveToTime(int64_t ms)
{
    // The Timer counts whole seconds; the engine goes to the very millisecond.
    if (_timer)
        _timer->setTime(static_cast<uint32_t>(ms / 1000));
    _mediaPlayer->setTime(VLCTime::initWithInt(static_cast<int32_t>(ms)));
    emit seeked(ms);
    timeChanged();
}

int64_t AppDelegate::indexOfNextVisibleMedia() const
{
    if (mediaIndex() < 0 || mediaIndex() >= mediaPlaylist()->size())
        return NSNotFound;
    const qsizetype visibleCount = _playlist.visibleCount();
    int64_t visibleIndex =
        indexOfObjectInArray(mediaPlaylist()->at(mediaIndex()), _playlist.visibleMediaPlaylist());
    // A current entry filtered out of view steps to the first visible one.
    if (visibleIndex == NSNotFound)
        visibleIndex = -1;
    if (visibleIndex >= visibleCount - 1)
        return NSNotFound;
    return indexOfObjectInArray(_playlist.visibleMediaPlaylist()->at(visibleIndex + 1),
                                mediaPlaylist());
}

int64_t AppDelegate::indexOfPreviousVisibleMedia() const
{
    // Without a current entry, the step starts from the last one.
    const int64_t from = mediaIndex() < 0 ? mediaPlaylist()->size() - 1 : mediaIndex();
    if (from < 0 || from >= mediaPlaylist()->size())
        return NSNotFound;
    const qsizetype visibleCount = _playlist.visibleCount();
    int64_t visibleIndex =
        indexOfObjectInArray(mediaPlaylist()->at(from), _playlist.visibleMediaPlaylist());
    // A current entry filtered out of view steps to the first visible one.
    if (visibleIndex == NSNotFound) {
        if (visibleCount == 0)
            return NSNotFound;
        visibleIndex = 1;
    }
    if (visibleIndex <= 0)
        return NSNotFound;
    return indexOfObjectInArray(_playlist.visibleMediaPlaylist()->at(visibleIndex - 1),
                                mediaPlaylist());
}

bool AppDelegate::nextMediaButtonClick(QObject *sender)
{
    if (!_mediaPlayer)
        return false;
    const int64_t nextIndex = indexOfNextVisibleMedia();
    if (nextIndex == NSNotFound)
        return false;
    clearPlayer();
    _playlist.setMediaIndex(nextIndex);
    if (configureForCurrentMedia())
        playPauseButtonClick(_overlay.playPauseButton);
    else
        nextMediaButtonClick(sender); // skips the entry whose file is gone
    return true;
}

void AppDelegate::prevMediaButtonClick(QObject *sender)
{
    if (!_mediaPlayer)
        return;
    const int64_t prevIndex = indexOfPreviousVisibleMedia();
    // Without a current entry, the last one becomes current even when there
    // is nothing before it to play.
    if (mediaIndex() < 0)
        _playlist.setMediaIndex(mediaPlaylist()->size() - 1);
    if (prevIndex == NSNotFound)
        return;
    _playlist.setMediaIndex(prevIndex);
    clearPlayer();
    if (configureForCurrentMedia())
        playPauseButtonClick(_overlay.playPauseButton);
    else
        prevMediaButtonClick(sender); // skips the entry whose file is gone
}

void AppDelegate::unloadPlayer()
{
    if (_mediaPlayer) {
        _mediaPlayer->stop();
        _mediaPlayer->setMedia(nullptr);
        _tracksMenu->refresh();
    }
    if (_overlay.mediaBackgroundImageView)
        _overlay.mediaBackgroundImageView->setHidden(false);
    if (_overlay.mediaProgressSlider)
        _overlay.mediaProgressSlider->setEnabled(false);
    if (_overlay.mediaName)
        _overlay.mediaName->setText(QString());
    emit playbackChanged();
}

void AppDelegate::stopCurrentMedia()
{
    // Kept while the media is still loaded: unloading takes the position with it.
    rememberPlaybackPosition();
    unloadPlayer();
    clearPlayer();
    if (_timer)
        _timer->refresh();
}

void AppDelegate::clearPlayer()
{
    rememberPlaybackPosition();
    if (_isPlaying)
        unloadPlayer();
    _isPlaying = false;
    setPlayPauseImages(false);
    if (_overlay.mediaProgressSlider)
        _overlay.mediaProgressSlider->setValue(0);
    if (_overlay.remainingTimeLabel)
        _overlay.remainingTimeLabel->setText(QStringLiteral("00:00:00"));
    if (_overlay.spentTimeLabel)
        _overlay.spentTimeLabel->setText(QStringLiteral("00:00:00"));
    emit playbackChanged();
}

void AppDelegate::playbackPlay(QObject *)
{
    playPauseButtonClick(nullptr);
}

void AppDelegate::playbackNext(QObject *)
{
    nextMediaButtonClick(nullptr);
}

void AppDelegate::playbackPrev(QObject *)
{
    prevMediaButtonClick(nullptr);
}

void AppDelegate::playbackForward(QObject *)
{
    rewindForwardButtonClick(nullptr);
}

void AppDelegate::playbackRewind(QObject *)
{
    rewindBackwardButtonClick(nullptr);
}

void AppDelegate::toggleWindowFullScreen(QObject *)
{
    // The overlay follows through the resize (windowDidResize).
    toggleFullScreen(view()->window());
}

bool AppDelegate::mayAddMedia(const QStringList &paths) const
{
    return std::any_of(paths.cbegin(), paths.cend(), [this](const QString &path) {
        return isVideoOrAudio(path) || NativePath::kind(path) == NativePath::Kind::Directory;
    });
}

bool AppDelegate::mediaDragEvent(const QStringList &paths)
{
    // An addition asked for while another runs answers NO at once and is
    // made later; its first entry then starts when it is in the list.
    return appendPlaylistWithoutDublicates(paths, [this](const MediaEntry &firstAppended) {
        if (firstAppended)
            playDroppedEntry(firstAppended);
    });
}

void AppDelegate::playDroppedEntry(const MediaEntry &entry)
{
    const int64_t index = indexOfObjectInArray(entry, mediaPlaylist());
    if (index == NSNotFound)
        return;
    dropFilter();
    // The video takes the whole window again.
    if (_isPlaylistOpen)
        showPlaylistButtonClick(_overlay.showPlaylistButton);
    if (_isPlaying)
        clearPlayer();
    _playlist.setMediaIndex(index);
    if (configureForCurrentMedia())
        playPauseButtonClick(_overlay.playPauseButton);
}

void AppDelegate::applicationOpenFiles(const QStringList &paths)
{
    if (!paths.isEmpty())
        whenMediaPlayerReady([this, paths] { mediaDragEvent(paths); });
}

void AppDelegate::applicationEnqueueFiles(const QStringList &paths)
{
    if (!paths.isEmpty())
        whenMediaPlayerReady([this, paths] { appendDroppedOnTable(paths); });
}

void AppDelegate::whenMediaPlayerReady(const std::function<void()> &step)
{
    if (_mediaPlayer) {
        step();
        return;
    }
    // The player is still being made on its thread: the step runs as soon as
    // it is handed over, once.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(this, &AppDelegate::mediaPlayerReady, this, [step, connection] {
        disconnect(*connection);
        step();
    });
}
