#include "UIController.h"

#include "ChromeWidgets.h"
#include "Compositor.h"
#include "FullScreenNotifications.h"
#include "MouseDownNotification.h"
#include "NoTitleWindow.h"
#include "NotificateNSSlider.h"
#include "OverlayMask.h"
#include "StandardWindowButton.h"
#include "TrackingMainView.h"
#include "TrackingTitlebarView.h"
#include "UIControllerDelegate.h"
#include "WheelToSlider.h"
#include "controls/InterfaceFile.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

namespace {

// The interface grey at the given opacity.
QColor interfaceGrey(qreal alpha)
{
    return QColor::fromRgbF(41 / 255.0, 41 / 255.0, 41 / 255.0, alpha);
}

// The window buttons: their place along the title bar and their side.
constexpr int kWindowButtonSide = 15;
// AppKit counts y from the bottom: the buttons sit 15 points above the
// title bar's bottom edge.
constexpr int kWindowButtonBottom = 15;

void setColor(CustomView *view, const QColor &color)
{
    if (view)
        view->setBackgroundColor(color);
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

QWidget *UIController::mainWindow() const
{
    return _appDelegate && _appDelegate->view() ? _appDelegate->view()->window() : nullptr;
}

void UIController::loadView()
{
    _window = loadInterfaceFile(_nibName, chromeWidgetFactories());
    if (!_window)
        return;
    _view = outlet<QWidget>(_window, "view");
    if (!_view)
        _view = _window;
    _transparentView = qobject_cast<TrackingMainView *>(_view);
    _trackingTitlebarView = outlet<TrackingTitlebarView>(_window, "trackingTitlebarView");
    _titlebarView = outlet<CustomView>(_window, "titlebarView");
    _controlsBarView = outlet<CustomView>(_window, "controlsBarView");
    _nextMediaButton = outlet<QAbstractButton>(_window, "nextMediaButton");
    _prevMediaButton = outlet<QAbstractButton>(_window, "prevMediaButton");
    _menuButton = outlet<QAbstractButton>(_window, "menuButton");
    _controls = OverlayControls::findIn(_window);
    WheelToSlider::forward(_view, _controls.volumeSlider);

    setColor(_titlebarView, interfaceGrey(0.85));
    setColor(_controlsBarView, interfaceGrey(0.85));
    setColor(_trackingTitlebarView, interfaceGrey(0.85));
    setColor(_transparentView, interfaceGrey(0.06));
    // The background image stands in for the picture, so it shows through the
    // mask too while it is shown.
    if (!hasCompositingManager())
        new OverlayMask(_window,
                        {_titlebarView, _controlsBarView, _controls.mediaBackgroundImageView});
    configureAppDelegate();
    initControlButtons();
    observeNotifications();
    offerMenus();
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

void UIController::initControlButtons()
{
    if (_trackingTitlebarView) {
        using Kind = StandardWindowButton::Kind;
        struct Button {
            Kind kind;
            const char *name;
            void (UIController::*action)(QObject *);
            void (TrackingTitlebarView::*handOver)(QAbstractButton *);
        };
        const Button buttons[] = {
            {Kind::Close, "Close", &UIController::closeApplication,
             &TrackingTitlebarView::setCloseButton},
            {Kind::Miniaturize, "Minimize", &UIController::miniaturizeApplication,
             &TrackingTitlebarView::setMinimazeButton},
            {Kind::Zoom, "Full Screen", &UIController::maximazeApplication,
             &TrackingTitlebarView::setMaximazeButton},
        };
        for (const Button &entry : buttons) {
            StandardWindowButton *button = StandardWindowButton::standardWindowButton(entry.kind);
            button->setParent(_trackingTitlebarView);
            button->setAccessibleName(tr(entry.name));
            button->setToolTip(tr(entry.name));
            connect(button, &QAbstractButton::clicked, this,
                    [this, action = entry.action, button] { (this->*action)(button); });
            (_trackingTitlebarView->*entry.handOver)(button);
        }
        layOutWindowButtons();
        _trackingTitlebarView->installEventFilter(this);
    }
    if (_transparentView) {
        _transparentView->setMainWindow(mainWindow());
        _transparentView->setViews(
            {_titlebarView.data(), _controlsBarView.data(), _controls.showPlaylistButton.data()});
    }
}

void UIController::layOutWindowButtons()
{
    // x = 5, 25 and 45, held at their distance from the bottom edge whatever
    // the title bar's height.
    const int y = _trackingTitlebarView->height() - kWindowButtonBottom - kWindowButtonSide;
    const QList<QAbstractButton *> buttons = {_trackingTitlebarView->closeButton(),
                                              _trackingTitlebarView->minimazeButton(),
                                              _trackingTitlebarView->maximazeButton()};
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i])
            buttons[i]->setGeometry(5 + 20 * i, y, kWindowButtonSide, kWindowButtonSide);
}

void UIController::observeNotifications()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    if (_transparentView)
        center.addObserver(MOUSE_DOWN_NOTIFICATION, _transparentView,
                           [view = _transparentView](const Notification &notification) {
                               if (view)
                                   view->controlElementClicked(notification);
                           });
    center.addObserver(NSWindowDidEnterFullScreenNotification, this,
                       [this](const Notification &n) { windowDidEnterFullScreen(n); });
    center.addObserver(NSWindowDidExitFullScreenNotification, this,
                       [this](const Notification &n) { windowDidExitFullScreen(n); });
}

void UIController::offerMenus()
{
    if (_menuButton)
        connect(_menuButton, &QAbstractButton::clicked, this,
                [this] { popUpMenu(_menuButton->mapToGlobal(QPoint(0, _menuButton->height()))); });
    if (_transparentView) {
        _transparentView->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(
            _transparentView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &position) { popUpMenu(_transparentView->mapToGlobal(position)); });
    }
    // A click on the time read-out swaps what it shows.
    for (QLabel *label : {_controls.remainingTimeLabel.data(), _controls.totalTimeLabel.data()})
        if (label)
            label->installEventFilter(this);
}

void UIController::popUpMenu(const QPoint &screenPosition)
{
    if (QMenu *menu = _appDelegate ? _appDelegate->mainMenu() : nullptr)
        menu->popup(screenPosition);
}

bool UIController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == _trackingTitlebarView) {
        if (event->type() == QEvent::Resize)
            layOutWindowButtons();
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Taken here, the press neither drags the window nor goes unnoticed.
        NotificationCenter::defaultCenter().post(MOUSE_DOWN_NOTIFICATION, watched);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto *release = static_cast<QMouseEvent *>(event);
        if (release->button() == Qt::LeftButton &&
            static_cast<QWidget *>(watched)->rect().contains(release->position().toPoint()))
            showTime(watched);
        return true;
    }
    default:
        return false;
    }
}

void UIController::closeApplication(QObject *)
{
    if (_appDelegate)
        _appDelegate->terminate();
    // Quitting ends the event loop once this returns.
    if (_trackingTitlebarView)
        _trackingTitlebarView->controlClicked();
}

void UIController::miniaturizeApplication(QObject *)
{
    // The main window, not the overlay that holds the button; the overlay
    // goes with it.
    if (QWidget *window = mainWindow())
        window->showMinimized();
    if (_trackingTitlebarView)
        _trackingTitlebarView->controlClicked();
}

void UIController::maximazeApplication(QObject *)
{
    toggleFullScreen(mainWindow());
    if (_trackingTitlebarView)
        _trackingTitlebarView->controlClicked();
}

void UIController::windowDidEnterFullScreen(const Notification &)
{
    followFullScreen(true);
}

void UIController::windowDidExitFullScreen(const Notification &)
{
    followFullScreen(false);
}

void UIController::followFullScreen(bool fullScreen)
{
    if (QAction *item = _appDelegate ? _appDelegate->fullscreenMenuItem() : nullptr)
        item->setText(fullScreen ? tr("Exit Full Screen") : tr("Enter Full Screen"));
    if (!_trackingTitlebarView)
        return;
    if (QAbstractButton *minimize = _trackingTitlebarView->minimazeButton())
        minimize->setEnabled(!fullScreen);
    if (QAbstractButton *zoom = _trackingTitlebarView->maximazeButton())
        zoom->setAccessibleName(fullScreen ? tr("Exit Full Screen") : tr("Full Screen"));
    _trackingTitlebarView->showButtons(!fullScreen);
}

void UIController::showTime(QObject *)
{
    for (QLabel *label : {_controls.totalTimeLabel.data(), _controls.remainingTimeLabel.data()})
        if (label)
            label->setHidden(!label->isHidden());
}
