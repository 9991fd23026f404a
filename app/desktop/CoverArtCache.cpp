#include "CoverArtCache.h"

#include "media/NativePath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>
#include <QUrl>

CoverArtCache::CoverArtCache(QString folder)
    : _folder(std::move(folder))
{
}

QString CoverArtCache::artUrl(quint64 trackId, const QString &path,
                              const std::function<QImage()> &preview)
{
    if (trackId == _trackId)
        return _url;
    _trackId = trackId;
    _url.clear();
    const QImage image = preview();
    if (image.isNull() || _folder.isEmpty() || !QDir().mkpath(_folder))
        return _url;
    const QByteArray name =
        QCryptographicHash::hash(NativePath::toNative(path), QCryptographicHash::Sha1).toHex();
    const QString file = _folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    // Written aside and renamed, so that a reader never meets half a file.
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit())
        _url = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    return _url;
}
