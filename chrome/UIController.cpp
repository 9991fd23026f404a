#include "UIController.h"

#include "ChromeWidgets.h"
#include "Compositor.h"
#include "NotificateNSSlider.h"
#include "OverlayMask.h"
#include "UIControllerDelegate.h"
#include "controls/InterfaceFile.h"

namespace {

template <typename T> QPointer<T> outlet(QWidget *root, const char *name)
{
    return root->findChild<T *>(QLatin1String(name));
}

// Points a control's action at the delegate, with the control as the sender.
// A control the interface file lacks is skipped.
template <typename Control, typename Signal, typename Action>
void wire(const QPointer<Control> &control, Signal signal, UIControllerDelegate *target,
          Action action)
{
    if (!control || !target)
        return;
    QObject::connect(control, signal, control,
                     [target, action, sender = control.data()] { (target->*action)(sender); });
}

} // namespace

UIController::UIController(const QString &nibName, UIControllerDelegate *appDelegate)
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
    _window = loadInterfaceFile(_nibName, chromeWidgetFactories());
    if (!_window)
        return;
    _view = _window->findChild<QWidget *>(QStringLiteral("view"));
    if (!_view)
        _view = _window;
    _titlebarView = outlet<CustomView>(_window, "titlebarView");
    _controlsBarView = outlet<CustomView>(_window, "controlsBarView");
    _nextMediaButton = outlet<QAbstractButton>(_window, "nextMediaButton");
    _prevMediaButton = outlet<QAbstractButton>(_window, "prevMediaButton");
    _controls = OverlayControls::findIn(_window);
    // The background image stands in for the picture, so it shows through the
    // mask too while it is shown.
    if (!hasCompositingManager())
        new OverlayMask(_window,
                        {_titlebarView, _controlsBarView, _controls.mediaBackgroundImageView});
    configureAppDelegate();
}

void UIController::configureAppDelegate()
{
    UIControllerDelegate *appDelegate = _appDelegate;
    if (!appDelegate)
        return;
    appDelegate->setOverlayControls(_controls);

    // Next and previous are wired but not handed over.
    using D = UIControllerDelegate;
    const auto clicked = &QAbstractButton::clicked;
    const auto changed = &NotificateNSSlider::valueChangedByUser;
    const auto slider = [](const QPointer<QSlider> &s) {
        return QPointer<NotificateNSSlider>(qobject_cast<NotificateNSSlider *>(s.data()));
    };
    wire(slider(_controls.mediaProgressSlider), changed, appDelegate,
         &D::mediaProgressSliderValueChanged);
    wire(slider(_controls.volumeSlider), changed, appDelegate, &D::volumeSliderValueChanged);
    wire(_controls.playPauseButton, clicked, appDelegate, &D::playPauseButtonClick);
    wire(_controls.muteButton, clicked, appDelegate, &D::muteButtonClick);
    wire(_controls.maxVolumeButton, clicked, appDelegate, &D::maxVolumeButtonClick);
    wire(_controls.rewindForwardButton, clicked, appDelegate, &D::rewindForwardButtonClick);
    wire(_controls.rewindBackwardButton, clicked, appDelegate, &D::rewindBackwardButtonClick);
    wire(_nextMediaButton, clicked, appDelegate, &D::nextMediaButtonClick);
    wire(_prevMediaButton, clicked, appDelegate, &D::prevMediaButtonClick);
    wire(_controls.showPlaylistButton, clicked, appDelegate, &D::showPlaylistButtonClick);
}
