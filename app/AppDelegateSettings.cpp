// AppDelegate: what the player remembers between runs (PlayerSettings) and
// where it continues a file it played before.
#include "AppDelegate.h"

#include "media/NativePath.h"

void AppDelegate::restoreWindowGeometry()
{
    _settings.load();
    QWidget *window = view()->window();
    if (_settings.windowGeometry.isEmpty() || !window->restoreGeometry(_settings.windowGeometry))
        return;
    // Full screen was the moment's choice: the player comes back in its window.
    window->setWindowState(window->windowState() & ~Qt::WindowFullScreen);
}

void AppDelegate::restoreSettings()
{
    _settings.load();
    if (_overlay.volumeSlider && _settings.volume)
        _overlay.volumeSlider->setValue(*_settings.volume);
    if (_settings.unmutedVolume)
        _volumeBeforeMute = *_settings.unmutedVolume;
    if (_settings.playlistOpen && !_isPlaylistOpen)
        showPlaylistButtonClick(_overlay.showPlaylistButton);
}

void AppDelegate::saveSettings()
{
    noteWherePlaybackStopped();
    if (_overlay.volumeSlider) {
        _settings.volume = static_cast<int>(_curVolume);
        _settings.unmutedVolume = _volumeBeforeMute;
    }
    _settings.windowGeometry = view()->window()->saveGeometry();
    _settings.playlistOpen = _isPlaylistOpen;
    _settings.save();
}

bool AppDelegate::noteWherePlaybackStopped()
{
    // Only media still in the player has a place to continue from: one that
    // was emptied out has ended or gone.
    if (!_curMediaPath || !_curMedia || !_mediaPlayer || _mediaPlayer->media() != _curMedia)
        return false;
    const int64_t spentMs = int64_t(_timer ? _timer->getSpentTimeUint() : 0) * 1000;
    return _settings.resumePositions.stopped(
        NativePath::toNative(_curMediaPath->path), spentMs, _curMediaLength.milliseconds(),
        _classifier.hasAudioLook(_curMediaPath->path) || _curMediaPath->noVideoTrack);
}

void AppDelegate::rememberPlaybackPosition()
{
    // Written at once: a position is worth keeping even if the player never quits cleanly.
    if (noteWherePlaybackStopped())
        _settings.save();
}

void AppDelegate::forgetPlaybackPosition()
{
    if (_curMediaPath &&
        _settings.resumePositions.forget(NativePath::toNative(_curMediaPath->path)))
        _settings.save();
}

uint32_t AppDelegate::resumeSecondsFor(const MediaEntry &entry) const
{
    // The entry that was current loaded once more starts over, as asked.
    if (!entry || entry == _curMediaPath)
        return 0;
    return static_cast<uint32_t>(
        _settings.resumePositions.resumePosition(NativePath::toNative(entry->path)) / 1000);
}

void AppDelegate::resumeRememberedPosition()
{
    // Only the first start after loading continues; a pause goes on from where it is.
    const uint32_t seconds = std::exchange(_resumeSeconds, 0);
    if (seconds == 0 || !_mediaPlayer)
        return;
    _mediaPlayer->setTime(VLCTime::initWithInt(static_cast<int>(seconds) * 1000));
    if (_timer)
        _timer->setTime(seconds);
    if (_overlay.mediaProgressSlider)
        _overlay.mediaProgressSlider->setValue(static_cast<int>(seconds));
    refreshLabels();
}
