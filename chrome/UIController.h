#pragma once

#include "OverlayControls.h"
#include "controls/CustomView.h"

#include <QObject>
#include <QPointer>
#include <QString>

class UIControllerDelegate;

// Controller of the controls overlay: its view, the strips and the controls
// come from the interface file it is created with. It hands the playback
// controls to its delegate, which drives them, and points their actions at it.
class UIController : public QObject {
    Q_OBJECT
public:
    UIController(const QString &nibName, UIControllerDelegate *appDelegate);
    ~UIController() override;

    // Asking for the view loads the interface file the first time.
    QWidget *view();

private:
    void loadView();
    // Hands the controls to the delegate and points their actions at it.
    void configureAppDelegate();

    QString _nibName;
    UIControllerDelegate *_appDelegate;
    QPointer<QWidget> _window;
    QPointer<QWidget> _view;
    QPointer<CustomView> _titlebarView;
    QPointer<CustomView> _controlsBarView;
    QPointer<QAbstractButton> _nextMediaButton;
    QPointer<QAbstractButton> _prevMediaButton;
    OverlayControls _controls;
};
