#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Without a compositor X11 shows the translucent overlay opaque and the video
// under it disappears. This keeps the overlay window shaped to its visible
// strips, so the picture stays in view between them.
class OverlayMask : public QObject {
    Q_OBJECT
public:
    OverlayMask(QWidget *window, const QList<QWidget *> &strips);
    // The region the window is shaped to now.
    void update();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> _window;
    QList<QPointer<QWidget>> _strips;
};
