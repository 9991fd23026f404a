#include "StallWatch.h"

bool StallWatch::secondPlayed(VLCTime time, double position)
{
    const int64_t timeMs = time.isKnown() ? time.milliseconds() : -1;
    if (timeMs != _timeMs || position != _position) {
        _timeMs = timeMs;
        _position = position;
        _stillSeconds = 0;
        return false;
    }
    return ++_stillSeconds >= kStallSeconds;
}
