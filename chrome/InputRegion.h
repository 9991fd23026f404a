#pragma once

#include <QRegion>
#include <optional>

class QWidget;

// Sets the region of a widget's own X11 window (a window, or a native child)
// that takes the pointer, in the widget's coordinates; elsewhere the pointer
// goes to what lies beneath. No region gives the whole window back. Other
// platforms have no such region.
void setInputRegion(QWidget *widget, const std::optional<QRegion> &region);
