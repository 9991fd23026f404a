#include "ImageView.h"

#include "ImageNamed.h"

#include <QIcon>
#include <QImageReader>

ImageView::ImageView(QWidget *parent)
    : QLabel(parent)
{
}

void ImageView::setImage(const QString &name)
{
    _image = name;
    renderImage();
}

void ImageView::paintEvent(QPaintEvent *event)
{
    // A window moved to a screen of another ratio needs the image drawn anew.
    if (!_image.isEmpty() && pixmap().devicePixelRatio() != devicePixelRatioF())
        renderImage();
    QLabel::paintEvent(event);
}

void ImageView::renderImage()
{
    const QString path = imageNamed(_image);
    setPixmap(QIcon(path).pixmap(QImageReader(path).size(), devicePixelRatioF()));
}
