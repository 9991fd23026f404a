#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QSlider>

class QWidget;

// The overlay's controls that its controller hands to the application, which
// drives them. Each is the widget of the same object name in the overlay's
// interface file; one it lacks stays empty.
struct OverlayControls {
    QPointer<QAbstractButton> playPauseButton;
    QPointer<QAbstractButton> muteButton;
    QPointer<QAbstractButton> maxVolumeButton;
    QPointer<QAbstractButton> rewindForwardButton;
    QPointer<QAbstractButton> rewindBackwardButton;
    QPointer<QLabel> spentTimeLabel;
    QPointer<QLabel> remainingTimeLabel;
    QPointer<QSlider> mediaProgressSlider;
    QPointer<QSlider> volumeSlider;
    QPointer<QAbstractButton> showPlaylistButton;
    QPointer<QLabel> mediaName;
    QPointer<QLabel> mediaBackgroundImageView;
    QPointer<QLabel> totalTimeLabel;

    static OverlayControls findIn(QWidget *root);
};
