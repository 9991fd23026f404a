#pragma once

class QWidget;

// AppKit's window levels as far as Glaze uses them.
enum class WindowLevel { Normal, ModalPanel };

// Raises a top-level window above ordinary windows, or puts it back among
// them, without hiding it when it is already on screen.
void setWindowLevel(QWidget *window, WindowLevel level);
WindowLevel windowLevel(const QWidget *window);
