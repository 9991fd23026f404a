#include "KnobOnly.h"

#include <QAbstractSlider>
#include <QCursor>
#include <QStyleOptionSlider>

void drawKnobOnly(QPainter *painter, QStyleOptionSlider option, const QAbstractSlider *control,
                  QStyle::ComplexControl complex, QStyle::SubControl knob)
{
    option.subControls = knob;
    if (control->isSliderDown()) {
        option.activeSubControls = knob;
        option.state |= QStyle::State_Sunken;
    } else if (control->underMouse()) {
        option.activeSubControls = control->style()->hitTestComplexControl(
            complex, &option, control->mapFromGlobal(QCursor::pos()), control);
    }
    control->style()->drawComplexControl(complex, &option, painter, control);
}
