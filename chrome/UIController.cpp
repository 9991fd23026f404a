#include "UIController.h"

#include "NotificateNSSlider.h"
#include "OverlayMask.h"
#include "app/AppDelegate.h"
#include "app/Compositor.h"
#include "app/InterfaceFile.h"
#include "controls/CustomView.h"

namespace {

template <typename T> QPointer<T> outlet(QWidget *root, const char *name)
{
    return root->findChild<T *>(QLatin1String(name));
}

// Points a control's action at AppDelegate, with the control as the sender.
// A control the interface file lacks is skipped.
template <typename Control, typename Signal, typename Action>
void wire(const QPointer<Control> &control, Signal signal, AppDelegate *target, Action action)
{
    if (!control || !target)
        return;
    QObject::connect(control, signal, target,
                     [target, action, sender = control.data()] { (target->*action)(sender); });
}

} // namespace

UIController::UIController(const QString &nibName, AppDelegate *appDelegate)
    : _nibName(nibName)
    , _appDelegate(appDelegate)
{
}

UIController::~UIController()
{
    // The window is the main window's child once attached; otherwise it is ours.
    if (_window && !_window->parent())
        delete _window;
}

QWidget *UIController::view()
{
    if (!_window)
        loadView();
    return _view;
}

void UIController::loadView()
{
    _window = loadInterfaceFile(_nibName);
    if (!_window)
        return;
    _view = _window->findChild<QWidget *>(QStringLiteral("view"));
    if (!_view)
        _view = _window;
    _titlebarView = outlet<CustomView>(_window, "titlebarView");
    _controlsBarView = outlet<CustomView>(_window, "controlsBarView");
    _playPauseButton = outlet<QAbstractButton>(_window, "playPauseButton");
    _muteButton = outlet<QAbstractButton>(_window, "muteButton");
    _maxVolumeButton = outlet<QAbstractButton>(_window, "maxVolumeButton");
    _rewindForwardButton = outlet<QAbstractButton>(_window, "rewindForwardButton");
    _rewindBackwardButton = outlet<QAbstractButton>(_window, "rewindBackwardButton");
    _nextMediaButton = outlet<QAbstractButton>(_window, "nextMediaButton");
    _prevMediaButton = outlet<QAbstractButton>(_window, "prevMediaButton");
    _volumeSlider = outlet<NotificateNSSlider>(_window, "volumeSlider");
    _mediaProgressSlider = outlet<NotificateNSSlider>(_window, "mediaProgressSlider");
    _mediaName = outlet<QLabel>(_window, "mediaName");
    _remainingTimeLabel = outlet<QLabel>(_window, "remainingTimeLabel");
    _spentTimeLabel = outlet<QLabel>(_window, "spentTimeLabel");
    _totalTimeLabel = outlet<QLabel>(_window, "totalTimeLabel");
    _mediaBackgroundImageView = outlet<QLabel>(_window, "mediaBackgroundImageView");
    _showPlaylistButton = outlet<QAbstractButton>(_window, "showPlaylistButton");
    // The background image stands in for the picture, so it shows through the
    // mask too while it is shown.
    if (!hasCompositingManager())
        _overlayMask =
            new OverlayMask(_window, {_titlebarView, _controlsBarView, _mediaBackgroundImageView});
    configureAppDelegate();
}

void UIController::configureAppDelegate()
{
    AppDelegate *appDelegate = _appDelegate;
    if (!appDelegate)
        return;
    appDelegate->setPlayPauseButton(_playPauseButton);
    appDelegate->setMuteButton(_muteButton);
    appDelegate->setMaxVolumeButton(_maxVolumeButton);
    appDelegate->setRewindForwardButton(_rewindForwardButton);
    appDelegate->setRewindBackwardButton(_rewindBackwardButton);
    appDelegate->setSpentTimeLabel(_spentTimeLabel);
    appDelegate->setRemainingTimeLabel(_remainingTimeLabel);
    appDelegate->setMediaProgressSlider(_mediaProgressSlider);
    appDelegate->setVolumeSlider(_volumeSlider);
    appDelegate->setShowPlaylistButton(_showPlaylistButton);
    appDelegate->setMediaName(_mediaName);
    appDelegate->setMediaBackgroundImageView(_mediaBackgroundImageView);
    appDelegate->setTotalTimeLabel(_totalTimeLabel);

    // Next and previous are wired but not handed over.
    const auto clicked = &QAbstractButton::clicked;
    const auto changed = &NotificateNSSlider::valueChangedByUser;
    wire(_mediaProgressSlider, changed, appDelegate, &AppDelegate::mediaProgressSliderValueChanged);
    wire(_volumeSlider, changed, appDelegate, &AppDelegate::volumeSliderValueChanged);
    wire(_playPauseButton, clicked, appDelegate, &AppDelegate::playPauseButtonClick);
    wire(_muteButton, clicked, appDelegate, &AppDelegate::muteButtonClick);
    wire(_maxVolumeButton, clicked, appDelegate, &AppDelegate::maxVolumeButtonClick);
    wire(_rewindForwardButton, clicked, appDelegate, &AppDelegate::rewindForwardButtonClick);
    wire(_rewindBackwardButton, clicked, appDelegate, &AppDelegate::rewindBackwardButtonClick);
    wire(_nextMediaButton, clicked, appDelegate, &AppDelegate::nextMediaButtonClick);
    wire(_prevMediaButton, clicked, appDelegate, &AppDelegate::prevMediaButtonClick);
}
