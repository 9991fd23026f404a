#pragma once

#include "NotificationCenter.h"
#include "OverlayControls.h"
#include "TrackingMainView.h"
#include "TrackingTitlebarView.h"
#include "controls/CustomView.h"

#include <QObject>
#include <QPointer>
#include <QString>

class UIControllerDelegate;

// Controller of the controls overlay: its view, the strips and the controls
// come from the interface file it is created with. It hands the playback
// controls to its delegate, which drives them, and points their actions at
// it; it makes the title bar's window buttons, which act on the main window,
// fills the auto-hide group, keeps the title bar and the full-screen menu
// item in step with full screen, and opens the menus from the title bar and
// the picture.
class UIController : public QObject {
    Q_OBJECT
public:
    UIController(const QString &nibName, UIControllerDelegate *appDelegate);
    ~UIController() override;

    // Asking for the view loads the interface file the first time.
    QWidget *view();

    TrackingMainView *transparentView() const { return _transparentView; }
    TrackingTitlebarView *trackingTitlebarView() const { return _trackingTitlebarView; }

    // The window buttons' actions, on the main window; senders are ignored.
    void closeApplication(QObject *sender = nullptr);
    void miniaturizeApplication(QObject *sender = nullptr);
    void maximazeApplication(QObject *sender = nullptr);
    void windowDidEnterFullScreen(const Notification &notification);
    void windowDidExitFullScreen(const Notification &notification);
    // Swaps the total-time and the remaining-time read-outs.
    void showTime(QObject *sender = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The window buttons and the menu item follow full screen.
    void followFullScreen(bool fullScreen);
    void loadView();
    // Hands the controls to the delegate and points their actions at it.
    void configureAppDelegate();
    // The window buttons in the title bar, and the auto-hide group.
    void initControlButtons();
    void layOutWindowButtons();
    void observeNotifications();
    // The delegate's menu from the title bar's button and on the picture.
    void offerMenus();
    void popUpMenu(const QPoint &screenPosition);
    QWidget *mainWindow() const;

    QString _nibName;
    UIControllerDelegate *_appDelegate;
    QPointer<QWidget> _window;
    QPointer<QWidget> _view;
    QPointer<TrackingMainView> _transparentView;
    QPointer<TrackingTitlebarView> _trackingTitlebarView;
    QPointer<CustomView> _titlebarView;
    QPointer<CustomView> _controlsBarView;
    QPointer<QAbstractButton> _nextMediaButton;
    QPointer<QAbstractButton> _prevMediaButton;
    QPointer<QAbstractButton> _menuButton;
    OverlayControls _controls;
};
