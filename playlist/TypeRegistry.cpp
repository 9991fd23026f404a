#include "TypeRegistry.h"

#include <QMimeDatabase>

namespace {

// True when a type registered for the extension begins with one of the prefixes.
bool anyCandidateStartsWith(const QString &extension, std::initializer_list<QLatin1String> prefixes)
{
    // An unknown or empty extension has no candidates and so answers no.
    if (extension.isEmpty())
        return false;
    const QList<QMimeType> candidates =
        QMimeDatabase().mimeTypesForFileName(QStringLiteral("file.") + extension);
    for (const QMimeType &type : candidates) {
        for (QLatin1String prefix : prefixes) {
            if (type.name().startsWith(prefix))
                return true;
        }
    }
    return false;
}

} // namespace

bool TypeRegistry::conformsToAudiovisualContent(const QString &extension)
{
    return anyCandidateStartsWith(extension, {QLatin1String("video/"), QLatin1String("audio/")});
}

bool TypeRegistry::conformsToAudio(const QString &extension)
{
    return anyCandidateStartsWith(extension, {QLatin1String("audio/")});
}
