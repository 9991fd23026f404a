#pragma once

#include "media/VLCMediaPlayer.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

// The Playback menu's track items: the loaded media's audio tracks and
// subtitles (with "Off") as exclusive checkable items, read from the player,
// and "Add Subtitle File…". The submenus and the item come from the main
// interface file; only the track items are made here.
class TracksMenu : public QObject {
    Q_OBJECT
public:
    // Finds its submenus and item in the window by name; a missing one is left out.
    explicit TracksMenu(QWidget *mainWindow, QObject *parent = nullptr);

    // The player is made after the menus; until then the items are off.
    void setMediaPlayer(VLCMediaPlayer *player);
    // Remakes the items from what the player reports now: after a new media,
    // and whenever the engine says its tracks changed.
    void refresh();

    // Asks for a subtitle file and hands it to the player for the loaded media.
    void addSubtitleFileMenuItemClick();

private:
    void fill(QMenu *menu, VLCTrackKind kind);

    QPointer<QWidget> _mainWindow;
    QPointer<QMenu> _audioTrackMenu;
    QPointer<QMenu> _subtitlesMenu;
    QPointer<QAction> _addSubtitleMenuItem;
    VLCMediaPlayer *_player = nullptr;
};
