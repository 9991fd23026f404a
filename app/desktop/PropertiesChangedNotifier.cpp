#include "PropertiesChangedNotifier.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QMetaClassInfo>
#include <QTimer>

PropertiesChangedNotifier::PropertiesChangedNotifier(const QDBusConnection &bus, QString objectPath,
                                                     QDBusAbstractAdaptor *adaptor,
                                                     QStringList names)
    : QObject(adaptor)
    , _bus(bus)
    , _objectPath(std::move(objectPath))
    , _adaptor(adaptor)
    , _names(std::move(names))
{
    const QMetaObject *meta = adaptor->metaObject();
    _interface =
        QString::fromLatin1(meta->classInfo(meta->indexOfClassInfo("D-Bus Interface")).value());
    _announced = values();
}

void PropertiesChangedNotifier::propertiesMayHaveChanged()
{
    if (std::exchange(_pending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        _pending = false;
        announceChanges();
    });
}

QVariantMap PropertiesChangedNotifier::values() const
{
    QVariantMap values;
    for (const QString &name : _names)
        values.insert(name, _adaptor->property(name.toLatin1().constData()));
    return values;
}

void PropertiesChangedNotifier::announceChanges()
{
    const QVariantMap now = values();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    _announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(_objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << _interface << changed << QStringList();
    _bus.send(signal);
}
