#include "CustomView.h"

#include <QPaintEvent>
#include <QPainter>

CustomView::CustomView(QWidget *parent)
    : QWidget(parent)
{
    // Qt must not paint a background of its own under the copied colour.
    setAttribute(Qt::WA_NoSystemBackground);
}

void CustomView::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!_backgroundColor.isValid())
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(event->rect(), _backgroundColor);
}
