#pragma once

#include <QSlider>

class CustomSliderCell;

// A horizontal slider whose bar its cell draws; the knob stays the style's.
// The interface file sets the cell's colours through the slider's properties.
class CellSlider : public QSlider {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QColor activeColor READ activeColor WRITE setActiveColor)
public:
    explicit CellSlider(QWidget *parent = nullptr);

    CustomSliderCell *cell() const { return _cell; }

    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);
    QColor activeColor() const;
    void setActiveColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CustomSliderCell *_cell;
};
