#include "ImageButton.h"

#include "ImageNamed.h"

#include <QIcon>
#include <QPainter>

ImageButton::ImageButton(QWidget *parent)
    : QAbstractButton(parent)
{
    // The space bar belongs to play and pause, not to whichever button has focus.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::setImage(const QString &name)
{
    _image = name;
    update();
}

void ImageButton::setAlternateImage(const QString &name)
{
    _alternateImage = name;
    update();
}

void ImageButton::paintEvent(QPaintEvent *)
{
    const QString &name = isDown() && !_alternateImage.isEmpty() ? _alternateImage : _image;
    if (name.isEmpty())
        return;
    QPainter painter(this);
    // Rendered for the painter's pixel ratio, not scaled up from a pixmap.
    const QIcon icon(imageNamed(name));
    icon.paint(&painter, rect(), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}
