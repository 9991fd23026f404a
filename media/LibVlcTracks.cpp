// The tracks of the media a LibVlcMediaPlayer plays: read on its worker,
// answered on the main thread.
#include "LibVlcTracks.h"

#include "LibVlcMediaPlayer.h"
#include "NativePath.h"

#include <utility>
#include <vlc/vlc.h>

namespace {

QList<VLCTrack> takeList(libvlc_track_description_t *descriptions)
{
    QList<VLCTrack> tracks;
    for (const libvlc_track_description_t *track = descriptions; track; track = track->p_next) {
        // The engine lists "Disable" as a track of its own; the menu has its own "Off".
        if (track->i_id != VLCNoTrack)
            tracks.append({track->i_id, QString::fromUtf8(track->psz_name)});
    }
    libvlc_track_description_list_release(descriptions);
    return tracks;
}

} // namespace

QList<VLCTrack> LibVlcTracks::tracks(VLCTrackKind kind) const
{
    std::lock_guard lock(_mutex);
    return _listings[size_t(kind)].tracks;
}

int LibVlcTracks::currentTrack(VLCTrackKind kind) const
{
    std::lock_guard lock(_mutex);
    return _listings[size_t(kind)].current;
}

bool LibVlcTracks::read(libvlc_media_player_t *player)
{
    // Read outside the lock: the main thread never waits for the engine.
    std::array<Listing, 2> listings;
    listings[size_t(VLCTrackKind::Audio)] = {takeList(libvlc_audio_get_track_description(player)),
                                             libvlc_audio_get_track(player)};
    listings[size_t(VLCTrackKind::Subtitle)] = {takeList(libvlc_video_get_spu_description(player)),
                                                libvlc_video_get_spu(player)};
    std::lock_guard lock(_mutex);
    return std::exchange(_listings, listings) != listings;
}

void LibVlcTracks::select(libvlc_media_player_t *player, VLCTrackKind kind, int id)
{
    if (kind == VLCTrackKind::Audio)
        libvlc_audio_set_track(player, id);
    else
        libvlc_video_set_spu(player, id);
}

QList<VLCTrack> LibVlcMediaPlayer::tracks(VLCTrackKind kind) const
{
    return areTracksKnown() ? _tracks->tracks(kind) : QList<VLCTrack>();
}

int LibVlcMediaPlayer::currentTrack(VLCTrackKind kind) const
{
    return areTracksKnown() ? _tracks->currentTrack(kind) : VLCNoTrack;
}

void LibVlcMediaPlayer::setCurrentTrack(VLCTrackKind kind, int id)
{
    // The answer stays what the engine last said until it has said what it made of this.
    postTrackCommand(
        [kind, id](libvlc_media_player_t *player) { LibVlcTracks::select(player, kind, id); });
}

void LibVlcMediaPlayer::addSubtitleFile(const QString &path)
{
    // Selected at once: whoever adds a subtitle file wants to see it.
    postTrackCommand([url = NativePath::fileUrl(path).toEncoded()](libvlc_media_player_t *player) {
        libvlc_media_player_add_slave(player, libvlc_media_slave_type_subtitle, url.constData(),
                                      true);
    });
}
