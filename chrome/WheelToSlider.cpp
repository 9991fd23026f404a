#include "WheelToSlider.h"

#include <QCoreApplication>
#include <QSlider>
#include <QWheelEvent>

WheelToSlider::WheelToSlider(QWidget *view, QSlider *slider)
    : QObject(view)
    , _slider(slider)
{
    view->installEventFilter(this);
}

void WheelToSlider::forward(QWidget *view, QSlider *slider)
{
    if (view && slider)
        new WheelToSlider(view, slider);
}

bool WheelToSlider::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !_slider || !_slider->isEnabled())
        return false;
    QCoreApplication::sendEvent(_slider, event);
    return true;
}
