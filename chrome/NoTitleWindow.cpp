#include "NoTitleWindow.h"

#include "FullScreenNotifications.h"
#include "NotificationCenter.h"
#include "WindowEdges.h"

#include <QWindowStateChangeEvent>

NoTitleWindow::NoTitleWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint)
    , _edges(new WindowEdges(this))
{
}

void NoTitleWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool was =
        static_cast<QWindowStateChangeEvent *>(event)->oldState().testFlag(Qt::WindowFullScreen);
    const bool is = windowState().testFlag(Qt::WindowFullScreen);
    if (was != is)
        NotificationCenter::defaultCenter().post(is ? NSWindowDidEnterFullScreenNotification
                                                    : NSWindowDidExitFullScreenNotification,
                                                 this);
}

void toggleFullScreen(QWidget *window)
{
    // Only the full-screen flag flips, so the other states come back after.
    if (window)
        window->setWindowState(window->windowState() ^ Qt::WindowFullScreen);
}
