#pragma once

#include <QColor>
#include <QScrollBar>

// A scroll bar drawn as a flat area of one colour, copied rather than
// blended, with the style's knob on it: no arrows and no track of the style's.
class CustomScroller : public QScrollBar {
    Q_OBJECT
    Q_PROPERTY(QColor ScrollColor READ ScrollColor WRITE setScrollColor)
public:
    explicit CustomScroller(QWidget *parent = nullptr);

    QColor ScrollColor() const { return _scrollColor; }
    // Takes effect at the next redraw.
    void setScrollColor(const QColor &color) { _scrollColor = color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor _scrollColor;
};
