#pragma once

#include <QObject>
#include <QPointer>

class QSlider;
class QWidget;

// The mouse wheel over a view turns a slider elsewhere, as over the slider
// itself: the volume from anywhere on the picture.
class WheelToSlider : public QObject {
public:
    static void forward(QWidget *view, QSlider *slider);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WheelToSlider(QWidget *view, QSlider *slider);
    QPointer<QSlider> _slider;
};
