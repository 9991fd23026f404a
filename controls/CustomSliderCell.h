#pragma once

#include <QColor>
#include <QObject>
#include <QRectF>
#include <optional>

class QAbstractSlider;
class QPainter;

// Draws a slider's bar thin and rounded: the whole track in one colour, the
// part from the minimum up to the value in another. The knob is not its to
// draw.
class CustomSliderCell : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor activeColor READ activeColor WRITE setActiveColor)
public:
    // The cell reads the value, the range and the width of `controlView`,
    // which owns it.
    explicit CustomSliderCell(QAbstractSlider *controlView);

    QColor backgroundColor() const { return _backgroundColor; }
    // Takes effect at the next redraw, as does the active colour.
    void setBackgroundColor(const QColor &color) { _backgroundColor = color; }
    QColor activeColor() const { return _activeColor; }
    void setActiveColor(const QColor &color) { _activeColor = color; }

    // How tall the cell draws the bar, whatever the rectangle it is given.
    static constexpr qreal barHeight = 5.0;

    struct Bar {
        QRectF track;
        QRectF active;
    };
    // The track and its active part for the bar rectangle `bar`; none at all
    // while the maximum is 0.
    std::optional<Bar> barInside(const QRectF &bar) const;
    // The bar is always drawn from its origin: whether the view is flipped
    // does not matter.
    void drawBarInsideFlipped(QPainter *painter, const QRectF &bar, bool flipped) const;

private:
    QAbstractSlider *_controlView;
    QColor _backgroundColor;
    QColor _activeColor;
};
