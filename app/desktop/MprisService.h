#pragma once

#include <QDBusConnection>
#include <QObject>

class DesktopPlayer;

// The player on a bus as MPRIS 2 describes it, so that media keys and the
// desktop's media controls drive it: the object /org/mpris/MediaPlayer2 with
// its two interfaces, under the name org.mpris.MediaPlayer2.glaze, or, when
// another player already holds that name, one of this process's own.
class MprisService : public QObject {
    Q_OBJECT
public:
    // Previews for the desktop are written into `artFolder`.
    MprisService(DesktopPlayer *player, const QDBusConnection &bus, const QString &artFolder,
                 QObject *parent = nullptr);
    ~MprisService() override;

    // Registers the object and takes a name; false when the bus refuses.
    bool registerOnBus();
    QString serviceName() const { return _serviceName; }

private:
    DesktopPlayer *_player;
    QDBusConnection _bus;
    QString _artFolder;
    QObject *_object = nullptr;
    QString _serviceName;
};
