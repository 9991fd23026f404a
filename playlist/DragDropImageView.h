#pragma once

#include "DragDropTarget.h"
#include "controls/ImageView.h"

// An image view that takes dragged files as DragDropView does. A dropped
// image is added like any file; the view keeps its own image.
class DragDropImageView : public DropTargetView<ImageView> {
    Q_OBJECT
public:
    explicit DragDropImageView(QWidget *parent = nullptr)
        : DropTargetView(parent)
    {
    }
};
