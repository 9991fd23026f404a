#pragma once

#include <QKeyEvent>
#include <QObject>
#include <functional>

// Sees every key press of the application before it is dispatched and always
// lets it go on to its target. Installed for the life of its owner, which for
// the application delegate is the life of the process.
class KeyDownMonitor : public QObject {
public:
    // `isAutoRepeat`: the press comes from a key held down, not a new press.
    using Handler = std::function<void(const QKeyEvent &, bool isAutoRepeat)>;
    static void addLocalMonitorForKeyDown(QObject *owner, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyDownMonitor(QObject *owner, Handler handler);
    Handler _handler;
    int _releasedKey = 0;
    quint64 _releasedAt = 0;
};
