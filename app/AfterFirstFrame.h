#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWindow;

// Runs a task once a window has been exposed and drawn its first frame, or
// after a bound when it shows none sooner (started minimized, say). The
// launch's work competes for the cores with the display server and the window
// manager; run after the first frame, it no longer delays the window.
class AfterFirstFrame : public QObject {
public:
    static constexpr int kDeadlineMs = 250;

    // `window` must have been shown. The task runs at most once, on a later
    // turn of the event loop, unless the window goes first.
    static void run(QWindow *window, std::function<void()> task);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AfterFirstFrame(QWindow *window, std::function<void()> task);
    void runTask();

    std::function<void()> _task;
    QTimer _deadline;
};
