#include "WindowEdges.h"

#include "InputRegion.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowEdges::WindowEdges(QWidget *window)
    : QObject(window)
    , _window(window)
{
    // The pointer's events reach the window's QWindow before the widget under
    // the pointer, and geometry changes reach the widgets: one filter sees both.
    if (qApp)
        qApp->installEventFilter(this);
}

void WindowEdges::addCover(QWidget *cover)
{
    if (!cover)
        return;
    _covers.append(cover);
    updateCoverInput(cover);
}

bool WindowEdges::isResizable() const
{
    return _window && !(_window->windowState() &
                        (Qt::WindowFullScreen | Qt::WindowMaximized | Qt::WindowMinimized));
}

Qt::Edges WindowEdges::edgesAt(const QRect &frame, const QPoint &point)
{
    if (!frame.contains(point))
        return {};
    const int left = point.x() - frame.left();
    const int right = frame.right() - point.x();
    const int top = point.y() - frame.top();
    const int bottom = frame.bottom() - point.y();
    Qt::Edges edges;
    if (left < kBand)
        edges |= Qt::LeftEdge;
    else if (right < kBand)
        edges |= Qt::RightEdge;
    if (top < kBand)
        edges |= Qt::TopEdge;
    else if (bottom < kBand)
        edges |= Qt::BottomEdge;
    // Along an edge, near a corner, the corner takes both of its edges.
    const Qt::Edges horizontal = Qt::LeftEdge | Qt::RightEdge;
    const Qt::Edges vertical = Qt::TopEdge | Qt::BottomEdge;
    if ((edges & horizontal) && !(edges & vertical))
        edges |= top < kCorner ? Qt::TopEdge : bottom < kCorner ? Qt::BottomEdge : Qt::Edges();
    else if ((edges & vertical) && !(edges & horizontal))
        edges |= left < kCorner ? Qt::LeftEdge : right < kCorner ? Qt::RightEdge : Qt::Edges();
    return edges;
}

Qt::CursorShape WindowEdges::cursorShape(Qt::Edges edges)
{
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        return Qt::SizeBDiagCursor;
    if (edges & (Qt::LeftEdge | Qt::RightEdge))
        return Qt::SizeHorCursor;
    return edges ? Qt::SizeVerCursor : Qt::ArrowCursor;
}

QRegion WindowEdges::coverInputRegion(const QRect &windowFrame, const QRect &coverFrame)
{
    const QRegion band = QRegion(windowFrame) - windowFrame.adjusted(kBand, kBand, -kBand, -kBand);
    return (QRegion(coverFrame) - band).translated(-coverFrame.topLeft());
}

bool WindowEdges::pressAt(const QPoint &point)
{
    if (!isResizable())
        return false;
    const Qt::Edges edges = edgesAt(_window->frameGeometry(), point);
    QWindow *handle = _window->windowHandle();
    if (!edges || !handle || !handle->startSystemResize(edges))
        return false;
    // The window manager shows its own cursor while it resizes.
    setCursorEdges({});
    return true;
}

void WindowEdges::pointerAt(const QPoint &point)
{
    setCursorEdges(isResizable() ? edgesAt(_window->frameGeometry(), point) : Qt::Edges());
}

void WindowEdges::setCursorEdges(Qt::Edges edges)
{
    if (edges == _cursorEdges)
        return;
    // Over the widgets' own cursors, whichever widget lies at the edge.
    if (!edges)
        QGuiApplication::restoreOverrideCursor();
    else if (!_cursorEdges)
        QGuiApplication::setOverrideCursor(cursorShape(edges));
    else
        QGuiApplication::changeOverrideCursor(cursorShape(edges));
    _cursorEdges = edges;
}

void WindowEdges::updateCoverInput(QWidget *cover)
{
    if (!_window || !cover->isWindow())
        return;
    if (isResizable())
        setInputRegion(cover, coverInputRegion(_window->frameGeometry(), cover->frameGeometry()));
    else
        setInputRegion(cover, std::nullopt);
}

bool WindowEdges::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress: {
        if (!_window || watched != _window->windowHandle())
            break;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonPress)
            return mouse->button() == Qt::LeftButton && pressAt(mouse->globalPosition().toPoint());
        if (mouse->buttons() == Qt::NoButton)
            pointerAt(mouse->globalPosition().toPoint());
        break;
    }
    case QEvent::Leave:
        if (_window && watched == _window->windowHandle())
            setCursorEdges({});
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
        if (watched == _window) {
            for (const QPointer<QWidget> &cover : std::as_const(_covers))
                if (cover)
                    updateCoverInput(cover);
        } else if (auto *cover = qobject_cast<QWidget *>(watched);
                   cover && _covers.contains(cover)) {
            updateCoverInput(cover);
        }
        break;
    default:
        break;
    }
    return false;
}
