#pragma once

#include "MediaBackend.h"

#include <memory>

// Must run first thing in main, before any X11 connection is made: libVLC's
// video outputs use Xlib from their own threads.
void prepareProcessForMediaEngine();

// The backend over libVLC 3. The engine is created on first use, once for the
// process. Extra engine options come from the environment variable
// GLAZE_VLC_OPTIONS (space-separated, for instance "--vout=dummy --aout=adummy").
std::unique_ptr<MediaBackend> createLibVlcBackend();
