#pragma once

#include <QImage>
#include <QString>
#include <functional>

// The current entry's preview as a file that the desktop's media controls can
// show: written to the cache folder the first time it is asked for, then
// named again without being written. One file per media path, so that playing
// the same files again reuses them instead of filling the folder.
class CoverArtCache {
public:
    explicit CoverArtCache(QString folder);

    // The file URL of the track's preview, or empty when it has none or it
    // cannot be written. `preview` is only called when the file is written.
    QString artUrl(quint64 trackId, const QString &path, const std::function<QImage()> &preview);

private:
    QString _folder;
    quint64 _trackId = 0;
    QString _url;
};
