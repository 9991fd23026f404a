#include "WindowLevel.h"

#include <QWidget>
#include <QWindow>

void setWindowLevel(QWidget *window, WindowLevel level)
{
    const bool onTop = level == WindowLevel::ModalPanel;
    if (QWindow *handle = window->windowHandle(); handle && window->isVisible()) {
        // QWidget::setWindowFlag would hide a shown window; the platform
        // window takes the hint in place.
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        window->overrideWindowFlags(handle->flags());
    } else {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
}

WindowLevel windowLevel(const QWidget *window)
{
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? WindowLevel::ModalPanel
                                                                    : WindowLevel::Normal;
}
