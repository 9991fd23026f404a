#pragma once

#include "VLCMedia.h"
#include "VLCMediaPlayer.h"
#include "VLCMediaThumbnailer.h"

#include <QString>
#include <memory>

class VLCVideoView;

// The one door to the media engine. The application holds one backend; tests
// put a stand-in in its place so that the playlist and playback logic run
// without a decoder.
class MediaBackend {
public:
    virtual ~MediaBackend() = default;

    virtual VLCMediaPtr mediaWithPath(const QString &path) = 0;

    // Safe to call from any thread: it reads only what the view fixed when it
    // was made on the main thread. The player draws into the view (nowhere when
    // the view has no X11 window, as under the offscreen platform). The view
    // must outlive the player.
    virtual std::unique_ptr<VLCMediaPlayer> initWithVideoView(VLCVideoView *view) = 0;

    virtual std::unique_ptr<VLCMediaThumbnailer>
    thumbnailerWithMediaAndDelegate(VLCMediaPtr media, VLCMediaThumbnailerDelegate *delegate) = 0;
};
