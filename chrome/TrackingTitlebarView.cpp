#include "TrackingTitlebarView.h"

TrackingTitlebarView::TrackingTitlebarView(QWidget *parent)
    : CustomView(parent)
{
}

bool TrackingTitlebarView::_mouseInGroup(QAbstractButton *) const
{
    return _isMouseInside;
}

// Qt tells a view of the pointer's entry and exit without an area to install:
// moving onto one of its own buttons is no exit.
void TrackingTitlebarView::enterEvent(QEnterEvent *event)
{
    CustomView::enterEvent(event);
    mouseEntered();
}

void TrackingTitlebarView::leaveEvent(QEvent *event)
{
    CustomView::leaveEvent(event);
    mouseExited();
}

void TrackingTitlebarView::mouseEntered()
{
    _isMouseInside = true;
    setNeedsDisplayForStandardWindowButtons();
}

void TrackingTitlebarView::mouseExited()
{
    _isMouseInside = false;
    setNeedsDisplayForStandardWindowButtons();
}

void TrackingTitlebarView::controlClicked()
{
    _isMouseInside = false;
    setNeedsDisplayForStandardWindowButtons();
}

QList<QAbstractButton *> TrackingTitlebarView::buttons() const
{
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button :
         {_closeButton.data(), _minimazeButton.data(), _maximazeButton.data()})
        if (button)
            buttons.append(button);
    return buttons;
}

void TrackingTitlebarView::setNeedsDisplayForStandardWindowButtons()
{
    for (QAbstractButton *button : buttons())
        button->update();
}

void TrackingTitlebarView::showButtons(bool show)
{
    for (QAbstractButton *button : buttons())
        button->setHidden(!show);
}
