#pragma once

#include "OverlayControls.h"

class QAction;
class QMenu;
class QObject;
class QWidget;

// What the overlay's controller needs of the application: someone to hand the
// controls to, the receiver of their actions, the main window, on which the
// overlay's window commands act, its menu and a way to quit. Senders are
// passed on and ignored.
class UIControllerDelegate {
public:
    virtual ~UIControllerDelegate() = default;

    virtual void setOverlayControls(const OverlayControls &controls) = 0;

    virtual void playPauseButtonClick(QObject *sender) = 0;
    virtual void muteButtonClick(QObject *sender) = 0;
    virtual void maxVolumeButtonClick(QObject *sender) = 0;
    virtual void rewindForwardButtonClick(QObject *sender) = 0;
    virtual void rewindBackwardButtonClick(QObject *sender) = 0;
    virtual bool nextMediaButtonClick(QObject *sender) = 0;
    virtual void prevMediaButtonClick(QObject *sender) = 0;
    virtual void volumeSliderValueChanged(QObject *sender) = 0;
    virtual void mediaProgressSliderValueChanged(QObject *sender) = 0;
    virtual void showPlaylistButtonClick(QObject *sender) = 0;

    virtual QWidget *view() = 0;
    virtual QAction *fullscreenMenuItem() const = 0;
    // The application's menus in one menu, for the title bar and the picture.
    virtual QMenu *mainMenu() const = 0;
    virtual void terminate() = 0;
};
