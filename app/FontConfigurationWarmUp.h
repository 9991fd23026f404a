#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own while the
// application object connects to the display. The first text the main window
// lays out would otherwise read it on the main thread, before the window can
// show: parsing fontconfig's files costs more than the rest of that window.
class FontConfigurationWarmUp {
public:
    FontConfigurationWarmUp();
    ~FontConfigurationWarmUp();
    FontConfigurationWarmUp(const FontConfigurationWarmUp &) = delete;
    FontConfigurationWarmUp &operator=(const FontConfigurationWarmUp &) = delete;

    // Returns once the configuration is read. Call it before Qt first needs a
    // font: fontconfig does not wait for a load under way but starts its own.
    void wait();

private:
    std::thread _thread;
};
