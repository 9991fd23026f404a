#pragma once

#include <QStringList>

// The extensions accepted whatever the type registry makes of them, in the
// order they are set at launch. The desktop entry's MimeType list is generated
// from them at build time, so they are written down only here.
namespace SupportedFormats {

inline QStringList video()
{
    return {"avi", "mkv", "mp4", "mov", "webm", "wmv", "ogv"};
}

inline QStringList audio()
{
    return {"wav", "mp3", "m4a", "ogg", "flac", "oga"};
}

} // namespace SupportedFormats
