#include "EventLoopWait.h"

#include <QEventLoop>
#include <utility>

namespace {

// The exit code of a loop ended by wake(); quitting ends loops with another.
constexpr int kWokenExitCode = 0x574b;

} // namespace

void EventLoopWait::wake()
{
    // Queued, so that the loop is only touched on its own thread.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (_loop)
                _loop->exit(kWokenExitCode);
        },
        Qt::QueuedConnection);
}

bool EventLoopWait::waitUntil(const std::function<bool()> &ready)
{
    QEventLoop loop;
    QEventLoop *outer = std::exchange(_loop, &loop);
    while (!_interrupted && !ready()) {
        if (loop.exec() != kWokenExitCode)
            _interrupted = true;
    }
    _loop = outer;
    // A wake meant for the outer wait may have ended this loop instead.
    if (outer)
        outer->exit(kWokenExitCode);
    return !_interrupted;
}
