#pragma once

#include "AppDelegateTestAccess.h"
#include "IsolatedSettings.h"
#include "app/ApplicationMain.h"

#include <QSignalSpy>

// Glaze launched from its real interface files on a real (or decorated)
// engine, with its player handed over: what a user meets a moment after
// start-up. Under the offscreen platform the player draws nowhere.
struct EngineApp {
    AppDelegate *d = nullptr;

    EngineApp() { isolatedSettings.clear(); }
    ~EngineApp() { close(true); }

    // Returns false when launching did not finish.
    bool launch(MediaBackend *backend)
    {
        d = loadMainInterface(backend);
        if (!d)
            return false;
        QSignalSpy ready(d, &AppDelegate::mediaPlayerReady);
        d->applicationDidFinishLaunching();
        return d->mediaPlayer() || ready.wait(10000);
    }
    // Closes the window, after quitting as the application does if asked to.
    void close(bool quit)
    {
        if (d && quit)
            d->applicationWillTerminate();
        delete mainWindow();
        d = nullptr;
    }

    AppDelegateTestAccess access() const { return {d}; }
    QWidget *mainWindow() const { return d ? d->window() : nullptr; }
};
