#include "CellSlider.h"

#include "CustomSliderCell.h"
#include "KnobOnly.h"

#include <QPainter>
#include <QStyleOptionSlider>

CellSlider::CellSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
    , _cell(new CustomSliderCell(this))
{
}

QColor CellSlider::backgroundColor() const
{
    return _cell->backgroundColor();
}

void CellSlider::setBackgroundColor(const QColor &color)
{
    _cell->setBackgroundColor(color);
}

QColor CellSlider::activeColor() const
{
    return _cell->activeColor();
}

void CellSlider::setActiveColor(const QColor &color)
{
    _cell->setActiveColor(color);
}

void CellSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The bar goes where the style's groove is, as tall as the cell draws it
    // and about the same middle, so that it runs through the knob's centre.
    // A widget's y grows downwards.
    QRectF bar = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    bar.adjust(0, (bar.height() - CustomSliderCell::barHeight) / 2, 0,
               -(bar.height() - CustomSliderCell::barHeight) / 2);
    _cell->drawBarInsideFlipped(&painter, bar, true);
    drawKnobOnly(&painter, option, this, QStyle::CC_Slider, QStyle::SC_SliderHandle);
}
