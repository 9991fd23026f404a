#include "NotificateNSButton.h"

#include "MouseDownNotification.h"
#include "NotificationCenter.h"

NotificateNSButton::NotificateNSButton(QWidget *parent)
    : ImageButton(parent)
{
}

void NotificateNSButton::mousePressEvent(QMouseEvent *event)
{
    NotificationCenter::defaultCenter().post(MOUSE_DOWN_NOTIFICATION, this);
    ImageButton::mousePressEvent(event);
}
