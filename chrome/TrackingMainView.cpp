#include "TrackingMainView.h"

#include "MouseDownNotification.h"
#include "NoTitleWindow.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>
#include <cmath>

TrackingMainView::TrackingMainView(QWidget *parent)
    : DragDropView(parent)
{
    _timer.setSingleShot(true);
    _timer.setInterval(kInactivityMs);
    connect(&_timer, &QTimer::timeout, this, &TrackingMainView::timeLost);
    // Qt hands a move to the widget under the pointer, a control or a window
    // beneath the overlay's clear parts: the windows' own events see them all.
    if (qApp)
        qApp->installEventFilter(this);
}

TrackingMainView::~TrackingMainView()
{
    setPointerHidden(false);
}

// Qt has no tracking areas: the view starts its timer when it is shown and
// again when its geometry changes, as AppKit would reinstall the area.
void TrackingMainView::updateTrackingAreas()
{
    _timer.start();
}

void TrackingMainView::showEvent(QShowEvent *event)
{
    DragDropView::showEvent(event);
    updateTrackingAreas();
}

void TrackingMainView::resizeEvent(QResizeEvent *event)
{
    DragDropView::resizeEvent(event);
    if (isVisible())
        updateTrackingAreas();
}

void TrackingMainView::mouseEntered()
{
    if (_isMouseInside)
        return;
    _isMouseInside = true;
    setHiddentItems(false);
}

void TrackingMainView::mouseMoved()
{
    mouseEventHappens();
    _isMouseInside = true;
    setHiddentItems(false);
}

void TrackingMainView::mouseExited(const QPointF &point)
{
    // An exit at a point still on the view is no exit: the pointer went to a
    // popup, or to the window beneath where the overlay lets it through.
    if (containsTruncated(QRectF(mapToGlobal(QPointF(0, 0)), size()), point))
        return;
    if (!_isMouseInside)
        return;
    _isMouseInside = false;
    setHiddentItems(true);
}

bool TrackingMainView::containsTruncated(const QRectF &rect, const QPointF &point)
{
    const auto whole = [](qreal value) { return static_cast<qint64>(std::trunc(value)); };
    const qint64 x = whole(point.x()), y = whole(point.y());
    return whole(rect.left()) <= x && x < whole(rect.left() + rect.width()) &&
           whole(rect.top()) <= y && y < whole(rect.top() + rect.height());
}

void TrackingMainView::mouseDown(const QPointF &point)
{
    mouseEventHappens();
    _initialLocation = point - QPointF(window()->pos());
}

void TrackingMainView::mouseDragged(const QPointF &point)
{
    // A window in full screen has nowhere to go.
    if (!_mainWindow || _mainWindow->isFullScreen())
        return;
    QPointF origin = point - _initialLocation;
    // The top edge stays on the screen, so the title bar can be reached;
    // the other edges may leave it.
    const QScreen *screen = _mainWindow->screen();
    const int top = screen ? screen->geometry().top() : 0;
    if (origin.y() < top)
        origin.setY(top);
    _mainWindow->move(origin.toPoint());
}

void TrackingMainView::mouseUp(int clickCount)
{
    if (clickCount == 2)
        toggleFullScreen(_mainWindow);
}

void TrackingMainView::controlElementClicked(const Notification &notification)
{
    if (notification.name == MOUSE_DOWN_NOTIFICATION)
        mouseEventHappens();
}

void TrackingMainView::timeLost()
{
    setHiddentItems(true);
    _timer.stop();
}

void TrackingMainView::mouseEventHappens()
{
    if (isGroupHidden())
        setHiddentItems(false);
    _timer.start();
}

bool TrackingMainView::isGroupHidden() const
{
    // A group on its way out counts as hidden: activity brings it back
    // rather than let the fade end it a moment after a click.
    const bool firstHidden = !_views.isEmpty() && _views.first() && _views.first()->isHidden();
    return firstHidden || (_fade && _fadeHides);
}

bool TrackingMainView::groupIs(bool hidden) const
{
    return std::all_of(_views.cbegin(), _views.cend(), [hidden](const QPointer<QWidget> &member) {
        return !member || member->isHidden() == hidden;
    });
}

void TrackingMainView::setHiddentItems(bool hidden)
{
    if (!hidden)
        setPointerHidden(false);
    // AppKit would let every fade run to its completion step, so a hide's
    // step could hide the group after a later show had begun, leaving it
    // hidden for good. Here a fade the other way ends the one under way and
    // starts from where it got to; one the same way leaves it to finish.
    if (_fade && _fadeHides == hidden)
        return;
    if (_fade)
        delete _fade;
    else if (groupIs(hidden))
        return;
    auto *fade = new QParallelAnimationGroup(this);
    for (const QPointer<QWidget> &member : std::as_const(_views)) {
        // Effects do not nest: a member inside another fades with it.
        const bool inAnother =
            member && std::any_of(_views.cbegin(), _views.cend(), [&](const QPointer<QWidget> &v) {
                return v && v != member && v->isAncestorOf(member);
            });
        if (!member || inAnother)
            continue;
        auto *effect = qobject_cast<QGraphicsOpacityEffect *>(member->graphicsEffect());
        if (!effect) {
            effect = new QGraphicsOpacityEffect;
            effect->setOpacity(member->isHidden() ? 0.0 : 1.0);
            member->setGraphicsEffect(effect);
        }
        auto *animation = new QPropertyAnimation(effect, "opacity", fade);
        animation->setDuration(kFadeMs);
        animation->setEndValue(hidden ? 0.0 : 1.0);
        fade->addAnimation(animation);
    }
    _fade = fade;
    _fadeHides = hidden;
    connect(fade, &QAbstractAnimation::finished, this, [this, hidden] { fadeFinished(hidden); });
    fade->start();
}

void TrackingMainView::fadeFinished(bool hidden)
{
    if (_fade)
        _fade->deleteLater();
    _fade = nullptr;
    for (const QPointer<QWidget> &member : std::as_const(_views)) {
        if (!member)
            continue;
        member->setHidden(hidden);
        // Drawn through an effect, a member costs an extra pass each frame.
        member->setGraphicsEffect(nullptr);
    }
    if (hidden)
        setPointerHidden(_mainWindow && _mainWindow->isFullScreen());
}

void TrackingMainView::setPointerHidden(bool hidden)
{
    if (hidden == _pointerHidden)
        return;
    _pointerHidden = hidden;
    if (hidden)
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void TrackingMainView::pressed(QMouseEvent *event)
{
    // Clicks in a row are close in time and on the screen. Qt measures the
    // distance in the window, which a drag moves along with the pointer: a
    // press right after a drag would make a double-click with its own.
    const QStyleHints *hints = QGuiApplication::styleHints();
    const bool soon =
        event->type() == QEvent::MouseButtonDblClick ||
        event->timestamp() - _lastPressTime <= quint64(hints->mouseDoubleClickInterval());
    const bool near = (event->globalPosition() - _lastPressPoint).manhattanLength() <=
                      hints->mouseDoubleClickDistance();
    const bool inRow = _clickCount > 0 && soon && near;
    _clickCount = inRow ? _clickCount + 1 : 1;
    _lastPressTime = event->timestamp();
    _lastPressPoint = event->globalPosition();
    _dragging = true;
    event->accept();
    mouseDown(event->globalPosition());
}

void TrackingMainView::mousePressEvent(QMouseEvent *event)
{
    DragDropView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        pressed(event);
}

// Qt turns the second press of a double-click into this event and reports the
// third as a plain press again.
void TrackingMainView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pressed(event);
    else
        event->ignore();
}

void TrackingMainView::mouseMoveEvent(QMouseEvent *event)
{
    DragDropView::mouseMoveEvent(event);
    if (!_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    event->accept();
    mouseDragged(event->globalPosition());
}

void TrackingMainView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !_dragging) {
        DragDropView::mouseReleaseEvent(event);
        return;
    }
    _dragging = false;
    event->accept();
    mouseUp(_clickCount);
}

bool TrackingMainView::isTrackedWindow(QWindow *window) const
{
    while (window->parent())
        window = window->parent();
    return window == this->window()->windowHandle() ||
           (_mainWindow && window == _mainWindow->windowHandle());
}

bool TrackingMainView::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowStateChange && watched == _mainWindow && !_mainWindow->isFullScreen())
        setPointerHidden(false);
    if (type != QEvent::MouseMove && type != QEvent::Enter && type != QEvent::Leave)
        return false;
    auto *window = qobject_cast<QWindow *>(watched);
    if (!window || !isVisible() || !isTrackedWindow(window))
        return false;
    // Enter and leave events carry no position for the window: the pointer's own.
    const QPointF point = type == QEvent::MouseMove
                              ? static_cast<QMouseEvent *>(event)->globalPosition()
                              : QPointF(QCursor::pos());
    const bool onView = containsTruncated(QRectF(mapToGlobal(QPointF(0, 0)), size()), point);
    if (type == QEvent::Leave) {
        mouseExited(point);
    } else if (type == QEvent::Enter) {
        if (onView)
            mouseEntered();
    } else if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton) {
        // A drag is the dragged view's; beside the view (over the playlist
        // panel) the pointer only comes back.
        if (onView)
            mouseMoved();
        else
            setPointerHidden(false);
    }
    return false;
}
