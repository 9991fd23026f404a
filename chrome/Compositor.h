#pragma once

// Whether a compositing manager runs on the X11 screen (it owns the
// _NET_WM_CM_S<n> selection). Without one, X11 shows translucent windows
// opaque. Platforms other than xcb have none to ask and answer false.
bool hasCompositingManager();
