#pragma once

#include "StandardWindowButton.h"
#include "controls/CustomView.h"

#include <QPointer>

// The title bar strip's view that hosts the close, minimize and zoom buttons:
// while the pointer is anywhere over it, the three draw their symbols
// together, and a click on one of them drops the symbols until the pointer
// leaves and comes back.
class TrackingTitlebarView : public CustomView, public WindowButtonGroup {
    Q_OBJECT
public:
    explicit TrackingTitlebarView(QWidget *parent = nullptr);

    bool _mouseInGroup(QAbstractButton *button) const override;
    void mouseEntered();
    void mouseExited();
    // Clears the hover state after a window button's action.
    void controlClicked();
    void showButtons(bool show);
    void setNeedsDisplayForStandardWindowButtons();

    QAbstractButton *closeButton() const { return _closeButton; }
    void setCloseButton(QAbstractButton *button) { _closeButton = button; }
    QAbstractButton *minimazeButton() const { return _minimazeButton; }
    void setMinimazeButton(QAbstractButton *button) { _minimazeButton = button; }
    QAbstractButton *maximazeButton() const { return _maximazeButton; }
    void setMaximazeButton(QAbstractButton *button) { _maximazeButton = button; }

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QList<QAbstractButton *> buttons() const;

    bool _isMouseInside = false;
    QPointer<QAbstractButton> _closeButton;
    QPointer<QAbstractButton> _minimazeButton;
    QPointer<QAbstractButton> _maximazeButton;
};
