#pragma once

#include <QString>

// Posted by a window once it has entered or left full screen; the object is
// the window. Observers react whichever window sent them.
inline const QString NSWindowDidEnterFullScreenNotification =
    QStringLiteral("NSWindowDidEnterFullScreenNotification");
inline const QString NSWindowDidExitFullScreenNotification =
    QStringLiteral("NSWindowDidExitFullScreenNotification");
