#pragma once

#include "VLCMedia.h"
#include "VLCTime.h"

#include <QList>
#include <QString>

class QObject;

// Receives the player's notifications, always on the main thread.
class VLCMediaPlayerDelegate {
public:
    virtual ~VLCMediaPlayerDelegate() = default;
    virtual void mediaPlayerTimeChanged() = 0;
    virtual void mediaPlayerStateChanged() = 0;
    // The media's tracks, or which of them plays, changed. A delegate that
    // shows no tracks may leave it be.
    virtual void mediaPlayerTracksChanged() {}
};

class VLCAudio {
public:
    virtual ~VLCAudio() = default;
    // Output volume on the engine's scale (0..200, 100 is unchanged); applied at once.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
};

enum class VLCTrackKind { Audio, Subtitle };

// One stream of the media as the engine names it; ids are the engine's own.
struct VLCTrack {
    int id = -1;
    QString name;
    bool operator==(const VLCTrack &) const = default;
};

// The id of no track at all: subtitles off.
constexpr int VLCNoTrack = -1;

enum class VLCMediaPlayerState { Stopped, Opening, Buffering, Playing, Paused, Ended, Error };

// Plays one media into the video view it was created for. Every call is made on
// the main thread; the delegate hears from it there too, through queued calls.
class VLCMediaPlayer {
public:
    virtual ~VLCMediaPlayer() = default;

    // The delegate's notifications are delivered through the event loop of
    // `context`'s thread; they stop when `context` is destroyed.
    virtual void setDelegate(VLCMediaPlayerDelegate *delegate, QObject *context) = 0;

    // Holds the media without starting it; nullptr empties the player.
    virtual void setMedia(VLCMediaPtr media) = 0;
    virtual VLCMediaPtr media() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual VLCAudio *audio() = 0;

    // Seeks to the time; the player keeps its playing or paused state.
    virtual void setTime(VLCTime time) = 0;
    // The engine's own position: empty while nothing is loaded.
    virtual VLCTime time() const = 0;
    // The same as a fraction of the media (0..1), negative when unknown.
    virtual double position() const = 0;
    virtual VLCMediaPlayerState state() const = 0;
    virtual bool isPlaying() const = 0;

    // The playing media's tracks of a kind, in the engine's order; none while
    // nothing plays. The answers never wait for the engine: they are what it
    // last reported.
    virtual QList<VLCTrack> tracks(VLCTrackKind kind) const = 0;
    virtual int currentTrack(VLCTrackKind kind) const = 0;
    // VLCNoTrack turns subtitles off.
    virtual void setCurrentTrack(VLCTrackKind kind, int id) = 0;
    // Adds the file as a subtitle track of the loaded media and shows it.
    virtual void addSubtitleFile(const QString &path) = 0;
};
