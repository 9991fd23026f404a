#include "MediaLengthReader.h"

MediaLengthReader::MediaLengthReader(int boundMs, std::function<void()> wake)
    : _boundMs(boundMs)
    , _wake(std::move(wake))
{
}

MediaLengthReader::~MediaLengthReader()
{
    std::deque<VLCMediaPtr> unread;
    {
        std::lock_guard lock(_mutex);
        _stopping = true;
        unread = _waiting;
    }
    _requested.notify_all();
    // Quitting must not wait for a parse that has stalled.
    for (const VLCMediaPtr &media : unread)
        media->parseStop();
    if (_worker.joinable())
        _worker.join();
}

void MediaLengthReader::request(VLCMediaPtr media)
{
    // Starts the parse without waiting for it.
    media->length();
    {
        std::lock_guard lock(_mutex);
        _waiting.push_back(std::move(media));
    }
    _requested.notify_one();
    // Most additions hold no audio at all: no thread until one is needed.
    if (!_worker.joinable())
        _worker = std::thread([this] { run(); });
}

std::optional<MediaProbe> MediaLengthReader::takeNext()
{
    std::lock_guard lock(_mutex);
    if (_read.empty())
        return std::nullopt;
    const MediaProbe probe = _read.front();
    _read.pop_front();
    return probe;
}

void MediaLengthReader::run()
{
    std::unique_lock lock(_mutex);
    for (;;) {
        _requested.wait(lock, [this] { return _stopping || !_waiting.empty(); });
        if (_stopping)
            return;
        const VLCMediaPtr media = _waiting.front();
        lock.unlock();
        const MediaProbe probe{media->lengthWaitUntilDate(QDeadlineTimer(_boundMs)),
                               media->tracks()};
        lock.lock();
        _waiting.pop_front();
        _read.push_back(probe);
        lock.unlock();
        _wake();
        lock.lock();
    }
}
