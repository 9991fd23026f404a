#pragma once

#include "controls/CellSlider.h"

// An overlay slider whose press counts as activity on the overlay: it posts
// "MOUSE_DOWN_NOTIFICATION" once the press it tracked has ended. Its bar is
// drawn by its cell.
class NotificateNSSlider : public CellSlider {
    Q_OBJECT
public:
    explicit NotificateNSSlider(QWidget *parent = nullptr);

signals:
    // The control's action: sent for the user's changes only, after the new
    // value is in place. Values set in code stay silent.
    void valueChangedByUser();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
