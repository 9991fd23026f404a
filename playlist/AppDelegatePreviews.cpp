// AppDelegate: the preview of a video, from the media layer's thumbnailer.
// The answer may come on any thread; it reaches the waiting main thread
// through the thumbnail property and the semaphore, stored before signalled.
#include "app/AppDelegate.h"

QImage AppDelegate::getMediaPreview(const QString &path, MediaProbe *probe)
{
    if (!_backend || !_thumbSemphore)
        return {};
    const VLCMediaPtr media = _backend->mediaWithPath(path);
    std::unique_ptr<VLCMediaThumbnailer> thumbnailer =
        _backend->thumbnailerWithMediaAndDelegate(media, this);
    thumbnailer->fetchThumbnail();
    // Every fetch is answered within the thumbnailer's own time-out, so the
    // wait ends; meanwhile timers, queued calls and input go on.
    const bool answered = _additionWait.waitUntil([this] { return _thumbSemphore->tryAcquire(); });
    // A destroyed thumbnailer answers no more.
    thumbnailer.reset();
    if (!answered) {
        // Quitting: an answer that came meanwhile must not be taken by a
        // later fetch as its own.
        _thumbSemphore->tryAcquire();
        return {};
    }
    // The thumbnailer parsed the media before grabbing: its length and streams
    // are known now, or cannot be known, without waiting again.
    if (probe)
        *probe = {media->length(), media->tracks()};
    return thumbnail();
}

void AppDelegate::mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *, const QImage &thumbnail)
{
    // One pixel per point: the preview's size is the thumbnail's pixel size.
    QImage preview = thumbnail;
    preview.setDevicePixelRatio(1.0);
    setThumbnail(preview);
    _thumbSemphore->release();
    _additionWait.wake();
}

void AppDelegate::mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *)
{
    setThumbnail(QImage());
    _thumbSemphore->release();
    _additionWait.wake();
}
