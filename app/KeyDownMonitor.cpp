#include "KeyDownMonitor.h"

#include <QCoreApplication>
#include <QWindow>

KeyDownMonitor::KeyDownMonitor(QObject *owner, Handler handler)
    : QObject(owner)
    , _handler(std::move(handler))
{
}

void KeyDownMonitor::addLocalMonitorForKeyDown(QObject *owner, Handler handler)
{
    QCoreApplication::instance()->installEventFilter(new KeyDownMonitor(owner, std::move(handler)));
}

bool KeyDownMonitor::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches the window once, then the focus widget and, when
    // ignored, each of its parents: only the window's delivery is one press.
    if (event->type() == QEvent::KeyPress && qobject_cast<QWindow *>(watched))
        _handler(*static_cast<QKeyEvent *>(event));
    return false;
}
