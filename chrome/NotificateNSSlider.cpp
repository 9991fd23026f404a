#include "NotificateNSSlider.h"

#include "MouseDownNotification.h"
#include "NotificationCenter.h"

NotificateNSSlider::NotificateNSSlider(QWidget *parent)
    : CellSlider(parent)
{
    // Every change by mouse, wheel or key runs through an action; the value
    // follows the position only after this signal, so take it over first.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] {
        setValue(sliderPosition());
        emit valueChangedByUser();
    });
}

void NotificateNSSlider::mouseReleaseEvent(QMouseEvent *event)
{
    CellSlider::mouseReleaseEvent(event);
    NotificationCenter::defaultCenter().post(MOUSE_DOWN_NOTIFICATION, this);
}
