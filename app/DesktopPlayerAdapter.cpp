#include "DesktopPlayerAdapter.h"

#include "AppDelegate.h"
#include "media/NativePath.h"
#include "playlist/PathComponents.h"

#include <QSlider>

namespace {

// The volume slider's value for the engine's own level (volume 1.0).
constexpr double kUnamplifiedVolume = 100.0;

} // namespace

DesktopPlayerAdapter::DesktopPlayerAdapter(AppDelegate *appDelegate)
    : DesktopPlayer(appDelegate)
    , _appDelegate(appDelegate)
{
    connect(appDelegate, &AppDelegate::playbackChanged, this, &DesktopPlayer::stateChanged);
    connect(appDelegate, &AppDelegate::seeked, this, &DesktopPlayer::seeked);
    // Entries come and go, or the filter hides them: next and previous change.
    Playlist *playlist = &appDelegate->playlist();
    connect(playlist, &Playlist::visibleListReset, this, &DesktopPlayer::stateChanged);
    connect(playlist, &Playlist::visibleRowsInserted, this, &DesktopPlayer::stateChanged);
    connect(playlist, &Playlist::visibleRowsRemoved, this, &DesktopPlayer::stateChanged);
}

MediaEntry DesktopPlayerAdapter::currentEntry() const
{
    return _appDelegate ? _appDelegate->playlist().currentEntry() : nullptr;
}

DesktopPlayer::Status DesktopPlayerAdapter::status() const
{
    if (!_appDelegate || !currentEntry())
        return Status::Stopped;
    if (_appDelegate->isPlaying())
        return Status::Playing;
    const VLCMediaPlayer *player = _appDelegate->mediaPlayer();
    const VLCMediaPtr media = _appDelegate->curMedia();
    return player && media && player->media() == media ? Status::Paused : Status::Stopped;
}

DesktopPlayer::Track DesktopPlayerAdapter::currentTrack() const
{
    const MediaEntry entry = currentEntry();
    if (!entry)
        return {};
    if (_trackEntry.lock() != entry) {
        _trackEntry = entry;
        ++_trackId;
    }
    // The engine's word once it has loaded the entry; until then, what adding it found.
    const VLCTime told =
        _appDelegate->curMediaPath() == entry ? _appDelegate->curMediaLength() : VLCTime();
    return {_trackId, entry->path, NativePath::displayString(PathComponents::baseName(entry->path)),
            (told.intValue() > 0 ? told : entry->length).milliseconds()};
}

QImage DesktopPlayerAdapter::currentPreview() const
{
    const int64_t index = _appDelegate ? _appDelegate->mediaIndex() : -1;
    const PreviewListRef &previews = _appDelegate ? _appDelegate->mediaPreviews() : nullptr;
    if (index < 0 || !previews || index >= previews->size() || !previews->at(index))
        return {};
    return *previews->at(index);
}

qint64 DesktopPlayerAdapter::positionMs() const
{
    if (status() == Status::Stopped)
        return 0;
    return std::max<qint64>(_appDelegate->mediaPlayer()->time().milliseconds(), 0);
}

double DesktopPlayerAdapter::volume() const
{
    return _appDelegate ? _appDelegate->curVolume() / kUnamplifiedVolume : 1.0;
}

void DesktopPlayerAdapter::setVolume(double volume)
{
    QSlider *slider = _appDelegate ? _appDelegate->volumeSlider() : nullptr;
    if (!slider)
        return;
    // As if the slider had been dragged there; it keeps the value within its range.
    slider->setValue(qRound(std::clamp(volume * kUnamplifiedVolume, double(slider->minimum()),
                                       double(slider->maximum()))));
    _appDelegate->volumeSliderValueChanged(slider);
}

bool DesktopPlayerAdapter::canGoNext() const
{
    return _appDelegate && _appDelegate->mediaPlayer() &&
           _appDelegate->indexOfNextVisibleMedia() != AppDelegate::NSNotFound;
}

bool DesktopPlayerAdapter::canGoPrevious() const
{
    return _appDelegate && _appDelegate->mediaPlayer() &&
           _appDelegate->indexOfPreviousVisibleMedia() != AppDelegate::NSNotFound;
}

void DesktopPlayerAdapter::play()
{
    switch (status()) {
    case Status::Playing:
        return;
    case Status::Paused:
        _appDelegate->playPauseButtonClick(nullptr);
        return;
    case Status::Stopped:
        // Stopped unloads the media: it starts again from the beginning.
        if (currentEntry() && _appDelegate->configureForCurrentMedia())
            _appDelegate->playPauseButtonClick(nullptr);
        return;
    }
}

void DesktopPlayerAdapter::pause()
{
    if (status() == Status::Playing)
        _appDelegate->playPauseButtonClick(nullptr);
}

void DesktopPlayerAdapter::stop()
{
    if (currentEntry())
        _appDelegate->stopCurrentMedia();
}

void DesktopPlayerAdapter::next()
{
    if (_appDelegate)
        _appDelegate->nextMediaButtonClick(nullptr);
}

void DesktopPlayerAdapter::previous()
{
    if (_appDelegate)
        _appDelegate->prevMediaButtonClick(nullptr);
}

void DesktopPlayerAdapter::setPositionMs(qint64 positionMs)
{
    if (_appDelegate)
        _appDelegate->setMediaTime(positionMs);
}

void DesktopPlayerAdapter::openFiles(const QStringList &paths)
{
    // Adding waits with the event loop turning: not inside the call that asked.
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            if (_appDelegate)
                _appDelegate->applicationOpenFiles(paths);
        },
        Qt::QueuedConnection);
}

void DesktopPlayerAdapter::enqueueFiles(const QStringList &paths)
{
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            if (_appDelegate)
                _appDelegate->applicationEnqueueFiles(paths);
        },
        Qt::QueuedConnection);
}

void DesktopPlayerAdapter::raise()
{
    QWidget *window = _appDelegate ? _appDelegate->window() : nullptr;
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void DesktopPlayerAdapter::quit()
{
    if (_appDelegate)
        _appDelegate->terminate();
}
