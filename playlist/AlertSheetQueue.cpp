#include "AlertSheetQueue.h"

#include <QPushButton>

void AlertSheetQueue::beginSheetModalForWindow(QWidget *window, const Alert &alert)
{
    _waiting.enqueue({window, alert});
    if (!_current)
        openNext();
}

void AlertSheetQueue::openNext()
{
    while (!_waiting.isEmpty()) {
        const Waiting next = _waiting.dequeue();
        // The window went away meanwhile: its sheets have nowhere to show.
        if (!next.window)
            continue;
        auto *sheet = new QMessageBox(next.window);
        sheet->setIcon(QMessageBox::Warning);
        sheet->setText(next.alert.messageText);
        sheet->setInformativeText(next.alert.informativeText);
        sheet->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        // Closed any way (button, Escape, window manager): the next one opens.
        connect(sheet, &QDialog::finished, this, [this] {
            _current = nullptr;
            openNext();
        });
        _current = sheet;
        // Not modal: a window blocked by a modal dialog ignores the window
        // manager's close and the quit shortcut, and quitting must always work.
        sheet->setWindowModality(Qt::NonModal);
        sheet->show();
        return;
    }
}
