#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>

// Warning sheets on a window, shown one at a time: a sheet asked for while
// another is open waits its turn and opens when that one is closed. Nobody
// waits for a sheet, and none blocks its window; each is made only when its
// turn comes, so that a long queue costs no windows.
class AlertSheetQueue : public QObject {
    Q_OBJECT
public:
    struct Alert {
        QString messageText;
        QString informativeText;
    };

    // Opens the alert as a sheet over the window, now or after those before it.
    void beginSheetModalForWindow(QWidget *window, const Alert &alert);

    // The sheet on screen, if any.
    QMessageBox *currentSheet() const { return _current; }
    qsizetype waitingCount() const { return _waiting.size(); }

private:
    struct Waiting {
        QPointer<QWidget> window;
        Alert alert;
    };

    void openNext();

    QQueue<Waiting> _waiting;
    QPointer<QMessageBox> _current;
};
