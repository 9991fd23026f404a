#pragma once

#include "NotificationCenter.h"
#include "StandardWindowButton.h"
#include "playlist/DragDropView.h"

#include <QAbstractAnimation>
#include <QPointer>
#include <QTimer>

class QWindow;

// The overlay's near-transparent full-window view. While the user is active
// over the overlay it shows its group (the title bar strip, the controls bar
// strip and the show-playlist button); it fades the group out 3 seconds after
// the last activity, or as soon as the pointer leaves the overlay, and in full
// screen the pointer goes with it. Dragging the view's background moves the
// main window; a double-click takes the main window into full screen or out.
class TrackingMainView : public DragDropView, public WindowButtonGroup {
    Q_OBJECT
public:
    static constexpr int kInactivityMs = 3000;
    static constexpr int kFadeMs = 500;

    explicit TrackingMainView(QWidget *parent = nullptr);
    ~TrackingMainView() override;

    // The window that dragging moves and a double-click takes to full screen.
    void setMainWindow(QWidget *window) { _mainWindow = window; }
    // The auto-hide group; the first member's hidden state stands for it.
    QList<QPointer<QWidget>> views() const { return _views; }
    void setViews(const QList<QPointer<QWidget>> &views) { _views = views; }

    // The pointer and the mouse over the overlay; points in screen coordinates.
    void updateTrackingAreas();
    void mouseEntered();
    void mouseMoved();
    void mouseExited(const QPointF &point);
    void mouseDown(const QPointF &point);
    void mouseDragged(const QPointF &point);
    void mouseUp(int clickCount);

    bool _mouseInGroup(QAbstractButton *) const override { return _isMouseInside; }
    void controlElementClicked(const Notification &notification);
    // The inactivity timer's callback.
    void timeLost();
    void mouseEventHappens();
    void setHiddentItems(bool hidden);

    // The exit test: whether a point lies in a rectangle once the point and
    // the rectangle's edges are truncated to whole numbers.
    static bool containsTruncated(const QRectF &rect, const QPointF &point);

    bool isMouseInside() const { return _isMouseInside; }
    QTimer &inactivityTimer() { return _timer; }
    // The fade under way, if any; it ends with its completion step.
    QAbstractAnimation *fade() const { return _fade; }
    bool isPointerHidden() const { return _pointerHidden; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The overlay's window or the main window beneath it, or a window in them.
    bool isTrackedWindow(QWindow *window) const;
    bool isGroupHidden() const;
    bool groupIs(bool hidden) const;
    void pressed(QMouseEvent *event);
    void fadeFinished(bool hidden);
    void setPointerHidden(bool hidden);

    bool _isMouseInside = false;
    QTimer _timer;
    QPointF _initialLocation;
    QList<QPointer<QWidget>> _views;
    QPointer<QWidget> _mainWindow;
    QPointer<QAbstractAnimation> _fade;
    bool _fadeHides = false;
    bool _pointerHidden = false;
    // The left button's presses in a row on the view, the last one's time
    // (ms) and place on the screen, and whether it is still held.
    int _clickCount = 0;
    quint64 _lastPressTime = 0;
    QPointF _lastPressPoint;
    bool _dragging = false;
};
