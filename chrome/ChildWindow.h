#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Keeps a child window over its parent the way AppKit's child windows behave:
// it moves with the parent, hides while the parent is minimized or hidden and
// comes back above it. Sizing stays with the caller.
class ChildWindow : public QObject {
    Q_OBJECT
public:
    // The follower lives as long as the parent window.
    static void addChildWindow(QWidget *parent, QWidget *child);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ChildWindow(QWidget *parent, QWidget *child);
    QPoint parentOrigin() const;
    void showAbove();

    QPointer<QWidget> _parent;
    QPointer<QWidget> _child;
    QPoint _parentPosition;
};
