#pragma once

#include "media/VLCMedia.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// What adding a file needs to know of it from the engine.
struct MediaProbe {
    VLCTime length;
    VLCMedia::Tracks tracks;
};

// Reads the lengths (and streams) of media in the order they were asked for. Asking starts
// the engine's parse at once, so the parses of later media run while earlier
// ones are handled; a worker thread waits for each parse to end, at most
// `boundMs` from the moment it turns to it, and then calls `wake` (on its own
// thread) so that the main thread can take the length without ever blocking.
class MediaLengthReader {
public:
    MediaLengthReader(int boundMs, std::function<void()> wake);
    // Stops the parses still awaited, so it returns at once.
    ~MediaLengthReader();

    MediaLengthReader(const MediaLengthReader &) = delete;
    MediaLengthReader &operator=(const MediaLengthReader &) = delete;

    // Main thread. Never blocks on the engine.
    void request(VLCMediaPtr media);
    // What was found of the oldest media asked for, once its wait has ended
    // (unknown when the engine could not tell in time); empty before that.
    std::optional<MediaProbe> takeNext();

private:
    void run();

    const int _boundMs;
    const std::function<void()> _wake;

    std::mutex _mutex;
    std::condition_variable _requested;
    std::deque<VLCMediaPtr> _waiting;
    std::deque<MediaProbe> _read;
    bool _stopping = false;
    std::thread _worker;
};
