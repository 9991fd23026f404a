#pragma once

#include "VLCMediaThumbnailer.h"

#include <memory>
#include <vector>

class ThumbnailFetch;

// VLCMediaThumbnailer over a windowless libVLC player of its own. Each fetch
// runs on a worker thread that owns all of its engine state; the thumbnailer
// object only hands the fetch over and, when destroyed first, cancels it.
class LibVlcMediaThumbnailer final : public VLCMediaThumbnailer {
public:
    LibVlcMediaThumbnailer(VLCMediaPtr media, VLCMediaThumbnailerDelegate *delegate);
    // No answer reaches the delegate after this returns: an answer being
    // delivered on a worker is waited for, so the delegate must not block on
    // the thread that destroys the thumbnailer.
    ~LibVlcMediaThumbnailer() override;

    void fetchThumbnail() override;

    // Longest wait for an answer, counted from the fetch.
    static constexpr int kTimeoutMs = 10000;
    // The box the picture is scaled to fit, aspect kept.
    static constexpr int kMaxWidth = 320;
    static constexpr int kMaxHeight = 240;

private:
    const VLCMediaPtr _media;
    VLCMediaThumbnailerDelegate *const _delegate;
    std::vector<std::shared_ptr<ThumbnailFetch>> _fetches;
};
