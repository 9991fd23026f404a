#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class QDBusAbstractAdaptor;

// Sends org.freedesktop.DBus.Properties.PropertiesChanged for the properties
// of an adaptor whose values differ from those last announced. Changes are
// compared on the event loop's next turn, so that a burst of them (one entry
// ending, the next one starting) makes one signal with the final values.
class PropertiesChangedNotifier : public QObject {
    Q_OBJECT
public:
    PropertiesChangedNotifier(const QDBusConnection &bus, QString objectPath,
                              QDBusAbstractAdaptor *adaptor, QStringList names);

    void propertiesMayHaveChanged();

private:
    QVariantMap values() const;
    void announceChanges();

    QDBusConnection _bus;
    QString _objectPath;
    QDBusAbstractAdaptor *_adaptor;
    QString _interface;
    QStringList _names;
    QVariantMap _announced;
    bool _pending = false;
};
