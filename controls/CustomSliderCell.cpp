#include "CustomSliderCell.h"

#include <QAbstractSlider>
#include <QPainter>

namespace {

constexpr qreal kBarRadius = 2.5;
// The active part spans the control's width less this, not the bar's.
constexpr qreal kKnobAllowance = 8.0;

} // namespace

CustomSliderCell::CustomSliderCell(QAbstractSlider *controlView)
    : QObject(controlView)
    , _controlView(controlView)
{
}

std::optional<CustomSliderCell::Bar> CustomSliderCell::barInside(const QRectF &bar) const
{
    const qreal minimum = _controlView->minimum();
    const qreal maximum = _controlView->maximum();
    if (maximum == 0.0)
        return std::nullopt;
    const QRectF track(bar.topLeft(), QSizeF(bar.width(), barHeight));
    // A range of one value has nothing to fill: its active part stays empty.
    const qreal position =
        maximum == minimum ? 0.0 : (_controlView->value() - minimum) / (maximum - minimum);
    const qreal length = position * (_controlView->width() - kKnobAllowance);
    return Bar{track, QRectF(bar.topLeft(), QSizeF(length, barHeight))};
}

void CustomSliderCell::drawBarInsideFlipped(QPainter *painter, const QRectF &bar, bool) const
{
    const std::optional<Bar> parts = barInside(bar);
    if (!parts)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(_backgroundColor);
    painter->drawRoundedRect(parts->track, kBarRadius, kBarRadius);
    painter->setBrush(_activeColor);
    painter->drawRoundedRect(parts->active, kBarRadius, kBarRadius);
    painter->restore();
}
