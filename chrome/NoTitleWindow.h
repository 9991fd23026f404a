#pragma once

#include <QMainWindow>

class WindowEdges;

// The main window without the window manager's frame: the overlay draws its
// title bar. It stays an ordinary desktop window (it takes the focus, shows
// in the task switcher with its title and icon), is resized from its own
// edges, and posts the full-screen notifications as it enters or leaves full
// screen.
class NoTitleWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit NoTitleWindow(QWidget *parent = nullptr);

    bool canBecomeKeyWindow() const { return true; }
    // What lets the window be resized from its edges.
    WindowEdges *edges() const { return _edges; }

protected:
    void changeEvent(QEvent *event) override;

private:
    WindowEdges *_edges;
};

// Enters full screen, or leaves it for the state the window had before (a
// maximized window comes back maximized).
void toggleFullScreen(QWidget *window);
