#pragma once

#include <QWidget>

// The overlay's window: frameless, translucent and kept above the main window
// as its tool window, yet able to take the keyboard focus.
class OverlayWindow : public QWidget {
    Q_OBJECT
public:
    explicit OverlayWindow(QWidget *parent = nullptr);
};
