#pragma once

#include <QString>

class QMenu;

// Puts the bundle name into the application menu's title and into its About,
// Hide and Quit items ("Hide Others" keeps its title).
void retitleApplicationMenu(QMenu *applicationMenu, const QString &bundleName);

class QMenuBar;
class QWidget;

// The window shows no menu bar: the bar's menus are gathered into one menu,
// made here for the window, that the title bar's button and the picture open.
// The items' shortcuts keep working wherever the focus is, the bar hidden.
QMenu *makeWindowMenu(QMenuBar *menuBar, QWidget *window);
