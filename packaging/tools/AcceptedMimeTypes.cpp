// Prints, one a line and sorted, the MIME types whose files Glaze accepts, so
// that the build writes them into the desktop entry and the entry offers Glaze
// for what it plays. A type counts when the classification takes a file named
// with one of its "*.ext" globs that the registry gives to this type: *.mod
// would make object code (application/x-object: *.o, *.mod) count, but the
// registry calls a .mod file a module (audio/x-mod).
#include "playlist/MediaClassifier.h"
#include "playlist/SupportedFormats.h"

#include <QMimeDatabase>
#include <QRegularExpression>
#include <QTextStream>

namespace {

bool isAccepted(const QMimeDatabase &registry, const QMimeType &type,
                const MediaClassifier &classifier)
{
    // Other globs ("*.anim[1-9j]", "README*") name no single extension.
    static const QRegularExpression plainExtension(QStringLiteral("^\\*\\.[^*?\\[\\]]+$"));
    for (const QString &glob : type.globPatterns()) {
        const QString fileName = QStringLiteral("file") + glob.mid(1);
        if (plainExtension.match(glob).hasMatch() &&
            registry.mimeTypesForFileName(fileName).contains(type) &&
            classifier.isVideoOrAudio(fileName))
            return true;
    }
    return false;
}

} // namespace

int main()
{
    MediaClassifier classifier;
    classifier.setSupportedVideoFormats(SupportedFormats::video());
    classifier.setSupportedAudioFormats(SupportedFormats::audio());
    const QMimeDatabase registry;
    QStringList accepted;
    for (const QMimeType &type : registry.allMimeTypes()) {
        if (isAccepted(registry, type, classifier))
            accepted.append(type.name());
    }
    accepted.sort();
    QTextStream out(stdout);
    for (const QString &name : accepted)
        out << name << '\n';
    return 0;
}
