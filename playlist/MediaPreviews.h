#pragma once

#include "MediaLengthReader.h"
#include "media/MediaBackend.h"

#include <QImage>
#include <QMutex>
#include <QSemaphore>

class EventLoopWait;

// Still pictures of videos from the media layer's thumbnailer. The answer may
// come on any thread; it reaches the waiting main thread through the
// thumbnail and the semaphore, stored before signalled.
class MediaPreviews : public VLCMediaThumbnailerDelegate {
public:
    MediaPreviews(MediaBackend *backend, EventLoopWait &wait);

    // Waits for the thumbnailer's answer with the event loop turning; a null
    // image when it timed out, or when the application began to quit.
    // `probe`, when given, receives what the thumbnailer's parse found out
    // about the media's length and streams.
    QImage getMediaPreview(const QString &path, MediaProbe *probe = nullptr);

    QSemaphore *thumbSemphore() { return &_thumbSemphore; }
    QImage thumbnail() const;
    void setThumbnail(const QImage &image);

    void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *thumbnailer,
                                            const QImage &thumbnail) override;
    void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *thumbnailer) override;

private:
    MediaBackend *const _backend;
    EventLoopWait &_wait;
    QSemaphore _thumbSemphore{0};
    mutable QMutex _thumbnailLock;
    QImage _thumbnail;
};
