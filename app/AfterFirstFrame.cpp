#include "AfterFirstFrame.h"

#include <QWindow>

void AfterFirstFrame::run(QWindow *window, std::function<void()> task)
{
    new AfterFirstFrame(window, std::move(task));
}

AfterFirstFrame::AfterFirstFrame(QWindow *window, std::function<void()> task)
    : QObject(window)
    , _task(std::move(task))
{
    window->installEventFilter(this);
    _deadline.setSingleShot(true);
    connect(&_deadline, &QTimer::timeout, this, &AfterFirstFrame::runTask);
    _deadline.start(kDeadlineMs);
}

bool AfterFirstFrame::eventFilter(QObject *watched, QEvent *event)
{
    // The window draws its frame while it handles this event: the task waits
    // for the next turn, and for an expose that is not a hide.
    if (event->type() == QEvent::Expose) {
        auto *window = static_cast<QWindow *>(watched);
        QMetaObject::invokeMethod(
            this,
            [this, window] {
                if (window->isExposed())
                    runTask();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void AfterFirstFrame::runTask()
{
    if (!_task)
        return;
    const std::function<void()> task = std::exchange(_task, nullptr);
    parent()->removeEventFilter(this);
    deleteLater();
    task();
}
