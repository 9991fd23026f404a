#pragma once

#include "AppDelegateTestAccess.h"
#include "FakeMediaBackend.h"
#include "IsolatedSettings.h"
#include "app/ApplicationMain.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

// Glaze launched from its real interface files on a stand-in engine, with the
// player handed over: what a user meets a moment after start-up.
struct LaunchedApp {
    FakeMediaBackend backend;
    AppDelegate *appDelegate = nullptr;

    LaunchedApp() { isolatedSettings.clear(); }
    // Returns false (with a test failure noted) when launching did not finish.
    bool launch()
    {
        appDelegate = loadMainInterface(&backend);
        if (!appDelegate)
            return false;
        QSignalSpy ready(appDelegate, &AppDelegate::mediaPlayerReady);
        appDelegate->applicationDidFinishLaunching();
        return appDelegate->mediaPlayer() || ready.wait(5000);
    }
    // Quits as the application does and launches again, keeping the settings.
    bool relaunch()
    {
        appDelegate->applicationWillTerminate();
        delete mainWindow();
        return launch();
    }
    ~LaunchedApp() { delete mainWindow(); }

    QWidget *mainWindow() const { return appDelegate ? appDelegate->window() : nullptr; }
    AppDelegateTestAccess access() const { return {appDelegate}; }
    RecordingMediaPlayer *player() const { return backend.player(); }
};
