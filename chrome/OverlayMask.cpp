#include "OverlayMask.h"

#include <QEvent>
#include <QRegion>
#include <QWidget>

OverlayMask::OverlayMask(QWidget *window, const QList<QWidget *> &strips)
    : QObject(window)
    , _window(window)
{
    window->installEventFilter(this);
    for (QWidget *strip : strips) {
        if (!strip)
            continue;
        _strips.append(strip);
        strip->installEventFilter(this);
    }
    update();
}

void OverlayMask::update()
{
    if (!_window)
        return;
    QRegion visible;
    for (const QPointer<QWidget> &strip : std::as_const(_strips)) {
        if (strip && !strip->isHidden())
            visible += QRect(strip->mapTo(_window, QPoint(0, 0)), strip->size());
    }
    // An empty mask would mean "no mask" to Qt and show the whole window.
    if (visible.isEmpty())
        visible = QRect(0, 0, 1, 1);
    _window->setMask(visible);
}

bool OverlayMask::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest:
        update();
        break;
    default:
        break;
    }
    return false;
}
