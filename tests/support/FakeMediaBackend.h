#pragma once

#include "media/MediaBackend.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <atomic>

// A stand-in for the media engine, so that logic tests run without a decoder.
// Lengths are whatever the test says; the player records what it was told.

struct FakeMedia : VLCMedia {
    QString _path;
    VLCTime _length;
    Tracks _tracks;

    QString path() const override { return _path; }
    VLCTime length() override { return _length; }
    VLCTime lengthWaitUntilDate(QDeadlineTimer) override { return _length; }
    void parseStop() override {}
    Tracks tracks() override { return _tracks; }
};

class RecordingMediaPlayer : public VLCMediaPlayer, public VLCAudio {
public:
    // Every call, in order: "play", "pause", "stop", "setMedia <path>" or
    // "setMedia nil", "setTime <ms>".
    QStringList calls;

    void setDelegate(VLCMediaPlayerDelegate *delegate, QObject *) override { _delegate = delegate; }
    void setMedia(VLCMediaPtr media) override
    {
        // Media start at their beginning, as the engine's do.
        _media = std::move(media);
        _time = VLCTime();
        calls << "setMedia " + (_media ? _media->path() : QStringLiteral("nil"));
    }
    VLCMediaPtr media() const override { return _media; }
    void play() override { record(VLCMediaPlayerState::Playing, "play"); }
    void pause() override { record(VLCMediaPlayerState::Paused, "pause"); }
    void stop() override { record(VLCMediaPlayerState::Stopped, "stop"); }
    VLCAudio *audio() override { return this; }
    void setVolume(int volume) override { _volume = volume; }
    int volume() const override { return _volume; }
    void setTime(VLCTime time) override
    {
        _time = time;
        calls << QStringLiteral("setTime %1").arg(time.intValue());
    }
    VLCTime time() const override { return _time; }
    double position() const override { return _position; }
    // The engine plays on: its time moves by that much.
    void advance(int ms) { _time = VLCTime(_time.intValue() + ms); }
    // Only the position moves, as for media whose time the engine cannot tell.
    void advancePosition(double by) { _position += by; }
    // What the engine reports of the media, as its state notification does.
    void report(VLCMediaPlayerState state)
    {
        _state = state;
        _delegate->mediaPlayerStateChanged();
    }
    VLCMediaPlayerState state() const override { return _state; }
    bool isPlaying() const override { return _state == VLCMediaPlayerState::Playing; }
    VLCMediaPlayerDelegate *delegate() const { return _delegate; }
    // The engine finds no tracks: they are tested on the real one.
    QList<VLCTrack> tracks(VLCTrackKind) const override { return {}; }
    int currentTrack(VLCTrackKind) const override { return VLCNoTrack; }
    void setCurrentTrack(VLCTrackKind, int) override {}
    void addSubtitleFile(const QString &) override {}

private:
    void record(VLCMediaPlayerState state, const char *call)
    {
        _state = state;
        calls << QLatin1String(call);
    }
    VLCMediaPlayerDelegate *_delegate = nullptr;
    VLCMediaPtr _media;
    VLCTime _time;
    double _position = -1.0;
    int _volume = -1;
    VLCMediaPlayerState _state = VLCMediaPlayerState::Stopped;
};

class FakeMediaBackend : public MediaBackend {
public:
    // Answers on a later turn of the event loop, as the engine answers later;
    // or, while the backend holds thumbnails, when the test says so. One
    // destroyed first is never answered.
    struct Thumbnailer : QObject, VLCMediaThumbnailer {
        Thumbnailer(FakeMediaBackend *backend, VLCMediaThumbnailerDelegate *delegate, bool fails)
            : _backend(backend)
            , _delegate(delegate)
            , _fails(fails)
        {
        }
        void fetchThumbnail() override
        {
            if (_backend->_thumbnailsHeld)
                _backend->_held.append(this);
            else
                QTimer::singleShot(0, this, [this] { answer(); });
        }
        void answer()
        {
            if (_fails)
                return _delegate->mediaThumbnailerDidTimeOut(this);
            QImage image(320, 180, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            _delegate->mediaThumbnailerDidFinishThumbnail(this, image);
        }
        FakeMediaBackend *_backend;
        VLCMediaThumbnailerDelegate *_delegate;
        bool _fails;
    };

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
    int answerHeldThumbnails()
    {
        const int count = int(heldThumbnailCount());
        for (const QPointer<Thumbnailer> &thumbnailer : std::exchange(_held, {}))
            if (thumbnailer) // not destroyed meanwhile, nor by an earlier answer
                thumbnailer->answer();
        return count;
    }
    qsizetype heldThumbnailCount() const { return _held.size() - _held.count(nullptr); }

    VLCMediaPtr mediaWithPath(const QString &path) override
    {
        auto media = std::make_shared<FakeMedia>();
        media->_path = path;
        media->_length = _lengths.value(path);
        media->_tracks = _tracks.value(path, {true, true, true});
        return media;
    }
    std::unique_ptr<VLCMediaPlayer> initWithVideoView(VLCVideoView *) override
    {
        auto player = std::make_unique<RecordingMediaPlayer>();
        _player = player.get();
        return player;
    }
    std::unique_ptr<VLCMediaThumbnailer>
    thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                    VLCMediaThumbnailerDelegate *delegate) override
    {
        thumbnailsFetched.append(media->path());
        return std::make_unique<Thumbnailer>(this, delegate,
                                             _failingThumbnails.contains(media->path()));
    }

    // The last player made, owned by whoever asked for it.
    RecordingMediaPlayer *player() const { return _player; }
    QStringList thumbnailsFetched;

private:
    QHash<QString, VLCTime> _lengths;
    QHash<QString, VLCMedia::Tracks> _tracks;
    bool _thumbnailsHeld = false;
    QList<QPointer<Thumbnailer>> _held;
    QStringList _failingThumbnails;
    std::atomic<RecordingMediaPlayer *> _player = nullptr;
};
