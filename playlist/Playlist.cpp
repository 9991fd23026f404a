#include "Playlist.h"

#include "PathComponents.h"

namespace {

// Lists start with room for this many entries.
constexpr qsizetype kInitialCapacity = 30;

template <typename List> std::shared_ptr<List> newList()
{
    auto list = std::make_shared<List>();
    list->reserve(kInitialCapacity);
    return list;
}

} // namespace

void Playlist::create()
{
    _mediaPlaylist = newList<MediaList>();
    _mediaPreviews = newList<PreviewList>();
}

MediaEntry Playlist::currentEntry() const
{
    if (!_mediaPlaylist || _mediaIndex < 0 || _mediaIndex >= _mediaPlaylist->size())
        return {};
    return _mediaPlaylist->at(_mediaIndex);
}

int64_t Playlist::indexOfObjectInArray(const MediaEntry &object, const MediaListRef &array)
{
    if (!array || !object)
        return NSNotFound;
    for (qsizetype i = 0; i < array->size(); ++i) {
        if (array->at(i).get() == object.get())
            return i;
    }
    return NSNotFound;
}

void Playlist::applyFilter(const QString &filter)
{
    const QString wanted = filter.toUpper();
    if (wanted.isEmpty() || !_mediaPlaylist) {
        showAll();
        return;
    }
    auto visible = newList<MediaList>();
    auto visiblePreviews = newList<PreviewList>();
    for (qsizetype i = 0; i < _mediaPlaylist->size(); ++i) {
        if (PathComponents::baseName(_mediaPlaylist->at(i)->path).toUpper().contains(wanted)) {
            visible->append(_mediaPlaylist->at(i));
            visiblePreviews->append(_mediaPreviews->at(i));
        }
    }
    emit visibleListAboutToBeReset();
    _visibleMediaPlaylist = std::move(visible);
    _visibleMediaPreviews = std::move(visiblePreviews);
    emit visibleListReset();
}

void Playlist::dropFilter()
{
    showAll();
}

void Playlist::showAll()
{
    emit visibleListAboutToBeReset();
    _visibleMediaPlaylist = _mediaPlaylist;
    _visibleMediaPreviews = _mediaPreviews;
    emit visibleListReset();
}

void Playlist::append(MediaEntry entry, MediaPreview preview)
{
    // Shared with the full list, the visible one grows with it.
    const bool shown = !isFiltered();
    const qsizetype row = _mediaPlaylist->size();
    if (shown)
        emit visibleRowsAboutToBeInserted(row, row);
    _mediaPlaylist->append(std::move(entry));
    _mediaPreviews->append(std::move(preview));
    if (shown)
        emit visibleRowsInserted();
}

void Playlist::removeAt(int64_t index)
{
    if (!_mediaPlaylist || index < 0 || index >= _mediaPlaylist->size())
        return;
    const bool shown = !isFiltered();
    if (shown)
        emit visibleRowsAboutToBeRemoved(index, index);
    _mediaPlaylist->removeAt(index);
    _mediaPreviews->removeAt(index);
    if (shown)
        emit visibleRowsRemoved();
    if (_mediaIndex == index)
        _mediaIndex = -1;
    else if (_mediaIndex > index)
        --_mediaIndex;
}
