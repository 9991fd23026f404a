#pragma once

#include "VLCMedia.h"

#include <QImage>

class VLCMediaThumbnailer;

// Each fetch ends in exactly one of these calls, on any thread.
class VLCMediaThumbnailerDelegate {
public:
    virtual ~VLCMediaThumbnailerDelegate() = default;
    virtual void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *thumbnailer,
                                                    const QImage &thumbnail) = 0;
    virtual void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *thumbnailer) = 0;
};

// Grabs one still picture of a media. fetchThumbnail() returns at once; the
// delegate then hears exactly one answer within the thumbnailer's time-out.
// The thumbnailer may be destroyed as soon as the answer has arrived.
class VLCMediaThumbnailer {
public:
    virtual ~VLCMediaThumbnailer() = default;
    virtual void fetchThumbnail() = 0;
};
