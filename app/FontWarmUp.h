#pragma once

#include <thread>

// Reads the fonts on a thread of its own while the main thread starts up. The
// main interface file's first text field lays its text out, and without this
// it would first read fontconfig's configuration and then fill Qt's font
// database on the main thread, before the window can show: together they cost
// more than the rest of that window.
class FontWarmUp {
public:
    // Starts reading the font configuration, which needs no application object.
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Once the application object exists: waits for the configuration, since
    // fontconfig starts a second load rather than wait for one under way, then
    // fills Qt's font database, which a text field needing it waits for.
    void fillFontDatabase();
    // Before the application object goes.
    void wait();

private:
    std::thread _thread;
};
