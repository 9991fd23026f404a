#include "CustomTextField.h"

#include <QPainter>

CustomTextField::CustomTextField(QWidget *parent)
    : QLineEdit(parent)
{
    initConfigure();
    // QLineEdit already keeps its text 2 points in from the left and 1 from
    // the top; one more at the top puts it at (2, 2), and two at the bottom
    // keep the descenders off the frame.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextMargins(0, 1, 0, 2);
}

void CustomTextField::initConfigure()
{
    setBackgroundColor(Qt::transparent);
    // Drawn, but in the clear colour: whatever lies behind the field shows.
    setAutoFillBackground(true);
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setReadOnly(false);
    // A line edit's text is always selectable, and holds no text attributes
    // to allow: there is nothing to set for either.
    setBackgroundColor(Qt::transparent);
}

void CustomTextField::setBackgroundColor(const QColor &color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

void CustomTextField::setClearButtonWanted(bool wanted)
{
    _clearButtonWanted = wanted;
    if (isVisible())
        setClearButtonEnabled(wanted);
}

void CustomTextField::showEvent(QShowEvent *event)
{
    setClearButtonEnabled(_clearButtonWanted);
    QLineEdit::showEvent(event);
}

void CustomTextField::paintEvent(QPaintEvent *event)
{
    // Qt draws the text, the cursor and the selection, with no panel to speak of.
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Centred on the edge of the bounds, so half of it, 1 point, falls inside.
    painter.setPen(QPen(Qt::gray, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(0, 0), QSizeF(size())));
}
