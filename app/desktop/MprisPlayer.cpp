#include "MprisPlayer.h"

#include "DesktopPlayer.h"
#include "MprisObject.h"
#include "media/NativePath.h"

namespace {

// Track ids are object paths; this one is reserved for "no track".
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
const QString kTrackPrefix = QStringLiteral("/org/glaze/Glaze/Track/");

constexpr qlonglong kUsPerMs = 1000;

} // namespace

MprisPlayer::MprisPlayer(MprisObject *object, DesktopPlayer *player, const QString &artFolder)
    : QDBusAbstractAdaptor(object)
    , _object(object)
    , _player(player)
    , _art(artFolder)
{
    connect(player, &DesktopPlayer::seeked, this,
            [this](qint64 positionMs) { emit Seeked(positionMs * kUsPerMs); });
}

QStringList MprisPlayer::announcedProperties()
{
    return {"PlaybackStatus", "Metadata", "Volume",   "CanGoNext",
            "CanGoPrevious",  "CanPlay",  "CanPause", "CanSeek"};
}

QString MprisPlayer::playbackStatus() const
{
    switch (_player->status()) {
    case DesktopPlayer::Status::Playing:
        return QStringLiteral("Playing");
    case DesktopPlayer::Status::Paused:
        return QStringLiteral("Paused");
    case DesktopPlayer::Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QDBusObjectPath MprisPlayer::trackPath(quint64 trackId) const
{
    return QDBusObjectPath(trackId ? kTrackPrefix + QString::number(trackId) : kNoTrack);
}

QVariantMap MprisPlayer::metadata() const
{
    const DesktopPlayer::Track track = _player->currentTrack();
    QVariantMap metadata{{"mpris:trackid", QVariant::fromValue(trackPath(track.id))}};
    if (!track.id)
        return metadata;
    metadata.insert("xesam:title", track.title);
    metadata.insert("xesam:url", NativePath::fileUrl(track.path).toString(QUrl::FullyEncoded));
    if (track.lengthMs > 0)
        metadata.insert("mpris:length", qlonglong(track.lengthMs * kUsPerMs));
    const QString art =
        _art.artUrl(track.id, track.path, [this] { return _player->currentPreview(); });
    if (!art.isEmpty())
        metadata.insert("mpris:artUrl", art);
    return metadata;
}

double MprisPlayer::volume() const
{
    return _player->volume();
}

void MprisPlayer::setVolume(double volume)
{
    // Below silence means silence.
    _player->setVolume(std::max(volume, 0.0));
}

qlonglong MprisPlayer::position() const
{
    return _player->positionMs() * kUsPerMs;
}

bool MprisPlayer::canGoNext() const
{
    return _player->canGoNext();
}

bool MprisPlayer::canGoPrevious() const
{
    return _player->canGoPrevious();
}

bool MprisPlayer::hasTrack() const
{
    return _player->currentTrack().id != 0;
}

bool MprisPlayer::canSeek() const
{
    return _player->status() != DesktopPlayer::Status::Stopped &&
           _player->currentTrack().lengthMs > 0;
}

void MprisPlayer::Next()
{
    _player->next();
}

void MprisPlayer::Previous()
{
    _player->previous();
}

void MprisPlayer::Pause()
{
    if (_player->status() == DesktopPlayer::Status::Playing)
        _player->pause();
}

void MprisPlayer::PlayPause()
{
    if (_player->status() == DesktopPlayer::Status::Playing)
        _player->pause();
    else
        _player->play();
}

void MprisPlayer::Stop()
{
    if (_player->status() != DesktopPlayer::Status::Stopped)
        _player->stop();
}

void MprisPlayer::Play()
{
    if (_player->status() != DesktopPlayer::Status::Playing)
        _player->play();
}

void MprisPlayer::Seek(qlonglong Offset)
{
    if (!canSeek())
        return;
    // Before the start is the start; past the end the entry ends, as Next would.
    const qint64 lengthMs = _player->currentTrack().lengthMs;
    _player->setPositionMs(
        std::clamp(_player->positionMs() + Offset / kUsPerMs, qint64(0), lengthMs));
}

void MprisPlayer::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    // A client that still sees the entry before (a stale id) is ignored.
    const DesktopPlayer::Track track = _player->currentTrack();
    if (!canSeek() || TrackId != trackPath(track.id) || Position < 0 ||
        Position > track.lengthMs * kUsPerMs)
        return;
    _player->setPositionMs(Position / kUsPerMs);
}

void MprisPlayer::OpenUri(const QString &Uri)
{
    if (!Uri.startsWith(QLatin1String("file:")))
        return refuse(QDBusError::NotSupported, QStringLiteral("Only file: URIs are opened"));
    // Percent escapes are bytes of the name, whether UTF-8 or not.
    const QString path = NativePath::fromFileUrl(Uri.toUtf8());
    if (NativePath::kind(path) != NativePath::Kind::RegularFile)
        return refuse(QDBusError::InvalidArgs, QStringLiteral("Not a file: %1").arg(Uri));
    _player->openFiles({path});
}

void MprisPlayer::refuse(QDBusError::ErrorType error, const QString &message)
{
    if (_object->calledFromDBus())
        _object->sendErrorReply(error, message);
}
