#include "InputRegion.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {

xcb_connection_t *shapeConnection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    const xcb_query_extension_reply_t *shape = xcb_get_extension_data(connection, &xcb_shape_id);
    return shape && shape->present ? connection : nullptr;
}

} // namespace

void setInputRegion(QWidget *widget, const std::optional<QRegion> &region)
{
    xcb_connection_t *connection = shapeConnection();
    if (!connection || !widget->testAttribute(Qt::WA_WState_Created) || !widget->windowHandle())
        return;
    const auto id = static_cast<xcb_window_t>(widget->windowHandle()->winId());
    if (!region) {
        xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_NONE);
        xcb_flush(connection);
        return;
    }
    // X counts device pixels; on a scaled screen logical edges round outwards.
    const qreal ratio = widget->devicePixelRatioF();
    QList<xcb_rectangle_t> rectangles;
    for (const QRect &rect : *region) {
        const int left = static_cast<int>(std::floor(rect.left() * ratio));
        const int top = static_cast<int>(std::floor(rect.top() * ratio));
        const int right = static_cast<int>(std::ceil((rect.right() + 1) * ratio));
        const int bottom = static_cast<int>(std::ceil((rect.bottom() + 1) * ratio));
        rectangles.append({static_cast<int16_t>(left), static_cast<int16_t>(top),
                           static_cast<uint16_t>(right - left),
                           static_cast<uint16_t>(bottom - top)});
    }
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                         XCB_CLIP_ORDERING_UNSORTED, id, 0, 0, rectangles.size(),
                         rectangles.constData());
    xcb_flush(connection);
}
