#pragma once

#include "MediaClassifier.h"

#include <QStringList>
#include <atomic>

// What a dropped or chosen folder adds: the media files it holds, at any
// depth, in the order people read names ("2 clip" before "10 clip", case
// ignored), each folder's files and subfolders merged in that order. Hidden
// names (a leading dot) and files that are not media are passed over without
// a word; so are folders that cannot be read, and folders met a second time
// through a link, so that a link loop ends. Names are bytes: none is lost.
// Safe on any thread.
namespace FolderContents {

// Every path that names a folder replaced by the media files inside it; the
// others kept as given, in place, so that they are judged as they always are.
// Once `cancelled` is set it stops soon, with what it found so far.
QStringList expandFolders(const QStringList &paths, const MediaClassifier &classifier,
                          const std::atomic<bool> &cancelled);

} // namespace FolderContents
