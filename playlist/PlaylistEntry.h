#pragma once

#include "media/VLCTime.h"

#include <QImage>
#include <QList>
#include <QString>
#include <memory>

// One entry of the playlist. Its identity is the object, not the path: the
// same file added twice is two entries, and lookups compare addresses.
struct PlaylistEntry {
    QString path;
    // Read once when the entry is added, so that drawing a row never waits on
    // the decoder. Unknown when the engine could not tell.
    VLCTime length;
    // Named like a video, yet the engine found sound only: the background
    // image stands in for the picture, as for audio files.
    bool noVideoTrack = false;
};

using MediaEntry = std::shared_ptr<const PlaylistEntry>;
using MediaList = QList<MediaEntry>;
// A preview is a thumbnail, or null: the marker that audio entries carry.
using MediaPreview = std::shared_ptr<const QImage>;
using PreviewList = QList<MediaPreview>;

// The lists are shared objects: with no filter the visible lists are the very
// same lists as the full ones.
using MediaListRef = std::shared_ptr<MediaList>;
using PreviewListRef = std::shared_ptr<PreviewList>;
