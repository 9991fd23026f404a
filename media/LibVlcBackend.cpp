#include "LibVlcBackend.h"

#include "LibVlcEngine.h"
#include "LibVlcMedia.h"
#include "LibVlcMediaPlayer.h"
#include "LibVlcMediaThumbnailer.h"

#include <malloc.h>

// Last: Xlib's macros (None, Bool, Status...) would clash with Qt's names.
#include <X11/Xlib.h>

void prepareProcessForMediaEngine()
{
    // Harmless without a display; it only makes Xlib lock for its callers.
    XInitThreads();
    // Every thread the engine starts (decoders, outputs, each thumbnail's
    // player) would otherwise get a memory pool of its own, which keeps what
    // was freed in it: with many thumbnails made, the process held twice the
    // memory it used. Two pools cost no measurable time here.
    mallopt(M_ARENA_MAX, 2);
}

namespace {

class LibVlcBackend final : public MediaBackend {
public:
    VLCMediaPtr mediaWithPath(const QString &path) override
    {
        return std::make_shared<LibVlcMedia>(LibVlcEngine::shared(), path);
    }

    std::unique_ptr<VLCMediaPlayer> initWithVideoView(VLCVideoView *view) override
    {
        return std::make_unique<LibVlcMediaPlayer>(LibVlcEngine::shared(), view);
    }

    std::unique_ptr<VLCMediaThumbnailer>
    thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                    VLCMediaThumbnailerDelegate *delegate) override
    {
        return std::make_unique<LibVlcMediaThumbnailer>(std::move(media), delegate);
    }
};

} // namespace

std::unique_ptr<MediaBackend> createLibVlcBackend()
{
    return std::make_unique<LibVlcBackend>();
}
