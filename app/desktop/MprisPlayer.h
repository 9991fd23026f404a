#pragma once

#include "CoverArtCache.h"

#include <QDBusAbstractAdaptor>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QVariantMap>

class DesktopPlayer;
class MprisObject;

// org.mpris.MediaPlayer2.Player: what plays and the commands of media keys
// and the desktop's media controls. Times on the bus are microseconds; volume
// 1.0 is the engine's unamplified level. The rate is fixed at 1.0.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ hasTrack)
    Q_PROPERTY(bool CanPause READ hasTrack)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    MprisPlayer(MprisObject *object, DesktopPlayer *player, const QString &artFolder);

    // The properties whose changes PropertiesChanged announces; the position
    // moves on by itself and is announced only by Seeked when it jumps.
    static QStringList announcedProperties();

    QString playbackStatus() const;
    double rate() const { return 1.0; }
    void setRate(double) {}
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool hasTrack() const;
    bool canSeek() const;
    bool canControl() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position);
    void OpenUri(const QString &Uri);

signals:
    void Seeked(qlonglong Position);

private:
    QDBusObjectPath trackPath(quint64 trackId) const;
    // Refuses a call from the bus with that error; nothing when called otherwise.
    void refuse(QDBusError::ErrorType error, const QString &message);

    MprisObject *_object;
    DesktopPlayer *_player;
    // Written on the first read of a track's metadata, whatever reads it.
    mutable CoverArtCache _art;
};
