#include "VACell.h"

#include <QPainter>
#include <QStyle>
#include <cmath>

VACell::VACell(QWidget *parent)
    : QLabel(parent)
{
}

QRectF VACell::adjustedFrameToVerticallyCenterText(const QRectF &frame) const
{
    const QFontMetricsF metrics(font());
    const qreal extent = metrics.ascent() + metrics.descent();
    const qreal offset = std::floor((frame.height() - extent) * 0.5);
    return frame.adjusted(0.0, offset, 0.0, -offset);
}

void VACell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    // The offset is whole, so the frame stays on whole points.
    const QRect text = adjustedFrameToVerticallyCenterText(contentsRect()).toRect();
    const Qt::Alignment across = alignment() & Qt::AlignHorizontal_Mask;
    style()->drawItemText(&painter, text, int(across | Qt::AlignTop), palette(), isEnabled(),
                          this->text(), foregroundRole());
}
