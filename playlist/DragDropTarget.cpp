#include "DragDropTarget.h"

#include "DroppedFiles.h"

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
    event->setAccepted(delegate && delegate->mediaDragEvent(*paths));
}

} // namespace DragDropTarget
