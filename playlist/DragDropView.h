#pragma once

#include "DragDropTarget.h"
#include "controls/CustomView.h"

// A flat-coloured view that takes files dragged onto it from other
// applications: the application's delegate adds them and plays the first.
class DragDropView : public DropTargetView<CustomView> {
    Q_OBJECT
public:
    explicit DragDropView(QWidget *parent = nullptr)
        : DropTargetView(parent)
    {
    }
};
