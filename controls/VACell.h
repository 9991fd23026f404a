#pragma once

#include <QLabel>

// A label that centres its line of text vertically by the font's own extent
// (ascent and descent), to the whole point, rather than by its line spacing.
class VACell : public QLabel {
    Q_OBJECT
public:
    explicit VACell(QWidget *parent = nullptr);

    // `frame` inset by nothing across and, up and down, by half of what it
    // has beyond the font's extent, rounded down: it grows when the frame is
    // shorter than the font.
    QRectF adjustedFrameToVerticallyCenterText(const QRectF &frame) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
