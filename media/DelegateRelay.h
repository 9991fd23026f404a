#pragma once

#include "VLCMediaPlayer.h"

#include <QObject>
#include <QPointer>
#include <atomic>

enum class Notification { TimeChanged, StateChanged, TracksChanged };

// Delivers notifications on the context's thread, and only while the context
// lives and the player still wants them: calls already queued when the player
// goes away or changes delegate are dropped.
class DelegateRelay : public QObject {
public:
    DelegateRelay(VLCMediaPlayerDelegate *delegate, QObject *context)
        : _delegate(delegate)
        , _context(context)
    {
        moveToThread(context->thread());
    }

    void deliver(Notification notification)
    {
        if (!_active.load() || !_context)
            return;
        switch (notification) {
        case Notification::TimeChanged:
            _delegate->mediaPlayerTimeChanged();
            return;
        case Notification::StateChanged:
            _delegate->mediaPlayerStateChanged();
            return;
        case Notification::TracksChanged:
            _delegate->mediaPlayerTracksChanged();
            return;
        }
    }

    // From any thread. The relay may be inside deliver() (a delegate that
    // drops the player from its notification), so it is never deleted at once.
    void retire()
    {
        _active = false;
        deleteLater();
    }

private:
    VLCMediaPlayerDelegate *const _delegate;
    const QPointer<QObject> _context;
    std::atomic<bool> _active{true};
};
