#pragma once

#include "OverlayMask.h"
#include "controls/CustomView.h"

#include <QAbstractButton>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>

class AppDelegate;
class NotificateNSSlider;

// Controller of the controls overlay: its view, the strips and the controls
// come from the interface file it is created with. It hands the playback
// controls to AppDelegate, which drives them.
class UIController : public QObject {
    Q_OBJECT
public:
    UIController(const QString &nibName, AppDelegate *appDelegate);
    ~UIController() override;

    // Asking for the view loads the interface file the first time.
    QWidget *view();
    OverlayMask *overlayMask() const { return _overlayMask; }

private:
    void loadView();
    // Hands the controls to AppDelegate and points their actions at it.
    void configureAppDelegate();

    QString _nibName;
    QPointer<AppDelegate> _appDelegate;
    QPointer<QWidget> _window;
    QPointer<QWidget> _view;
    QPointer<CustomView> _titlebarView;
    QPointer<CustomView> _controlsBarView;
    QPointer<QAbstractButton> _playPauseButton;
    QPointer<QAbstractButton> _muteButton;
    QPointer<QAbstractButton> _maxVolumeButton;
    QPointer<QAbstractButton> _rewindForwardButton;
    QPointer<QAbstractButton> _rewindBackwardButton;
    QPointer<QAbstractButton> _nextMediaButton;
    QPointer<QAbstractButton> _prevMediaButton;
    QPointer<NotificateNSSlider> _volumeSlider;
    QPointer<NotificateNSSlider> _mediaProgressSlider;
    QPointer<QLabel> _mediaName;
    QPointer<QLabel> _remainingTimeLabel;
    QPointer<QLabel> _spentTimeLabel;
    QPointer<QLabel> _totalTimeLabel;
    QPointer<QLabel> _mediaBackgroundImageView;
    QPointer<QAbstractButton> _showPlaylistButton;
    QPointer<OverlayMask> _overlayMask;
};
