#pragma once

#include "AppDelegateTestAccess.h"
#include "IsolatedSettings.h"
#include "app/ApplicationMain.h"

#include <QSignalSpy>

// Glaze launched from its real interface files on a real (or decorated)
// engine, with its player handed over. Under the offscreen platform the
// player draws nowhere.
struct EngineApp {
    AppDelegate *d = nullptr;

    bool launch(MediaBackend *backend)
    {
        d = loadMainInterface(backend);
        if (!d)
            return false;
        QSignalSpy ready(d, &AppDelegate::mediaPlayerReady);
        d->applicationDidFinishLaunching();
        return d->mediaPlayer() || ready.wait(10000);
    }
    ~EngineApp()
    {
        if (d) {
            d->applicationWillTerminate();
            delete d->window();
        }
    }
    EngineApp() { isolatedSettings.clear(); }
    EngineApp(const EngineApp &) = delete;
    EngineApp &operator=(const EngineApp &) = delete;

    AppDelegateTestAccess access() const { return {d}; }
    QWidget *mainWindow() const { return d ? d->window() : nullptr; }
};
