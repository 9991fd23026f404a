#pragma once

#include <QByteArray>

class AppDelegate;

// Joins the launched player to the desktop, once its window shows: MPRIS on
// the session bus (without one, the player says so once on standard error and
// runs as before) and, unless `instanceSocket` is empty, the listening end of
// the channel through which a second `glaze` hands over its files.
void startDesktopIntegration(AppDelegate *appDelegate, const QByteArray &instanceSocket);
