#pragma once

#include "PlaylistEntry.h"

#include <QObject>
#include <limits>

// The playlist: the entries in the order they were added with their previews,
// the view of them that the filter leaves visible, and the current entry.
//
// The lists keep these rules at every turn of the event loop:
//  1. the full lists have equal lengths; entry i goes with preview i;
//  2. the visible lists too;
//  3. visible entries are the full list's own objects, in its order;
//  4. without a filter the visible lists are the full lists themselves, so
//     that appending and removing show at once; with one they are separate
//     lists that later changes of the full list do not reach;
//  5. the current index is -1 or names an entry of the full list;
//  6. identity is the object: the same path added twice is two entries.
// Every change of the visible list is announced, so that a model over it can
// follow exactly.
class Playlist : public QObject {
    Q_OBJECT
public:
    static constexpr int64_t NSNotFound = std::numeric_limits<int64_t>::max();

    // New full lists, empty; the visible ones stay as they are until the
    // filter is next applied or dropped (at launch: absent).
    void create();

    const MediaListRef &mediaPlaylist() const { return _mediaPlaylist; }
    const PreviewListRef &mediaPreviews() const { return _mediaPreviews; }
    const MediaListRef &visibleMediaPlaylist() const { return _visibleMediaPlaylist; }
    const PreviewListRef &visibleMediaPreviews() const { return _visibleMediaPreviews; }
    qsizetype visibleCount() const
    {
        return _visibleMediaPlaylist ? _visibleMediaPlaylist->size() : 0;
    }

    // -1 when there is no current entry.
    int64_t mediaIndex() const { return _mediaIndex; }
    void setMediaIndex(int64_t index) { _mediaIndex = index; }
    // The current entry, or null.
    MediaEntry currentEntry() const;

    // Position of the identical object in the list (never an equal copy), or NSNotFound.
    static int64_t indexOfObjectInArray(const MediaEntry &object, const MediaListRef &array);

    // Shows the entries whose base name holds the text, whatever its case;
    // an empty text shows all of them.
    void applyFilter(const QString &filter);
    // Shows all entries.
    void dropFilter();

    // Appends an entry with its preview to both full lists together.
    void append(MediaEntry entry, MediaPreview preview);
    // Removes the entry at that full-list position. The current index keeps
    // naming the same entry, or becomes -1 when that was the one removed.
    void removeAt(int64_t index);

signals:
    void visibleListAboutToBeReset();
    void visibleListReset();
    void visibleRowsAboutToBeInserted(qsizetype first, qsizetype last);
    void visibleRowsInserted();
    void visibleRowsAboutToBeRemoved(qsizetype first, qsizetype last);
    void visibleRowsRemoved();

private:
    bool isFiltered() const { return _visibleMediaPlaylist != _mediaPlaylist; }
    void showAll();

    MediaListRef _mediaPlaylist;
    MediaListRef _visibleMediaPlaylist;
    PreviewListRef _mediaPreviews;
    PreviewListRef _visibleMediaPreviews;
    int64_t _mediaIndex = -1;
};
