#pragma once

#include <QColor>
#include <QWidget>

// A view filled with one colour, copied rather than blended, so a translucent
// colour leaves the area translucent in its window whatever lay beneath.
class CustomView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE setBackgroundColor)
public:
    explicit CustomView(QWidget *parent = nullptr);

    QColor BackgroundColor() const { return _backgroundColor; }
    // Takes effect at the next redraw.
    void setBackgroundColor(const QColor &color) { _backgroundColor = color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor _backgroundColor;
};
