#pragma once

#include "media/MediaBackend.h"

#include <QHash>
#include <QImage>
#include <QStringList>
#include <array>
#include <atomic>
#include <functional>

// A stand-in for the media engine, so that logic tests run without a decoder.
// Lengths are whatever the test says; the player records what it was told.

class FakeMedia : public VLCMedia {
public:
    FakeMedia(QString path, VLCTime length)
        : _path(std::move(path))
        , _length(length)
    {
    }
    QString path() const override { return _path; }
    VLCTime length() override { return _length; }
    VLCTime lengthWaitUntilDate(QDeadlineTimer) override { return _length; }
    void parseStop() override {}
    Tracks tracks() override { return _tracks; }
    void setLength(VLCTime length) { _length = length; }
    void setTracks(Tracks tracks) { _tracks = tracks; }

private:
    QString _path;
    VLCTime _length;
    Tracks _tracks{true, true, true};
};

class RecordingAudio : public VLCAudio {
public:
    void setVolume(int volume) override { _volume = volume; }
    int volume() const override { return _volume; }

private:
    int _volume = -1;
};

class RecordingMediaPlayer : public VLCMediaPlayer {
public:
    explicit RecordingMediaPlayer(std::atomic<int> *released = nullptr)
        : _released(released)
    {
    }
    ~RecordingMediaPlayer() override
    {
        if (_released)
            ++*_released;
    }

    // Every call, in order: "play", "pause", "stop", "setMedia <path>" or
    // "setMedia nil", "setTime <ms>", "setCurrentTrack <kind> <id>" (0 audio,
    // 1 subtitle), "addSubtitleFile <path>".
    QStringList calls;

    void setDelegate(VLCMediaPlayerDelegate *delegate, QObject *) override { _delegate = delegate; }
    void setMedia(VLCMediaPtr media) override;
    VLCMediaPtr media() const override { return _media; }
    void play() override;
    void pause() override;
    void stop() override;
    VLCAudio *audio() override { return &_audio; }
    void setTime(VLCTime time) override;
    VLCTime time() const override { return _time; }
    double position() const override { return _position; }
    // The engine plays on: its time moves by that much.
    void advance(int ms) { _time = VLCTime(_time.intValue() + ms); }
    // Only the position moves, as for media whose time the engine cannot tell.
    void advancePosition(double by) { _position += by; }
    // What the engine reports of the media, as its state notification does.
    void report(VLCMediaPlayerState state);
    VLCMediaPlayerState state() const override { return _state; }
    bool isPlaying() const override { return _state == VLCMediaPlayerState::Playing; }
    VLCMediaPlayerDelegate *delegate() const { return _delegate; }

    // Tracks come and go with the media, as the engine's do.
    QList<VLCTrack> tracks(VLCTrackKind kind) const override { return _tracks[size_t(kind)]; }
    int currentTrack(VLCTrackKind kind) const override { return _currentTracks[size_t(kind)]; }
    void setCurrentTrack(VLCTrackKind kind, int id) override;
    void addSubtitleFile(const QString &path) override;
    // What the engine reports of the playing media's tracks, as its notification does.
    void reportTracks(VLCTrackKind kind, QList<VLCTrack> tracks, int current);

private:
    std::atomic<int> *_released;
    VLCMediaPlayerDelegate *_delegate = nullptr;
    VLCMediaPtr _media;
    RecordingAudio _audio;
    VLCTime _time;
    double _position = -1.0;
    VLCMediaPlayerState _state = VLCMediaPlayerState::Stopped;
    std::array<QList<VLCTrack>, 2> _tracks;
    std::array<int, 2> _currentTracks{VLCNoTrack, VLCNoTrack};
    void forgetTracks();
};

class FakeThumbnailer;

class FakeMediaBackend : public MediaBackend {
public:
    // Length of media made for a path from now on; unknown by default.
    void setLength(const QString &path, VLCTime length) { _lengths.insert(path, length); }
    // Streams the engine finds in media made for a path from now on; audio and
    // video by default.
    void setTracks(const QString &path, VLCMedia::Tracks tracks) { _tracks.insert(path, tracks); }
    // Whether the thumbnailer answers a path with an image (the default) or
    // with its time-out.
    void setThumbnailFails(const QString &path) { _failingThumbnails.append(path); }
    // While held, fetches go unanswered until the test answers them, so that
    // it can act in the middle of a wait.
    void setThumbnailsHeld(bool held) { _thumbnailsHeld = held; }
    // Answers the held fetches, oldest first; returns how many there were.
    int answerHeldThumbnails();
    qsizetype heldThumbnailCount() const { return _heldThumbnails.size(); }
    // Makes the player's creation take this long, as the engine's start-up can.
    void setPlayerCreationDelay(int ms) { _playerCreationDelayMs = ms; }

    VLCMediaPtr mediaWithPath(const QString &path) override;
    std::unique_ptr<VLCMediaPlayer> initWithVideoView(VLCVideoView *view) override;
    std::unique_ptr<VLCMediaThumbnailer>
    thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                    VLCMediaThumbnailerDelegate *delegate) override;

    // The last player made, owned by whoever asked for it.
    RecordingMediaPlayer *player() const { return _player; }
    int playersMade() const { return _playersMade; }
    int playersReleased() const { return _playersReleased; }
    QStringList thumbnailsFetched;

private:
    friend class FakeThumbnailer;

    QHash<QString, VLCTime> _lengths;
    QHash<QString, VLCMedia::Tracks> _tracks;
    bool _thumbnailsHeld = false;
    QList<FakeThumbnailer *> _heldThumbnails;
    QStringList _failingThumbnails;
    std::atomic<RecordingMediaPlayer *> _player = nullptr;
    std::atomic<int> _playersMade = 0;
    std::atomic<int> _playersReleased = 0;
    int _playerCreationDelayMs = 0;
};
