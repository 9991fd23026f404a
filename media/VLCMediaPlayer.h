#pragma once

#include "VLCMedia.h"
#include "VLCTime.h"

class QObject;

// Receives the player's notifications, always on the main thread.
class VLCMediaPlayerDelegate {
public:
    virtual ~VLCMediaPlayerDelegate() = default;
    virtual void mediaPlayerTimeChanged() = 0;
    virtual void mediaPlayerStateChanged() = 0;
};

class VLCAudio {
public:
    virtual ~VLCAudio() = default;
    // Output volume on the engine's scale (0..200, 100 is unchanged); applied at once.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
};

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
};
