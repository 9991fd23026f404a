#include "ChildWindow.h"

#include <QEvent>
#include <QWidget>

ChildWindow::ChildWindow(QWidget *parent, QWidget *child)
    : QObject(parent)
    , _parent(parent)
    , _child(child)
    , _parentPosition(parentOrigin())
{
    parent->installEventFilter(this);
    if (parent->isVisible() && !parent->isMinimized())
        showAbove();
}

void ChildWindow::addChildWindow(QWidget *parent, QWidget *child)
{
    // A tool window with the main window as its parent stays above it and goes
    // away with it.
    const QRect frame = child->geometry();
    child->setParent(parent, child->windowFlags() | Qt::Tool);
    child->setGeometry(frame);
    new ChildWindow(parent, child);
}

QPoint ChildWindow::parentOrigin() const
{
    // Where the parent's content is on the screen, measured as the caller
    // places the child. Entering full screen resizes and moves at once, yet at
    // the resize geometry() still holds the old position: a delta taken from it
    // would move the child a second time.
    return _parent->mapToGlobal(QPoint(0, 0));
}

void ChildWindow::showAbove()
{
    if (!_child)
        return;
    // The window manager iconifies a transient window along with its parent;
    // shown still minimized, it would ask for that again and take the parent.
    _child->setWindowState(_child->windowState() & ~Qt::WindowMinimized);
    _child->show();
    _child->raise();
}

bool ChildWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != _parent || !_child)
        return false;
    switch (event->type()) {
    case QEvent::Move: {
        const QPoint position = parentOrigin();
        _child->move(_child->pos() + (position - _parentPosition));
        _parentPosition = position;
        break;
    }
    case QEvent::Resize:
        _parentPosition = parentOrigin();
        break;
    case QEvent::Hide:
        _child->hide();
        break;
    case QEvent::Show:
        showAbove();
        break;
    case QEvent::WindowStateChange:
        if (_parent->isMinimized())
            _child->hide();
        else if (_parent->isVisible())
            showAbove();
        break;
    case QEvent::WindowActivate:
        _child->raise();
        break;
    default:
        break;
    }
    return false;
}
