#pragma once

#include <QPushButton>

// A push button whose title sits a little above the middle: moved up by an
// eighth of the room the bounds leave around the text's height. The bezel
// and everything else stay the style's.
class CustomButtonCell : public QPushButton {
    Q_OBJECT
public:
    explicit CustomButtonCell(QWidget *parent = nullptr);

    // Where the title is drawn for `bounds`: the style's contents rectangle
    // with only its y moved.
    QRectF titleRectForBounds(const QRectF &bounds) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
