// AppDelegate: the playlist model and its filter, additions and removal.
#include "app/AppDelegate.h"
#include "playlist/MediaLengthReader.h"
#include "playlist/PathComponents.h"

#include <QItemSelectionModel>

namespace {

// How many paths ahead of the one being added the parses of audio files
// start: the engine parses one file at a time, and keeping it busy saves
// about a fifth of the time a long list of audio files takes.
constexpr qsizetype LengthLookahead = 32;
// Longest wait for the length of one audio file. The engine's own parse gives
// up after 5 s.
constexpr int LengthBoundMs = 6000;

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
            if (PathComponents::baseName(_mediaPlaylist->at(i)->path).toUpper().contains(wanted)) {
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

bool AppDelegate::appendPlaylistWithoutDublicates(const QStringList &paths,
                                                  AdditionQueue::Completion appended)
{
    AdditionQueue::Addition addition{paths, std::move(appended)};
    if (!_additions.isIdle()) {
        // Asked for from inside another addition's wait (a drop, the open
        // panel), or while earlier ones still wait: the running one's state
        // is on the stack below, so this one waits its turn.
        _additions.enqueue(std::move(addition));
        showAdditionProgress();
        return false;
    }
    _additions.begin(addition);
    return runAddition(addition);
}

bool AppDelegate::runAddition(const AdditionQueue::Addition &addition)
{
    const MediaEntry firstAppended = appendPaths(addition);
    _additions.finish();
    // Playback ran out of entries while this one added more, none of them visible.
    if (_playNextWhenAppended && _additions.isIdle()) {
        _playNextWhenAppended = false;
        _mediaIndex = -1;
    }
    showAdditionProgress();
    // The next addition runs from the event loop, after this one's caller has
    // dealt with its answer.
    if (_additions.hasWaiting())
        QMetaObject::invokeMethod(this, &AppDelegate::runNextAddition, Qt::QueuedConnection);
    return firstAppended != nullptr;
}

void AppDelegate::runNextAddition()
{
    if (const std::optional<AdditionQueue::Addition> next = _additions.beginNext())
        runAddition(*next);
}

MediaEntry AppDelegate::appendPaths(const AdditionQueue::Addition &addition)
{
    // Before launch there is neither a list nor an engine to ask.
    if (!_mediaPlaylist || !_backend)
        return {};
    const QStringList &paths = addition.paths;
    QList<MediaKind> kinds;
    kinds.reserve(paths.size());
    for (const QString &path : paths)
        kinds.append(mediaKind(path));

    MediaLengthReader lengths(LengthBoundMs, [this] { _additionWait.wake(); });
    qsizetype lengthsRequested = 0;
    MediaEntry firstAppended;
    QStringList refused, unreadable;
    for (qsizetype i = 0; i < paths.size() && !_additionWait.isInterrupted(); ++i) {
        _additions.advance();
        showAdditionProgress();
        for (; lengthsRequested < paths.size() && lengthsRequested <= i + LengthLookahead;
             ++lengthsRequested) {
            if (kinds[lengthsRequested] == MediaKind::Audio)
                lengths.request(_backend->mediaWithPath(paths[lengthsRequested]));
        }

        const QString &path = paths[i];
        MediaPreview preview;
        MediaProbe probe;
        switch (kinds[i]) {
        case MediaKind::Unsupported:
            refused.append(path);
            continue;
        case MediaKind::Audio: {
            // Audio entries carry the null preview.
            std::optional<MediaProbe> read;
            if (!_additionWait.waitUntil([&] { return (read = lengths.takeNext()).has_value(); }))
                continue;
            probe = *read;
            break;
        }
        case MediaKind::Video:
            // Without a picture in time the entry keeps the null preview, as
            // audio does.
            if (QImage thumbnail = getMediaPreview(path, &probe); !thumbnail.isNull())
                preview = std::make_shared<const QImage>(std::move(thumbnail));
            break;
        }
        // Quitting ended the wait: nothing was found out about the file.
        if (_additionWait.isInterrupted())
            break;
        // Only what the engine cannot play at all is left out.
        if (probe.tracks.isUnplayable()) {
            unreadable.append(path);
            continue;
        }
        const bool noVideoTrack =
            kinds[i] == MediaKind::Video && probe.tracks.known && !probe.tracks.hasVideo;
        auto entry =
            std::make_shared<const PlaylistEntry>(PlaylistEntry{path, probe.length, noVideoTrack});
        // Both lists change together, with no turn of the event loop between.
        _mediaPlaylist->append(entry);
        _mediaPreviews->append(std::move(preview));
        if (!firstAppended) {
            firstAppended = std::move(entry);
            // The first new entry may start now, while the rest keep arriving.
            if (addition.appended)
                addition.appended(firstAppended);
        }
        if (_playNextWhenAppended)
            _playNextWhenAppended = !nextMediaButtonClick(_nextMediaButton);
    }
    if (!refused.isEmpty())
        displayUnsupportedMessageForPaths(refused);
    _additionStatus.showUnreadable(unreadable);
    if (!firstAppended && addition.appended)
        addition.appended(nullptr);
    return firstAppended;
}

void AppDelegate::showAdditionProgress()
{
    _additionStatus.showProgress(!_additions.isIdle(), _additions.currentPath(),
                                 _additions.totalPaths());
}

void AppDelegate::removeMediaButtonClick(QObject *)
{
    QItemSelectionModel *selection =
        _playlistTableView ? _playlistTableView->selectionModel() : nullptr;
    const QModelIndexList rows = selection ? selection->selectedRows() : QModelIndexList();
    removeVisibleRow(rows.isEmpty() ? -1 : rows.first().row());
}

void AppDelegate::removeVisibleRow(int64_t row)
{
    if (row < 0 || !_visibleMediaPlaylist || row >= _visibleMediaPlaylist->size())
        return;
    const int64_t index = indexOfObjectInArray(_visibleMediaPlaylist->at(row), _mediaPlaylist);
    // Visible entries always stand in the full list; nothing else to remove.
    if (index == NSNotFound)
        return;
    if (index == _mediaIndex) {
        unloadPlayer();
        clearPlayer();
        if (_timer)
            _timer->refresh();
        _mediaIndex = -1;
    }
    _mediaPlaylist->removeAt(index);
    _mediaPreviews->removeAt(index);
    // Keeps naming the same entry.
    if (_mediaIndex > index)
        --_mediaIndex;
    applyFilter(_filterTextField ? _filterTextField->text() : QString());
}
