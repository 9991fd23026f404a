#pragma once

#include <QString>

// Where the bundle keeps the image of that name ("play" is ":/images/play.svg").
// They are SVG, so that they draw sharp at any scale.
inline QString imageNamed(const QString &name)
{
    return QStringLiteral(":/images/%1.svg").arg(name);
}
