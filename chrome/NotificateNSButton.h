#pragma once

#include "controls/ImageButton.h"

// An overlay button whose press counts as activity on the overlay: it posts
// "MOUSE_DOWN_NOTIFICATION" as the press begins.
class NotificateNSButton : public ImageButton {
    Q_OBJECT
public:
    explicit NotificateNSButton(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
