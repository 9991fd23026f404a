// AppDelegate: the current media, its length and the time read-outs.
#include "AppDelegate.h"

#include "TracksMenu.h"
#include "media/NativePath.h"
#include "playlist/PathComponents.h"

#include <QTimer>

namespace {

const QString kZeroTime = QStringLiteral("00:00:00");

// Until the engine knows a length it reports 0 or less; it is asked again this
// often, and at most this many times before what it says is taken.
constexpr int kLengthPollIntervalMs = 200;
constexpr int64_t kLastLengthPoll = 11;

// A media ends at the first tick that leaves less than this of its length.
constexpr int32_t kEndToleranceMs = 60;

} // namespace

bool AppDelegate::configureForCurrentMedia()
{
    if (!_mediaPlayer || !_backend)
        return false;
    // A paused entry is replaced without being cleared first.
    rememberPlaybackPosition();
    if (_timer)
        _timer->refresh();
    if (mediaIndex() < 0 || mediaIndex() >= mediaPlaylist()->size())
        return false;
    const MediaEntry &entry = mediaPlaylist()->at(mediaIndex());
    _resumeSeconds = resumeSecondsFor(entry);
    // The entry object itself, so that lookups by identity find it.
    _curMediaPath = entry;
    // Unknown until delivered: the former media's length must not end this one.
    _curMediaLength = VLCTime();
    _stallWatch.reset();
    _playNextWhenAppended = false;
    if (!NativePath::exists(_curMediaPath->path)) {
        if (_overlay.remainingTimeLabel)
            _overlay.remainingTimeLabel->setText(kZeroTime);
        if (_overlay.totalTimeLabel)
            _overlay.totalTimeLabel->setText(kZeroTime);
        return false;
    }
    setCurMedia(_backend->mediaWithPath(_curMediaPath->path));
    _mediaPlayer->setMedia(_curMedia);
    _tracksMenu->refresh();
    if (_overlay.mediaBackgroundImageView)
        _overlay.mediaBackgroundImageView->setHidden(true);
    getLengthWithBlock([this](int64_t lengthMs) { deliverMediaLength(lengthMs); });
    emit playbackChanged();
    return true;
}

void AppDelegate::getLengthWithBlock(std::function<void(int64_t)> block)
{
    setMediaLengthBlock(std::move(block));
    getLengthTick();
}

void AppDelegate::getLengthTick()
{
    // This poll stands for any that was still due.
    _pendingLengthPoll = 0;
    const int32_t lengthMs = _curMedia ? _curMedia->length().intValue() : 0;
    if (lengthMs > 0 || legthTickCount >= kLastLengthPoll) {
        // Read again: the engine may have learnt the length meanwhile.
        const int64_t deliveredMs = _curMedia ? _curMedia->length().intValue() : 0;
        legthTickCount = 0;
        if (_mediaLengthBlock)
            _mediaLengthBlock(deliveredMs);
        return;
    }
    ++legthTickCount;
    const uint64_t poll = ++_lastLengthPoll;
    _pendingLengthPoll = poll;
    QTimer::singleShot(kLengthPollIntervalMs, this, [this, poll] {
        if (_pendingLengthPoll == poll)
            getLengthTick();
    });
}

void AppDelegate::runPendingLengthPoll()
{
    if (hasPendingLengthPoll())
        getLengthTick();
}

void AppDelegate::deliverMediaLength(int64_t lengthMs)
{
    // The entry went away while its length was polled (removed, or played to
    // its end): nothing is current, so nothing is shown for it.
    if (mediaIndex() < 0 || mediaIndex() >= mediaPlaylist()->size())
        return;
    if (_overlay.totalTimeLabel)
        _overlay.totalTimeLabel->setText(Timer::getTimeStr(static_cast<uint32_t>(lengthMs) / 1000));
    // The rows show the lengths stored when the entries were added: the table
    // has nothing to read again.
    // An entry filtered out of view has no row; the selection stays as it is.
    const int64_t row =
        indexOfObjectInArray(mediaPlaylist()->at(mediaIndex()), _playlist.visibleMediaPlaylist());
    if (row != NSNotFound)
        selectTableRow(row);
    _curMediaLength = _curMedia ? _curMedia->length() : VLCTime();
    if (_overlay.mediaBackgroundImageView && _curMediaPath)
        _overlay.mediaBackgroundImageView->setHidden(
            !_classifier.hasAudioLook(_curMediaPath->path) && !_curMediaPath->noVideoTrack);
    if (_overlay.mediaProgressSlider) {
        _overlay.mediaProgressSlider->setEnabled(true);
        _overlay.mediaProgressSlider->setMaximum(static_cast<int>(lengthMs / 1000));
    }
    if (_overlay.mediaName && _curMediaPath)
        _overlay.mediaName->setText(
            NativePath::displayString(PathComponents::baseName(_curMediaPath->path)));
    if (_mediaPlayer && _overlay.volumeSlider)
        _mediaPlayer->audio()->setVolume(_overlay.volumeSlider->value());
    emit playbackChanged();
}

void AppDelegate::timeChanged()
{
    refreshLabels();
    const uint32_t spentSeconds = _timer ? _timer->getSpentTimeUint() : 0;
    // 32-bit arithmetic read as signed: a count past the end gives a negative rest.
    const uint32_t lengthMs = static_cast<uint32_t>(_curMediaLength.milliseconds());
    const auto leftMs = static_cast<int32_t>(lengthMs - spentSeconds * 1000u);
    if (leftMs < kEndToleranceMs && _curMediaLength.intValue() > 0) {
        currentMediaDidEnd();
        return;
    }
    if (_overlay.mediaProgressSlider)
        _overlay.mediaProgressSlider->setValue(static_cast<int>(spentSeconds));
}

void AppDelegate::currentMediaDidEnd()
{
    forgetPlaybackPosition();
    if (_timer)
        _timer->refresh();
    clearPlayer();
    if (nextMediaButtonClick(_nextMediaButton))
        return;
    // Files still being added come after it: the next one to arrive plays.
    if (_additions && !_additions->isIdle()) {
        _playNextWhenAppended = true;
        return;
    }
    _playlist.setMediaIndex(-1);
    emit playbackChanged();
}

void AppDelegate::secondPlayed()
{
    if (_mediaPlayer && _stallWatch.secondPlayed(_mediaPlayer->time(), _mediaPlayer->position())) {
        currentMediaDidEnd();
        return;
    }
    timeChanged();
}

void AppDelegate::mediaPlayerStateChanged()
{
    // The engine's end or error ends the entry even when its length is not
    // known, so that one file the engine cannot play never holds up the rest.
    // The state is read now, not taken from the notification: one that was on
    // its way while another media was loaded must not end that one.
    if (!_mediaPlayer || !_curMedia || _mediaPlayer->media() != _curMedia || mediaIndex() < 0)
        return;
    const VLCMediaPlayerState state = _mediaPlayer->state();
    if (state == VLCMediaPlayerState::Ended || state == VLCMediaPlayerState::Error)
        currentMediaDidEnd();
}

void AppDelegate::mediaPlayerTracksChanged()
{
    _tracksMenu->refresh();
}

void AppDelegate::refreshLabels()
{
    const uint32_t spentSeconds = _timer ? _timer->getSpentTimeUint() : 0;
    const uint32_t lengthSeconds = static_cast<uint32_t>(_curMediaLength.milliseconds()) / 1000;
    const uint32_t remainingSeconds =
        lengthSeconds >= spentSeconds ? lengthSeconds - spentSeconds : 0;
    if (_overlay.spentTimeLabel)
        _overlay.spentTimeLabel->setText(Timer::getTimeStr(spentSeconds));
    if (_overlay.remainingTimeLabel)
        _overlay.remainingTimeLabel->setText(Timer::getTimeStr(remainingSeconds));
}
