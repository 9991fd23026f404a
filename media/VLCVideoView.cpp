#include "VLCVideoView.h"

#include <QGuiApplication>
#include <QResizeEvent>

VLCVideoView::VLCVideoView(const QRect &frame, QWidget *parent)
    : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_NativeWindow);
    // Only this view needs a window of its own: a native holder would cover
    // the playlist panel that lies beside the video.
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    // The engine draws the picture in a window of its own inside this one, so
    // Qt may paint the black that shows before and between media.
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setMouseTracking(true);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        _x11Window = static_cast<unsigned long>(winId());
    if (parent)
        parent->installEventFilter(this);
}

void VLCVideoView::setFillScreen(bool fill)
{
    if (_fillScreen == fill)
        return;
    _fillScreen = fill;
    emit fillChanged();
}

bool VLCVideoView::eventFilter(QObject *watched, QEvent *event)
{
    // Follow the holder's size the way AppKit's autoresizing does: grow by
    // the holder's change along each sizable axis.
    if (watched == parentWidget() && event->type() == QEvent::Resize && _autoresizingMask) {
        const auto *holderResize = static_cast<QResizeEvent *>(event);
        if (holderResize->oldSize().isValid()) {
            const QSize delta = holderResize->size() - holderResize->oldSize();
            QSize size = this->size();
            if (_autoresizingMask & WidthSizable)
                size.rwidth() += delta.width();
            if (_autoresizingMask & HeightSizable)
                size.rheight() += delta.height();
            resize(size.expandedTo(QSize(0, 0)));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VLCVideoView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (_fillScreen)
        emit fillChanged();
}
