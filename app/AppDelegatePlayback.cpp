// AppDelegate: the playback commands.
#include "AppDelegate.h"

#include "controls/ImageButton.h"

#include <QFileInfo>

namespace {

void setPlayPauseImages(QAbstractButton *button, bool playing)
{
    auto *imageButton = qobject_cast<ImageButton *>(button);
    if (!imageButton)
        return;
    imageButton->setImage(playing ? QStringLiteral("pause") : QStringLiteral("play"));
    imageButton->setAlternateImage(playing ? QStringLiteral("pause-pressed")
                                           : QStringLiteral("play-pressed"));
}

} // namespace

void AppDelegate::playPauseButtonClick(QObject *)
{
    if (!canClickControlButtons() || !_mediaPlayer || !_curMediaPath ||
        !QFileInfo::exists(_curMediaPath->path))
        return;
    if (_isPlaying) {
        _mediaPlayer->pause();
        if (_timer)
            _timer->pause();
    } else {
        _mediaPlayer->play();
        _mediaPlayer->audio()->setVolume(static_cast<int>(_curVolume));
        if (_timer)
            _timer->start();
    }
    setPlayPauseImages(_playPauseButton, !_isPlaying);
    _isPlaying = !_isPlaying;
}

void AppDelegate::playbackPlay(QObject *)
{
    playPauseButtonClick(nullptr);
}
