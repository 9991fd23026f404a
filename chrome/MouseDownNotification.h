#pragma once

#include <QString>

// Posted by the overlay's controls when they are pressed; the overlay view
// counts it as activity.
inline const QString MOUSE_DOWN_NOTIFICATION = QStringLiteral("MOUSE_DOWN_NOTIFICATION");
