#include "NotificationCenter.h"

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const QString &name, QObject *receiver, Callback callback)
{
    if (!receiver || !callback)
        return;
    _observers.append({name, receiver, std::move(callback)});
}

void NotificationCenter::post(const QString &name, QObject *object)
{
    _observers.removeIf([](const Observer &observer) { return !observer.receiver; });
    const Notification notification{name, object};
    // A copy: an observer may add observers, or end a receiver, while it runs.
    const QList<Observer> observers = _observers;
    for (const Observer &observer : observers) {
        if (observer.name == name && observer.receiver)
            observer.callback(notification);
    }
}
