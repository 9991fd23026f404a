#include "LibVlcMedia.h"

#include "NativePath.h"

#include <QFile>
#include <vlc/vlc.h>

// libVLC's own default; a time-out of 0 would wait forever.
static constexpr int kParseTimeoutMs = 5000;

LibVlcMedia::LibVlcMedia(std::shared_ptr<LibVlcEngine> engine, const QString &path)
    : _path(path)
    , _engine(std::move(engine))
{
    if (_engine)
        _media = libvlc_media_new_path(_engine->instance(), NativePath::toNative(path).constData());
    if (_media)
        libvlc_event_attach(libvlc_media_event_manager(_media), libvlc_MediaParsedChanged,
                            &LibVlcMedia::handleParsedChanged, this);
}

LibVlcMedia::~LibVlcMedia()
{
    if (!_media)
        return;
    // Detaching waits for a callback in progress, so none can reach us later.
    libvlc_event_detach(libvlc_media_event_manager(_media), libvlc_MediaParsedChanged,
                        &LibVlcMedia::handleParsedChanged, this);
    libvlc_media_release(_media);
}

void LibVlcMedia::handleParsedChanged(const libvlc_event_t *event, void *opaque)
{
    // libVLC's preparser thread: only our own state is touched here.
    auto *self = static_cast<LibVlcMedia *>(opaque);
    QMutexLocker locker(&self->_mutex);
    self->_parseFinished = true;
    self->_parseStatus = event->u.media_parsed_changed.new_status;
    self->_parseEnded.wakeAll();
}

void LibVlcMedia::startParseOnce()
{
    {
        QMutexLocker locker(&_mutex);
        if (_parseStarted)
            return;
        _parseStarted = true;
        // Only regular files reach the preparser: opening a FIFO can block for
        // ever, and a directory would be read as a playlist.
        _readable = _media && NativePath::kind(_path) == NativePath::Kind::RegularFile;
        if (!_readable) {
            _parseFinished = true;
            _parseEnded.wakeAll();
            return;
        }
    }
    // Unlocked: libVLC may send the event from inside the request. A refused
    // request sends none, so it ends the wait itself.
    if (libvlc_media_parse_with_options(_media, libvlc_media_parse_local, kParseTimeoutMs) != 0) {
        QMutexLocker locker(&_mutex);
        _parseFinished = true;
        _parseEnded.wakeAll();
    }
}

VLCTime LibVlcMedia::currentLength() const
{
    const libvlc_time_t lengthMs = _media ? libvlc_media_get_duration(_media) : -1;
    return lengthMs > 0 ? VLCTime(lengthMs) : VLCTime();
}

VLCTime LibVlcMedia::length()
{
    startParseOnce();
    return currentLength();
}

VLCTime LibVlcMedia::lengthWaitUntilDate(QDeadlineTimer deadline)
{
    startParseOnce();
    {
        QMutexLocker locker(&_mutex);
        while (!_parseFinished) {
            if (!_parseEnded.wait(&_mutex, deadline))
                break;
        }
    }
    return currentLength();
}

void LibVlcMedia::parseStop()
{
    {
        QMutexLocker locker(&_mutex);
        if (!_parseStarted || _parseFinished)
            return;
    }
    // libVLC answers with a time-out event; the wait ends here in any case.
    libvlc_media_parse_stop(_media);
    QMutexLocker locker(&_mutex);
    _parseFinished = true;
    _parseEnded.wakeAll();
}

LibVlcMedia::ParseOutcome LibVlcMedia::parseOutcome()
{
    ParseOutcome outcome;
    {
        QMutexLocker locker(&_mutex);
        outcome.finished = _parseFinished;
        outcome.completed = _parseStatus == libvlc_media_parsed_status_done;
        outcome.failed = _parseStatus == libvlc_media_parsed_status_failed;
        outcome.readable = _readable;
    }
    if (!_media || !outcome.completed)
        return outcome;
    libvlc_media_track_t **tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(_media, &tracks);
    for (unsigned i = 0; i < count; ++i) {
        if (tracks[i]->i_type == libvlc_track_audio)
            outcome.hasAudio = true;
        if (tracks[i]->i_type != libvlc_track_video || outcome.hasVideo)
            continue;
        const libvlc_video_track_t *video = tracks[i]->video;
        outcome.hasVideo = true;
        outcome.width = video->i_width;
        outcome.height = video->i_height;
        // Pictures turned a quarter are shown, and decoded for us, upright.
        if (video->i_orientation >= libvlc_video_orient_left_top)
            std::swap(outcome.width, outcome.height);
        if (video->i_sar_num && video->i_sar_den) {
            outcome.sarNum = video->i_sar_num;
            outcome.sarDen = video->i_sar_den;
        }
    }
    if (count)
        libvlc_media_tracks_release(tracks, count);
    return outcome;
}

VLCMedia::Tracks LibVlcMedia::tracks()
{
    const ParseOutcome parsed = parseOutcome();
    Tracks tracks;
    // A time-out tells nothing; a failure means the engine cannot read it.
    tracks.known = !parsed.readable || parsed.completed || parsed.failed;
    tracks.hasAudio = parsed.hasAudio;
    tracks.hasVideo = parsed.hasVideo;
    return tracks;
}
