#pragma once

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
    QUrl url() const { return QUrl::fromLocalFile(path()); }

    // The length as known now: 0 or less until the engine has determined it.
    // The first call starts one bounded parse in the background, so that the
    // length becomes known without anybody waiting for it.
    virtual VLCTime length() = 0;

    // The length after waiting, at most until the deadline, for the parse to
    // end. Sleeps while waiting; never spins.
    virtual VLCTime lengthWaitUntilDate(QDeadlineTimer deadline) = 0;

    // Ends a parse under way, so that nobody waits on it any longer (the
    // length may stay unknown). Used when the application quits.
    virtual void parseStop() = 0;
};

using VLCMediaPtr = std::shared_ptr<VLCMedia>;
