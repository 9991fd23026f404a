#include "PlaylistModel.h"

#include "PathComponents.h"
#include "Playlist.h"
#include "media/NativePath.h"

#include <QImage>
#include <QMimeData>

PlaylistModel::PlaylistModel(Playlist &playlist, QObject *parent)
    : QAbstractTableModel(parent)
    , _playlist(playlist)
{
    connect(&playlist, &Playlist::visibleListAboutToBeReset, this, &PlaylistModel::beginResetModel);
    connect(&playlist, &Playlist::visibleListReset, this, &PlaylistModel::endResetModel);
    connect(
        &playlist, &Playlist::visibleRowsAboutToBeInserted, this,
        [this](qsizetype first, qsizetype last) { beginInsertRows({}, int(first), int(last)); });
    connect(&playlist, &Playlist::visibleRowsInserted, this, &PlaylistModel::endInsertRows);
    connect(
        &playlist, &Playlist::visibleRowsAboutToBeRemoved, this,
        [this](qsizetype first, qsizetype last) { beginRemoveRows({}, int(first), int(last)); });
    connect(&playlist, &Playlist::visibleRowsRemoved, this, &PlaylistModel::endRemoveRows);
}

int PlaylistModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(_playlist.visibleCount());
}

int PlaylistModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

const PlaylistEntry *PlaylistModel::entryAt(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return nullptr;
    return _playlist.visibleMediaPlaylist()->at(index.row()).get();
}

QVariant PlaylistModel::data(const QModelIndex &index, int role) const
{
    const PlaylistEntry *shown = entryAt(index);
    if (!shown)
        return {};
    const PlaylistEntry &entry = *shown;
    switch (role) {
    case Qt::DisplayRole:
        return nameOf(entry);
    case DetailsRole:
        return detailsOf(entry);
    case LocationRole:
        return locationOf(entry);
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return QStringList{nameOf(entry), detailsOf(entry), locationOf(entry)}.join(
            QStringLiteral(", "));
    case PreviewRole:
        if (const MediaPreview &preview = _playlist.visibleMediaPreviews()->at(index.row()))
            return *preview;
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags PlaylistModel::flags(const QModelIndex &index) const
{
    // Anything may be dropped anywhere on the table, on a row or between rows.
    return QAbstractTableModel::flags(index) | Qt::ItemIsDropEnabled;
}

QString PlaylistModel::nameOf(const PlaylistEntry &entry)
{
    return NativePath::displayString(PathComponents::baseName(entry.path));
}

QString PlaylistModel::detailsOf(const PlaylistEntry &entry)
{
    const QString extension = PathComponents::pathExtension(entry.path).toUpper();
    const QString length = entry.length.stringValue();
    // "00:00" stands for a length that is not known.
    if (length == QLatin1String("00:00"))
        return extension;
    return QStringLiteral("%1, %2").arg(extension, length);
}

QString PlaylistModel::locationOf(const PlaylistEntry &entry)
{
    // The folder as the file's URL writes it, escapes and all: "file:///a%20b/c.mp4"
    // gives "/a%20b".
    QString url = QString::fromLatin1(NativePath::fileUrl(entry.path).toEncoded());
    url.truncate(url.lastIndexOf(QLatin1Char('/')));
    url.replace(QLatin1String("file://"), QLatin1String("file:"));
    const QString folder = url.mid(5);
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

QStringList PlaylistModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

Qt::DropActions PlaylistModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

bool PlaylistModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int,
                                    const QModelIndex &) const
{
    return !_dropValidator || _dropValidator(data);
}

bool PlaylistModel::dropMimeData(const QMimeData *data, Qt::DropAction, int, int,
                                 const QModelIndex &)
{
    return _dropHandler && _dropHandler(data);
}
