#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>

class QWidget;

// Lets a window without the window manager's frame be resized from its edges
// and corners as a frame would: near an edge the pointer shows the resize
// cursor, and a press there hands the drag to the window manager
// (QWindow::startSystemResize). The window manager measures the drag from
// where the window itself last saw the pointer, so the press must land on the
// window: the windows that lie over it (its covers: the overlay) leave it a
// band along its edges, cut out of the region where they take the pointer.
class WindowEdges : public QObject {
    Q_OBJECT
public:
    // How far in from an edge the pointer takes it, and how far along an
    // edge a corner reaches, in logical pixels.
    static constexpr int kBand = 5;
    static constexpr int kCorner = 16;

    explicit WindowEdges(QWidget *window);

    void addCover(QWidget *cover);

    // Not in full screen, maximized or minimized.
    bool isResizable() const;
    // The edges of `frame` a pointer at `point` takes; both in screen coordinates.
    static Qt::Edges edgesAt(const QRect &frame, const QPoint &point);
    static Qt::CursorShape cursorShape(Qt::Edges edges);
    // Where a cover on `coverFrame` takes the pointer, in its own coordinates:
    // all of it but the band inside `windowFrame`.
    static QRegion coverInputRegion(const QRect &windowFrame, const QRect &coverFrame);

    // A press of the pointer at `point` on the window: YES when it was on an
    // edge and the window manager took the resize. A window manager that
    // cannot leaves the press to the window.
    bool pressAt(const QPoint &point);
    // The pointer moved to `point` over the window: the cursor follows.
    void pointerAt(const QPoint &point);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCursorEdges(Qt::Edges edges);
    void updateCoverInput(QWidget *cover);

    QPointer<QWidget> _window;
    QList<QPointer<QWidget>> _covers;
    // The resize cursor this object has put over the application's own.
    Qt::Edges _cursorEdges;
};
