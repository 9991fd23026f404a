#include "MediaPreviews.h"

#include "EventLoopWait.h"

MediaPreviews::MediaPreviews(MediaBackend *backend, EventLoopWait &wait)
    : _backend(backend)
    , _wait(wait)
{
}

QImage MediaPreviews::thumbnail() const
{
    QMutexLocker lock(&_thumbnailLock);
    return _thumbnail;
}

void MediaPreviews::setThumbnail(const QImage &image)
{
    QMutexLocker lock(&_thumbnailLock);
    _thumbnail = image;
}

QImage MediaPreviews::getMediaPreview(const QString &path, MediaProbe *probe)
{
    if (!_backend)
        return {};
    const VLCMediaPtr media = _backend->mediaWithPath(path);
    std::unique_ptr<VLCMediaThumbnailer> thumbnailer =
        _backend->thumbnailerWithMediaAndDelegate(media, this);
    thumbnailer->fetchThumbnail();
    // Every fetch is answered within the thumbnailer's own time-out, so the
    // wait ends; meanwhile timers, queued calls and input go on.
    const bool answered = _wait.waitUntil([this] { return _thumbSemphore.tryAcquire(); });
    // A destroyed thumbnailer answers no more.
    thumbnailer.reset();
    if (!answered) {
        // Quitting: an answer that came meanwhile must not be taken by a
        // later fetch as its own.
        _thumbSemphore.tryAcquire();
        return {};
    }
    // The thumbnailer parsed the media before grabbing: its length and streams
    // are known now, or cannot be known, without waiting again.
    if (probe)
        *probe = {media->length(), media->tracks()};
    return thumbnail();
}

void MediaPreviews::mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *,
                                                       const QImage &thumbnail)
{
    // One pixel per point: the preview's size is the thumbnail's pixel size.
    QImage preview = thumbnail;
    preview.setDevicePixelRatio(1.0);
    setThumbnail(preview);
    _thumbSemphore.release();
    _wait.wake();
}

void MediaPreviews::mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *)
{
    setThumbnail(QImage());
    _thumbSemphore.release();
    _wait.wake();
}
