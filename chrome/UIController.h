#pragma once

#include "OverlayMask.h"
#include "controls/CustomView.h"

#include <QObject>
#include <QPointer>
#include <QString>

class AppDelegate;

// Controller of the controls overlay: its view, the strips and the controls
// come from the interface file it is created with.
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

    QString _nibName;
    QPointer<AppDelegate> _appDelegate;
    QPointer<QWidget> _window;
    QPointer<QWidget> _view;
    QPointer<CustomView> _titlebarView;
    QPointer<CustomView> _controlsBarView;
    QPointer<OverlayMask> _overlayMask;
};
