#include "DroppedFiles.h"

#include "media/NativePath.h"

#include <QMimeData>

namespace DroppedFiles {

std::optional<QStringList> filenames(const QMimeData *data)
{
    static const QString kUriList = QStringLiteral("text/uri-list");
    if (!data || !data->hasFormat(kUriList))
        return std::nullopt;
    QStringList paths;
    // One URI a line, CRLF-separated; lines starting with '#' are comments.
    for (const QByteArray &line : data->data(kUriList).split('\n')) {
        const QByteArray uri = line.trimmed();
        if (uri.isEmpty() || uri.startsWith('#'))
            continue;
        if (const QString path = NativePath::fromFileUrl(uri);
            !path.isEmpty() && uri.startsWith("file:"))
            paths.append(path);
    }
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

} // namespace DroppedFiles
