#pragma once

#include "VLCMediaPlayer.h"

#include <array>
#include <mutex>

struct libvlc_media_player_t;

// A player's audio and subtitle tracks as its worker thread last read them
// from the engine. The main thread answers from here: libVLC's own getters
// wait for a stop or a new media under way.
class LibVlcTracks {
public:
    // Any thread.
    QList<VLCTrack> tracks(VLCTrackKind kind) const;
    int currentTrack(VLCTrackKind kind) const;

    // The player's worker thread only. Reads the engine's tracks; true when
    // they differ from what was known.
    bool read(libvlc_media_player_t *player);
    static void select(libvlc_media_player_t *player, VLCTrackKind kind, int id);

private:
    struct Listing {
        QList<VLCTrack> tracks;
        int current = VLCNoTrack;
        bool operator==(const Listing &) const = default;
    };

    mutable std::mutex _mutex;
    // By VLCTrackKind.
    std::array<Listing, 2> _listings;
};
