#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

// A notification: its name and the object that posted it. Receivers usually
// look only at the name.
struct Notification {
    QString name;
    QPointer<QObject> object;
};

// The application's notification centre, keyed by the notification's name.
// Main thread only: observers are called on the posting thread, in the order
// they were added. An observer goes away with its receiver.
class NotificationCenter {
public:
    using Callback = std::function<void(const Notification &)>;

    static NotificationCenter &defaultCenter();

    void addObserver(const QString &name, QObject *receiver, Callback callback);
    void post(const QString &name, QObject *object);

private:
    struct Observer {
        QString name;
        QPointer<QObject> receiver;
        Callback callback;
    };
    QList<Observer> _observers;
};
