#pragma once

#include "LibVlcEngine.h"
#include "VLCMediaPlayer.h"

#include <QMutex>
#include <QPointer>
#include <atomic>

struct libvlc_event_t;
struct libvlc_media_player_t;
class QObject;
class VLCVideoView;

// VLCMediaPlayer over a libvlc_media_player_t. libVLC reports from its own
// threads; those reports only post queued calls to objects that live on the
// main thread (or the delegate context's thread) and never call back into
// libVLC, so nothing is stopped or released from inside a libVLC callback.
class LibVlcMediaPlayer final : public VLCMediaPlayer {
public:
    LibVlcMediaPlayer(std::shared_ptr<LibVlcEngine> engine, VLCVideoView *view);
    ~LibVlcMediaPlayer() override;

    void setDelegate(VLCMediaPlayerDelegate *delegate, QObject *context) override;
    void setMedia(VLCMediaPtr media) override;
    VLCMediaPtr media() const override { return _media; }

    void play() override;
    void pause() override;
    void stop() override;
    VLCAudio *audio() override { return &_audio; }

    void setTime(VLCTime time) override;
    VLCTime time() const override;
    VLCMediaPlayerState state() const override;
    bool isPlaying() const override;

private:
    class Audio final : public VLCAudio {
    public:
        explicit Audio(LibVlcMediaPlayer *player)
            : _player(player)
        {
        }
        void setVolume(int volume) override;
        int volume() const override { return _volume.load(); }

    private:
        friend class LibVlcMediaPlayer;
        LibVlcMediaPlayer *_player;
        std::atomic<int> _volume{100};
    };

    class DelegateRelay;
    class MainThreadHelper;
    enum class Notification { TimeChanged, StateChanged };

    static void handleEvent(const libvlc_event_t *event, void *opaque);
    void notify(Notification notification);
    void applyVolume();
    void applyFill();

    const std::shared_ptr<LibVlcEngine> _engine;
    libvlc_media_player_t *_player = nullptr;
    VLCMediaPtr _media;
    Audio _audio{this};
    QPointer<VLCVideoView> _view;

    // Lives on the view's (main) thread: follows the view's fill state and
    // re-applies the volume when playback starts.
    MainThreadHelper *_helper = nullptr;

    // Read by libVLC's event thread, replaced by setDelegate.
    QMutex _relayMutex;
    DelegateRelay *_relay = nullptr;
};
