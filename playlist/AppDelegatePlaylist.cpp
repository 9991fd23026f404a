// AppDelegate: the playlist model and its filter.
#include "app/AppDelegate.h"

#include <QFileInfo>
#include <QItemSelectionModel>

namespace {

// The entry's file name without its extension: the only text the filter searches.
QString baseName(const MediaEntry &entry)
{
    const QString fileName = QFileInfo(entry->path).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

} // namespace

int64_t AppDelegate::indexOfObjectInArray(const MediaEntry &object, const MediaListRef &array)
{
    if (!array || !object)
        return NSNotFound;
    for (qsizetype i = 0; i < array->size(); ++i) {
        if (array->at(i).get() == object.get())
            return i;
    }
    return NSNotFound;
}

void AppDelegate::applyFilter(const QString &filter)
{
    const QString wanted = filter.toUpper();
    if (wanted.isEmpty()) {
        _visibleMediaPlaylist = _mediaPlaylist;
        _visibleMediaPreviews = _mediaPreviews;
    } else {
        _visibleMediaPlaylist = std::make_shared<MediaList>();
        _visibleMediaPlaylist->reserve(30);
        _visibleMediaPreviews = std::make_shared<PreviewList>();
        _visibleMediaPreviews->reserve(30);
        for (qsizetype i = 0; i < _mediaPlaylist->size(); ++i) {
            if (baseName(_mediaPlaylist->at(i)).toUpper().contains(wanted)) {
                _visibleMediaPlaylist->append(_mediaPlaylist->at(i));
                _visibleMediaPreviews->append(_mediaPreviews->at(i));
            }
        }
    }
    emit playlistReloaded();
}

void AppDelegate::filterChanged()
{
    if (_filterTextField)
        applyFilter(_filterTextField->text());
}

void AppDelegate::dropFilter()
{
    _visibleMediaPlaylist = _mediaPlaylist;
    _visibleMediaPreviews = _mediaPreviews;
    emit playlistReloaded();
    selectTableRow(_mediaIndex);
    // setText does not count as the user's edit, so no filterChanged follows.
    if (_filterTextField)
        _filterTextField->setText(QString());
}

void AppDelegate::selectTableRow(int64_t row)
{
    QItemSelectionModel *selection =
        _playlistTableView ? _playlistTableView->selectionModel() : nullptr;
    if (!selection)
        return;
    // No current entry, or one filtered out of view: nothing to select.
    if (row < 0 || row >= _playlistTableView->model()->rowCount()) {
        selection->clearSelection();
        return;
    }
    selection->select(_playlistTableView->model()->index(static_cast<int>(row), 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
