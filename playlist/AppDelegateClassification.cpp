// AppDelegate: media classification by file-name extension, and the alert for
// the paths it refuses. The file's contents are never looked at.
#include "app/AppDelegate.h"
#include "media/NativePath.h"
#include "playlist/PathComponents.h"
#include "playlist/TypeRegistry.h"

bool AppDelegate::isVideoOrAudio(const QString &path) const
{
    const QString extension = PathComponents::pathExtension(path);
    // Flash movies are refused whatever the registry makes of them.
    if (extension == QLatin1String("swf"))
        return false;
    return TypeRegistry::conformsToAudiovisualContent(extension) ||
           _supportedAudioFormats.contains(extension) || _supportedVideoFormats.contains(extension);
}

bool AppDelegate::isAudio(const QString &path) const
{
    const QString extension = PathComponents::pathExtension(path);
    return TypeRegistry::conformsToAudio(extension) || _supportedAudioFormats.contains(extension);
}

bool AppDelegate::hasAudioLook(const QString &path) const
{
    // Narrower than isAudio: of the fixed list only "flac" counts.
    const QString extension = PathComponents::pathExtension(path);
    return TypeRegistry::conformsToAudio(extension) || extension == QLatin1String("flac");
}

bool AppDelegate::panelShouldShowFilename(QObject *, const QString &filename) const
{
    // Folders are judged by their names like files: "Holiday" is listed,
    // "Holiday.2019" is not.
    return PathComponents::pathExtension(filename).isEmpty() || isVideoOrAudio(filename);
}

void AppDelegate::displayUnsupportedMessageForPath(const QString &path)
{
    _alertSheets.beginSheetModalForWindow(
        view()->window(), {QStringLiteral("Unsupported format"), NativePath::displayString(path)});
}

void AppDelegate::displayUnsupportedMessageForPaths(const QStringList &paths)
{
    if (paths.size() == 1) {
        displayUnsupportedMessageForPath(paths.first());
        return;
    }
    // A long list is cut short: the alert must still fit on the screen.
    constexpr qsizetype MaxNamesShown = 12;
    QStringList names;
    for (const QString &path : paths.first(std::min(paths.size(), MaxNamesShown)))
        names.append(NativePath::displayString(PathComponents::lastPathComponent(path)));
    if (paths.size() > MaxNamesShown)
        names.append(tr("and %1 more").arg(paths.size() - MaxNamesShown));
    _alertSheets.beginSheetModalForWindow(
        view()->window(), {QStringLiteral("Unsupported format"), names.join(QLatin1Char('\n'))});
}

AppDelegate::MediaKind AppDelegate::mediaKind(const QString &path) const
{
    if (!isVideoOrAudio(path))
        return MediaKind::Unsupported;
    return isAudio(path) ? MediaKind::Audio : MediaKind::Video;
}
