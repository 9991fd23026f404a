#include "CustomScroller.h"

#include "KnobOnly.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionSlider>

CustomScroller::CustomScroller(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
}

void CustomScroller::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (_scrollColor.isValid()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(event->rect(), _scrollColor);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    drawKnobOnly(&painter, option, this, QStyle::CC_ScrollBar, QStyle::SC_ScrollBarSlider);
}
