#include "MprisRoot.h"

#include "DesktopPlayer.h"
#include "SupportedMimeTypes.h"

#include <QGuiApplication>

MprisRoot::MprisRoot(QObject *object, DesktopPlayer *player)
    : QDBusAbstractAdaptor(object)
    , _player(player)
{
}

QString MprisRoot::identity() const
{
    return QCoreApplication::applicationName();
}

QString MprisRoot::desktopEntry() const
{
    return QGuiApplication::desktopFileName();
}

QStringList MprisRoot::supportedMimeTypes() const
{
    return acceptedMimeTypes();
}

void MprisRoot::Raise()
{
    _player->raise();
}

void MprisRoot::Quit()
{
    _player->quit();
}
