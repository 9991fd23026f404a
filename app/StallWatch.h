#pragma once

#include "media/VLCTime.h"

// Notices a media that plays without getting anywhere. A file the engine opens
// but never decodes (gigabytes of zeros, a stream that went quiet) would hold
// up the playlist for good: its end comes only from the engine, or from a
// length the engine never reports.
class StallWatch {
public:
    // Seconds of playback in which neither the engine's time nor its position moves.
    static constexpr int kStallSeconds = 10;

    // A new media: nothing seen of it yet.
    void reset() { *this = StallWatch(); }
    // One more second of playback, with where the engine says it is now. True
    // once the media has stood still for kStallSeconds.
    bool secondPlayed(VLCTime time, double position);

private:
    int64_t _timeMs = -1;
    double _position = -1.0;
    int _stillSeconds = 0;
};
