#pragma once

class AppDelegate;
class MediaBackend;
class QWidget;

// The process's application main: makes the application object, loads the
// main interface file named in the information dictionary, shows its window,
// launches once the window has drawn its first frame and runs the loop.
int applicationMain(int argc, char **argv);

// Names the application and its desktop entry after the information dictionary.
void nameApplication();

// The part of it that tests share: loads the main interface file, binds its
// AppDelegate to the backend and shows the main window. Returns the
// AppDelegate, or nullptr when the file holds none. Launching is the caller's.
AppDelegate *loadMainInterface(MediaBackend *backend);
