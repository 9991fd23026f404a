#pragma once

#include <QStyle>

class QAbstractSlider;
class QPainter;
class QStyleOptionSlider;

// Draws nothing of `control` but its knob (`knob` of `complex`), pressed or
// hovered as QSlider and QScrollBar draw it themselves. `option` is the
// control's own style option.
void drawKnobOnly(QPainter *painter, QStyleOptionSlider option, const QAbstractSlider *control,
                  QStyle::ComplexControl complex, QStyle::SubControl knob);
