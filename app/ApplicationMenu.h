#pragma once

#include <QString>

class QMenu;

// Puts the bundle name into the application menu's title and into its About,
// Hide and Quit items ("Hide Others" keeps its title).
void retitleApplicationMenu(QMenu *applicationMenu, const QString &bundleName);
