#include "MprisService.h"

#include "DesktopPlayer.h"
#include "MprisObject.h"
#include "MprisPlayer.h"
#include "MprisRoot.h"
#include "PropertiesChangedNotifier.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.glaze");

} // namespace

MprisService::MprisService(DesktopPlayer *player, const QDBusConnection &bus,
                           const QString &artFolder, QObject *parent)
    : QObject(parent)
    , _player(player)
    , _bus(bus)
    , _artFolder(artFolder)
{
}

MprisService::~MprisService()
{
    if (!_serviceName.isEmpty())
        _bus.unregisterService(_serviceName);
    if (_object)
        _bus.unregisterObject(kObjectPath);
}

bool MprisService::registerOnBus()
{
    if (_object || !_bus.isConnected())
        return false;
    auto *object = new MprisObject(this);
    _object = object;
    new MprisRoot(_object, _player);
    auto *player = new MprisPlayer(object, _player, _artFolder);
    if (!_bus.registerObject(kObjectPath, _object, QDBusConnection::ExportAdaptors))
        return false;
    auto *notifier = new PropertiesChangedNotifier(_bus, kObjectPath, player,
                                                   MprisPlayer::announcedProperties());
    connect(_player, &DesktopPlayer::stateChanged, notifier,
            &PropertiesChangedNotifier::propertiesMayHaveChanged);
    // A second player (glaze --new-instance) takes a name of its own.
    for (const QString &name :
         {kServiceName, kServiceName + QStringLiteral(".instance") +
                            QString::number(QCoreApplication::applicationPid())}) {
        if (_bus.interface()
                ->registerService(name, QDBusConnectionInterface::DontQueueService,
                                  QDBusConnectionInterface::DontAllowReplacement)
                .value() == QDBusConnectionInterface::ServiceRegistered) {
            _serviceName = name;
            return true;
        }
    }
    return false;
}
