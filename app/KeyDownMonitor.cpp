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
    // Every event of the application passes here: only a key event is a
    // QKeyEvent, so its type comes first.
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) ||
        !qobject_cast<QWindow *>(watched))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (type == QEvent::KeyRelease) {
        _releasedKey = key->key();
        _releasedAt = key->timestamp();
    } else {
        // X11 repeats a held key as a release and a press with one timestamp.
        // Qt marks the press as a repeat only when it finds both queued
        // together, which a busy machine does not always manage.
        const bool repeat =
            key->isAutoRepeat() || (key->key() == _releasedKey && key->timestamp() == _releasedAt);
        _handler(*key, repeat);
    }
    return false;
}
