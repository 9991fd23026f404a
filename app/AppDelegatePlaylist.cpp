// AppDelegate: the playlist's filter, additions, previews and removal, as the
// window sees them. The lists themselves live in the Playlist, the additions
// in PlaylistAdditions.
#include "AppDelegate.h"

#include "controls/InterfaceFile.h"
#include "playlist/DroppedFiles.h"
#include "playlist/PlaylistCell.h"
#include "playlist/PlaylistCellDelegate.h"
#include "playlist/PlaylistModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QStatusBar>

void AppDelegate::createAdditions()
{
    _additions =
        std::make_unique<PlaylistAdditions>(_playlist, _classifier, _backend, view()->window());
    connect(_additions.get(), &PlaylistAdditions::entryAppended, this, &AppDelegate::entryAppended);
    connect(_additions.get(), &PlaylistAdditions::becameIdle, this, [this] {
        // Playback ran out of entries, and the additions brought none it could go on with.
        if (std::exchange(_playNextWhenAppended, false)) {
            _playlist.setMediaIndex(-1);
            emit playbackChanged();
        }
    });
    // Long additions show their progress in the window's status line.
    _additions->setStatusBar(view()->window()->findChild<QStatusBar *>());
    if (_playlistCellDelegate)
        _additions->setPreviewSize(_playlistCellDelegate->previewSize());
}

void AppDelegate::connectPlaylistTable()
{
    if (!_playlistTableView)
        return;
    // Files from other applications; the rows themselves are not dragged.
    _playlistTableView->setAcceptDrops(true);
    _playlistTableView->setDragDropMode(QAbstractItemView::DropOnly);
    if (auto *scroller = outlet<QScrollBar>(view()->window(), "playlistScroller"))
        _playlistTableView->setVerticalScrollBar(scroller);
    connect(_playlistTableView, &QAbstractItemView::activated, this,
            [this] { tableViewRowDoubleClicked(_playlistTableView); });
    _playlistCellDelegate = new PlaylistCellDelegate(
        outlet<PlaylistCell>(view()->window(), "PLAYLIST_CELL_ID"), _playlistTableView);
    _playlistCellDelegate->setHighlightedColor(QColor::fromRgbF(1.0, 1.0, 1.0, 0.25));
    _playlistTableView->setItemDelegate(tableViewRowViewForRow(_playlistTableView, -1));
    // Rows of one fixed height: the table never measures thousands of them.
    if (const int height = _playlistCellDelegate->rowHeight(); height > 0) {
        _playlistTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        _playlistTableView->verticalHeader()->setDefaultSectionSize(height);
    }
    _playlistModel = new PlaylistModel(_playlist, _playlistTableView);
    _playlistModel->setDropValidator([this](const QMimeData *data) {
        return tableViewValidateDropProposedRowProposedDropOperation(_playlistTableView, data,
                                                                     -1) != Qt::IgnoreAction;
    });
    _playlistModel->setDropHandler([this](const QMimeData *data) {
        return tableViewAcceptDropRowDropOperation(_playlistTableView, data, -1);
    });
    _playlistTableView->setModel(_playlistModel);
}

PlaylistCell *AppDelegate::tableViewViewForTableColumnRow(QTableView *tableView, int column,
                                                          int row)
{
    if (!tableView || !_playlistCellDelegate)
        return nullptr;
    return _playlistCellDelegate->viewForIndex(tableView->model()->index(row, 0),
                                               tableView->columnWidth(column),
                                               tableView->devicePixelRatio());
}

CustomTableRowView *AppDelegate::tableViewRowViewForRow(QTableView *, int)
{
    return _playlistCellDelegate;
}

Qt::DropActions
AppDelegate::tableViewValidateDropProposedRowProposedDropOperation(QTableView *, const QMimeData *,
                                                                   int)
{
    // Anything may be dropped, on a row or between rows; what is not media
    // is refused when it arrives.
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

int AppDelegate::numberOfRowsInTableView(QTableView *) const
{
    return int(_playlist.visibleCount());
}

bool AppDelegate::tableViewAcceptDropRowDropOperation(QTableView *, const QMimeData *data, int)
{
    const std::optional<QStringList> paths = DroppedFiles::filenames(data);
    if (!paths || !mayAddMedia(*paths))
        return false;
    // Answered now, added on the next turn: adding waits with the event loop
    // turning, which must not happen inside the drop (see DragDropTarget).
    QMetaObject::invokeMethod(
        this, [this, paths = *paths] { appendDroppedOnTable(paths); }, Qt::QueuedConnection);
    return true;
}

void AppDelegate::appendDroppedOnTable(const QStringList &paths)
{
    // New entries always go to the end; what plays keeps playing.
    appendPlaylistWithoutDublicates(paths, [this](const MediaEntry &firstAppended) {
        if (!firstAppended)
            return;
        dropFilter();
        if (!_mediaPlayer || _mediaPlayer->media())
            return;
        const int64_t index = indexOfObjectInArray(firstAppended, mediaPlaylist());
        if (index == NSNotFound)
            return;
        _playlist.setMediaIndex(index);
        if (configureForCurrentMedia())
            playPauseButtonClick(_overlay.playPauseButton);
    });
}

void AppDelegate::tableViewRowDoubleClicked(QObject *)
{
    clearPlayer();
    const int64_t row = selectedTableRow();
    // Nothing selected: nothing to play.
    if (row < 0 || !_mediaPlayer)
        return;
    _playlist.setMediaIndex(
        indexOfObjectInArray(_playlist.visibleMediaPlaylist()->at(row), mediaPlaylist()));
    _mediaPlayer->stop();
    setPlayPauseImages(false);
    if (configureForCurrentMedia())
        playPauseButtonClick(_overlay.playPauseButton);
    else
        nextMediaButtonClick(nullptr);
    selectTableRow(row);
}

void AppDelegate::applyFilter(const QString &filter)
{
    // A table keeps its selected row over a reload; the model's reset would
    // drop it, and with it what Delete and the remove button act on.
    const int64_t selected = selectedTableRow();
    _playlist.applyFilter(filter);
    if (selected >= 0)
        selectTableRow(selected);
}

void AppDelegate::filterChanged()
{
    if (_filterTextField)
        applyFilter(_filterTextField->text());
}

void AppDelegate::dropFilter()
{
    _playlist.dropFilter();
    selectTableRow(mediaIndex());
    // setText does not count as the user's edit, so no filterChanged follows.
    if (_filterTextField)
        _filterTextField->setText(QString());
}

int64_t AppDelegate::selectedTableRow() const
{
    const QItemSelectionModel *selection =
        _playlistTableView ? _playlistTableView->selectionModel() : nullptr;
    const QModelIndexList rows = selection ? selection->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void AppDelegate::selectTableRow(int64_t row)
{
    QItemSelectionModel *selection =
        _playlistTableView ? _playlistTableView->selectionModel() : nullptr;
    if (!selection)
        return;
    // No current entry, or one filtered out of view: nothing to select.
    if (row < 0 || row >= _playlistTableView->model()->rowCount()) {
        selection->clear();
        return;
    }
    // Made current too, so that the keys move on from it and Enter plays it.
    selection->setCurrentIndex(_playlistTableView->model()->index(static_cast<int>(row), 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool AppDelegate::appendPlaylistWithoutDublicates(const QStringList &paths,
                                                  AdditionQueue::Completion appended)
{
    // Before launch there is nobody to add with.
    return _additions && _additions->appendPlaylistWithoutDublicates(paths, std::move(appended));
}

bool AppDelegate::panelShouldShowFilename(QObject *, const QString &filename) const
{
    return _classifier.panelShouldShowFilename(filename);
}

void AppDelegate::displayUnsupportedMessageForPath(const QString &path)
{
    if (_additions)
        _additions->displayUnsupportedMessageForPath(path);
}

QSemaphore *AppDelegate::thumbSemphore() const
{
    return _additions ? _additions->previews().thumbSemphore() : nullptr;
}

QImage AppDelegate::thumbnail() const
{
    return _additions ? _additions->previews().thumbnail() : QImage();
}

QImage AppDelegate::getMediaPreview(const QString &path, MediaProbe *probe)
{
    return _additions ? _additions->previews().getMediaPreview(path, probe) : QImage();
}

void AppDelegate::mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *thumbnailer,
                                                     const QImage &thumbnail)
{
    _additions->previews().mediaThumbnailerDidFinishThumbnail(thumbnailer, thumbnail);
}

void AppDelegate::mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *thumbnailer)
{
    _additions->previews().mediaThumbnailerDidTimeOut(thumbnailer);
}

void AppDelegate::entryAppended()
{
    if (_playNextWhenAppended)
        _playNextWhenAppended = !nextMediaButtonClick(_nextMediaButton);
}

void AppDelegate::removeMediaButtonClick(QObject *)
{
    removeVisibleRow(selectedTableRow());
}

void AppDelegate::removeVisibleRow(int64_t row)
{
    const MediaListRef &visible = _playlist.visibleMediaPlaylist();
    if (row < 0 || !visible || row >= visible->size())
        return;
    const int64_t index = indexOfObjectInArray(visible->at(row), mediaPlaylist());
    // Visible entries always stand in the full list; nothing else to remove.
    if (index == NSNotFound)
        return;
    if (index == mediaIndex())
        stopCurrentMedia();
    _playlist.removeAt(index);
    applyFilter(_filterTextField ? _filterTextField->text() : QString());
    // The selection stays on its row, as it does over a reload, so that the
    // Delete key can remove one entry after another.
    selectTableRow(row);
}
