#pragma once

#include <QAbstractTableModel>
#include <functional>

class Playlist;
struct PlaylistEntry;

// The table's rows: one per visible entry of the playlist, in its order. It
// follows every change of the visible list as the playlist announces it, and
// reads each row straight from the list and from what was stored when the
// entry was added, so that no row ever waits on the decoder.
class PlaylistModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        // The upper-case extension, and the length when it is known.
        DetailsRole = Qt::UserRole + 1,
        // The folder that holds the file, as its file URL writes it.
        LocationRole,
        // The preview image, or nothing for an entry without one.
        PreviewRole,
    };

    explicit PlaylistModel(Playlist &playlist, QObject *parent = nullptr);

    // Asked when files are dropped on the table; answers whether the drop was taken.
    using DropHandler = std::function<bool(const QMimeData *data)>;
    void setDropHandler(DropHandler handler) { _dropHandler = std::move(handler); }
    // Asked while files are dragged over the table; answers whether they may be dropped.
    using DropValidator = std::function<bool(const QMimeData *data)>;
    void setDropValidator(DropValidator validator) { _dropValidator = std::move(validator); }

    // The entry a row shows, or null for an index that names none.
    const PlaylistEntry *entryAt(const QModelIndex &index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

    static QString nameOf(const PlaylistEntry &entry);
    static QString detailsOf(const PlaylistEntry &entry);
    static QString locationOf(const PlaylistEntry &entry);

private:
    Playlist &_playlist;
    DropHandler _dropHandler;
    DropValidator _dropValidator;
};
