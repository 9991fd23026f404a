#include "UIController.h"

#include "OverlayMask.h"
#include "app/AppDelegate.h"
#include "app/Compositor.h"
#include "app/InterfaceFile.h"
#include "controls/CustomView.h"

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
    _titlebarView = _window->findChild<CustomView *>(QStringLiteral("titlebarView"));
    _controlsBarView = _window->findChild<CustomView *>(QStringLiteral("controlsBarView"));
    if (!hasCompositingManager())
        _overlayMask = new OverlayMask(_window, {_titlebarView, _controlsBarView});
}
