#include "DragDropTarget.h"

#include "DroppedFiles.h"

#include <QCoreApplication>
#include <QDropEvent>

namespace {
DragDropDelegate *sharedDelegate = nullptr;
} // namespace

DragDropDelegate::~DragDropDelegate()
{
    if (sharedDelegate == this)
        sharedDelegate = nullptr;
}

DragDropDelegate *applicationDragDropDelegate()
{
    return sharedDelegate;
}

void setApplicationDragDropDelegate(DragDropDelegate *delegate)
{
    sharedDelegate = delegate;
}

namespace DragDropTarget {

void acceptDrag(QDropEvent *event)
{
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions().testFlag(action)) {
            event->setDropAction(action);
            event->accept();
            return;
        }
    }
    event->acceptProposedAction();
}

void performDragOperation(QDropEvent *event)
{
    acceptDrag(event);
    const std::optional<QStringList> paths = DroppedFiles::filenames(event->mimeData());
    if (!paths)
        return;
    DragDropDelegate *delegate = applicationDragDropDelegate();
    event->setAccepted(delegate && delegate->mayAddMedia(*paths));
    if (!event->isAccepted())
        return;
    // Adding waits for thumbnails with the event loop turning. Inside the drop
    // that would keep the source waiting and let a second drop run within the
    // first, which breaks the drag protocol's state: the drop is answered now
    // and the files are added right after.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [paths] {
            if (DragDropDelegate *delegate = applicationDragDropDelegate())
                delegate->mediaDragEvent(*paths);
        },
        Qt::QueuedConnection);
}

} // namespace DragDropTarget
