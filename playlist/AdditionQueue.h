#pragma once

#include "PlaylistEntry.h"

#include <QQueue>
#include <QStringList>
#include <functional>
#include <optional>

// Additions of files to the playlist, run one at a time in the order they
// were asked for. One asked for while another runs (from inside its wait for a
// thumbnail) waits here and runs after it, never interleaved. The paths of
// every addition, running or waiting, are counted together for the progress
// shown while adding.
class AdditionQueue {
public:
    // Told the first entry the addition appended as soon as it is in the
    // list, so that it can start while the others are still being added; or
    // null, once every path was handled and none was appended. Its index is
    // found by identity: the user may have removed rows meanwhile.
    using Completion = std::function<void(const MediaEntry &firstAppended)>;
    struct Addition {
        QStringList paths;
        Completion appended;
    };

    // Nothing runs and nothing waits: a new addition may run at once.
    bool isIdle() const { return !_running && _waiting.isEmpty(); }
    bool hasWaiting() const { return !_waiting.isEmpty(); }

    void enqueue(Addition addition);
    // Marks the addition as running, counting its paths.
    void begin(const Addition &addition);
    // The oldest waiting addition, now running.
    std::optional<Addition> beginNext();
    // The running addition has handled all its paths. The count starts over
    // once nothing waits any more.
    void finish();

    // The running addition's paths became others (folders their contents).
    void recount(qsizetype given, qsizetype found) { _totalPaths += found - given; }
    // One more path is being handled.
    void advance() { ++_startedPaths; }
    // 1-based number of the path being handled, among all counted paths.
    qsizetype currentPath() const { return _startedPaths; }
    qsizetype totalPaths() const { return _totalPaths; }

private:
    QQueue<Addition> _waiting;
    bool _running = false;
    qsizetype _startedPaths = 0;
    qsizetype _totalPaths = 0;
};
