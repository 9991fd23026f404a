#pragma once

#include "LibVlcEngine.h"
#include "VLCMediaPlayer.h"

#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

class LibVlcTracks;
class QObject;
class VLCVideoView;
struct libvlc_media_player_t;

// VLCMediaPlayer over a libvlc_media_player_t that only its own worker thread
// changes. libVLC's stop (and a new media on a playing player, which stops
// too) can block for seconds while a file is being opened; the calls here only
// queue the engine work, in order, and answer from what they asked for until
// the worker has caught up, so the main thread never waits on the engine.
// Destruction hands the teardown to the worker as well.
//
// libVLC reports from its own threads; those reports only post queued calls
// to the delegate's thread, or work to the worker, and never call back into
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
    double position() const override;
    VLCMediaPlayerState state() const override;
    bool isPlaying() const override;

    // LibVlcTracks.cpp.
    QList<VLCTrack> tracks(VLCTrackKind kind) const override;
    int currentTrack(VLCTrackKind kind) const override;
    void setCurrentTrack(VLCTrackKind kind, int id) override;
    void addSubtitleFile(const QString &path) override;

private:
    class Worker;

    class Audio final : public VLCAudio {
    public:
        explicit Audio(LibVlcMediaPlayer *player)
            : _player(player)
        {
        }
        void setVolume(int volume) override;
        int volume() const override { return _volume; }

    private:
        LibVlcMediaPlayer *const _player;
        int _volume = 100;
    };

    // What the engine will report once the worker has carried out every
    // command up to `untilCommand`; until then it is the answer.
    struct Expectation {
        uint64_t untilCommand = 0;
        VLCMediaPlayerState state = VLCMediaPlayerState::Stopped;
        std::optional<int64_t> timeMs;
    };

    // Queues a command that changes the state or the time, and notes how it
    // leaves them.
    template <typename Command>
    void postExpecting(VLCMediaPlayerState state, std::optional<int64_t> timeMs, Command command);
    bool isExpectationPending() const;
    // Queues a command that changes the tracks, and has them read again after it.
    void postTrackCommand(std::function<void(libvlc_media_player_t *)> command);
    // False from a new media or a stop until the worker has carried it out:
    // the tracks last read are the old media's.
    bool areTracksKnown() const;

    std::shared_ptr<Worker> _worker;
    VLCMediaPtr _media;
    Audio _audio{this};
    Expectation _expected;
    uint64_t _tracksUnknownUntil = 0;
    // Shared with the worker, which reads them.
    std::shared_ptr<LibVlcTracks> _tracks;
    // Lives on the view's thread, for the view's notifications.
    QObject *_viewContext = nullptr;
};
