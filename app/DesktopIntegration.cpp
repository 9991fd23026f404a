#include "DesktopIntegration.h"

#include "AppDelegate.h"
#include "DesktopPlayerAdapter.h"
#include "app/desktop/InstanceChannel.h"
#include "app/desktop/MprisService.h"

#include <QDBusError>
#include <QStandardPaths>

void startDesktopIntegration(AppDelegate *appDelegate, const QByteArray &instanceSocket)
{
    auto *player = new DesktopPlayerAdapter(appDelegate);
    if (!instanceSocket.isEmpty()) {
        auto *listener = new InstanceListener(instanceSocket, player);
        QObject::connect(listener, &InstanceListener::requested, player,
                         [player](InstanceChannel::Request request, const QStringList &paths) {
                             if (request == InstanceChannel::Request::Enqueue) {
                                 player->enqueueFiles(paths);
                                 return;
                             }
                             player->raise();
                             player->openFiles(paths);
                         });
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qWarning("Glaze: no session bus (%s): media keys and the desktop's media controls "
                 "cannot reach the player",
                 qPrintable(bus.lastError().message()));
        return;
    }
    auto *mpris = new MprisService(player, bus,
                                   QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                                       QStringLiteral("/art"),
                                   player);
    if (!mpris->registerOnBus())
        qWarning("Glaze: the session bus refused the media player's name or object");
}
