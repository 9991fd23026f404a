#pragma once

#include <QDropEvent>
#include <QStringList>

// Who the drop targets hand dropped files to: the shared application's
// delegate. The views reach it only through here, so that they need nothing
// of the application above them.
class DragDropDelegate {
public:
    // Adds the files and plays the first one added; YES when any was added.
    virtual bool mediaDragEvent(const QStringList &paths) = 0;
    // Whether adding the files may add anything: told at once, by their names.
    virtual bool mayAddMedia(const QStringList &paths) const = 0;

protected:
    // A delegate that goes away stops being the shared one.
    ~DragDropDelegate();
};

// The process's one delegate; null until launching has set it.
DragDropDelegate *applicationDragDropDelegate();
void setApplicationDragDropDelegate(DragDropDelegate *delegate);

// What every drop-target view does with a drag, whatever its base class.
namespace DragDropTarget {

// Whatever is dragged is welcome. Files are taken as a copy where the source
// allows one, so that no source takes a drop here for a move and deletes them.
void acceptDrag(QDropEvent *event);
// Takes the drop of files the delegate may add and delivers them to it on the
// event loop's next turn; refuses one that holds nothing it could add. A drop
// that carries no local file (text, a web address) is taken and does nothing.
void performDragOperation(QDropEvent *event);

} // namespace DragDropTarget

// Makes a view of any kind a drop target for files: registered as soon as it
// is made (views come from interface files), every drag welcome, the dropped
// files handed to the shared delegate.
template <typename View> class DropTargetView : public View {
public:
    explicit DropTargetView(QWidget *parent)
        : View(parent)
    {
        this->setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override { DragDropTarget::acceptDrag(event); }
    void dragMoveEvent(QDragMoveEvent *event) override { DragDropTarget::acceptDrag(event); }
    // Nothing was shown for the drag, so nothing is undone.
    void dragLeaveEvent(QDragLeaveEvent *) override {}
    void dropEvent(QDropEvent *event) override { DragDropTarget::performDragOperation(event); }
};
