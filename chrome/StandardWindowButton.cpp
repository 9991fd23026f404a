#include "StandardWindowButton.h"

#include <QPainter>
#include <QPainterPath>

StandardWindowButton *StandardWindowButton::standardWindowButton(Kind kind)
{
    return new StandardWindowButton(kind);
}

StandardWindowButton::StandardWindowButton(Kind kind)
    : _kind(kind)
{
    // The space bar belongs to play and pause.
    setFocusPolicy(Qt::NoFocus);
}

bool StandardWindowButton::drawsSymbol()
{
    const auto *group = dynamic_cast<const WindowButtonGroup *>(parentWidget());
    return group && group->_mouseInGroup(this);
}

void StandardWindowButton::paintEvent(QPaintEvent *)
{
    // The colours of the usual traffic lights, darker while pressed.
    QColor fill = _kind == Kind::Close         ? QColor(255, 95, 87)
                  : _kind == Kind::Miniaturize ? QColor(254, 188, 46)
                                               : QColor(40, 200, 64);
    if (!isEnabled())
        fill = QColor(90, 90, 90);
    else if (isDown())
        fill = fill.darker(130);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn in a 15-unit square whatever the button's size and the screen's scale.
    const qreal side = std::min(width(), height());
    painter.translate((width() - side) / 2, (height() - side) / 2);
    painter.scale(side / 15, side / 15);
    painter.setPen(QPen(fill.darker(115), 0.5));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(0.5, 0.5, 14, 14));
    if (!isEnabled() || !drawsSymbol())
        return;
    QPainterPath symbol;
    switch (_kind) {
    case Kind::Close:
        symbol.moveTo(4.5, 4.5);
        symbol.lineTo(10.5, 10.5);
        symbol.moveTo(10.5, 4.5);
        symbol.lineTo(4.5, 10.5);
        break;
    case Kind::Miniaturize:
        symbol.moveTo(3.5, 7.5);
        symbol.lineTo(11.5, 7.5);
        break;
    case Kind::Zoom:
        symbol.moveTo(3.5, 7.5);
        symbol.lineTo(11.5, 7.5);
        symbol.moveTo(7.5, 3.5);
        symbol.lineTo(7.5, 11.5);
        break;
    }
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(symbol);
}
