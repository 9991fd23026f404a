#include "MediaClassifier.h"

#include "PathComponents.h"
#include "TypeRegistry.h"

bool MediaClassifier::isVideoOrAudio(const QString &path) const
{
    const QString extension = PathComponents::pathExtension(path);
    // Flash movies are refused whatever the registry makes of them.
    if (extension == QLatin1String("swf"))
        return false;
    return TypeRegistry::conformsToAudiovisualContent(extension) ||
           _supportedAudioFormats.contains(extension) || _supportedVideoFormats.contains(extension);
}

bool MediaClassifier::isAudio(const QString &path) const
{
    const QString extension = PathComponents::pathExtension(path);
    return TypeRegistry::conformsToAudio(extension) || _supportedAudioFormats.contains(extension);
}

bool MediaClassifier::hasAudioLook(const QString &path) const
{
    // Narrower than isAudio: of the fixed list only "flac" counts.
    const QString extension = PathComponents::pathExtension(path);
    return TypeRegistry::conformsToAudio(extension) || extension == QLatin1String("flac");
}

bool MediaClassifier::panelShouldShowFilename(const QString &filename) const
{
    // Folders are judged by their names like files: "Holiday" is listed,
    // "Holiday.2019" is not.
    return PathComponents::pathExtension(filename).isEmpty() || isVideoOrAudio(filename);
}

MediaClassifier::Kind MediaClassifier::kind(const QString &path) const
{
    if (!isVideoOrAudio(path))
        return Kind::Unsupported;
    return isAudio(path) ? Kind::Audio : Kind::Video;
}
