#pragma once

#include <QKeyEvent>
#include <QObject>
#include <functional>

// Sees every key press of the application before it is dispatched and always
// lets it go on to its target. Installed for the life of its owner, which for
// the application delegate is the life of the process.
class KeyDownMonitor : public QObject {
public:
    using Handler = std::function<void(const QKeyEvent &)>;
    static void addLocalMonitorForKeyDown(QObject *owner, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyDownMonitor(QObject *owner, Handler handler);
    Handler _handler;
};
