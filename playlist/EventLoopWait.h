#pragma once

#include <QObject>
#include <functional>

class QEventLoop;

// Waits on the main thread for something another thread delivers, while the
// main event loop keeps turning (timers, queued calls, input, repaints). In
// between it sleeps until woken: it never spins.
class EventLoopWait : public QObject {
    Q_OBJECT
public:
    // Any thread: makes the waiting side look again. Harmless when nobody
    // waits, or when what it waits for is not there yet.
    void wake();

    // Turns the event loop until `ready` answers true. `ready` is asked first
    // and after every wake. Answers false when the application began to quit
    // meanwhile (quitting ends every running loop); from then on every wait
    // gives up at once, so that the stack can unwind.
    bool waitUntil(const std::function<bool()> &ready);

    bool isInterrupted() const { return _interrupted; }

private:
    // The innermost loop waiting through this object; waits may nest.
    QEventLoop *_loop = nullptr;
    bool _interrupted = false;
};
