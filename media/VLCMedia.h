#pragma once

#include "NativePath.h"
#include "VLCTime.h"

#include <QDeadlineTimer>
#include <QString>
#include <QUrl>
#include <memory>

// A media object for a local file. Shared by the player, the thumbnailer and
// whoever asked for it; the engine side is released with the last owner.
// Implementations are thread-safe for the calls below.
class VLCMedia {
public:
    virtual ~VLCMedia() = default;

    virtual QString path() const = 0;
    QUrl url() const { return NativePath::fileUrl(path()); }

    // The length as known now: 0 or less until the engine has determined it.
    // The first call starts one bounded parse in the background, so that the
    // length becomes known without anybody waiting for it.
    virtual VLCTime length() = 0;

    // The length after waiting, at most until the deadline, for the parse to
    // end. Sleeps while waiting; never spins.
    virtual VLCTime lengthWaitUntilDate(QDeadlineTimer deadline) = 0;

    // What the parse found out about the streams. `known` is false while the
    // parse runs and when it gave up in time or failed; a file that cannot be
    // read at all (no regular file, no streams) is known to have none.
    struct Tracks {
        bool known = false;
        bool hasAudio = false;
        bool hasVideo = false;
        bool isUnplayable() const { return known && !hasAudio && !hasVideo; }
    };
    virtual Tracks tracks() = 0;

    // Ends a parse under way, so that nobody waits on it any longer (the
    // length may stay unknown). Used when the application quits.
    virtual void parseStop() = 0;
};

using VLCMediaPtr = std::shared_ptr<VLCMedia>;
