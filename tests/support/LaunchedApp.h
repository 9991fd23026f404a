#pragma once

#include "EngineApp.h"
#include "FakeMediaBackend.h"

// Glaze launched on a stand-in engine.
struct LaunchedApp : EngineApp {
    FakeMediaBackend backend;
    AppDelegate *&appDelegate = d;

    // Gone before the engine that made its player and thumbnailers.
    ~LaunchedApp() { close(false); }
    bool launch() { return EngineApp::launch(&backend); }
    // Quits as the application does and launches again, keeping the settings.
    bool relaunch()
    {
        close(true);
        return launch();
    }
    RecordingMediaPlayer *player() const { return backend.player(); }
};
